// A bounded reader of RTF that says whether a text is safe to hand to the
// rich edit control. The control's own reader ends the program on some
// malformed input (groups nested too deeply, overlong names and words, tab
// stops at negative positions, damaged pictures); this reader goes through
// the text once, in linear time and fixed memory (a picture's bytes aside),
// and names the first rule the text breaks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The rule a text breaks; None when it keeps them all.
enum class TRtfFault {
    None,
    NotRtf,            // does not start with "{\rtf"
    TooDeep,           // groups nested deeper than kRtfMaxDepth
    Unclosed,          // ends inside a group
    TextAfterEnd,      // more than blanks after the last closing brace
    LongWord,          // a control word of more than kRtfMaxWordLetters letters
    BadParameter,      // a parameter of more than 10 digits, outside 32 bits, or a sign without digits
    BadHex,            // \' without two hex digits
    BadBin,            // \bin with a negative length or one past the end of the text
    FontWithoutNumber, // a font table entry without \f
    FontNotEnded,      // a font table entry not ended by ';'
    NestedTable,       // a font, colour or style table inside another
    LongName,          // a font or style name of more than kRtfMaxNameLength characters
    BadColor,          // a colour table entry with text, a group, or a component outside 0..255
    ColorNotEnded,     // a colour table entry not ended by ';'
    BadTab,            // a tab stop without a position or at a negative one
    BadPicture,        // picture data the picture check refuses, or not plain hex digits
};

// The limits, kept well inside what the control survives.
constexpr int kRtfMaxDepth = 32;       // the control fails on deeper nesting
constexpr int kRtfMaxWordLetters = 32; // as RTF itself allows
constexpr int kRtfMaxNameLength = 255; // characters of a font or style name

// Pictures the control draws from the bytes it is given: their data must pass
// a check of their own (other kinds of picture the control drops unread).
enum class TRtfPicture { WindowsMetafile, EnhMetafile, Bitmap };
// Says whether the control may be given a picture of that kind with these bytes.
using TRtfPictureCheck = bool (*)(TRtfPicture kind, const uint8_t* data, size_t size);
// The check used for pictures; without one, every picture of those kinds
// with data counts as unsafe.
void SetRtfPictureCheck(TRtfPictureCheck check);

// The reader, fed the text in pieces of any size.
class TRtfScanner {
public:
    TRtfScanner();
    void Feed(const char* data, size_t size);
    // The verdict once the whole text was fed.
    TRtfFault Finish();
    // The first fault found so far; feeding stops looking after one.
    TRtfFault Fault() const { return fault_; }

private:
    enum class TState : uint8_t { Text, Backslash, Word, Sign, Parameter, Hex1, Hex2, After };
    enum class TTable : uint8_t { None, Fonts, Colors, Styles };
    enum class TKind : uint8_t { None, Other, WindowsMetafile, EnhMetafile, Bitmap };
    // A picture group's state; only the innermost picture collects bytes.
    struct TPictureState {
        TKind kind = TKind::None;
        bool started = false, ended = false, interrupted = false, stray = false;
        uint64_t digits = 0;
    };
    struct TGroup {
        int picture = 0; // level of the innermost picture group around it, or 0
        TPictureState state;
    };

    void Byte(unsigned char c);
    void EndWord(unsigned char next);
    void Fail(TRtfFault fault);
    void Open();
    void Close();
    void Text(unsigned char c, bool literal);
    void Word();
    void EndEntry();
    void EndPicture(TPictureState& picture);

    TRtfFault fault_ = TRtfFault::None;
    TState state_ = TState::Text;
    uint64_t offset_ = 0;  // bytes fed so far
    uint64_t binEnd_ = 0;  // where the furthest \bin says its bytes end
    int depth_ = 0;
    TGroup groups_[kRtfMaxDepth + 1];
    // The control word being read.
    char word_[kRtfMaxWordLetters + 1] = {};
    int letters_ = 0;
    bool negative_ = false, hasParameter_ = false;
    int digits_ = 0;
    int64_t parameter_ = 0;
    // The table being read, the level of its group, and its entry.
    TTable table_ = TTable::None;
    int tableDepth_ = 0, entryDepth_ = 0;
    bool entryNumber_ = false, entryText_ = false, entryEnded_ = false;
    int nameLength_ = 0;
    // The bytes of the picture being read, and half a byte.
    std::vector<uint8_t> picture_;
    int nibble_ = -1;
};

// The first rule `data` breaks, TRtfFault::None when it keeps them all.
TRtfFault RtfFault(const char* data, size_t size);
bool RtfLooksSafe(const char* data, size_t size);
// The fault's name, for messages and tests.
const char* RtfFaultName(TRtfFault fault);

// The places the control reads rich text from (RtfInput.cpp).
class TStream;
// Whether the rest of `stream` passes; the stream is left where it was. A
// stream that cannot be read fails.
bool RtfStreamLooksSafe(TStream& stream);
// Whether the rich text on the clipboard passes; true when it holds none,
// false when the clipboard cannot be read.
bool ClipboardRtfLooksSafe();
