#include "tests/printing/PrintTestSupport.h"

#include "ui/Classes.h"

#include <commdlg.h>

#include <cstdio>
#include <set>

TMetafileJob::TMetafileJob(const RECT& page, TJobRecord& record, std::string failAt, int failOnPage)
    : page_(page), record_(record), failAt_(std::move(failAt)), failOnPage_(failOnPage)
{
}

void TMetafileJob::Step(const std::string& step) const
{
    if (step == failAt_ && static_cast<int>(record_.pages.size()) + 1 >= failOnPage_)
        throw EPrinter(step + " failed");
}

void TMetafileJob::BeginDoc(const std::string& title)
{
    Step("BeginDoc");
    record_.title = title;
}

void TMetafileJob::BeginPage()
{
    Step("BeginPage");
    recorder_ = std::make_unique<TMetafileDC>(nullptr);
}

void TMetafileJob::EndPage()
{
    Step("EndPage");
    record_.pages.push_back(recorder_->Close());
    recorder_.reset();
}

void TMetafileJob::EndDoc()
{
    Step("EndDoc");
    record_.ended = true;
}

namespace {

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM places)
{
    const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
    if (record->iType == EMR_EXTTEXTOUTW && text->emrtext.nChars > 0)
        reinterpret_cast<std::vector<POINT>*>(places)->push_back(
            POINT{text->emrtext.ptlReference.x, text->emrtext.ptlReference.y});
    return 1;
}

} // namespace

std::vector<POINT> TextPlaces(HENHMETAFILE page)
{
    std::vector<POINT> places;
    EnumEnhMetaFile(nullptr, page, CollectText, &places, nullptr);
    return places;
}

int TextLines(HENHMETAFILE page)
{
    std::set<LONG> heights;
    for (const POINT& place : TextPlaces(page))
        heights.insert(place.y);
    return static_cast<int>(heights.size());
}

bool ConfirmDefaultPrinter(TPrintDialog& dialog)
{
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgA(&pd))
        return false;
    dialog.PrinterDC.Reset(pd.hDC);
    dialog.DevMode.Reset(pd.hDevMode);
    dialog.DevNames.Reset(pd.hDevNames);
    return true;
}

std::string NumberedLines(int count, const char* format)
{
    std::string text;
    char line[128];
    for (int i = 1; i <= count; ++i) {
        snprintf(line, sizeof line, format, i);
        text += line;
        text += "\r\n";
    }
    return text;
}

void PrintingTest::SetUp() { ClearStore(); }

void PrintingTest::TearDown()
{
    if (Form1)
        StopProgram(false);
    ClearStore();
}

void PrintingTest::Start(const char* mode) { StartWithStored(dialogs, {{"Mode", mode}}); }

void PrintingTest::Load(const std::string& content, bool rtf)
{
    TMemoryStream stream;
    stream.WriteString(content);
    stream.SetPosition(0);
    Form1->memo1->PlainText = !rtf;
    Form1->memo1->LoadFromStream(stream);
    Form1->memo1->PlainText = Form1->PlainMode();
    if (!rtf)
        Form1->ApplyPlainModeAgain();
}

std::vector<std::string> PrintingTest::BoxTexts() const
{
    std::vector<std::string> texts;
    for (const auto& box : dialogs.boxes)
        texts.push_back(box.text);
    return texts;
}
