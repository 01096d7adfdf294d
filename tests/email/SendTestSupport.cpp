#include "SendTestSupport.h"

#include "email/SendForm.h"
#include "mainform/MainWindowReads.h"
#include "ui/RichEdit.h"
#include "preferences/PreferencesForm.h"
#include "ui/SysUtils.h"

#include <map>

namespace {
std::map<HWND, StatusRecorder*> recorders;
}

StatusRecorder::StatusRecorder(HWND label) : label_(label)
{
    recorders[label] = this;
    previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
}

StatusRecorder::~StatusRecorder()
{
    SetWindowLongPtrA(label_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    recorders.erase(label_);
}

LRESULT CALLBACK StatusRecorder::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    StatusRecorder* recorder = recorders.at(window);
    if (message == WM_SETTEXT)
        recorder->Texts.push_back(reinterpret_cast<const char*>(lParam));
    return CallWindowProcA(recorder->previous_, window, message, wParam, lParam);
}

void StartWithPreferences(ScriptedDialogs& dialogs, int port)
{
    StartProgram(dialogs);
    Form2->server->SetText("127.0.0.1");
    Form2->port->SetText(IntToStr(port));
    Form2->id->SetText("tester");
    Form2->name->SetText("Ann Smith");
    Form2->email->SetText("ann@example.com");
    Form8->sendto->SetText("bob@example.com");
    MainEditor().SetText("Hello\r\n.dotted\r\nWorld");
}

void PostClick(HWND window)
{
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

std::vector<std::string> BoxTexts(const ScriptedDialogs& dialogs)
{
    std::vector<std::string> texts;
    for (const auto& box : dialogs.boxes)
        texts.push_back(box.text);
    return texts;
}
