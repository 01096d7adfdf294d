#include "ui/ActionList.h"

#include "ui/ComCtrls.h"
#include "ui/Menus.h"
#include "ui/SysUtils.h"

TAction::TAction(std::string name, TNotifyEvent onExecute) : OnExecute(std::move(onExecute)), name_(std::move(name))
{
}

void TAction::Execute(TObject* sender)
{
    if (enabled_)
        Fire(OnExecute, sender);
}

void TAction::Link(const TActionLink& link)
{
    links_.push_back(link);
    // The command's toolbar buttons tell accessibility tools the key of its menu item.
    std::string key;
    for (const TActionLink& each : links_)
        if (TMenuItem* item = each.Item(); item && key.empty() && !item->ShortCutKey().Empty())
            key = item->ShortCutKey().Text();
    for (const TActionLink& each : links_)
        if (TToolButton* button = each.Button())
            button->ShortCutText = key;
    TNotifyEvent run = [this](TObject* sender) { Execute(sender); };
    if (TMenuItem* item = link.Item())
        item->OnClick = run;
    else if (TToolButton* button = link.Button())
        button->OnClick = run;
    else if (TControl* control = link.Control())
        control->OnClick = run;
}

void TAction::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    for (const TActionLink& link : links_) {
        if (TMenuItem* item = link.Item())
            item->SetEnabled(enabled);
        else if (TToolButton* button = link.Button())
            button->SetEnabled(enabled);
        else if (TControl* control = link.Control())
            control->SetEnabled(enabled);
    }
}

bool TAction::Checked() const
{
    for (const TActionLink& link : links_) {
        if (TToolButton* button = link.Button())
            return button->Down();
        if (TMenuItem* item = link.Item(); item && item->AutoCheck)
            return item->Checked();
    }
    return false;
}

void TAction::SetChecked(bool checked)
{
    for (const TActionLink& link : links_) {
        if (TToolButton* button = link.Button())
            button->SetDown(checked);
        else if (TMenuItem* item = link.Item(); item && item->AutoCheck)
            item->SetChecked(checked);
    }
}

TAction& TActionList::Add(const std::string& name, TNotifyEvent onExecute, std::initializer_list<TActionLink> links)
{
    rows_.push_back(std::make_unique<TAction>(name, std::move(onExecute)));
    TAction& row = *rows_.back();
    for (const TActionLink& link : links)
        row.Link(link);
    return row;
}

TAction* TActionList::Find(const std::string& name) const
{
    for (const auto& row : rows_)
        if (row->Name() == name)
            return row.get();
    return nullptr;
}

TAction& TActionList::operator[](const std::string& name) const
{
    TAction* row = Find(name);
    if (!row)
        FailFast("no command " + name);
    return *row;
}

std::vector<std::string> TActionList::Unbound() const
{
    std::vector<std::string> names;
    for (const auto& row : rows_)
        if (!row->HasHandler())
            names.push_back(row->Name());
    return names;
}
