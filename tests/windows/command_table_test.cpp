// The command tables: every menu item and toolbar button runs a command of
// its window's table, and the commands without a handler are exactly those
// still to be built.
#include "tests/windows/TestProgram.h"

#include "email/SendForm.h"
#include "imageviewer/ImageViewerForm.h"
#include "mainform/MainForm.h"
#include "preferences/PreferencesForm.h"

#include <oleacc.h>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

// Every item of a menu that runs something: not separators, not the items that
// open a sub-menu, not the find options that only toggle their check mark.
void CollectItems(const TMenuItem& parent, std::vector<const TMenuItem*>& items)
{
    for (int i = 0; i < parent.Count(); ++i) {
        const TMenuItem* item = parent.Item(i);
        if (item->Count() > 0)
            CollectItems(*item, items);
        else if (!item->IsSeparator() && !item->AutoCheck)
            items.push_back(item);
    }
}

int RowsLinking(const TActionList& table, const void* control)
{
    int rows = 0;
    for (const auto& row : table)
        for (const TActionLink& link : row->Links())
            if (link.Item() == control || link.Button() == control || link.Control() == control)
                ++rows;
    return rows;
}

class CommandTableTest : public ProgramTest {};

} // namespace

TEST_F(CommandTableTest, EveryMenuItemAndToolbarButtonRunsExactlyOneRowWithAHandler)
{
    for (const TActionList* table : {&Form1->Commands, &Form2->Commands, &Form8->Commands, &Form4->Commands})
        EXPECT_EQ(table->Unbound(), std::vector<std::string>{});
    std::vector<const TMenuItem*> items;
    for (TMenu* menu : std::initializer_list<TMenu*>{&Form1->MainMenu1, &Form1->PopupMenu1, &Form1->PopupMenu3})
        CollectItems(menu->Items(), items);
    for (const TMenuItem* item : items)
        EXPECT_EQ(RowsLinking(Form1->Commands, item), 1) << item->Caption();

    // Drop-down buttons only open their menus; the other buttons run a row.
    for (TToolBar* bar : {Form1->ToolBar1.get(), Form1->ToolBar2.get(), Form1->ToolBar3.get(),
                          Form1->ToolBar5.get(), Form1->ToolBar6.get(), Form1->ToolBar7.get()}) {
        for (const auto& button : bar->Buttons()) {
            if (button->Style() != TToolButtonStyle::Separator && button->Style() != TToolButtonStyle::DropDown) {
                EXPECT_EQ(RowsLinking(Form1->Commands, button.get()), 1) << button->Hint();
            }
        }
    }

    std::vector<const TMenuItem*> sendItems;
    CollectItems(Form8->PopupMenu1.Items(), sendItems);
    for (const TMenuItem* item : sendItems)
        EXPECT_EQ(RowsLinking(Form8->Commands, item), 1) << item->Caption();
}

TEST_F(CommandTableTest, ARowEnablesAndPressesAllOfItsControls)
{
    TAction& plain = Form1->Commands["ToolButton24Click"];
    plain.SetEnabled(false);
    EXPECT_FALSE(Form1->Plaintextmode1->Enabled());
    EXPECT_FALSE(Form1->ToolButton24->Enabled());
    plain.SetEnabled(true);
    EXPECT_TRUE(Form1->Plaintextmode1->Enabled());
    EXPECT_TRUE(Form1->ToolButton24->Enabled());

    // A menu item runs the row's handler: F2 switches to plain mode and the
    // row then reads as pressed.
    Form1->Plaintextmode1->Click();
    EXPECT_TRUE(plain.Checked());
    EXPECT_TRUE(Form1->PlainMode());
    // A disabled row runs nothing.
    Form1->Commands["ToolButton25Click"].SetEnabled(false);
    Form1->Commands["ToolButton25Click"].Execute(nullptr);
    EXPECT_TRUE(Form1->PlainMode());
}

TEST_F(CommandTableTest, ToolbarAndSpeedButtonsAreNamedForAccessibilityToolsWithTheirMenuKeys)
{
    // Every tool button (separators are no elements) is named by its hint.
    for (TToolBar* bar : {Form1->ToolBar1.get(), Form1->ToolBar2.get(), Form1->ToolBar3.get(),
                          Form1->ToolBar5.get(), Form1->ToolBar6.get(), Form1->ToolBar7.get()}) {
        long child = 0;
        for (const auto& button : bar->Buttons()) {
            if (button->Style() == TToolButtonStyle::Separator)
                continue;
            AccessibleView seen = Accessible(bar->Handle(), ++child);
            EXPECT_EQ(seen.name, button->Hint().empty() ? button->Caption : button->Hint());
            EXPECT_EQ(seen.role, button->Style() == TToolButtonStyle::DropDown ? ROLE_SYSTEM_BUTTONMENU
                                                                                : ROLE_SYSTEM_PUSHBUTTON);
        }
        EXPECT_EQ(Accessible(bar->Handle()).role, ROLE_SYSTEM_TOOLBAR);
    }
    // The key of the menu item running the same command; a pressed check
    // button reads as pressed, a disabled one as unavailable.
    Form1->Plaintextmode1->Click();
    Form1->Commands["Text2Click"].SetEnabled(false);
    struct Case {
        TToolBar* bar;
        long child;
        const char* shortcut;
        long state;
    };
    const Case cases[] = {{Form1->ToolBar1.get(), 1, "Ctrl+N", STATE_SYSTEM_UNAVAILABLE},
                          {Form1->ToolBar1.get(), 4, "Ctrl+S", 0},
                          {Form1->ToolBar2.get(), 2, "Ctrl+X", 0},
                          {Form1->ToolBar3.get(), 3, "F2", STATE_SYSTEM_PRESSED},
                          {Form1->ToolBar3.get(), 4, "F3", 0}};
    for (const Case& each : cases) {
        AccessibleView seen = Accessible(each.bar->Handle(), each.child);
        SCOPED_TRACE(seen.name);
        EXPECT_EQ(seen.shortcut, each.shortcut);
        EXPECT_EQ(seen.state & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_PRESSED), each.state);
    }
    Form1->Commands["Text2Click"].SetEnabled(true);

    // The word list's speed buttons: named by their captions, unavailable while disabled.
    Form1->Edit4->SetText("pear");
    const std::pair<TSpeedButton*, const char*> speed[] = {
        {Form1->SpeedButton1.get(), "Add"}, {Form1->SpeedButton2.get(), "Remove"}, {Form1->SpeedButton3.get(), "Insert >>"}};
    for (const auto& [button, name] : speed) {
        AccessibleView seen = Accessible(button->Handle());
        EXPECT_EQ(seen.role, ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_EQ(seen.name, name);
        EXPECT_EQ(seen.state & STATE_SYSTEM_UNAVAILABLE, button->Enabled() ? 0 : STATE_SYSTEM_UNAVAILABLE) << name;
    }
    EXPECT_TRUE(Form1->SpeedButton1->Enabled());
}
