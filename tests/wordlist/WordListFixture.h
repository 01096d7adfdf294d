// The program made hidden for each word-list test, with an empty store.
#pragma once

#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class WordListTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Adds entries as the user would: typed into the entry field, then "Add".
    void Add(const std::vector<std::string>& entries);
    // Selects the first entry equal to `text`.
    void Select(const std::string& text);
    std::string Selected() const;
    // The program's copy of the entries; fails the test when the control
    // shows anything else.
    std::vector<std::string> Entries() const;
    // "Add", "Remove", "Insert >>": the letter when enabled, "-" when not.
    std::string Buttons() const;

    // Imports a file holding `bytes`; exports to `path`.
    void Import(const std::string& bytes);
    void ImportFile(const std::string& path);
    void Export(const std::string& path);
    // The texts of the message boxes shown so far.
    std::vector<std::string> Messages() const;

    ScriptedDialogs dialogs;
};

// The entries a list box control shows, read through its messages.
std::vector<std::string> ControlEntries(HWND list);
