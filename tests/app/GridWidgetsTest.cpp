#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>

#include "WorkbenchTests.h"
#include "app/FormRenderer.h"
#include "app/FormWindow.h"
#include "app/QtDesktop.h"
#include "app/ToolkitPump.h"
#include "controls/RyCtrlGrid.h"
#include "platform/Cp932.h"
#include "toolkit/Application.h"
#include "toolkit/CheckLst.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/Form.h"

using namespace workbench;
using platform::Utf8ToCp932;

namespace {

class GridForm : public tk::Form {
public:
    GridForm() : tk::Form(nullptr)
    {
        SetName("GridForm");
        SetBounds(100, 80, 520, 360);
        Pages = new tk::PageControl(this);
        Pages->SetParent(this);
        Pages->SetAlign(tk::Align::Client);
        auto* properties = new tk::TabSheet(this);
        properties->SetCaption(Utf8ToCp932("プロパティ"));
        properties->SetPageControl(Pages);
        auto* options = new tk::TabSheet(this);
        options->SetCaption(Utf8ToCp932("オプション"));
        options->SetPageControl(Pages);
        Grid = new quorlin::TRyCtrlGrid(this);
        Grid->SetParent(properties);
        Grid->SetAlign(tk::Align::Client);
        Grid->SetColumns({{"PropName", Utf8ToCp932("プロパティ名"), {}, 157},
                          {"ReadType", "Read", {"None", "Variable", "Method"}, 61}});
        Methods = new tk::CheckListBox(this);
        Methods->SetParent(options);
        Methods->SetBounds(8, 8, 200, 100);
        Methods->Items().Assign({"SaveToFile", "SaveToStream"});
        FinishCreate();
        SetActiveControl(Grid);
    }
    tk::PageControl* Pages;
    quorlin::TRyCtrlGrid* Grid;
    tk::CheckListBox* Methods;
};

QString Field(const GridForm& form, const char* fieldName, int row)
{
    return QString::fromStdString(form.Grid->FieldText(fieldName, row));
}

}  // namespace

GridWidgetsTest::GridWidgetsTest() = default;
GridWidgetsTest::~GridWidgetsTest() = default;

void GridWidgetsTest::init()
{
    renderer_ = std::make_unique<FormRenderer>();
    desktop_ = std::make_unique<QtDesktop>(*renderer_);
    pump_ = std::make_unique<ToolkitPump>(*renderer_);
    tk::Application::Instance().SetDesktop(desktop_.get());
}

void GridWidgetsTest::cleanup()
{
    tk::Application::Instance().ProcessMessages();
    tk::Application::Instance().SetDesktop(nullptr);
    pump_.reset();
    desktop_.reset();
    renderer_.reset();
}

void GridWidgetsTest::ControlGridRowsFollowTheArrowKeys()
{
    GridForm form;
    form.Show();
    renderer_->Sync();
    FormWindow* window = renderer_->WindowOf(&form);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto* table = qobject_cast<QTableWidget*>(renderer_->WidgetOf(form.Grid));
    QVERIFY(table);
    QCOMPARE(table->columnCount(), 2);
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QString::fromUtf8("プロパティ名"));
    QCOMPARE(table->verticalHeader()->width(), 11);
    QCOMPARE(table->columnWidth(1), 61);

    // Typing opens the cell's editor; Down in the filled last row adds a row and moves into it.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(0, 0)).center());
    table->setFocus();
    QTest::keyClick(table, 'C');
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    QTest::keyClicks(editor, "ount");
    QCOMPARE(Field(form, "PropName", 0), "Count");
    QTest::keyClick(editor, Qt::Key_Down);
    QCOMPARE(form.Grid->DataRowCount(), 2);
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->currentRow(), 1);
    QCOMPARE(table->item(0, 0)->text(), QString("Count"));

    // Down in the empty last row adds nothing; Up removes it; Ctrl+Down copies the row above.
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Down);
    QCOMPARE(table->rowCount(), 2);
    QTest::keyClick(table, Qt::Key_Up);
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(form.Grid->DataRowCount(), 1);
    QTest::keyClick(table, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(1, 0)->text(), QString("Count"));
    QCOMPARE(Field(form, "PropName", 1), "Count");

    // A pick-list cell drops its list down, and takes text that is not in the list as well.
    table->setCurrentCell(1, 1);
    table->editItem(table->item(1, 1));
    auto* combo = qobject_cast<QComboBox*>(QApplication::focusWidget());
    QVERIFY(combo);
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->itemText(2), QString("Method"));
    combo->setCurrentIndex(2);
    QCOMPARE(Field(form, "ReadType", 1), "Method");
    combo->setEditText("Variable ");
    QCOMPARE(Field(form, "ReadType", 1), "Variable ");
}

void GridWidgetsTest::PageTabsAndCheckListFollowClicks()
{
    GridForm form;
    form.Show();
    renderer_->Sync();
    QWidget* pages = renderer_->WidgetOf(form.Pages);
    auto* tabs = pages->findChild<QTabBar*>();
    QVERIFY(tabs);
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->tabText(1), QString::fromUtf8("オプション"));
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(renderer_->WidgetOf(form.Grid)->isVisible());

    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    QCOMPARE(form.Pages->ActivePageIndex(), 1);
    QVERIFY(!renderer_->WidgetOf(form.Grid)->isVisible());
    auto* list = qobject_cast<QListWidget*>(renderer_->WidgetOf(form.Methods));
    QVERIFY(list && list->isVisible());
    QCOMPARE(list->item(1)->checkState(), Qt::Unchecked);

    // A click on an item's box toggles its mark; a click on its text only selects it.
    QRect item = list->visualItemRect(list->item(1));
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.rect = item;
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
    QVERIFY(form.Methods->Checked(1));
    QCOMPARE(list->item(1)->checkState(), Qt::Checked);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(item.right() - 10, item.center().y()));
    QCOMPARE(form.Methods->ItemIndex(), 1);
    QVERIFY(form.Methods->Checked(1));

    form.Pages->SetActivePageIndex(0);
    renderer_->Sync();
    QCOMPARE(tabs->currentIndex(), 0);
}
