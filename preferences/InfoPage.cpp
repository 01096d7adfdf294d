// The Info page: figures about the computer (filled once, as the window is
// made) and about the document (on every activation).
#include "preferences/InfoFigures.h"
#include "preferences/PreferencesForm.h"

#include "mainform/MainWindowReads.h"
#include "ui/RichEdit.h"
#include "ui/WideText.h"

namespace {

std::string ThousandsSeparator()
{
    wchar_t separator[8] = {0};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8) <= 0)
        return ",";
    return ToUtf8(separator);
}

} // namespace

void TForm2::FillComputerFigures()
{
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    if (GlobalMemoryStatusEx(&memory)) {
        MemoryLabel->SetText(MemoryText(memory.ullTotalPhys, ThousandsSeparator()));
        FreeMemoryLabel->SetText(FreeMemoryText(memory.dwMemoryLoad));
    }
    ResolutionLabel->SetText(ResolutionText(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    MonitorsLabel->SetText(std::to_string(GetSystemMetrics(SM_CMONITORS)));
    WheelLabel->SetText(GetSystemMetrics(SM_MOUSEWHEELPRESENT) ? "Yes" : "No");
}

void TForm2::FormActivate(TObject*)
{
    for (auto& image : ToolbarPictures) {
        if (auto* picture = dynamic_cast<TBitmapGraphic*>(image->Picture())) {
            picture->TransparentColor = RGB(255, 0, 255);
            picture->Transparent = true;
        }
    }
    RefreshDocumentFigures();
}

void TForm2::RefreshDocumentFigures()
{
    const TRichEdit& editor = MainEditor();
    int lines = editor.LineCount();
    int characters = editor.TextLength();
    LinesLabel->SetText(LinesText(lines));
    CharactersLabel->SetText(CharactersText(characters));
    FiguresBox->SetVisible(characters > 0);
    if (lines > 0)
        AverageLabel->SetText(AverageText(characters, lines));
}
