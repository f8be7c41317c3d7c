#pragma once
// Menu bars and pop-up menus: a tree of items with captions, shortcuts, check marks and clicks.

#include <string>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Types.h"

namespace tk {

class MenuItem : public Component {
public:
    explicit MenuItem(Component* owner);
    ~MenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption) { caption_ = std::move(caption); }
    bool IsLine() const { return caption_ == "-"; }
    ShortCut GetShortCut() const { return shortCut_; }
    void SetShortCut(ShortCut shortCut) { shortCut_ = shortCut; }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked) { checked_ = checked; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Visible() const { return visible_; }
    // A menu bar that appears or goes changes its form's client area, so the form lays out again.
    void SetVisible(bool visible);
    bool RadioItem = false;
    int GroupIndex = 0;

    MenuItem* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(items_.size()); }
    MenuItem* Items(int index) const { return items_.at(index); }
    int MenuIndex() const;
    void Add(MenuItem* item);
    void Insert(int index, MenuItem* item);
    void Remove(MenuItem* item);
    // The enabled item of this subtree with the shortcut, all its parents enabled too.
    MenuItem* FindShortCut(ShortCut shortCut);

    // Runs OnClick when the item is enabled.
    virtual void Click();
    NotifyEvent OnClick;

private:
    std::string caption_;
    ShortCut shortCut_ = 0;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    MenuItem* parent_ = nullptr;
    std::vector<MenuItem*> items_;
};

class Menu : public Component {
public:
    explicit Menu(Component* owner);
    ~Menu() override;
    // The invisible root whose children are the menu's entries.
    MenuItem* Items() const { return items_; }
    // Clicks the enabled item with the shortcut; false when there is none.
    bool IsShortCut(ShortCut shortCut);

private:
    MenuItem* items_;
};

class MainMenu : public Menu {
public:
    explicit MainMenu(Component* owner);
};

class PopupMenu : public Menu {
public:
    explicit PopupMenu(Component* owner);
    // Shows the menu at a screen position through the desktop.
    void Popup(int x, int y);
    Component* PopupComponent = nullptr;
    NotifyEvent OnPopup;
};

}  // namespace tk
