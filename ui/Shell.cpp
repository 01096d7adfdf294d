#include "ui/Shell.h"

#include "ui/LateBound.h"
#include "ui/WideText.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace {

// The shell's DLL loads at the first opening.
const TLateBound<decltype(&ShellExecuteW)> shellExecute("shell32.dll", "ShellExecuteW");

} // namespace

namespace {

TShellOpener replacement;

// The shell takes paths of fewer than MAX_PATH characters: a longer path of a
// file that is there goes as its short form.
std::wstring ShellTarget(const std::string& target)
{
    std::wstring wide = ToWide(target);
    if (wide.size() < MAX_PATH)
        return wide;
    std::wstring shortPath(wide.size() + 1, L'\0');
    DWORD length = GetShortPathNameW(wide.c_str(), &shortPath[0], static_cast<DWORD>(shortPath.size()));
    if (length == 0 || length >= shortPath.size())
        return wide;
    shortPath.resize(length);
    return shortPath;
}

void SystemShellOpen(const std::string& target)
{
    shellExecute(nullptr, L"open", ShellTarget(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace

void ShellOpen(const std::string& target)
{
    if (replacement)
        replacement(target);
    else
        SystemShellOpen(target);
}

void SetShellOpener(TShellOpener opener) { replacement = std::move(opener); }

std::string ProgramFileName()
{
    // The call cuts the name to the buffer without saying how long it is:
    // grow the buffer until the name fits with room to spare.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size() - 1)
            return ToUtf8(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}
