// A small Windows program that tests and benchmarks use to look at and drive
// the editor from outside, the way a screen reader or a user would.
//
//   driver windows                       visible top-level windows: class|title
//   driver wait CLASS [SECONDS]          waits for a visible window of that class, then until it is
//                                        idle (as "idle")
//   driver idle CLASS [SECONDS]          waits until the window's thread has handled every message
//                                        sent, posted or typed to it before (a paint round trip)
//   driver typed [SECONDS]               waits until the program has read the right Shift key that
//                                        the test pressed after its input, then until the foreground
//                                        window is idle: the input before the key has been handled
//   driver caret CLASS                   screen place "x y w h" of the caret of that window's thread,
//                                        nothing when it has none
//   driver gone CLASS [SECONDS]          waits until no visible window of that class is left
//   driver title CLASS                   the window's title
//   driver rect CLASS                    left top width height
//   driver rects CLASS                   left top width height of every visible window of that
//                                        class (pop-up menus: #32768), one a line
//   driver children CLASS                class|text of every child window
//   driver click CLASS TEXT              clicks the child window with that text
//   driver close CLASS                   asks the window to close
//   driver controls CLASS                every child window: handle|class|text|x y w h|flags
//                                        (screen place; flags: e enabled, v visible, f focused,
//                                        c checked; line breaks in the text written as \n)
//   driver place CLASS TEXT              screen centre "x y" of the visible child with that text
//   driver buttons CLASS                 every toolbar button: hint|text|x y w h|flags
//                                        (flags: e enabled, v visible, d down)
//   driver button CLASS HINT             screen centre "x y" of the toolbar button with that hint
//                                        or caption
//   driver items HANDLE                  the entries of a list box, one a line, "*" before the
//                                        selected one
//   driver itemrect HANDLE INDEX         screen place "x y w h" of a list box's entry
//   driver entries CLASS                 the entries of the list box that is a visible top-level
//                                        window of that class (a dropped-down list: "ComboLBox")
//   driver entry CLASS TEXT              screen centre "x y" of the entry with that text in that
//                                        list, scrolled into view first
//   driver selection HANDLE              "start length" of an edit field's selection
//   driver text HANDLE                   a window's text
//   driver length HANDLE                 a window's text length, or -1 while it does not answer
//                                        within a second
//   driver focus CLASS                   handle|class|text of the focused window of that window's
//                                        thread
//   driver clipboard                     the clipboard's text
//   driver setclipboard TEXT             puts the text on the clipboard (Unicode and ANSI forms)
//   driver drop CLASS FILE...            drops the files on the middle of the window (WM_DROPFILES,
//                                        as the shell posts it)
//   driver storefile NAME FILE           stores FILE's content as the settings value NAME
//   driver addroot FILE                  adds the certificate in FILE (DER) to the current
//                                        user's trusted roots
//   driver starttime EXE [ARGS...]       ms until the program's first window is idle,
//                                        then closes it and waits for it to end
//   driver doctime CAPTION LENGTH EXE [ARGS...]
//                                        the same, until the window is idle with CAPTION in its
//                                        title and a rich edit control holding LENGTH characters
//                                        or more (fails if it never does)
//   driver buttontime CLASS HINT         ms the window takes to run the command of its toolbar
//                                        button with that hint or caption
//   driver serve                         reads commands, one a line, words separated by tabs
//
// Words and everything printed are UTF-8; the driver speaks to the windows in
// UTF-16 (their W messages; a rich edit control through its wide messages).
#include "tests/e2e/remote_window.h"
#include "ui/Clipboard.h"
#include "ui/WideText.h"

#include <windows.h>
#include <commctrl.h>
#include <wincrypt.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Found {
    std::string className;
    DWORD process = 0;
    HWND window = nullptr;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM data)
{
    auto* found = reinterpret_cast<Found*>(data);
    if (!IsWindowVisible(window))
        return TRUE;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (found->process && process != found->process)
        return TRUE;
    if (!found->className.empty() && ClassOf(window) != found->className)
        return TRUE;
    found->window = window;
    return FALSE;
}

HWND FindWindowOfClass(const std::string& className, DWORD process = 0)
{
    Found found{className, process, nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

HWND WaitFor(const std::string& className, double seconds)
{
    DWORD end = GetTickCount() + static_cast<DWORD>(seconds * 1000);
    for (;;) {
        if (HWND window = FindWindowOfClass(className))
            return window;
        if (static_cast<int>(end - GetTickCount()) <= 0)
            return nullptr;
        Sleep(20);
    }
}

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM)
{
    if (IsWindowVisible(window))
        std::printf("%s|%s\n", ClassOf(window).c_str(), TextOf(window).c_str());
    return TRUE;
}

BOOL CALLBACK PrintRectOfClass(HWND window, LPARAM data)
{
    if (IsWindowVisible(window) && ClassOf(window) == *reinterpret_cast<const std::string*>(data)) {
        RECT rect;
        GetWindowRect(window, &rect);
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    }
    return TRUE;
}

BOOL CALLBACK PrintChild(HWND window, LPARAM)
{
    std::printf("%s|%s\n", ClassOf(window).c_str(), TextOf(window).c_str());
    return TRUE;
}

struct ChildSearch {
    std::string text;
    HWND window = nullptr;
};

BOOL CALLBACK FindChild(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<ChildSearch*>(data);
    if (TextOf(window) == search->text && IsWindowVisible(window)) {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

int Fail(const char* message)
{
    std::fprintf(stderr, "%s\n", message);
    return 1;
}

std::string Rect(const RECT& rect)
{
    char text[64];
    std::snprintf(text, sizeof text, "%ld %ld %ld %ld", rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top);
    return text;
}

BOOL CALLBACK FindUnpainted(HWND window, LPARAM data)
{
    if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(data) = true;
        return FALSE;
    }
    return TRUE;
}

bool Unpainted(HWND top)
{
    bool found = IsWindowVisible(top) && GetUpdateRect(top, nullptr, FALSE);
    if (!found)
        EnumChildWindows(top, FindUnpainted, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool TimeLeft(DWORD end) { return static_cast<int>(end - GetTickCount()) > 0; }

// The system makes a WM_PAINT only when no sent, posted or input message waits
// for the thread, and BeginPaint empties the update region: once the region
// made here is empty, the window's thread has handled everything before it.
// A window that goes away on the way has handled everything it ever will.
bool WaitIdle(HWND window, DWORD end)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    while (Unpainted(window)) {
        if (!TimeLeft(end))
            return false;
        Sleep(2);
    }
    return true;
}

// The right Shift key, pressed after a test's input, reaches the program
// after that input; the system keeps whether it was pressed since it was last
// asked, for all programs, and notes the press when the program reads it.
int WaitTyped(double seconds)
{
    DWORD end = GetTickCount() + static_cast<DWORD>(seconds * 1000);
    while (!(GetAsyncKeyState(VK_RSHIFT) & 0x8001)) {
        if (!TimeLeft(end))
            return Fail("the program did not read the input");
        Sleep(2);
    }
    HWND window = GetForegroundWindow();
    if (window && !WaitIdle(window, end))
        return Fail("the program did not become idle");
    return 0;
}

int PrintCaret(HWND window)
{
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) && thread.hwndCaret) {
        MapWindowPoints(thread.hwndCaret, nullptr, reinterpret_cast<POINT*>(&thread.rcCaret), 2);
        std::printf("%s\n", Rect(thread.rcCaret).c_str());
    }
    return 0;
}

struct ToolButtonInfo {
    std::string hint, text, flags;
    RECT rect{}; // on the screen
    HWND bar = nullptr;
    int command = 0;
};

BOOL CALLBACK CollectToolBars(HWND window, LPARAM data)
{
    if (ClassOf(window) == "ToolbarWindow32" && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

// The buttons of every visible toolbar of a window, as the toolbars report them.
std::vector<ToolButtonInfo> ToolButtons(HWND window)
{
    std::vector<HWND> bars;
    EnumChildWindows(window, CollectToolBars, reinterpret_cast<LPARAM>(&bars));
    std::vector<ToolButtonInfo> buttons;
    const size_t kText = 1024;
    for (HWND bar : bars) {
        RemoteBuffer remote(bar, sizeof(TBBUTTON) + sizeof(RECT) + sizeof(TOOLINFOW) + kText * sizeof(wchar_t));
        if (!remote.Ok())
            continue;
        const size_t rectAt = sizeof(TBBUTTON), infoAt = rectAt + sizeof(RECT), textAt = infoAt + sizeof(TOOLINFOW);
        HWND tips = reinterpret_cast<HWND>(SendMessageW(bar, TB_GETTOOLTIPS, 0, 0));
        int count = static_cast<int>(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TBBUTTON button{};
            if (!SendMessageW(bar, TB_GETBUTTON, i, remote.Address()) || !remote.Read(&button, sizeof button))
                continue;
            if (button.fsStyle & BTNS_SEP)
                continue;
            ToolButtonInfo info;
            info.bar = bar;
            info.command = button.idCommand;
            RECT rect{};
            if (SendMessageW(bar, TB_GETITEMRECT, i, remote.Address(rectAt)) && remote.Read(&rect, sizeof rect, rectAt)) {
                MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
                info.rect = rect;
            }
            wchar_t text[kText] = {0};
            if (SendMessageW(bar, TB_GETBUTTONTEXTW, button.idCommand, remote.Address(textAt)) > 0)
                remote.Read(text, (kText - 1) * sizeof(wchar_t), textAt);
            info.text = ToUtf8(text);
            if (tips) {
                TOOLINFOW tool{};
                tool.cbSize = sizeof tool;
                tool.hwnd = bar;
                tool.uId = static_cast<UINT_PTR>(button.idCommand);
                tool.lpszText = reinterpret_cast<wchar_t*>(remote.Address(textAt));
                wchar_t empty = 0;
                remote.Write(&empty, sizeof empty, textAt);
                remote.Write(&tool, sizeof tool, infoAt);
                SendMessageW(tips, TTM_GETTEXTW, kText, remote.Address(infoAt));
                wchar_t hint[kText] = {0};
                remote.Read(hint, (kText - 1) * sizeof(wchar_t), textAt);
                info.hint = ToUtf8(hint);
            }
            if (button.fsState & TBSTATE_ENABLED)
                info.flags += 'e';
            if (!(button.fsState & TBSTATE_HIDDEN))
                info.flags += 'v';
            if (button.fsState & TBSTATE_CHECKED)
                info.flags += 'd';
            buttons.push_back(info);
        }
    }
    return buttons;
}

std::string Flags(HWND window)
{
    std::string flags;
    if (IsWindowEnabled(window))
        flags += 'e';
    if (IsWindowVisible(window))
        flags += 'v';
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) && thread.hwndFocus == window)
        flags += 'f';
    if (SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED && ClassOf(window) == "Button")
        flags += 'c';
    return flags;
}

// A text on one line: line breaks written as "\n".
std::string OneLine(const std::string& text)
{
    std::string line;
    for (char c : text) {
        if (c == '\n')
            line += "\\n";
        else if (c != '\r')
            line += c;
    }
    return line;
}

BOOL CALLBACK PrintControl(HWND window, LPARAM)
{
    RECT rect;
    GetWindowRect(window, &rect);
    std::printf("%p|%s|%s|%s|%s\n", static_cast<void*>(window), ClassOf(window).c_str(),
                OneLine(TextOf(window)).c_str(), Rect(rect).c_str(), Flags(window).c_str());
    return TRUE;
}

void PrintCentre(const RECT& rect)
{
    std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

HWND HandleArgument(const char* text) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(text, nullptr, 16))); }

// In wide text: Wine's translation of the list messages to 8-bit text across
// processes gives wrong lengths and overruns a fixed buffer on long entries,
// and the system's own lists (a combo box's) keep wide text.
std::string ListItem(HWND list, int index)
{
    int length = static_cast<int>(SendMessageW(list, LB_GETTEXTLEN, index, 0));
    if (length < 0)
        return std::string();
    std::wstring item(length + 1, L'\0');
    length = static_cast<int>(SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&item[0])));
    item.resize(length < 0 ? 0 : length);
    return ToUtf8(item);
}

// The screen centre of a list box entry, scrolled into view as the user
// would scroll it.
int PrintEntry(HWND list, const std::string& text)
{
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    int index = 0;
    while (index < count && ListItem(list, index) != text)
        ++index;
    if (index >= count)
        return Fail("no such entry");
    // The system carries the rectangle across processes.
    RECT client, rect{};
    GetClientRect(list, &client);
    SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    if (rect.top < 0 || rect.bottom > client.bottom) {
        SendMessageW(list, LB_SETTOPINDEX, index, 0);
        SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    }
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    PrintCentre(rect);
    return 0;
}

// Commands on one window given by its handle (from "controls").
int HandleCommand(const std::string& command, HWND window)
{
    if (!IsWindow(window))
        return Fail("no such window");
    if (command == "text") {
        std::printf("%s\n", TextOf(window).c_str());
    } else if (command == "length") {
        DWORD_PTR length = 0;
        if (SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length))
            std::printf("%lu\n", static_cast<unsigned long>(length));
        else
            std::printf("-1\n");
    } else if (command == "selection") {
        DWORD start = 0, end = 0;
        SendMessageW(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        std::printf("%lu %lu\n", start, end - start);
    } else if (command == "items") {
        int count = static_cast<int>(SendMessageW(window, LB_GETCOUNT, 0, 0));
        int selected = static_cast<int>(SendMessageW(window, LB_GETCURSEL, 0, 0));
        for (int i = 0; i < count; ++i)
            std::printf("%s%s\n", i == selected ? "*" : "", ListItem(window, i).c_str());
    } else {
        return Fail("unknown command");
    }
    return 0;
}

int ItemRect(HWND window, int index)
{
    if (!IsWindow(window))
        return Fail("no such window");
    // The system carries this rectangle across processes.
    RECT rect{};
    if (SendMessageW(window, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect)) == LB_ERR)
        return Fail("no such entry");
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    std::printf("%s\n", Rect(rect).c_str());
    return 0;
}

struct Shown {
    std::string caption;
    long length = 0;
};

BOOL CALLBACK FindLongestEditor(HWND window, LPARAM data)
{
    std::string name = ClassOf(window);
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (name.find("RICHEDIT") != std::string::npos) {
        DWORD_PTR length = 0;
        if (SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 600000, &length))
            *reinterpret_cast<long*>(data) = std::max(*reinterpret_cast<long*>(data), static_cast<long>(length));
    }
    return TRUE;
}

// Whether the window shows the document: the caption names it and an editor holds it.
bool ShowsDocument(HWND window, const Shown& wanted)
{
    if (TextOf(window).find(wanted.caption) == std::string::npos)
        return false;
    long length = 0;
    EnumChildWindows(window, FindLongestEditor, reinterpret_cast<LPARAM>(&length));
    return length >= wanted.length;
}

int StartTime(int argc, char** argv, int first = 2, const Shown* wanted = nullptr)
{
    std::string commandLine;
    for (int i = first; i < argc; ++i) {
        if (i > first)
            commandLine += ' ';
        commandLine += '"' + std::string(argv[i]) + '"';
    }
    std::wstring wideLine = ToWide(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    if (!CreateProcessW(nullptr, &wideLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return Fail("cannot start the program");
    HWND window = nullptr;
    while (!window) {
        Found found{"", process.dwProcessId, nullptr};
        EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&found));
        window = found.window;
        if (!window)
            Sleep(1);
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            return Fail("the program ended before showing a window");
    }
    WaitForInputIdle(process.hProcess, 60000);
    // The window has answered a message: it is idle.
    DWORD_PTR answer;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &answer);
    for (int waited = 0; wanted && !ShowsDocument(window, *wanted); waited += 10) {
        if (waited > 600000 || WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 1);
            return Fail("the window never showed the document");
        }
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &answer);
    }
    QueryPerformanceCounter(&end);
    std::printf("%.1f\n", (end.QuadPart - begin.QuadPart) * 1000.0 / frequency.QuadPart);
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

// Values too long for a command line reach the store through a file (UTF-8).
int StoreFile(const char* name, const char* file)
{
    FILE* in = _wfopen(ToWide(file).c_str(), L"rb");
    if (!in)
        return Fail("cannot read the file");
    std::string value;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        value.append(buffer, got);
    std::fclose(in);
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Orvane\\Mibor8\\Settings", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return Fail("cannot open the settings key");
    const std::wstring wide = ToWide(value);
    LONG result = RegSetValueExW(key, ToWide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                                 static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? 0 : Fail("cannot write the value");
}

// A test's own certificate authority, trusted from then on by the programs of the prefix.
int AddRoot(const char* file)
{
    FILE* in = _wfopen(ToWide(file).c_str(), L"rb");
    if (!in)
        return Fail("cannot read the file");
    std::vector<BYTE> der(65536);
    der.resize(std::fread(der.data(), 1, der.size(), in));
    std::fclose(in);
    HCERTSTORE store = CertOpenSystemStoreW(0, L"ROOT");
    if (!store)
        return Fail("cannot open the Root store");
    BOOL added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()),
                                                  CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    DWORD error = GetLastError();
    CertCloseStore(store, 0);
    if (!added) {
        std::fprintf(stderr, "error %08lX\n", error);
        return Fail("the certificate was not added");
    }
    return 0;
}

} // namespace

int Command(int argc, char** argv)
{
    if (argc < 2)
        return Fail("usage: driver COMMAND ...");
    std::string command = argv[1];
    if (command == "windows") {
        EnumWindows(PrintTopLevel, 0);
        return 0;
    }
    if (command == "starttime" && argc >= 3)
        return StartTime(argc, argv);
    if (command == "doctime" && argc >= 5) {
        Shown wanted{argv[2], std::atol(argv[3])};
        return StartTime(argc, argv, 4, &wanted);
    }
    if (command == "storefile" && argc >= 4)
        return StoreFile(argv[2], argv[3]);
    if (command == "addroot" && argc >= 3)
        return AddRoot(argv[2]);
    if (command == "typed")
        return WaitTyped(argc >= 3 ? std::atof(argv[2]) : 30);
    if (command == "clipboard") {
        std::printf("%s", ClipboardText().c_str());
        return 0;
    }
    if (command == "setclipboard" && argc >= 3) {
        try {
            PutTextOnClipboard(nullptr, argv[2]);
            return 0;
        } catch (const std::exception& error) {
            return Fail(error.what());
        }
    }
    if (command == "itemrect" && argc >= 4)
        return ItemRect(HandleArgument(argv[2]), std::atoi(argv[3]));
    if ((command == "text" || command == "length" || command == "selection" || command == "items") && argc >= 3)
        return HandleCommand(command, HandleArgument(argv[2]));
    if (argc < 3)
        return Fail("missing window class");
    std::string className = argv[2];
    double seconds = argc >= 4 ? std::atof(argv[3]) : 30;
    DWORD end = GetTickCount() + static_cast<DWORD>(seconds * 1000);
    if (command == "wait" || command == "idle") {
        HWND window = command == "wait" ? WaitFor(className, seconds) : FindWindowOfClass(className);
        if (!window)
            return Fail("no such window");
        return WaitIdle(window, end) ? 0 : Fail("the window did not become idle");
    }
    if (command == "gone") {
        while (FindWindowOfClass(className)) {
            if (!TimeLeft(end))
                return Fail("the window is still there");
            Sleep(20);
        }
        return 0;
    }
    if (command == "rects") {
        EnumWindows(PrintRectOfClass, reinterpret_cast<LPARAM>(&className));
        return 0;
    }
    HWND window = FindWindowOfClass(className);
    if (!window)
        return Fail("no such window");
    if (command == "title") {
        std::printf("%s\n", TextOf(window).c_str());
    } else if (command == "caret") {
        return PrintCaret(window);
    } else if (command == "rect") {
        RECT rect;
        GetWindowRect(window, &rect);
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    } else if (command == "children") {
        EnumChildWindows(window, PrintChild, 0);
    } else if (command == "controls") {
        EnumChildWindows(window, PrintControl, 0);
    } else if (command == "place" && argc >= 4) {
        ChildSearch search{argv[3]};
        EnumChildWindows(window, FindChild, reinterpret_cast<LPARAM>(&search));
        if (!search.window)
            return Fail("no such child window");
        RECT rect;
        GetWindowRect(search.window, &rect);
        PrintCentre(rect);
    } else if (command == "buttons") {
        for (const ToolButtonInfo& button : ToolButtons(window))
            std::printf("%s|%s|%s|%s\n", button.hint.c_str(), button.text.c_str(), Rect(button.rect).c_str(),
                        button.flags.c_str());
    } else if (command == "button" && argc >= 4) {
        for (const ToolButtonInfo& button : ToolButtons(window)) {
            if (button.hint == argv[3] || button.text == argv[3]) {
                PrintCentre(button.rect);
                return 0;
            }
        }
        return Fail("no such toolbar button");
    } else if (command == "buttontime" && argc >= 4) {
        for (const ToolButtonInfo& button : ToolButtons(window)) {
            if (button.hint != argv[3] && button.text != argv[3])
                continue;
            // Sent as the toolbar sends a click: the answer comes when the command is done.
            LARGE_INTEGER frequency, begin, end;
            QueryPerformanceFrequency(&frequency);
            QueryPerformanceCounter(&begin);
            DWORD_PTR answer;
            if (!SendMessageTimeoutW(GetParent(button.bar), WM_COMMAND, MAKEWPARAM(button.command, BN_CLICKED),
                                     reinterpret_cast<LPARAM>(button.bar), SMTO_NORMAL, 600000, &answer))
                return Fail("the window does not answer");
            QueryPerformanceCounter(&end);
            std::printf("%.1f\n", (end.QuadPart - begin.QuadPart) * 1000.0 / frequency.QuadPart);
            return 0;
        }
        return Fail("no such toolbar button");
    } else if (command == "focus") {
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) || !thread.hwndFocus)
            return Fail("no focus");
        std::printf("%p|%s|%s\n", static_cast<void*>(thread.hwndFocus), ClassOf(thread.hwndFocus).c_str(),
                    TextOf(thread.hwndFocus).c_str());
    } else if (command == "click" && argc >= 4) {
        ChildSearch search{argv[3]};
        EnumChildWindows(window, FindChild, reinterpret_cast<LPARAM>(&search));
        if (!search.window)
            return Fail("no such child window");
        if (ClassOf(search.window) == "Button") {
            PostMessageW(search.window, BM_CLICK, 0, 0);
        } else {
            PostMessageW(search.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            PostMessageW(search.window, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        }
    } else if (command == "entries") {
        int count = static_cast<int>(SendMessageW(window, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
            std::printf("%s\n", ListItem(window, i).c_str());
    } else if (command == "entry" && argc >= 4) {
        return PrintEntry(window, argv[3]);
    } else if (command == "close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
    } else if (command == "drop" && argc >= 4) {
        RECT client;
        GetClientRect(window, &client);
        if (!DropFiles(window, std::vector<std::string>(argv + 3, argv + argc), {client.right / 2, client.bottom / 2}))
            return Fail("cannot make the drop in the window's process");
    } else {
        return Fail("unknown command");
    }
    return 0;
}

// "driver serve": one command a line, its words separated by tabs, until the
// input ends; each answer ends with "\x1e" CODE "\x1e" and a line end. A
// test pays the driver's start once instead of for every command.
int Serve()
{
    for (;;) {
        std::string line;
        int c;
        while ((c = std::getchar()) != EOF && c != '\n')
            line += static_cast<char>(c);
        if (c == EOF && line.empty())
            return 0;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> words{"driver"};
        for (size_t start = 0;;) {
            size_t tab = line.find('\t', start);
            words.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos)
                break;
            start = tab + 1;
        }
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(&word[0]);
        argv.push_back(nullptr);
        int code = Command(static_cast<int>(words.size()), argv.data());
        std::printf("\x1e%d\x1e\n", code);
        std::fflush(stdout);
    }
}

int main()
{
    // The words of the command line in UTF-8, as the commands read from "serve" come.
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i)
        words.push_back(ToUtf8(wide[i]));
    LocalFree(wide);
    if (words.size() == 2 && words[1] == "serve")
        return Serve();
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(&word[0]);
    argv.push_back(nullptr);
    return Command(static_cast<int>(words.size()), argv.data());
}
