// The table of the values the settings store keeps: each value's name, text
// form, what a first start writes, its place in each of the two saves, and
// how it is read into the windows and written from them. The rows stand in
// the order the settings load reads them.
#pragma once

#include "ui/Graphics.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class TForm1;
class TForm2;
class TToolBar;

// What a value's reader may keep for the readers after it: the window's
// size and place are set once, with the values read up to a failure; the
// editor's font is set once its colour, size and name are read.
struct TSettingsLoad {
    TSettingsLoad(TForm1& mainWindow, TForm2& preferences) : main(mainWindow), prefs(preferences) {}
    TForm1& main;
    TForm2& prefs;
    bool boundsOpen = false;
    int left = 0, top = 0, width = 0, height = 0;
    TFont editorFont;
    int fontSize = 0;
    TColor fontColor = clBlack;
};

// How a value is kept as text (preferences/SettingsText.h): a colour name or
// number, "true"/"false", a whole number, the text of a field that should
// hold one, any text, lines, "rich"/"plain", a font style code, custom
// colours, a choice of a list, a protected secret.
enum class TValueForm { Colour, Boolean, Integer, IntegerText, Text, List, Mode, FontStyle, CustomColours, Choice, Secret };

struct TSetting {
    std::string name;
    TValueForm form;
    // The text a first start writes; nullptr where the windows decide it
    // (a placeholder host name) or a first start writes none.
    const char* firstStart;
    // The place in the settings save and in the window-state save, from 1;
    // 0: that save does not write the value.
    int settingsSave, windowSave;
    // Reads the stored text into the windows; raises for an absent or
    // malformed number or colour, which ends the load.
    std::function<void(TSettingsLoad&, const std::string&)> read;
    // The text to store; none: the value is left as it is.
    std::function<std::optional<std::string>(TForm1&, TForm2&)> write;
    // A toolbar's place: which toolbar (0 to 5: ToolBar1, 2, 3, 5, 6, 7),
    // and whether this is its left or its top; -1: not a place.
    int band = -1;
    bool bandLeft = false;
    // Read before all others and never failing: a load that stops early
    // must not make the save after it forget these.
    bool readFirst = false;
};

// Every value, in the order of the settings load.
const std::vector<TSetting>& Settings();

// The toolbar a place row stands for.
TToolBar* SettingToolBar(TForm1& main, int band);
