#include "toolkit/Menus.h"

#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/Desktop.h"
#include "toolkit/Form.h"

namespace tk {

MenuItem::MenuItem(Component* owner) : Component(owner) {}

MenuItem::~MenuItem()
{
    if (parent_) {
        parent_->Remove(this);
    }
    // Sub-items go with their item; each leaves its owner's list as it is destroyed.
    while (!items_.empty()) {
        MenuItem* item = items_.back();
        items_.pop_back();
        item->parent_ = nullptr;
        delete item;
    }
}

int MenuItem::MenuIndex() const
{
    if (!parent_) {
        return -1;
    }
    auto& siblings = parent_->items_;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

void MenuItem::Add(MenuItem* item)
{
    Insert(Count(), item);
}

void MenuItem::Insert(int index, MenuItem* item)
{
    if (!item || item == this) {
        return;
    }
    for (MenuItem* up = parent_; up; up = up->parent_) {
        if (up == item) {
            return;  // an item cannot hold its own ancestor
        }
    }
    if (item->parent_) {
        item->parent_->Remove(item);
    }
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
}

void MenuItem::Remove(MenuItem* item)
{
    if (item && item->parent_ == this) {
        std::erase(items_, item);
        item->parent_ = nullptr;
    }
}

MenuItem* MenuItem::FindShortCut(ShortCut shortCut)
{
    if (shortCut == 0) {
        return nullptr;
    }
    for (MenuItem* item : items_) {
        if (!item->enabled_) {
            continue;
        }
        if (item->shortCut_ == shortCut) {
            return item;
        }
        if (MenuItem* found = item->FindShortCut(shortCut)) {
            return found;
        }
    }
    return nullptr;
}

void MenuItem::SetVisible(bool visible)
{
    if (visible_ == visible) {
        return;
    }
    visible_ = visible;
    for (Component* owner = Owner(); owner; owner = owner->Owner()) {
        if (auto* form = dynamic_cast<Form*>(owner)) {
            form->Realign();
            break;
        }
    }
}

void MenuItem::Click()
{
    if (enabled_ && OnClick) {
        OnClick(this);
    }
}

Menu::Menu(Component* owner) : Component(owner), items_(new MenuItem(nullptr)) {}

Menu::~Menu()
{
    delete items_;
}

bool Menu::IsShortCut(ShortCut shortCut)
{
    MenuItem* item = items_->FindShortCut(shortCut);
    if (!item) {
        return false;
    }
    item->Click();
    return true;
}

MainMenu::MainMenu(Component* owner) : Menu(owner) {}

PopupMenu::PopupMenu(Component* owner) : Menu(owner) {}

void PopupMenu::Popup(int x, int y)
{
    if (OnPopup) {
        OnPopup(this);
    }
    Application::Instance().GetDesktop().Popup(*this, {x, y});
}

}  // namespace tk
