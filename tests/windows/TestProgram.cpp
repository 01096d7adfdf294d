#include "tests/windows/TestProgram.h"

#include "about/AboutForm.h"
#include "email/SendForm.h"
#include "form/AuxForm.h"
#include "imageviewer/ImageViewerForm.h"
#include "mainform/MainForm.h"
#include "mainform/ProgramForms.h"
#include "preferences/PreferencesForm.h"
#include "ui/Application.h"
#include "ui/Clipboard.h"
#include "ui/ExtDlgs.h"
#include "ui/Registry.h"
#include "ui/WideText.h"

#include <oleacc.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>

int ScriptedDialogs::MessageBox(HWND, const std::string& text, const std::string& caption, UINT flags)
{
    boxes.push_back({text, caption, flags});
    if (boxAnswers.empty())
        return IDOK;
    int answer = boxAnswers.front();
    boxAnswers.pop_front();
    return answer;
}

bool ScriptedDialogs::AnswerFile(TOpenDialog& dialog)
{
    ++fileDialogsShown;
    choiceShown = dialog.Choices.empty() ? -1 : dialog.ChoiceIndex;
    if (fileAnswers.empty())
        return false;
    FileAnswer answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (!answer.ok)
        return false;
    dialog.FileName = answer.fileName;
    dialog.FilterIndex = answer.filterIndex;
    if (answer.choiceIndex >= 0)
        dialog.ChoiceIndex = answer.choiceIndex;
    return true;
}

bool ScriptedDialogs::ExecuteOpen(TOpenDialog& dialog) { return AnswerFile(dialog); }
bool ScriptedDialogs::ExecuteSave(TSaveDialog& dialog) { return AnswerFile(dialog); }
bool ScriptedDialogs::ExecuteOpenPicture(TOpenPictureDialog& dialog) { return AnswerFile(dialog); }

namespace {

// The next scripted answer of a dialog; cancel when there is none.
template <typename Dialog>
bool Answer(std::deque<std::function<bool(Dialog&)>>& answers, Dialog& dialog)
{
    if (answers.empty())
        return false;
    auto answer = answers.front();
    answers.pop_front();
    return answer(dialog);
}

} // namespace

bool ScriptedDialogs::ExecuteColor(TColorDialog& dialog) { return Answer(colorAnswers, dialog); }
bool ScriptedDialogs::ExecuteFont(TFontDialog& dialog) { return Answer(fontAnswers, dialog); }
bool ScriptedDialogs::ExecutePrint(TPrintDialog& dialog) { return Answer(printAnswers, dialog); }

void ClearStore() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Orvane"); }

void WriteStore(const std::string& name, const std::string& value)
{
    TRegistry store;
    store.OpenKey(kSettingsKey, true);
    store.WriteString(name, value);
}

std::string ReadStore(const std::string& name)
{
    TRegistry store;
    store.OpenKey(kSettingsKey, false);
    return store.ReadString(name);
}

bool StoreHas(const std::string& name)
{
    TRegistry store;
    return store.OpenKey(kSettingsKey, false) && store.ValueExists(name);
}

void StartProgram(ScriptedDialogs& dialogs, const std::string& commandLine)
{
    static bool initialized = false;
    if (!initialized) {
        Application->Initialize();
        initialized = true;
    }
    Application->Restart();
    Application->SetTitle("Mibor8");
    SetDialogService(&dialogs);
    TForm1::CommandLineOverride = commandLine.empty() ? "Mibor8.exe" : "Mibor8.exe " + commandLine;
    CreateProgramForms();
}

void StopProgram(bool close, bool killed)
{
    if (close && Form1)
        Form1->Close();
    Pump();
    // Forms destroyed unclosed leave no recovery copy for the next test, as
    // a program that ends cleanly leaves none; a killed one leaves its copy.
    if (!killed && Form1 && Form1->Recovery)
        Form1->Recovery->Close();
    DestroyProgramForms();
    Application->Restart();
    SetDialogService(nullptr);
}

void Pump(int milliseconds)
{
    DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        Application->ProcessMessages();
        if (milliseconds > 0)
            Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
    Application->Restart();
}

void PressKey(WORD key, bool ctrl, bool alt, bool shift)
{
    // The loop reads modifier state from the keyboard state, so set it too.
    BYTE state[256];
    GetKeyboardState(state);
    BYTE saved[256];
    memcpy(saved, state, sizeof saved);
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    state[VK_MENU] = alt ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    HWND target = GetFocus() ? GetFocus() : Form1->Handle();
    PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1);
    Application->ProcessMessages();
    PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, key, 0xC0000001);
    Application->ProcessMessages();
    SetKeyboardState(saved);
}

void SetClipboardText(const std::string& text, const std::string& rtf)
{
    const std::wstring wide = ToWide(text);
    const TClipboardData unicode{CF_UNICODETEXT, reinterpret_cast<const char*>(wide.data()), wide.size() * 2};
    if (rtf.empty())
        PutOnClipboard(nullptr, {unicode});
    else
        PutOnClipboard(nullptr, {unicode, {RichTextClipboardFormat(), rtf.data(), rtf.size()}});
}

HGLOBAL DropOf(const std::vector<std::string>& files)
{
    std::wstring names;
    for (const auto& file : files)
        names += ToWide(file) + L'\0';
    names += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return memory;
}

void TypeText(const std::string& text)
{
    HWND target = GetFocus() ? GetFocus() : Form1->Handle();
    for (wchar_t unit : ToWide(text))
        PostMessageW(target, WM_CHAR, unit, 1);
    Application->ProcessMessages();
}

std::string WriteTestFile(const std::string& name, const std::string& content)
{
    CreateDirectoryA("C:\\mibor8-tests", nullptr);
    std::string path = "C:\\mibor8-tests\\" + name;
    std::ofstream out(path, std::ios::binary);
    out << content;
    return path;
}

std::string ReadTestFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void StartWithStored(ScriptedDialogs& dialogs, const std::vector<std::pair<std::string, std::string>>& values,
                     const std::string& commandLine)
{
    StartProgram(dialogs);
    StopProgram(true);
    for (const auto& value : values)
        WriteStore(value.first, value.second);
    StartProgram(dialogs, commandLine);
}

void StoreTest::SetUp() { ClearStore(); }

void StoreTest::StartWithValues(const std::vector<std::pair<std::string, std::string>>& values,
                                const std::string& commandLine)
{
    static std::vector<std::pair<std::string, std::string>> firstStore;
    if (firstStore.empty()) {
        StartProgram(dialogs);
        StopProgram(true);
        HKEY key;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
        char name[256];
        for (DWORD i = 0, size = sizeof name;
             RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
             ++i, size = sizeof name)
            firstStore.emplace_back(name, ReadStore(name));
        RegCloseKey(key);
    }
    for (const auto& [name, value] : firstStore)
        WriteStore(name, value);
    for (const auto& [name, value] : values)
        WriteStore(name, value);
    StartProgram(dialogs, commandLine);
}

void ProgramTest::SetUp()
{
    StoreTest::SetUp();
    StartProgram(dialogs);
}

void StoreTest::TearDown()
{
    if (Form1)
        StopProgram(false);
    ClearStore();
}

AccessibleView Accessible(HWND window, long child)
{
    AccessibleView view;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object))) ||
        !object)
        return view;
    VARIANT id{};
    id.vt = VT_I4;
    id.lVal = child;
    auto text = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
        BSTR value = nullptr;
        std::string result;
        if ((object->*get)(id, &value) == S_OK && value)
            result = ToUtf8(value);
        SysFreeString(value);
        return result;
    };
    VARIANT number{};
    if (object->get_accRole(id, &number) == S_OK && number.vt == VT_I4)
        view.role = number.lVal;
    if (object->get_accState(id, &number) == S_OK && number.vt == VT_I4)
        view.state = number.lVal;
    view.name = text(&IAccessible::get_accName);
    view.value = text(&IAccessible::get_accValue);
    view.shortcut = text(&IAccessible::get_accKeyboardShortcut);
    object->get_accChildCount(&view.children);
    object->Release();
    return view;
}

HRESULT SetAccessibleValue(HWND window, const std::string& value)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* object = nullptr;
    HRESULT result =
        AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object));
    if (FAILED(result) || !object)
        return FAILED(result) ? result : E_FAIL;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = SysAllocString(ToWide(value).c_str());
    result = object->put_accValue(self, text);
    SysFreeString(text);
    object->Release();
    return result;
}

std::vector<COLORREF> Picture(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    TOwnedBitmap picture = CaptureWindow(window, width, height, RGB(255, 0, 255));
    TMemoryDC dc;
    TSelectObject select(dc, picture.Get());
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    return pixels;
}
