// The reader goes byte by byte through a state machine, so that the text can
// come in pieces. It reads every byte as the control does, the bytes after
// \bin included: this control does not skip them but reads them as RTF.
#include "ui/RtfCheck.h"

#include <cstring>

namespace {

TRtfPictureCheck pictureCheck = nullptr;

const char kHeader[] = "{\\rtf";
const size_t kHeaderLength = sizeof kHeader - 1;

bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsBlank(unsigned char c) { return c == ' ' || c == '\t'; }

int HexValue(unsigned char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

void SetRtfPictureCheck(TRtfPictureCheck check) { pictureCheck = check; }

TRtfScanner::TRtfScanner() = default;

void TRtfScanner::Feed(const char* data, size_t size)
{
    for (size_t i = 0; i < size && fault_ == TRtfFault::None; ++i) {
        unsigned char c = static_cast<unsigned char>(data[i]);
        if (offset_ < kHeaderLength && c != static_cast<unsigned char>(kHeader[offset_])) {
            Fail(TRtfFault::NotRtf);
            return;
        }
        ++offset_;
        Byte(c);
    }
}

TRtfFault TRtfScanner::Finish()
{
    if (offset_ < kHeaderLength)
        Fail(TRtfFault::NotRtf);
    else if (state_ != TState::After)
        Fail(TRtfFault::Unclosed);
    else if (binEnd_ > offset_)
        Fail(TRtfFault::BadBin);
    return fault_;
}

void TRtfScanner::Fail(TRtfFault fault)
{
    if (fault_ == TRtfFault::None)
        fault_ = fault;
}

void TRtfScanner::Byte(unsigned char c)
{
    switch (state_) {
    case TState::After:
        if (!(IsBlank(c) || c == '\r' || c == '\n' || c == '\0'))
            Fail(TRtfFault::TextAfterEnd);
        return;
    case TState::Backslash:
        state_ = TState::Text;
        if (IsLetter(c)) {
            state_ = TState::Word;
            word_[0] = static_cast<char>(c);
            letters_ = 1;
            negative_ = false;
            digits_ = 0;
            parameter_ = 0;
        } else if (c == '\'') {
            state_ = TState::Hex1;
        } else if (c == '{' || c == '}' || c == '\\' || c == '~' || c == '-' || c == '_') {
            Text(c, false);
        } else {
            // \*, \:, \| and the like, or a line end (a paragraph mark).
            letters_ = 0;
            word_[0] = '\0';
            hasParameter_ = false;
            Word();
        }
        return;
    case TState::Word:
        if (IsLetter(c)) {
            if (letters_ == kRtfMaxWordLetters)
                Fail(TRtfFault::LongWord);
            else
                word_[letters_++] = static_cast<char>(c);
            return;
        }
        if (c == '-') {
            negative_ = true;
            state_ = TState::Sign;
            return;
        }
        if (!IsDigit(c)) {
            EndWord(c);
            return;
        }
        state_ = TState::Parameter;
        break;
    case TState::Sign:
        if (!IsDigit(c)) {
            Fail(TRtfFault::BadParameter);
            return;
        }
        state_ = TState::Parameter;
        break;
    case TState::Parameter:
        if (!IsDigit(c)) {
            EndWord(c);
            return;
        }
        break;
    case TState::Hex1:
    case TState::Hex2:
        if (HexValue(c) < 0)
            Fail(TRtfFault::BadHex);
        else if (state_ == TState::Hex1)
            state_ = TState::Hex2;
        else {
            state_ = TState::Text;
            Text(c, false);
        }
        return;
    case TState::Text:
        switch (c) {
        case '\\':
            state_ = TState::Backslash;
            return;
        case '{':
            Open();
            return;
        case '}':
            Close();
            return;
        case '\r':
        case '\n':
            return; // readers drop line ends
        default:
            Text(c, true);
            return;
        }
    }
    // A digit of a parameter.
    if (++digits_ > 10) {
        Fail(TRtfFault::BadParameter);
        return;
    }
    parameter_ = parameter_ * 10 + (c - '0');
}

void TRtfScanner::EndWord(unsigned char next)
{
    hasParameter_ = state_ == TState::Parameter;
    state_ = TState::Text;
    word_[letters_] = '\0';
    if (parameter_ > (negative_ ? 2147483648ll : 2147483647ll)) {
        Fail(TRtfFault::BadParameter);
        return;
    }
    if (negative_)
        parameter_ = -parameter_;
    if (hasParameter_ && std::strcmp(word_, "bin") == 0) {
        // Its bytes start after the space that ends the word, or at the byte that does.
        uint64_t start = next == ' ' ? offset_ : offset_ - 1;
        if (parameter_ < 0)
            Fail(TRtfFault::BadBin);
        else if (start + static_cast<uint64_t>(parameter_) > binEnd_)
            binEnd_ = start + static_cast<uint64_t>(parameter_);
    }
    Word();
    if (next != ' ' && fault_ == TRtfFault::None)
        Byte(next);
}

void TRtfScanner::Open()
{
    if (depth_ == kRtfMaxDepth) {
        Fail(TRtfFault::TooDeep);
        return;
    }
    const int outer = groups_[depth_].picture;
    TGroup& group = groups_[++depth_];
    group.picture = outer;
    group.state = TPictureState{};
    // Picture data ends at the first group inside the picture.
    if (outer && groups_[outer].state.started)
        groups_[outer].state.interrupted = true;
    if (table_ == TTable::Colors)
        Fail(TRtfFault::BadColor);
    else if (table_ != TTable::None && depth_ == tableDepth_ + 1 && !entryNumber_ && !entryText_) {
        // An entry in a group of its own (a group inside an entry written
        // without one belongs to that entry).
        entryDepth_ = depth_;
        entryNumber_ = entryText_ = entryEnded_ = false;
        nameLength_ = 0;
    }
}

void TRtfScanner::Close()
{
    TGroup& group = groups_[depth_];
    if (group.picture == depth_)
        EndPicture(group.state);
    if (table_ != TTable::None && depth_ == entryDepth_) {
        if (table_ == TTable::Fonts)
            EndEntry();
        entryDepth_ = 0;
        entryNumber_ = entryText_ = entryEnded_ = false;
        nameLength_ = 0;
    } else if (table_ != TTable::None && depth_ == tableDepth_) {
        if (table_ == TTable::Fonts && (entryNumber_ || entryText_))
            EndEntry();
        else if (table_ == TTable::Colors && entryText_)
            Fail(TRtfFault::ColorNotEnded);
        table_ = TTable::None;
    }
    if (--depth_ == 0)
        state_ = TState::After;
}

void TRtfScanner::EndEntry()
{
    if (!entryNumber_)
        Fail(TRtfFault::FontWithoutNumber);
    else if (!entryEnded_)
        Fail(TRtfFault::FontNotEnded);
}

// One character of text: `literal` when it stands for itself, not for an
// escape (\'hh, \{, \~ ...).
void TRtfScanner::Text(unsigned char c, bool literal)
{
    const int at = groups_[depth_].picture;
    if (at) {
        TPictureState& picture = groups_[at].state;
        const int value = literal ? HexValue(c) : -1;
        if (at != depth_ || (value < 0 && !(literal && IsBlank(c))) || (value >= 0 && picture.ended)) {
            picture.stray = true;
        } else if (value < 0) {
            picture.ended = picture.started; // a blank ends the data
        } else {
            if (!picture.started) {
                picture.started = true;
                picture_.clear();
                nibble_ = -1;
            }
            ++picture.digits;
            if (picture.kind >= TKind::WindowsMetafile) {
                if (nibble_ < 0) {
                    nibble_ = value;
                } else {
                    picture_.push_back(static_cast<uint8_t>(nibble_ << 4 | value));
                    nibble_ = -1;
                }
            }
        }
    }
    if (table_ == TTable::Colors) {
        if (literal && c == ';')
            entryText_ = false;
        else if (!(literal && IsBlank(c)))
            Fail(TRtfFault::BadColor);
    } else if (table_ != TTable::None) {
        if (literal && c == ';') {
            entryEnded_ = true;
            if (entryDepth_ == 0) {
                // The end of an entry written without a group of its own.
                if (table_ == TTable::Fonts)
                    EndEntry();
                entryNumber_ = entryText_ = false;
            }
            nameLength_ = 0;
        } else {
            if (++nameLength_ > kRtfMaxNameLength)
                Fail(TRtfFault::LongName);
            if (!(literal && IsBlank(c)))
                entryText_ = true;
        }
    }
}

void TRtfScanner::Word()
{
    TGroup& group = groups_[depth_];
    if (group.picture) {
        TPictureState& picture = groups_[group.picture].state;
        if (group.picture == depth_ && picture.started)
            picture.interrupted = true;
        // The kind of picture: the last one named wins.
        static const struct {
            const char* word;
            TKind kind;
        } kKinds[] = {{"wmetafile", TKind::WindowsMetafile}, {"emfblip", TKind::EnhMetafile},
                      {"dibitmap", TKind::Bitmap},           {"wbitmap", TKind::Other},
                      {"pngblip", TKind::Other},             {"jpegblip", TKind::Other},
                      {"macpict", TKind::Other},             {"pmmetafile", TKind::Other}};
        for (const auto& entry : kKinds)
            if (std::strcmp(word_, entry.word) == 0)
                picture.kind = entry.kind;
    }
    if (letters_ == 0)
        return;
    if (std::strcmp(word_, "pict") == 0) {
        group.picture = depth_;
        group.state = TPictureState{};
    } else if (std::strcmp(word_, "fonttbl") == 0 || std::strcmp(word_, "colortbl") == 0 ||
               std::strcmp(word_, "stylesheet") == 0) {
        if (table_ != TTable::None) {
            Fail(TRtfFault::NestedTable);
            return;
        }
        table_ = word_[0] == 'f' ? TTable::Fonts : word_[0] == 'c' ? TTable::Colors : TTable::Styles;
        tableDepth_ = depth_;
        entryDepth_ = 0;
        entryNumber_ = entryText_ = entryEnded_ = false;
        nameLength_ = 0;
    } else if (table_ == TTable::Fonts && std::strcmp(word_, "f") == 0) {
        // A number ends an entry written without a group of its own, which needs its ';'.
        if (entryDepth_ == 0 && entryText_)
            EndEntry();
        entryNumber_ = entryNumber_ || hasParameter_;
    } else if (table_ == TTable::Colors && (std::strcmp(word_, "red") == 0 || std::strcmp(word_, "green") == 0 ||
                                            std::strcmp(word_, "blue") == 0)) {
        if (!hasParameter_ || parameter_ < 0 || parameter_ > 255)
            Fail(TRtfFault::BadColor);
        entryText_ = true;
    } else if (std::strcmp(word_, "tx") == 0 || std::strcmp(word_, "tb") == 0) {
        if (!hasParameter_ || parameter_ < 0)
            Fail(TRtfFault::BadTab);
    }
}

void TRtfScanner::EndPicture(TPictureState& picture)
{
    TRtfPicture kind;
    switch (picture.kind) {
    case TKind::WindowsMetafile:
        kind = TRtfPicture::WindowsMetafile;
        break;
    case TKind::EnhMetafile:
        kind = TRtfPicture::EnhMetafile;
        break;
    case TKind::Bitmap:
        kind = TRtfPicture::Bitmap;
        break;
    default:
        return; // a picture the control does not draw
    }
    if (picture.stray || picture.interrupted || picture.digits % 2 != 0)
        Fail(TRtfFault::BadPicture);
    else if (picture.started && (!pictureCheck || !pictureCheck(kind, picture_.data(), picture_.size())))
        Fail(TRtfFault::BadPicture);
    picture_.clear();
}

TRtfFault RtfFault(const char* data, size_t size)
{
    TRtfScanner scanner;
    scanner.Feed(data, size);
    return scanner.Finish();
}

bool RtfLooksSafe(const char* data, size_t size) { return RtfFault(data, size) == TRtfFault::None; }

const char* RtfFaultName(TRtfFault fault)
{
    switch (fault) {
    case TRtfFault::None: return "None";
    case TRtfFault::NotRtf: return "NotRtf";
    case TRtfFault::TooDeep: return "TooDeep";
    case TRtfFault::Unclosed: return "Unclosed";
    case TRtfFault::TextAfterEnd: return "TextAfterEnd";
    case TRtfFault::LongWord: return "LongWord";
    case TRtfFault::BadParameter: return "BadParameter";
    case TRtfFault::BadHex: return "BadHex";
    case TRtfFault::BadBin: return "BadBin";
    case TRtfFault::FontWithoutNumber: return "FontWithoutNumber";
    case TRtfFault::FontNotEnded: return "FontNotEnded";
    case TRtfFault::NestedTable: return "NestedTable";
    case TRtfFault::LongName: return "LongName";
    case TRtfFault::BadColor: return "BadColor";
    case TRtfFault::ColorNotEnded: return "ColorNotEnded";
    case TRtfFault::BadTab: return "BadTab";
    case TRtfFault::BadPicture: return "BadPicture";
    }
    return "?";
}
