// What accessibility tools (screen readers, magnifiers, speech input) are
// told about a control that the system cannot describe itself: a window of
// our own that acts as a button, a marker that shows a value, the buttons
// drawn inside a toolbar.
#pragma once

#include <windows.h>

#include <string>

class TControl;

// One element as accessibility tools see it: the control itself, or an
// element drawn inside it (a toolbar's button).
struct TAccessibleItem {
    long role = 0;      // ROLE_SYSTEM_... of <oleacc.h>
    std::string name;   // what it is called: a button's caption, a tool button's hint
    std::string value;  // what it shows, for elements that have a value ("12 pt")
    long state = 0;     // STATE_SYSTEM_... beyond those the window itself shows
    std::string action; // its default action ("Press"); empty: none
    std::string shortcut; // the key that runs it ("Ctrl+N"); empty: none
    RECT rect{};        // an element's place in the control's client area
};

// The answer to WM_GETOBJECT for the control's client area, when the control
// describes itself (TControl::Describe); 0 otherwise, and for every other
// object asked for.
LRESULT AnswerGetObject(TControl& control, WPARAM wParam, LPARAM lParam);

// The message an accessibility tool's "default action" is posted as, so
// that the tool never waits for what the action does (a modal window).
UINT AccessibleActionMessage();
