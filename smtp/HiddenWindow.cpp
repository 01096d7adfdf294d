#include "smtp/HiddenWindow.h"

#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <cstdint>
#include <string>

HWND CreateHiddenWindow(const char* className, WNDPROC procedure)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::wstring name = ToWide(className);
    WNDCLASSW existing;
    if (!GetClassInfoW(instance, name.c_str(), &existing)) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.cbWndExtra = 4;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = name.c_str();
        if (!RegisterClassW(&windowClass))
            throw EOutOfResources(std::string("Cannot register window class ") + className);
    }
    // A message-only window: it never shows, and the window system keeps no
    // screen window for it.
    HWND window = CreateWindowExW(0, name.c_str(), nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!window)
        throw EOutOfResources(std::string("Cannot create window of class ") + className);
    return window;
}

void* HiddenWindowOwner(HWND window)
{
    return reinterpret_cast<void*>(static_cast<uintptr_t>(static_cast<uint32_t>(GetWindowLongW(window, 0))));
}

void SetHiddenWindowOwner(HWND window, void* owner)
{
    SetWindowLongW(window, 0, static_cast<LONG>(reinterpret_cast<uintptr_t>(owner)));
}

void DestroyHiddenWindow(HWND window)
{
    if (!window)
        return;
    SetHiddenWindowOwner(window, nullptr);
    DestroyWindow(window);
}
