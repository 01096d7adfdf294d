// The program's windows made hidden in the test process, with message boxes
// and dialogs answered by the test.
#pragma once

#include "ui/Clipboard.h"
#include "ui/Dialogs.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Answers dialogs from queues the test fills and records every message box.
class ScriptedDialogs : public TDialogService {
public:
    struct Box {
        std::string text, caption;
        UINT flags;
    };
    std::vector<Box> boxes;
    std::deque<int> boxAnswers; // IDOK when empty

    // A file dialog answer: the chosen name, filter entry and entry of its
    // choice list (-1: as shown), or cancel.
    struct FileAnswer {
        bool ok;
        std::string fileName;
        int filterIndex;
        int choiceIndex = -1;
    };
    std::deque<FileAnswer> fileAnswers;
    std::deque<std::function<bool(TColorDialog&)>> colorAnswers;
    std::deque<std::function<bool(TFontDialog&)>> fontAnswers;
    std::deque<std::function<bool(TPrintDialog&)>> printAnswers; // cancel when empty
    int fileDialogsShown = 0;
    int choiceShown = -1; // the choice list's entry as the last file dialog showed it

    void ChooseFile(const std::string& fileName, int filterIndex = 1, int choiceIndex = -1)
    {
        fileAnswers.push_back({true, fileName, filterIndex, choiceIndex});
    }
    void CancelFile() { fileAnswers.push_back({false, "", 0}); }

    int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) override;
    bool ExecuteOpen(TOpenDialog& dialog) override;
    bool ExecuteSave(TSaveDialog& dialog) override;
    bool ExecuteColor(TColorDialog& dialog) override;
    bool ExecuteFont(TFontDialog& dialog) override;
    bool ExecutePrint(TPrintDialog& dialog) override;
    bool ExecuteOpenPicture(TOpenPictureDialog& dialog) override;

private:
    bool AnswerFile(TOpenDialog& dialog);
};

// The settings key of the current user.
void ClearStore();
void WriteStore(const std::string& name, const std::string& value);
std::string ReadStore(const std::string& name);
bool StoreHas(const std::string& name);

// Makes the program's six windows in start-up order (hidden), with the
// command line given (empty: none), and installs `dialogs`.
void StartProgram(ScriptedDialogs& dialogs, const std::string& commandLine = "");
// Starts once so that the store is full as a first start writes it, then
// again with `values` stored over it.
void StartWithStored(ScriptedDialogs& dialogs, const std::vector<std::pair<std::string, std::string>>& values,
                     const std::string& commandLine = "");
// Closes the main window as the user would (running its close events) when
// `close` is set, then destroys every window; `killed` leaves what a program
// killed leaves behind (its recovery copy).
void StopProgram(bool close = true, bool killed = false);
// Handles the messages waiting in the queue, for about `milliseconds`.
void Pump(int milliseconds = 0);
// Types a key with modifiers into the focused window through the message loop.
void PressKey(WORD key, bool ctrl = false, bool alt = false, bool shift = false);

// Empties the clipboard and puts `text` on it, and `rtf` as rich text when given.
void SetClipboardText(const std::string& text, const std::string& rtf = "");
// The block a drop of those files from the shell hands the window (its
// WPARAM of WM_DROPFILES); the window frees it.
HGLOBAL DropOf(const std::vector<std::string>& files);
// Types a text into the focused window as Unicode key strokes: one character
// message for each UTF-16 unit, the two halves of a pair one after the other.
void TypeText(const std::string& text);

// What accessibility tools are told of a window's client area, as
// AccessibleObjectFromWindow finds it, or of the element `child` inside it.
struct AccessibleView {
    long role = 0; // 0: no object
    std::string name, value, shortcut;
    long state = 0;
    long children = 0;
};
AccessibleView Accessible(HWND window, long child = 0);
// Sets the value of the window's client area as an accessibility tool does; its answer.
HRESULT SetAccessibleValue(HWND window, const std::string& value);
// The window's picture as it draws itself now, one colour a pixel.
std::vector<COLORREF> Picture(HWND window);

// A file on the C: drive holding `content`; returns its Windows path.
std::string WriteTestFile(const std::string& name, const std::string& content);
std::string ReadTestFile(const std::string& path);

// A test over an empty store that starts the program itself, its dialogs
// answered from `dialogs`; the program is stopped and the store emptied
// again afterwards.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // As StartWithStored, with the store of a first start made once for the
    // test program and written afresh each time after.
    void StartWithValues(const std::vector<std::pair<std::string, std::string>>& values,
                         const std::string& commandLine = "");
    ScriptedDialogs dialogs;
};

// The same with the program's windows made afresh at the start.
class ProgramTest : public StoreTest {
protected:
    void SetUp() override;
};
