// The measure of every caption against its control: each window is walked,
// and each child that shows a caption is measured in its own font against its
// client area (with the usual inner margin of its kind); a label must not run
// into a neighbour. Toolbar buttons with captions beside their pictures too.
#include "tests/windows/CaptionFit.h"

#include "about/AboutForm.h"
#include "email/SendForm.h"
#include "imageviewer/ImageViewerForm.h"
#include "mainform/MainForm.h"
#include "preferences/PreferencesForm.h"
#include "ui/ComCtrls.h"

#include <sstream>

namespace {

std::string ClassOf(HWND window)
{
    char name[64] = {0};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    std::string text(GetWindowTextLengthA(window) + 1, '\0');
    text.resize(GetWindowTextA(window, &text[0], static_cast<int>(text.size())));
    return text;
}

// Shown once its form is: the control and every parent up to the form have
// the visible style (the forms themselves stay hidden in the test).
bool ShownOnForm(HWND window, HWND form)
{
    for (HWND w = window; w && w != form; w = GetParent(w))
        if (!(GetWindowLongA(w, GWL_STYLE) & WS_VISIBLE))
            return false;
    return true;
}

SIZE TextSize(HWND window, const std::string& text)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    if (TControl* control = TControl::FromHandle(window))
        font = control->Font().Handle();
    TWindowDC dc(window);
    TSelectObject select(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

// What of the client area a caption of this kind of control may use.
SIZE Room(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    SIZE room{client.right, client.bottom};
    std::string cls = ClassOf(window);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    if (cls == "Button") {
        switch (style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
            room.cx -= GetSystemMetrics(SM_CXMENUCHECK) + 4; // the box and the gap beside it
            break;
        case BS_GROUPBOX:
            room.cx -= 2 * 8;
            break;
        case BS_OWNERDRAW: // our own buttons: their faces' edges, the focus mark drawn within
            room.cx -= 2 * 2;
            room.cy -= 2 * 2;
            break;
        default:
            room.cx -= 2 * 4; // edge and focus frame
            room.cy -= 2 * 3;
        }
    } else if (cls == "TPanel" || cls == "TSpeedButton") {
        room.cx -= 2 * 2; // the bevels
    }
    return room;
}

bool ShowsCaption(HWND window)
{
    std::string cls = ClassOf(window);
    return cls == "Button" || cls == "Static" || cls == "TPanel" || cls == "TSpeedButton";
}

struct Walk {
    HWND form;
    std::vector<std::string> faults;
};

void Check(HWND window, Walk& walk)
{
    std::string text = TextOf(window);
    if (text.empty() || !ShowsCaption(window) || !ShownOnForm(window, walk.form))
        return;
    SIZE need = TextSize(window, text);
    SIZE room = Room(window);
    std::ostringstream where;
    where << ClassOf(window) << " \"" << text << "\"";
    if (need.cx > room.cx || need.cy > room.cy)
        walk.faults.push_back(where.str() + " needs " + std::to_string(need.cx) + "x" + std::to_string(need.cy) +
                              ", has " + std::to_string(room.cx) + "x" + std::to_string(room.cy));
    if (ClassOf(window) != "Static")
        return;
    // A label's text must not run into a control beside it.
    RECT label;
    GetWindowRect(window, &label);
    label.right = label.left + need.cx;
    for (HWND other = GetWindow(GetParent(window), GW_CHILD); other; other = GetWindow(other, GW_HWNDNEXT)) {
        std::string cls = ClassOf(other);
        if (other == window || cls == "TBevel" || cls == "TShape" || !ShownOnForm(other, walk.form))
            continue;
        RECT rect, overlap;
        GetWindowRect(other, &rect);
        if (IntersectRect(&overlap, &label, &rect))
            walk.faults.push_back(where.str() + " (" + std::to_string(need.cx) + " wide) runs " +
                                  std::to_string(overlap.right - overlap.left) + " pixels into " + cls + " \"" +
                                  TextOf(other) + "\"");
    }
}

BOOL CALLBACK CheckChild(HWND window, LPARAM data)
{
    Check(window, *reinterpret_cast<Walk*>(data));
    return TRUE;
}

// Buttons of the toolbars that show their captions beside their pictures.
void CheckToolBar(TToolBar& bar, Walk& walk)
{
    for (const auto& button : bar.Buttons()) {
        if (button->Caption.empty())
            continue;
        RECT rect = bar.ButtonRect(button.get());
        SIZE need = TextSize(bar.Handle(), button->Caption);
        int picture = 16, height = 16;
        if (auto images = reinterpret_cast<HIMAGELIST>(bar.Perform(TB_GETIMAGELIST)))
            ImageList_GetIconSize(images, &picture, &height);
        int room = rect.right - rect.left - picture - 2 * 3; // picture, edges
        if (need.cx > room)
            walk.faults.push_back("toolbar button \"" + button->Caption + "\" needs " + std::to_string(need.cx) +
                                  ", has " + std::to_string(room));
    }
}

std::vector<std::string> Faults(TForm& form)
{
    Walk walk{form.Handle(), {}};
    EnumChildWindows(form.Handle(), CheckChild, reinterpret_cast<LPARAM>(&walk));
    return walk.faults;
}

void Append(std::string& all, const std::string& window, const std::vector<std::string>& faults)
{
    for (const std::string& fault : faults)
        all += "\n  " + window + ": " + fault;
}

} // namespace

std::string CaptionFaults()
{
    std::string all;
    Append(all, "main window", Faults(*Form1));
    Walk toolbars{Form1->Handle(), {}};
    for (TToolBar* bar : {Form1->ToolBar1.get(), Form1->ToolBar2.get(), Form1->ToolBar3.get(), Form1->ToolBar5.get(),
                          Form1->ToolBar6.get(), Form1->ToolBar7.get()})
        CheckToolBar(*bar, toolbars);
    Append(all, "main window", toolbars.faults);
    for (int page = 0; page < 6; ++page) {
        Form2->ShowPage(Form2->Pages()[page]);
        Append(all, "Preferences, page " + Form2->PageButtons()[page]->Text(), Faults(*Form2));
    }
    Append(all, "send window", Faults(*Form8));
    Append(all, "About box", Faults(*Form3));
    Append(all, "image viewer", Faults(*Form4));
    return all;
}
