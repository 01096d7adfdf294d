// Hidden tool windows that carry a pointer to their owner in 4 bytes of window data.
#pragma once

#include <windows.h>

// Registers the class once per process and makes a pop-up tool window of size 0
// without a parent; raises EOutOfResources when the system refuses.
HWND CreateHiddenWindow(const char* className, WNDPROC procedure);
// The owner stored in the window data, nullptr before one is stored.
void* HiddenWindowOwner(HWND window);
void SetHiddenWindowOwner(HWND window, void* owner);
// Forgets the owner, so that late messages reach nothing, and destroys the window.
void DestroyHiddenWindow(HWND window);
