// A form's table of commands. Each row is one command: the name of its
// handler, the handler, and the menu items, toolbar buttons and clickable
// controls that run it. Enabling or checking a row does it to all of them.
#pragma once

#include "ui/Classes.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class TControl;
class TMenuItem;
class TToolButton;

// Something that runs a command: a menu item, a toolbar button, or a control
// with a click event (a speed button, a panel acting as a button).
class TActionLink {
public:
    TActionLink(TMenuItem* item) : item_(item) {}
    TActionLink(TToolButton* button) : button_(button) {}
    TActionLink(TControl* control) : control_(control) {}

    TMenuItem* Item() const { return item_; }
    TToolButton* Button() const { return button_; }
    TControl* Control() const { return control_; }

private:
    TMenuItem* item_ = nullptr;
    TToolButton* button_ = nullptr;
    TControl* control_ = nullptr;
};

class TAction : public TObject {
public:
    TAction(std::string name, TNotifyEvent onExecute);

    // The handler's name, as the program calls it ("Open1Click").
    const std::string& Name() const { return name_; }
    bool HasHandler() const { return static_cast<bool>(OnExecute); }
    TNotifyEvent OnExecute;
    // Runs the handler while the command is enabled; `sender` is the control
    // that ran it.
    void Execute(TObject* sender);

    // Every linked control's click runs Execute from now on.
    void Link(const TActionLink& link);
    const std::vector<TActionLink>& Links() const { return links_; }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Pressed toolbar buttons and the check marks of check items (menu items
    // that toggle their mark on a click).
    bool Checked() const;
    void SetChecked(bool checked);

private:
    std::string name_;
    std::vector<TActionLink> links_;
    bool enabled_ = true;
};

class TActionList : public TObject {
public:
    // Adds a row; a null handler marks a command whose behaviour is not there yet.
    TAction& Add(const std::string& name, TNotifyEvent onExecute, std::initializer_list<TActionLink> links);
    // The row of a handler; throws when there is none.
    TAction& operator[](const std::string& name) const;
    TAction* Find(const std::string& name) const;
    // The rows that run nothing.
    std::vector<std::string> Unbound() const;

    int Count() const { return static_cast<int>(rows_.size()); }
    auto begin() const { return rows_.begin(); }
    auto end() const { return rows_.end(); }

private:
    std::vector<std::unique_ptr<TAction>> rows_;
};
