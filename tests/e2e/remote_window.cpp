#include "tests/e2e/remote_window.h"

#include "ui/WideText.h"

#include <richedit.h>
#include <shlobj.h>

#include <algorithm>
#include <cctype>

RemoteBuffer::RemoteBuffer(HWND window, size_t size)
{
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
    if (process_)
        address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer()
{
    if (address_)
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_)
        CloseHandle(process_);
}

bool RemoteBuffer::Write(const void* data, size_t size, size_t offset)
{
    return WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr) != 0;
}

bool RemoteBuffer::Read(void* data, size_t size, size_t offset) const
{
    return ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr) != 0;
}

std::string ClassOf(HWND window)
{
    wchar_t name[256] = {0};
    GetClassNameW(window, name, 256);
    return ToUtf8(name);
}

namespace {

bool IsRichEdit(HWND window)
{
    std::string name = ClassOf(window);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    return name.find("RICHEDIT") != std::string::npos;
}

// A rich edit control's text in UTF-16, line ends as CR LF (as WM_GETTEXT gives them).
std::string RichEditText(HWND window)
{
    RemoteBuffer lengthQuery(window, sizeof(GETTEXTLENGTHEX));
    GETTEXTLENGTHEX query{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
    DWORD_PTR length = 0;
    if (!lengthQuery.Ok() || !lengthQuery.Write(&query, sizeof query) ||
        !SendMessageTimeoutW(window, EM_GETTEXTLENGTHEX, static_cast<WPARAM>(lengthQuery.Address()), 0,
                             SMTO_ABORTIFHUNG, 5000, &length))
        return std::string();
    const size_t bytes = (length + 1) * sizeof(wchar_t);
    RemoteBuffer remote(window, sizeof(GETTEXTEX) + bytes);
    GETTEXTEX get{static_cast<DWORD>(bytes), GT_USECRLF, 1200, nullptr, nullptr};
    DWORD_PTR got = 0;
    if (!remote.Ok() || !remote.Write(&get, sizeof get) ||
        !SendMessageTimeoutW(window, EM_GETTEXTEX, static_cast<WPARAM>(remote.Address()),
                             remote.Address(sizeof(GETTEXTEX)), SMTO_ABORTIFHUNG, 5000, &got))
        return std::string();
    std::wstring text(std::min<size_t>(got, length), L'\0');
    if (!text.empty() && !remote.Read(&text[0], text.size() * sizeof(wchar_t), sizeof(GETTEXTEX)))
        return std::string();
    return ToUtf8(text);
}

} // namespace

std::string TextOf(HWND window)
{
    if (IsRichEdit(window))
        return RichEditText(window);
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return std::string();
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG, 5000,
                        &got);
    text.resize(std::min<size_t>(got, length));
    return ToUtf8(text);
}

bool DropFiles(HWND window, const std::vector<std::string>& files, POINT point)
{
    // The names, each ended by a zero, and one more zero after the last.
    std::wstring names;
    for (const std::string& file : files)
        names += ToWide(file) + L'\0';
    names += L'\0';
    DROPFILES drop{};
    drop.pFiles = sizeof drop;
    drop.pt = point;
    drop.fNC = FALSE;
    drop.fWide = TRUE;
    const size_t size = sizeof drop + names.size() * sizeof(wchar_t);
    RemoteBuffer remote(window, size);
    if (!remote.Ok() || !remote.Write(&drop, sizeof drop) ||
        !remote.Write(names.data(), names.size() * sizeof(wchar_t), sizeof drop))
        return false;
    // The handle of a fixed block is its address. The program hands it to
    // DragFinish, which cannot free memory the heap did not give: the block
    // stays with the program until it ends.
    if (!PostMessageW(window, WM_DROPFILES, static_cast<WPARAM>(remote.Address()), 0))
        return false;
    remote.Leave();
    return true;
}
