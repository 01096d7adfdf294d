// The program made hidden for each Preferences test, with an empty store.
#pragma once

#include "tests/windows/TestProgram.h"

#include "mainform/MainForm.h"
#include "preferences/PreferencesForm.h"

#include <gtest/gtest.h>

#include <functional>

class PreferencesTest : public ProgramTest {};

// Runs `action` inside the message loop of the modal window that the caller
// opens next, shortly after it has been shown; `action` ends by closing it.
void DuringModal(std::function<void()> action);

// A mouse move over a control, as the system sends it.
void MouseOver(TControl& control);
