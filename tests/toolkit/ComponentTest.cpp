#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"

namespace {

// Records its own destruction and every removal it is told about.
class Probe : public tk::Component {
public:
    Probe(tk::Component* owner, std::string name, std::vector<std::string>& log)
        : Component(owner), log_(log)
    {
        SetName(std::move(name));
    }
    ~Probe() override { log_.push_back("~" + Name()); }
    tk::Component* Watched = nullptr;

protected:
    void Notification(tk::Component* component, tk::Operation operation) override
    {
        Component::Notification(component, operation);
        if (operation == tk::Operation::Remove && component == Watched) {
            log_.push_back(Name() + " lost " + component->Name());
            Watched = nullptr;
        }
    }

private:
    std::vector<std::string>& log_;
};

TEST(Component, OwnerDestroysOwnedLastCreatedFirstAndForgetsThoseDeletedEarlier)
{
    std::vector<std::string> log;
    auto* owner = new Probe(nullptr, "owner", log);
    new Probe(owner, "a", log);
    auto* b = new Probe(owner, "b", log);
    auto* c = new Probe(owner, "c", log);
    new Probe(c, "c1", log);
    new Probe(owner, "d", log);
    ASSERT_EQ(owner->ComponentCount(), 4);
    EXPECT_EQ(owner->FindComponent("B"), b);
    EXPECT_EQ(owner->Find<Probe>("c"), c);
    EXPECT_EQ(owner->FindComponent("c1"), nullptr);  // owned by c, not by owner

    delete b;
    ASSERT_EQ(owner->ComponentCount(), 3);
    EXPECT_EQ(owner->FindComponent("b"), nullptr);

    delete owner;
    EXPECT_EQ(log, (std::vector<std::string>{"~b", "~owner", "~d", "~c", "~c1", "~a"}));
}

TEST(Component, FreeNotificationTellsTheWatcherEitherWayRound)
{
    std::vector<std::string> log;
    {
        Probe watcher(nullptr, "watcher", log);
        auto* watched = new Probe(nullptr, "watched", log);
        watched->FreeNotification(&watcher);
        watcher.Watched = watched;
        delete watched;
        EXPECT_EQ(watcher.Watched, nullptr);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"~watched", "watcher lost watched", "~watcher"}));

    // The watcher going first must unregister itself; the later deletion then touches nothing.
    log.clear();
    auto* watched = new Probe(nullptr, "watched", log);
    {
        Probe watcher(nullptr, "watcher", log);
        watched->FreeNotification(&watcher);
        watcher.Watched = watched;
    }
    delete watched;
    EXPECT_EQ(log, (std::vector<std::string>{"~watcher", "~watched"}));

    // Removed registrations are not notified.
    log.clear();
    Probe watcher(nullptr, "watcher", log);
    watched = new Probe(nullptr, "watched", log);
    watched->FreeNotification(&watcher);
    watched->RemoveFreeNotification(&watcher);
    watcher.Watched = watched;
    delete watched;
    EXPECT_EQ(watcher.Watched, watched);
    EXPECT_EQ(log, (std::vector<std::string>{"~watched"}));
}

TEST(Control, ParentAndChildrenSurviveEitherDeletionOrder)
{
    auto* parent = new tk::Panel(nullptr);
    auto* first = new tk::Panel(nullptr);
    auto* second = new tk::Panel(nullptr);
    first->SetParent(parent);
    second->SetParent(parent);
    ASSERT_EQ(parent->Controls(), (std::vector<tk::Control*>{first, second}));

    delete first;
    EXPECT_EQ(parent->Controls(), (std::vector<tk::Control*>{second}));

    delete parent;
    EXPECT_EQ(second->Parent(), nullptr);
    delete second;

    // A control cannot become its own ancestor.
    tk::Panel outer(nullptr);
    tk::Panel inner(nullptr);
    inner.SetParent(&outer);
    outer.SetParent(&inner);
    EXPECT_EQ(outer.Parent(), nullptr);
    inner.SetParent(nullptr);
}

TEST(Control, OwnedControlsOfAFormGoWithItAndReferencesAreCleared)
{
    auto* form = new tk::Form(nullptr);
    auto* panel = new tk::Panel(form);
    panel->SetParent(form);
    auto* inner = new tk::Panel(form);
    inner->SetParent(panel);
    auto* menu = new tk::PopupMenu(form);
    inner->SetPopupMenu(menu);
    auto* mainMenu = new tk::MainMenu(form);
    auto* item = new tk::MenuItem(form);
    mainMenu->Items()->Add(item);
    form->SetMenu(mainMenu);

    delete menu;
    EXPECT_EQ(inner->GetPopupMenu(), nullptr);
    delete mainMenu;  // takes its items along, which leave the form's list
    EXPECT_EQ(form->Menu(), nullptr);
    EXPECT_EQ(form->ComponentCount(), 2);
    delete form;  // inner was created last and goes first; nothing is touched twice
}

}  // namespace
