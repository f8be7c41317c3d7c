#include "app/ControlWidgets.h"

#include <QCheckBox>
#include <QRadioButton>
#include <utility>

#include "app/ButtonView.h"
#include "app/CheckListView.h"
#include "app/CheckView.h"
#include "app/ComboView.h"
#include "app/EditView.h"
#include "app/GridView.h"
#include "app/LabelView.h"
#include "app/ListBoxView.h"
#include "app/MemoView.h"
#include "app/PageControlView.h"
#include "app/PanelView.h"
#include "app/SplitterView.h"
#include "app/TreeViewView.h"
#include "toolkit/CheckLst.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Grids.h"
#include "toolkit/StdCtrls.h"

namespace workbench {

QColor ToQColor(tk::Color color, const QPalette& palette)
{
    if (color & tk::clSystemColor) {
        switch (color) {
        case tk::clWindow: return palette.color(QPalette::Base);
        case tk::clWindowText: return palette.color(QPalette::Text);
        case tk::clActiveCaption: return QColor(0, 0, 128);
        case tk::clInactiveCaption: return QColor(128, 128, 128);
        case tk::clCaptionText: return Qt::white;
        case tk::clInactiveCaptionText: return QColor(212, 208, 200);
        default: return palette.color(QPalette::Button);
        }
    }
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

std::pair<QWidget*, ControlView*> CreateControlView(FormRenderer& renderer, tk::Control& control, QWidget* parent)
{
    auto make = [](auto* view) { return std::pair<QWidget*, ControlView*>(view, view); };
    if (auto* memo = dynamic_cast<tk::Memo*>(&control)) {
        return make(new MemoView(renderer, *memo, parent));
    }
    if (auto* edit = dynamic_cast<tk::CustomEdit*>(&control)) {
        return make(new EditView(renderer, *edit, parent));
    }
    if (auto* combo = dynamic_cast<tk::ComboBox*>(&control)) {
        return make(new ComboView(renderer, *combo, parent));
    }
    if (auto* checkList = dynamic_cast<tk::CheckListBox*>(&control)) {
        return make(new CheckListView(renderer, *checkList, parent));
    }
    if (auto* list = dynamic_cast<tk::ListBox*>(&control)) {
        return make(new ListBoxView(renderer, *list, parent));
    }
    if (auto* grid = dynamic_cast<tk::StringGrid*>(&control)) {
        return make(new GridView(renderer, *grid, parent));
    }
    if (auto* pages = dynamic_cast<tk::PageControl*>(&control)) {
        return make(new PageControlView(renderer, *pages, parent));
    }
    if (auto* tree = dynamic_cast<tk::TreeView*>(&control)) {
        return make(new TreeViewView(renderer, *tree, parent));
    }
    if (auto* radio = dynamic_cast<tk::RadioButton*>(&control)) {
        return make(new CheckView<QRadioButton>(renderer, *radio, parent));
    }
    if (auto* check = dynamic_cast<tk::CheckBox*>(&control)) {
        return make(new CheckView<QCheckBox>(renderer, *check, parent));
    }
    if (auto* button = dynamic_cast<tk::Button*>(&control)) {
        return make(new ButtonView(renderer, *button, parent));
    }
    if (auto* splitter = dynamic_cast<tk::Splitter*>(&control)) {
        return make(new SplitterView(renderer, *splitter, parent));
    }
    if (dynamic_cast<tk::Label*>(&control)) {
        return make(new LabelView(renderer, control, parent));
    }
    return make(new PanelView(renderer, control, parent));
}

}  // namespace workbench
