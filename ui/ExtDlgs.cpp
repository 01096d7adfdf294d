#include "ui/ExtDlgs.h"

#include "ui/Application.h"
#include "ui/Forms.h"
#include "ui/LateBound.h"
#include "ui/SysUtils.h"
#include "ui/WideText.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <cstring>

namespace {

// The common dialogs' DLL loads when the first dialog shows.
const TLateBound<decltype(&GetOpenFileNameW)> getOpenFileName("comdlg32.dll", "GetOpenFileNameW");

} // namespace

namespace {

const wchar_t* const kPreviewBoxClass = L"TPicturePreviewBox";
constexpr int kButtonId = 1200;
// In the pixels of a 96-DPI display: the dialog is drawn at the system's DPI.
constexpr int kCaptionHeight96 = 16, kButtonWidth96 = 60, kButtonHeight96 = 22, kGap96 = 6;
int AtSystemDpi(int value) { return MulDiv(value, ScreenPixelsPerInch(), 96); }

// The window the "Preview" button opens: the picture stretched to the client
// area inside a 5-pixel border; Escape closes it.
class TPreviewWindow : public TForm {
public:
    TPreviewWindow(const TGraphic& picture, HWND owner) : TForm("TPicturePreviewWindow"), picture_(picture)
    {
        SetText("Preview");
        SetBorderStyle(TBorderStyle::ToolWindow);
        SetColor(clWindow);
        // Owned by the dialog, so that it stands above it.
        SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
        // The picture and its border, but never larger than the screen.
        RECT work;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        int width = picture.Width() + 2 * kBorder, height = picture.Height() + 2 * kBorder;
        int maxWidth = (work.right - work.left) * 9 / 10, maxHeight = (work.bottom - work.top) * 9 / 10;
        if (width > maxWidth || height > maxHeight) {
            double scale = std::min(static_cast<double>(maxWidth) / width, static_cast<double>(maxHeight) / height);
            width = std::max(1, static_cast<int>(width * scale));
            height = std::max(1, static_cast<int>(height * scale));
        }
        SetClientSize(width, height);
        CenterOnScreen();
    }

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_PAINT: {
            TPaintDC dc(Handle());
            RECT client;
            GetClientRect(Handle(), &client);
            FillRect(dc, &client, SolidBrush(Color()));
            InflateRect(&client, -kBorder, -kBorder);
            if (client.right > client.left && client.bottom > client.top)
                picture_.Draw(dc, client);
            return 0;
        }
        case WM_SIZE:
            InvalidateRect(Handle(), nullptr, TRUE);
            break;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                Close();
                return 0;
            }
            break;
        default:
            break;
        }
        return TForm::WndProc(message, wParam, lParam);
    }

private:
    static constexpr int kBorder = 5;
    const TGraphic& picture_;
};

struct THookState {
    TOpenPictureDialog* dialog;
    std::unique_ptr<TPicturePreview> pane;
};

void MakePane(HWND hook, THookState& state)
{
    // Right of the placeholder, inside both this part and the dialog around it.
    RECT client, outer, placeholder;
    GetClientRect(hook, &client);
    GetClientRect(GetParent(hook), &outer);
    MapWindowPoints(GetParent(hook), hook, reinterpret_cast<POINT*>(&outer), 2);
    GetWindowRect(GetDlgItem(hook, stc32), &placeholder);
    MapWindowPoints(nullptr, hook, reinterpret_cast<POINT*>(&placeholder), 2);
    const int kGap = AtSystemDpi(kGap96);
    RECT area{placeholder.right + kGap, placeholder.top + kGap, std::min(client.right, outer.right) - kGap,
              placeholder.bottom - kGap};
    state.pane = std::make_unique<TPicturePreview>(hook, area, state.dialog->LoadPicture);
}

void ShowSelected(HWND hook, THookState& state)
{
    wchar_t path[MAX_PATH * 4] = {0};
    LRESULT length = SendMessageW(GetParent(hook), CDM_GETFILEPATH, MAX_PATH * 4, reinterpret_cast<LPARAM>(path));
    DWORD attributes = length > 0 ? GetFileAttributesW(path) : INVALID_FILE_ATTRIBUTES;
    bool file = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    state.pane->ShowFile(file ? ToUtf8(path) : "");
}

// The dialog, wider than the system's own by the pane, moved wholly onto the
// screen's work area where it would stick out.
void KeepOnScreen(HWND dialog)
{
    RECT rect, work;
    GetWindowRect(dialog, &rect);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int left = std::max(work.left, std::min(rect.left, work.right - (rect.right - rect.left)));
    int top = std::max(work.top, std::min(rect.top, work.bottom - (rect.bottom - rect.top)));
    if (left != rect.left || top != rect.top)
        SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PictureDialogMessage(HWND hook, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<THookState*>(GetWindowLongPtrW(hook, DWLP_USER));
    if (!state)
        return;
    if (message == WM_NOTIFY) {
        switch (reinterpret_cast<OFNOTIFYW*>(lParam)->hdr.code) {
        case CDN_INITDONE:
            MakePane(hook, *state);
            KeepOnScreen(GetParent(hook));
            ShowSelected(hook, *state);
            break;
        case CDN_SELCHANGE:
        case CDN_FOLDERCHANGE:
            if (state->pane)
                ShowSelected(hook, *state);
            break;
        default:
            break;
        }
    } else if (message == WM_COMMAND && state->pane && state->pane->IsButtonClick(wParam, lParam)) {
        Application->Guard([&] { state->pane->OpenPreviewWindow(); });
    } else if (message == WM_DESTROY) {
        state->pane.reset();
    }
}

UINT_PTR CALLBACK PictureDialogHook(HWND hook, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* ofn = reinterpret_cast<OPENFILENAMEW*>(lParam);
        SetWindowLongPtrW(hook, DWLP_USER, static_cast<LONG_PTR>(ofn->lCustData));
        return FALSE; // the dialog puts the focus in the file name field
    }
    Application->Callback([&] { PictureDialogMessage(hook, message, wParam, lParam); });
    return 0;
}

} // namespace

bool TDialogService::ExecuteOpenPicture(TOpenPictureDialog& dialog)
{
    TFileDialogTexts texts;
    OPENFILENAMEW ofn = dialog.Prepare(Application->ActiveWindowHandle(), texts);
    static const TFileDialogPart pane(120, 20); // room to the right for the preview
    THookState state{&dialog, nullptr};
    ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
    ofn.hInstance = reinterpret_cast<HINSTANCE>(const_cast<WORD*>(pane.words));
    ofn.lpfnHook = PictureDialogHook;
    ofn.lCustData = reinterpret_cast<LPARAM>(&state);
    if (!getOpenFileName(&ofn))
        return false;
    dialog.FileName = ToUtf8(texts.file.c_str());
    dialog.FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

// ---- TPicturePreview ----

TPreviewPlace PreviewPlace(int boxWidth, int boxHeight, int pictureWidth, int pictureHeight)
{
    if (boxWidth <= 0 || boxHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0)
        return {0, 0, 0, 0};
    if (pictureWidth <= boxWidth && pictureHeight <= boxHeight)
        return {(boxWidth - pictureWidth) / 2, (boxHeight - pictureHeight) / 2, pictureWidth, pictureHeight};
    // Scaled by the tighter of the two ratios: the picture stays inside the box
    // whatever the box's proportions.
    long long w = pictureWidth, h = pictureHeight;
    if (w * boxHeight >= h * boxWidth) {
        int height = static_cast<int>(h * boxWidth / w);
        return {0, 0, boxWidth, height > 0 ? height : 1};
    }
    int width = static_cast<int>(w * boxHeight / h);
    return {0, 0, width > 0 ? width : 1, boxHeight};
}


TPicturePreview::TPicturePreview(HWND parent, const RECT& area, TPictureLoader load) : load_(std::move(load))
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = BoxProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kPreviewBoxClass;
        wc.style = CS_HREDRAW | CS_VREDRAW;
        RegisterClassW(&wc);
        registered = true;
    }
    HINSTANCE instance = GetModuleHandleW(nullptr);
    int width = area.right - area.left;
    const int kCaptionHeight = AtSystemDpi(kCaptionHeight96), kButtonWidth = AtSystemDpi(kButtonWidth96),
              kButtonHeight = AtSystemDpi(kButtonHeight96), kGap = AtSystemDpi(kGap96);
    font_.Reset(CreateFontW(-MulDiv(8, ScreenPixelsPerInch(), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    caption_ = CreateWindowExW(0, L"STATIC", L"Picture:", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, area.left,
                               area.top + 3, width - kButtonWidth - kGap, kCaptionHeight, parent, nullptr, instance,
                               nullptr);
    button_ = CreateWindowExW(0, L"BUTTON", L"Preview", WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON,
                              area.right - kButtonWidth, area.top, kButtonWidth, kButtonHeight, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)), instance, nullptr);
    int boxTop = area.top + kButtonHeight + kGap;
    box_ = CreateWindowExW(WS_EX_CLIENTEDGE, kPreviewBoxClass, L"(None)", WS_CHILD | WS_VISIBLE, area.left, boxTop,
                           width, std::max(10, static_cast<int>(area.bottom) - boxTop), parent, nullptr, instance,
                           nullptr);
    SetWindowLongPtrW(box_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    for (HWND window : {caption_, button_, box_})
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    // The button's hint.
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, instance, nullptr);
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = parent;
    info.uId = reinterpret_cast<UINT_PTR>(button_);
    info.lpszText = const_cast<wchar_t*>(L"Preview");
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

TPicturePreview::~TPicturePreview()
{
    if (IsWindow(box_))
        SetWindowLongPtrW(box_, GWLP_USERDATA, 0);
    for (HWND window : {tip_, box_, button_, caption_})
        if (IsWindow(window))
            DestroyWindow(window);
}

void TPicturePreview::ShowFile(const std::string& fileName)
{
    picture_.reset();
    if (!fileName.empty() && load_) {
        try {
            picture_ = load_(fileName);
        } catch (const std::exception&) {
            picture_.reset(); // not a picture: the pane shows none
        }
    }
    bool shown = picture_ && picture_->Width() > 0 && picture_->Height() > 0;
    if (!shown)
        picture_.reset();
    const std::string caption = shown ? Format(" (%dx%d)", picture_->Width(), picture_->Height()) : "Picture:";
    SetWindowTextW(caption_, ToWide(caption).c_str());
    EnableWindow(button_, shown);
    SetWindowTextW(box_, shown ? L"" : L"(None)");
    InvalidateRect(box_, nullptr, TRUE);
}

std::string TPicturePreview::CaptionText() const
{
    return WindowText(caption_);
}

bool TPicturePreview::IsButtonClick(WPARAM wParam, LPARAM lParam) const
{
    return reinterpret_cast<HWND>(lParam) == button_ && HIWORD(wParam) == BN_CLICKED;
}

void TPicturePreview::OpenPreviewWindow()
{
    if (!picture_)
        return;
    TPreviewWindow window(*picture_, GetAncestor(box_, GA_ROOT));
    window.ShowModal();
}

void TPicturePreview::PaintBox(HDC dc) const
{
    RECT client;
    GetClientRect(box_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (!picture_) {
        TSelectObject font(dc, font_.Get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextW(dc, L"(None)", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        return;
    }
    TPreviewPlace place = PreviewPlace(client.right, client.bottom, picture_->Width(), picture_->Height());
    RECT target{place.left, place.top, place.left + place.width, place.top + place.height};
    picture_->Draw(dc, target);
}

LRESULT CALLBACK TPicturePreview::BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* pane = reinterpret_cast<TPicturePreview*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_PAINT && pane) {
        TPaintDC dc(window);
        Application->Callback([&] { pane->PaintBox(dc); });
        return 0;
    }
    if (message == WM_ERASEBKGND && pane)
        return 1;
    return DefWindowProcW(window, message, wParam, lParam);
}
