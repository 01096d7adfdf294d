// Stands in for the programs the shell starts with the "open" verb (registry
// editor, PDF reader, browser, mail program): registered as their command, it
// appends what it was given to open to a log, one line a call.
//
//   shell_recorder.exe LOG TARGET
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args || count != 3)
        return 2;
    char log[MAX_PATH * 4], target[MAX_PATH * 4];
    WideCharToMultiByte(CP_ACP, 0, args[1], -1, log, sizeof log, nullptr, nullptr);
    // A file may come by its short name: log its full one.
    wchar_t longName[MAX_PATH * 4];
    DWORD length = GetLongPathNameW(args[2], longName, MAX_PATH * 4);
    bool isFile = length > 0 && length < MAX_PATH * 4;
    WideCharToMultiByte(CP_ACP, 0, isFile ? longName : args[2], -1, target, sizeof target, nullptr, nullptr);
    // The test reads the log while calls come in: share it, and retry while
    // something else holds it.
    for (int attempt = 0; attempt < 100; ++attempt) {
        HANDLE file = CreateFileA(log, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            SetFilePointer(file, 0, nullptr, FILE_END);
            std::string line = std::string(target) + "\n";
            DWORD written = 0;
            WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(file);
            return 0;
        }
        Sleep(20);
    }
    return 1;
}
