#include "app/MenuBinding.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/FormRenderer.h"
#include "app/TextCodec.h"
#include "toolkit/Menus.h"

namespace workbench {

namespace {

// Items in menu order; a null pointer closes a submenu, so equal lists mean equal structure.
void Collect(tk::MenuItem* parent, std::vector<tk::MenuItem*>& list)
{
    for (int i = 0; i < parent->Count(); ++i) {
        tk::MenuItem* item = parent->Items(i);
        list.push_back(item);
        if (item->Count() > 0) {
            Collect(item, list);
            list.push_back(nullptr);
        }
    }
}

bool Contains(tk::MenuItem* parent, tk::MenuItem* wanted)
{
    for (int i = 0; i < parent->Count(); ++i) {
        tk::MenuItem* item = parent->Items(i);
        if (item == wanted || Contains(item, wanted)) {
            return true;
        }
    }
    return false;
}

void AddAction(QWidget* target, QAction* action)
{
    target->addAction(action);
}

}  // namespace

MenuBinding::MenuBinding(FormRenderer& renderer, QWidget* target)
    : QObject(target), renderer_(renderer), target_(target)
{
}

void MenuBinding::Sync(tk::MenuItem* root)
{
    std::vector<tk::MenuItem*> structure;
    if (root) {
        Collect(root, structure);
    }
    if (root != root_ || structure != structure_) {
        root_ = root;
        structure_ = structure;
        for (const Shown& shown : shown_) {
            if (shown.Action) {
                target_->removeAction(shown.Action);
                shown.Action->deleteLater();
            }
        }
        for (const QPointer<QMenu>& menu : menus_) {
            if (menu) {
                menu->deleteLater();
            }
        }
        shown_.clear();
        menus_.clear();
        if (root) {
            Build(target_, root);
        }
    }
    for (const Shown& shown : shown_) {
        if (!shown.Action || shown.Item->IsLine()) {
            continue;
        }
        QString text = FromCp932(shown.Item->Caption());
        if (shown.Item->GetShortCut() != 0 && !shown.InBar) {
            text += '\t' + FromCp932(tk::ShortCutToText(shown.Item->GetShortCut()));
        }
        if (shown.Action->text() != text) {
            shown.Action->setText(text);
        }
        shown.Action->setEnabled(shown.Item->Enabled());
        shown.Action->setVisible(shown.Item->Visible());
        shown.Action->setCheckable(shown.Item->Checked() || shown.Action->isCheckable());
        shown.Action->setChecked(shown.Item->Checked());
    }
}

void MenuBinding::Detach()
{
    root_ = nullptr;
    structure_.clear();
}

void MenuBinding::Build(QWidget* target, tk::MenuItem* parent)
{
    for (int i = 0; i < parent->Count(); ++i) {
        tk::MenuItem* item = parent->Items(i);
        QAction* action = nullptr;
        if (item->IsLine()) {
            action = new QAction(target);
            action->setSeparator(true);
        } else if (item->Count() > 0) {
            auto* menu = new QMenu(target);
            menus_.emplace_back(menu);
            Build(menu, item);
            action = menu->menuAction();
        } else {
            action = new QAction(target);
            connect(action, &QAction::triggered, this, [this, item] { Click(item); });
        }
        action->setObjectName(FromCp932(item->Name()));
        AddAction(target, action);
        shown_.push_back({item, action, qobject_cast<QMenuBar*>(target) != nullptr});
    }
}

void MenuBinding::Click(tk::MenuItem* item)
{
    renderer_.Deliver([this, item] {
        if (root_ && Contains(root_, item)) {
            item->Click();
        }
    });
}

}  // namespace workbench
