#include "ui/Shell.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace {

TShellOpener replacement;

void SystemShellOpen(const std::string& target)
{
    ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
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
