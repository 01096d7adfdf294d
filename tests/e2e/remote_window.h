// What the e2e driver reads from and hands to another program's windows, in
// UTF-8: class names, texts (a rich edit control's through its own wide
// messages), and files dropped as the shell drops them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// Memory in another process, for the messages whose answers come through a
// pointer that the system does not carry across processes (toolbars, tool
// tips, a rich edit control's wide text, a drop's file list).
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Ok() const { return address_ != nullptr; }
    LPARAM Address(size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset); }
    bool Write(const void* data, size_t size, size_t offset = 0);
    bool Read(void* data, size_t size, size_t offset = 0) const;
    // The memory stays with the other process when this object goes (it owns it from then on).
    void Leave() { address_ = nullptr; }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

std::string ClassOf(HWND window);
// The window's text in UTF-8, through WM_GETTEXT (GetWindowText does not read
// the text of another program's edit fields); a rich edit control's, whose
// class takes that message in the ANSI code page, through EM_GETTEXTEX in UTF-16.
std::string TextOf(HWND window);
// Posts WM_DROPFILES with the files (UTF-8 names) to the window, the list made in
// the window's process as the shell makes it there: a DROPFILES of wide names,
// dropped at `point` (client coordinates). False when that memory cannot be had.
bool DropFiles(HWND window, const std::vector<std::string>& files, POINT point);
