// The program's windows made hidden for the document tests, with a backup
// location of the test's own.
#pragma once

#include "tests/documents/DocumentTestFiles.h"
#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"
#include "preferences/PreferencesForm.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

class DocumentTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        folder = FreshFolder("documents");
    }
    // Starts with a stored mode, "plain" or "rich" (and the rest as a first
    // start wrote it); the backup goes into the test's folder.
    void StartInMode(const char* mode, const std::string& commandLine = "")
    {
        StartWithValues({{"Mode", mode}, {"BackUpLocation", BackupPath()}}, commandLine);
    }
    // Runs a command as a click does: a failure shows in the standard error box.
    void Run(void (TForm1::*command)(TObject*))
    {
        Application->Guard([&] { (Form1->*command)(nullptr); });
    }
    std::string Path(const std::string& name) const { return folder + "\\" + name; }
    std::string BackupPath() const { return Path("backup"); }
    // The texts of the message boxes shown so far.
    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& box : dialogs.boxes)
            texts.push_back(box.text);
        return texts;
    }

    std::string folder;
};
