#include "ui/Shell.h"

#include "ui/LateBound.h"
#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace {

// The shell's DLL loads at the first opening.
const TLateBound<decltype(&ShellExecuteA)> shellExecute("shell32.dll", "ShellExecuteA");

} // namespace

namespace {

TShellOpener replacement;

// The shell takes paths of fewer than MAX_PATH characters: a longer path of a
// file that is there goes as its short form.
std::string ShellTarget(const std::string& target)
{
    if (target.size() < MAX_PATH)
        return target;
    // The wide call: the narrow one takes no path of MAX_PATH characters or more.
    std::wstring wide(target.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, target.c_str(), -1, &wide[0], static_cast<int>(wide.size())));
    std::wstring shortPath(wide.size(), L'\0');
    DWORD length = GetShortPathNameW(wide.c_str(), &shortPath[0], static_cast<DWORD>(shortPath.size()));
    if (length == 0 || length >= shortPath.size())
        return target;
    std::string narrow(length * 2 + 1, '\0');
    narrow.resize(WideCharToMultiByte(CP_ACP, 0, shortPath.c_str(), static_cast<int>(length), &narrow[0],
                                      static_cast<int>(narrow.size()), nullptr, nullptr));
    return narrow.empty() ? target : narrow;
}

void SystemShellOpen(const std::string& target)
{
    shellExecute(nullptr, "open", ShellTarget(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
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
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size() - 1)
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}
