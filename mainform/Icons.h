// The pictures of the main window's menus, toolbars and ruler, made by the
// build from their text pictures (res/toolbar-icons.txt, res/ruler-markers.txt).
#pragma once

#include "ui/GdiObjects.h"

class TImageList;

// Indexes into the main image list, in the order of the pictures in
// res/toolbar-icons.txt.
enum MainIcon {
    iconNew, iconOpen, iconReopen, iconSave, iconSaveAs, iconSendMail, iconPrint, iconExit,
    iconUndo, iconCut, iconCopy, iconCopyAll, iconPaste, iconPasteTen, iconSelectAll, iconClearSelection,
    iconEuro, iconFindBar, iconPlainText, iconRichText, iconImportWords, iconExportWords, iconEmptyWords,
    iconImageViewer, iconPreferences, iconHelp, iconFind, iconReplace, iconReplaceAll, iconOptions,
    iconBold, iconItalic, iconUnderline, iconColor, iconAlignLeft, iconCenter, iconAlignRight, iconBullets,
    iconInsertTime, iconInsertDate, iconTicking, iconAbout, iconAssociate,
    iconCount
};

// Adds every picture of MainIcon to the list, in the enumeration's order.
void LoadMainIcons(TImageList& images);

enum class RulerMarker { FirstIndent, LeftIndent, RightIndent };
// The 10 x 6 picture of a ruler marker, magenta transparent.
TOwnedBitmap RulerMarkerBitmap(RulerMarker marker);
