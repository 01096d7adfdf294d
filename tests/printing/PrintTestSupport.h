// What the printing tests share: the program's windows made hidden, a print
// job whose pages are metafiles, and documents to print.
#pragma once

#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"
#include "ui/Printers.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// What a metafile job did; the test keeps it after the job is gone.
struct TJobRecord {
    std::string title;
    std::vector<TOwnedEnhMetaFile> pages;
    bool ended = false;
    bool destroyed = false;
};

// A print job whose pages are enhanced metafiles recorded in memory for the
// screen, on a page of `page` twips. It fails (EPrinter) at the step `failAt`
// ("BeginDoc", "BeginPage", "EndPage", "EndDoc") of page `failOnPage`.
class TMetafileJob : public TPrintJob {
public:
    TMetafileJob(const RECT& page, TJobRecord& record, std::string failAt = "", int failOnPage = 1);
    ~TMetafileJob() override { record_.destroyed = true; }
    HDC Handle() const override { return recorder_ ? recorder_->Get() : nullptr; }
    RECT PageArea() const override { return page_; }
    void BeginDoc(const std::string& title) override;
    void BeginPage() override;
    void EndPage() override;
    void EndDoc() override;

private:
    void Step(const std::string& step) const;
    RECT page_;
    TJobRecord& record_;
    std::string failAt_;
    int failOnPage_;
    std::unique_ptr<TMetafileDC> recorder_;
};

// The places (reference points, pixels) of the text drawn on a page.
std::vector<POINT> TextPlaces(HENHMETAFILE page);
// The number of lines of text on a page: the different heights text starts at.
int TextLines(HENHMETAFILE page);

// A print dialog answer: OK on the default printer.
bool ConfirmDefaultPrinter(TPrintDialog& dialog);

// Lines 1 to `count` made by `format` (with %d or the like for the number),
// each ended by CR LF.
std::string NumberedLines(int count, const char* format = "Line %03d of the numbered text");

// The main window made hidden in rich or plain mode, message boxes recorded.
class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void Start(const char* mode);
    // Replaces the editor's content by plain text (plain mode applied again)
    // or by rich text.
    void SetText(const std::string& text) { Load(text, false); }
    void SetRtf(const std::string& rtf) { Load(rtf, true); }
    // The texts of the message boxes shown so far.
    std::vector<std::string> BoxTexts() const;

    ScriptedDialogs dialogs;

private:
    void Load(const std::string& content, bool rtf);
};
