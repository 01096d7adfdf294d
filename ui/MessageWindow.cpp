#include "ui/MessageWindow.h"

#include "ui/Application.h"
#include "ui/SysUtils.h"

namespace {

const wchar_t* const kClassName = L"TMessageWindow";

} // namespace

TMessageWindow::TMessageWindow(THandler handler) : handler_(std::move(handler))
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW existing;
    if (!GetClassInfoW(instance, kClassName, &existing)) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kClassName;
        if (!RegisterClassW(&windowClass))
            throw EOutOfResources("Cannot register the message window class");
    }
    handle_ = CreateWindowExW(0, kClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!handle_)
        throw EOutOfResources("Cannot create a message window");
    SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TMessageWindow::~TMessageWindow()
{
    SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
}

LRESULT CALLBACK TMessageWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<TMessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    bool taken = false;
    if (self && self->handler_)
        Application->Callback([&] { taken = self->handler_(message, wParam, lParam); });
    if (taken)
        return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}
