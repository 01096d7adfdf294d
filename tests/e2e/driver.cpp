// A small Windows program that tests and benchmarks use to look at and drive
// the editor from outside, the way a screen reader or a user would.
//
//   driver windows                       visible top-level windows: class|title
//   driver wait CLASS [SECONDS]          waits for a visible window of that class
//   driver gone CLASS [SECONDS]          waits until no visible window of that class is left
//   driver title CLASS                   the window's title
//   driver rect CLASS                    left top width height
//   driver children CLASS                class|text of every child window
//   driver click CLASS TEXT              clicks the child window with that text
//   driver close CLASS                   asks the window to close
//   driver storefile NAME FILE           stores FILE's content as the settings value NAME
//   driver starttime EXE [ARGS...]       ms until the program's first window is idle,
//                                        then closes it and waits for it to end
#include <windows.h>

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

std::string ClassOf(HWND window)
{
    char name[256] = {0};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    int length = GetWindowTextLengthA(window);
    std::string text(length + 1, '\0');
    GetWindowTextA(window, &text[0], length + 1);
    text.resize(length);
    return text;
}

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

int StartTime(int argc, char** argv)
{
    std::string commandLine;
    for (int i = 2; i < argc; ++i) {
        if (i > 2)
            commandLine += ' ';
        commandLine += '"' + std::string(argv[i]) + '"';
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
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
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
    QueryPerformanceCounter(&end);
    std::printf("%.1f\n", (end.QuadPart - begin.QuadPart) * 1000.0 / frequency.QuadPart);
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

// Values too long for a command line reach the store through a file.
int StoreFile(const char* name, const char* file)
{
    FILE* in = std::fopen(file, "rb");
    if (!in)
        return Fail("cannot read the file");
    std::string value;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        value.append(buffer, got);
    std::fclose(in);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvane\\Mibor8\\Settings", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return Fail("cannot open the settings key");
    LONG result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? 0 : Fail("cannot write the value");
}

} // namespace

int main(int argc, char** argv)
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
    if (command == "storefile" && argc >= 4)
        return StoreFile(argv[2], argv[3]);
    if (argc < 3)
        return Fail("missing window class");
    std::string className = argv[2];
    double seconds = argc >= 4 ? std::atof(argv[3]) : 20;
    if (command == "wait")
        return WaitFor(className, seconds) ? 0 : Fail("no such window");
    if (command == "gone") {
        DWORD end = GetTickCount() + static_cast<DWORD>(seconds * 1000);
        while (FindWindowOfClass(className)) {
            if (static_cast<int>(end - GetTickCount()) <= 0)
                return Fail("the window is still there");
            Sleep(20);
        }
        return 0;
    }
    HWND window = FindWindowOfClass(className);
    if (!window)
        return Fail("no such window");
    if (command == "title") {
        std::printf("%s\n", TextOf(window).c_str());
    } else if (command == "rect") {
        RECT rect;
        GetWindowRect(window, &rect);
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    } else if (command == "children") {
        EnumChildWindows(window, PrintChild, 0);
    } else if (command == "click" && argc >= 4) {
        ChildSearch search{argv[3]};
        EnumChildWindows(window, FindChild, reinterpret_cast<LPARAM>(&search));
        if (!search.window)
            return Fail("no such child window");
        if (ClassOf(search.window) == "Button") {
            PostMessageA(search.window, BM_CLICK, 0, 0);
        } else {
            PostMessageA(search.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            PostMessageA(search.window, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        }
    } else if (command == "close") {
        PostMessageA(window, WM_CLOSE, 0, 0);
    } else {
        return Fail("unknown command");
    }
    return 0;
}
