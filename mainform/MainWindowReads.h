// What the other windows read of the main window at the moment they use it,
// reached without the main window's whole declaration (MainForm.h): the
// editor, the icon list, the clock bar's date.
#pragma once

class TDateTimePicker;
class TImageList;
class TRichEdit;

// The main window must exist.
TRichEdit& MainEditor();
const TDateTimePicker& MainDatePicker();
// The main window's menu and toolbar icons; nullptr while there is no main
// window.
TImageList* MainIcons();
