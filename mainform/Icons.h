// The pictures of the main window's menus and toolbars, drawn as text rows.
#pragma once

#include <string>
#include <vector>

class TImageList;

// Indexes into the main image list, in the order LoadMainIcons adds them.
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

// The 16 x 16 picture of one icon: 16 rows of 16 palette characters.
const std::vector<std::string>& MainIconPicture(MainIcon icon);

enum class RulerMarker { FirstIndent, LeftIndent, RightIndent };
// The 10 x 6 picture of a ruler marker: 6 rows of 10 palette characters.
const std::vector<std::string>& RulerMarkerPicture(RulerMarker marker);
