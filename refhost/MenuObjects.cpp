// The main menu and its items as the add-in sees them. An item object holds its node, so it stays
// safe after the item was destroyed or the host went away; it then answers empty results.

#include <algorithm>

#include "HostObjects.h"
#include "RefCounted.h"

namespace refhost {

namespace {

class MenuItem : public RefCounted<hostapi::TIMenuItemIntf> {
public:
    MenuItem(std::shared_ptr<HostLink> link, std::shared_ptr<MenuNode> node)
        : link_(std::move(link)), node_(std::move(node))
    {
    }

    bool DestroyMenuItem() override
    {
        MenuNode* parent = Live() ? node_->Parent : nullptr;
        if (parent == nullptr)
            return false;
        auto& siblings = parent->Children;
        siblings.erase(std::find(siblings.begin(), siblings.end(), node_));
        Detach(*node_);
        link_->host->MenuTreeChanged();
        return true;
    }

    int GetIndex() override
    {
        if (!Live() || node_->Parent == nullptr)
            return -1;
        const auto& siblings = node_->Parent->Children;
        return static_cast<int>(std::find(siblings.begin(), siblings.end(), node_) - siblings.begin());
    }

    int GetItemCount() override { return Live() ? static_cast<int>(node_->Children.size()) : 0; }

    hostapi::TIMenuItemIntf* GetItem(int index) override
    {
        if (!Live() || index < 0 || index >= static_cast<int>(node_->Children.size()))
            return nullptr;
        return new MenuItem(link_, node_->Children[index]);
    }

    std::string GetName() override { return Live() ? node_->Name : std::string(); }

    hostapi::TIMenuItemIntf* GetParent() override
    {
        if (!Live() || node_->Parent == nullptr)
            return nullptr;
        return new MenuItem(link_, SharedParent());
    }

    std::string GetCaption() override { return Live() ? node_->Caption : std::string(); }
    hostapi::TShortCut GetShortCut() override { return Live() ? node_->ShortCut : 0; }
    hostapi::TIMenuFlags GetFlags() override { return Live() ? node_->Flags : 0; }

    hostapi::TIMenuItemIntf* InsertItem(int index, const std::string& caption, const std::string& name,
                                        const std::string& hint, hostapi::TShortCut shortCut,
                                        int /*context*/, int /*groupIndex*/, hostapi::TIMenuFlags flags,
                                        hostapi::TIMenuClickEvent onClick) override
    {
        if (!Live())
            return nullptr;
        auto child = std::make_shared<MenuNode>();
        child->Name = name;
        child->Caption = caption;
        child->Hint = hint;
        child->ShortCut = shortCut;
        child->Flags = flags;
        child->Parent = node_.get();
        child->OnClick = std::move(onClick);
        int count = static_cast<int>(node_->Children.size());
        index = std::clamp(index, 0, count);
        node_->Children.insert(node_->Children.begin() + index, child);
        link_->host->MenuTreeChanged();
        return new MenuItem(link_, child);
    }

private:
    // Objects may still hold items of the removed subtree; none of them may point into it any more.
    static void Detach(MenuNode& node)
    {
        for (const auto& child : node.Children)
            Detach(*child);
        node.Children.clear();
        node.Parent = nullptr;
    }

    // Attached to the host's tree: the root itself or an item whose ancestors reach it.
    bool Live() const
    {
        if (link_->host == nullptr)
            return false;
        const MenuNode* root = link_->host->RootNode().get();
        const MenuNode* node = node_.get();
        while (node->Parent != nullptr)
            node = node->Parent;
        return node == root;
    }

    std::shared_ptr<MenuNode> SharedParent() const
    {
        MenuNode* parent = node_->Parent;
        if (parent->Parent == nullptr)
            return link_->host->RootNode();
        for (const auto& sibling : parent->Parent->Children) {
            if (sibling.get() == parent)
                return sibling;
        }
        return nullptr;
    }

    std::shared_ptr<HostLink> link_;
    std::shared_ptr<MenuNode> node_;
};

class MainMenu : public RefCounted<hostapi::TIMainMenuIntf> {
public:
    explicit MainMenu(std::shared_ptr<HostLink> link) : link_(std::move(link)) {}

    hostapi::TIMenuItemIntf* GetMenuItems() override
    {
        return link_->host ? new MenuItem(link_, link_->host->RootNode()) : nullptr;
    }

    hostapi::TIMenuItemIntf* FindMenuItem(const std::string& name) override
    {
        if (link_->host == nullptr)
            return nullptr;
        auto node = Find(link_->host->RootNode(), name);
        return node ? new MenuItem(link_, node) : nullptr;
    }

private:
    static std::shared_ptr<MenuNode> Find(const std::shared_ptr<MenuNode>& node, const std::string& name)
    {
        for (const auto& child : node->Children) {
            if (child->Name == name)
                return child;
            if (auto found = Find(child, name))
                return found;
        }
        return nullptr;
    }

    std::shared_ptr<HostLink> link_;
};

}  // namespace

hostapi::TIMainMenuIntf* NewMainMenu(std::shared_ptr<HostLink> link)
{
    return new MainMenu(std::move(link));
}

hostapi::TIMenuItemIntf* NewMenuItem(std::shared_ptr<HostLink> link, std::shared_ptr<MenuNode> node)
{
    return new MenuItem(std::move(link), std::move(node));
}

}  // namespace refhost
