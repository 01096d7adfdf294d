#include "tests/about/ShellRecorder.h"

#include "ui/Shell.h"
#include "ui/SysUtils.h"

#include <windows.h>

#include <fstream>

namespace {

const char* const kClass = "Mibor8.TestOpen";

bool ReadDefault(const std::string& key, std::string& value)
{
    char buffer[1024];
    LONG size = sizeof buffer;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), buffer, &size) != ERROR_SUCCESS)
        return false;
    value = buffer;
    return true;
}

void WriteDefault(const std::string& key, const std::string& value)
{
    RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size()));
}

} // namespace

TShellRecorder::TShellRecorder() : log_("C:\\mibor8-shell-calls.txt")
{
    DeleteFileA(log_.c_str());
    std::string recorder = ExtractFilePath(ProgramFileName()) + "shell_recorder.exe";
    std::string command = "\"" + recorder + "\" \"" + log_ + "\" \"%1\"";
    for (const char* key : {".reg", ".pdf", "http\\shell\\open\\command", "mailto\\shell\\open\\command"}) {
        Saved old{key, false, ""};
        old.existed = ReadDefault(key, old.value);
        saved_.push_back(old);
    }
    WriteDefault(".reg", kClass);
    WriteDefault(".pdf", kClass);
    WriteDefault(std::string(kClass) + "\\shell\\open\\command", command);
    WriteDefault("http\\shell\\open\\command", command);
    WriteDefault("mailto\\shell\\open\\command", command);
}

TShellRecorder::~TShellRecorder()
{
    for (const Saved& old : saved_) {
        if (old.existed)
            WriteDefault(old.key, old.value);
        else
            RegDeleteKeyA(HKEY_CLASSES_ROOT, old.key.c_str());
    }
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kClass);
    DeleteFileA(log_.c_str());
}

std::vector<std::string> TShellRecorder::Opened(size_t count, int milliseconds) const
{
    std::vector<std::string> lines;
    DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    for (;;) {
        lines.clear();
        std::ifstream log(log_);
        for (std::string line; std::getline(log, line);)
            lines.push_back(line);
        if (lines.size() >= count || static_cast<int>(end - GetTickCount()) <= 0)
            return lines;
        Sleep(50);
    }
}
