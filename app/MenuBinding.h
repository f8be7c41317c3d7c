#pragma once
// Shows a toolkit menu (a menu bar's or a pop-up's items) in a QMenuBar or QMenu: captions with
// their shortcut text, check marks, enabled and visible states; a triggered entry clicks its item.
// Shortcut keys themselves are left to the toolkit form, which sees every key.

#include <QObject>
#include <QPointer>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace tk {
class MenuItem;
}

namespace workbench {

class FormRenderer;

class MenuBinding : public QObject {
public:
    // target is a QMenuBar or a QMenu.
    MenuBinding(FormRenderer& renderer, QWidget* target);

    // Rebuilds the entries when the items changed and shows their present state.
    void Sync(tk::MenuItem* root);
    // The menu is gone; its entries stay but click nothing.
    void Detach();

private:
    struct Shown {
        tk::MenuItem* Item;
        QPointer<QAction> Action;
        bool InBar;  // a menu bar entry, whose caption names its own shortcut
    };

    void Build(QWidget* target, tk::MenuItem* parent);
    void Click(tk::MenuItem* item);

    FormRenderer& renderer_;
    QWidget* target_;
    tk::MenuItem* root_ = nullptr;
    std::vector<tk::MenuItem*> structure_;
    std::vector<Shown> shown_;
    std::vector<QPointer<QMenu>> menus_;
};

}  // namespace workbench
