// What the send window's tests share: the program started with the e-mail
// preferences filled in, the status texts as they were shown.
#pragma once

#include "tests/windows/TestProgram.h"

#include <windows.h>

#include <string>
#include <vector>

// Records every text the status label is given, in order.
class StatusRecorder {
public:
    explicit StatusRecorder(HWND label);
    ~StatusRecorder();
    StatusRecorder(const StatusRecorder&) = delete;
    StatusRecorder& operator=(const StatusRecorder&) = delete;
    std::vector<std::string> Texts;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND label_;
    WNDPROC previous_;
};

// Starts the program and fills the e-mail preferences, the recipient and the document.
void StartWithPreferences(ScriptedDialogs& dialogs, int port);

// Clicks a child window with the left button through the message queue.
void PostClick(HWND window);

// The texts of the message boxes shown.
std::vector<std::string> BoxTexts(const ScriptedDialogs& dialogs);
