#include "smtp/HiddenWindow.h"

#include "ui/SysUtils.h"

#include <cstdint>
#include <string>

HWND CreateHiddenWindow(const char* className, WNDPROC procedure)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing;
    if (!GetClassInfoA(instance, className, &existing)) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.cbWndExtra = 4;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = className;
        if (!RegisterClassA(&windowClass))
            throw EOutOfResources(std::string("Cannot register window class ") + className);
    }
    // A message-only window: it never shows, and the window system keeps no
    // screen window for it.
    HWND window = CreateWindowExA(0, className, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!window)
        throw EOutOfResources(std::string("Cannot create window of class ") + className);
    return window;
}

void* HiddenWindowOwner(HWND window)
{
    return reinterpret_cast<void*>(static_cast<uintptr_t>(static_cast<uint32_t>(GetWindowLongA(window, 0))));
}

void SetHiddenWindowOwner(HWND window, void* owner)
{
    SetWindowLongA(window, 0, static_cast<LONG>(reinterpret_cast<uintptr_t>(owner)));
}

void DestroyHiddenWindow(HWND window)
{
    if (!window)
        return;
    SetHiddenWindowOwner(window, nullptr);
    DestroyWindow(window);
}
