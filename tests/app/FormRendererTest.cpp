#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include "WorkbenchTests.h"
#include "app/FormRenderer.h"
#include "app/FormWindow.h"
#include "app/QtDesktop.h"
#include "app/ToolkitPump.h"
#include "platform/Cp932.h"
#include "toolkit/Application.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"
#include "toolkit/StdCtrls.h"

using namespace workbench;
using platform::Utf8ToCp932;

namespace {

class TestForm : public tk::Form {
public:
    TestForm() : tk::Form(nullptr)
    {
        SetName("TestForm");
        SetCaption(Utf8ToCp932("試験"));
        SetBounds(100, 80, 400, 300);
    }
    void CaptionDoubleClick() override { ++DoubleClicks; }
    bool CaptionRightButtonDown(tk::Point screen) override
    {
        RightPresses.push_back(screen);
        return true;
    }
    void PaintCaption() override
    {
        tk::Application::Instance().GetDesktop().DrawCaptionText(*this, {200, 6}, Utf8ToCp932("2024/01/02 (火) "),
                                                                 Active());
    }
    int DoubleClicks = 0;
    std::vector<tk::Point> RightPresses;
};

// An owner-drawn combo box that records how the renderer asks for its item texts.
class RecordingCombo : public tk::ComboBox {
public:
    explicit RecordingCombo(tk::Component* owner) : tk::ComboBox(owner) {}
    struct Call {
        int Index;
        int Width;
        int Measured;
    };
    std::string DrawItemText(int index, int width,
                             const std::function<int(const std::string&)>& measure) const override
    {
        std::string text(Items()[index]);
        Calls.push_back({index, width, measure(text)});
        return "<" + text + ">";
    }
    mutable std::vector<Call> Calls;
};

template <class T>
T* Add(tk::Control* parent, tk::Rect bounds, tk::Align align = tk::Align::None)
{
    auto* control = new T(parent->ParentForm());
    control->SetParent(parent);
    control->SetBounds(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
    control->SetAlign(align);
    return control;
}

QRect ToQRect(const tk::Rect& rect)
{
    return {rect.Left, rect.Top, rect.Width, rect.Height};
}

}  // namespace

FormRendererTest::FormRendererTest() = default;
FormRendererTest::~FormRendererTest() = default;

void FormRendererTest::init()
{
    renderer_ = std::make_unique<FormRenderer>();
    desktop_ = std::make_unique<QtDesktop>(*renderer_);
    pump_ = std::make_unique<ToolkitPump>(*renderer_);
    tk::Application::Instance().SetDesktop(desktop_.get());
}

void FormRendererTest::cleanup()
{
    tk::Application::Instance().ProcessMessages();
    tk::Application::Instance().SetDesktop(nullptr);
    pump_.reset();
    desktop_.reset();
    renderer_.reset();
}

void FormRendererTest::ControlsAppearAtTheirBoundsAndFollowTheToolkit()
{
    auto form = std::make_unique<TestForm>();
    auto* panel = Add<tk::Panel>(form.get(), {0, 0, 0, 60}, tk::Align::Top);
    auto* label = Add<tk::Label>(panel, {5, 5, 50, 16});
    auto* edit = Add<tk::Edit>(panel, {60, 5, 100, 21});
    auto* check = Add<tk::CheckBox>(panel, {250, 5, 100, 20});
    auto* list = Add<tk::ListBox>(form.get(), {0, 0, 100, 0}, tk::Align::Left);
    auto* memo = Add<tk::Memo>(form.get(), {0, 0, 0, 0}, tk::Align::Client);
    form->Show();
    renderer_->Sync();

    FormWindow* window = renderer_->WindowOf(form.get());
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->geometry(), QRect(100, 80, 400, 300));
    QCOMPARE(window->Client()->geometry(), QRect(4, 23, 392, 300 - 8 - 19));
    QVERIFY(!window->MenuBar()->isVisible());
    QCOMPARE(window->windowTitle(), QString::fromUtf8("試験"));

    QVERIFY(qobject_cast<QLabel*>(renderer_->WidgetOf(label)));
    QVERIFY(qobject_cast<QCheckBox*>(renderer_->WidgetOf(check)));
    auto* lineEdit = qobject_cast<QLineEdit*>(renderer_->WidgetOf(edit));
    auto* listWidget = qobject_cast<QListWidget*>(renderer_->WidgetOf(list));
    auto* memoWidget = qobject_cast<QPlainTextEdit*>(renderer_->WidgetOf(memo));
    QVERIFY(lineEdit && listWidget && memoWidget);
    QCOMPARE(lineEdit->parentWidget(), renderer_->WidgetOf(panel));
    for (tk::Control* control : std::initializer_list<tk::Control*>{panel, label, edit, check, list, memo}) {
        QCOMPARE(renderer_->WidgetOf(control)->geometry(), ToQRect(control->Bounds()));
    }
    QCOMPARE(listWidget->geometry(), QRect(0, 60, 100, 300 - 8 - 19 - 60));

    edit->SetText(Utf8ToCp932("日本語"));
    list->Items().Add(Utf8ToCp932("一"));
    list->Items().Add(Utf8ToCp932("二"));
    list->SetItemIndex(1);
    check->SetChecked(true);
    memo->Lines().Add(Utf8ToCp932("一行目"));
    memo->Lines().Add("second");
    label->SetVisible(false);
    form->SetBounds(100, 80, 500, 320);
    renderer_->Sync();
    QCOMPARE(lineEdit->text(), QString::fromUtf8("日本語"));
    QCOMPARE(listWidget->count(), 2);
    QCOMPARE(listWidget->item(1)->text(), QString::fromUtf8("二"));
    QCOMPARE(listWidget->item(1)->background(), listWidget->palette().brush(QPalette::Highlight));
    QVERIFY(qobject_cast<QCheckBox*>(renderer_->WidgetOf(check))->isChecked());
    QCOMPARE(memoWidget->toPlainText(), QString::fromUtf8("一行目\nsecond\n"));
    QVERIFY(!renderer_->WidgetOf(label)->isVisible());
    QCOMPARE(window->size(), QSize(500, 320));
    QCOMPARE(memoWidget->geometry(), ToQRect(memo->Bounds()));

    form->Hide();
    renderer_->Sync();
    QVERIFY(!window->isVisible());
}

void FormRendererTest::InputReachesTheToolkit()
{
    auto form = std::make_unique<TestForm>();
    auto* edit = Add<tk::Edit>(form.get(), {10, 10, 120, 21});
    auto* button = Add<tk::Button>(form.get(), {140, 10, 75, 25});
    auto* check = Add<tk::CheckBox>(form.get(), {220, 10, 100, 20});
    auto* list = Add<tk::ListBox>(form.get(), {10, 50, 120, 100});
    auto* combo = Add<tk::ComboBox>(form.get(), {140, 50, 120, 21});
    edit->SetTabStop(true);
    combo->SetTabStop(true);
    combo->SetStyle(tk::ComboStyle::DropDownList);
    combo->Items().Assign({"a", "b"});
    list->Items().Assign({"x", "y"});
    int clicks = 0;
    int listClicks = 0;
    std::vector<uint16_t> comboKeys;
    button->OnClick = [&clicks](tk::Component*) { ++clicks; };
    list->OnClick = [&listClicks](tk::Component*) { ++listClicks; };
    combo->OnKeyDown = [&comboKeys](tk::Component*, uint16_t& key, tk::ShiftState) { comboKeys.push_back(key); };
    form->Show();
    renderer_->Sync();
    FormWindow* window = renderer_->WindowOf(form.get());
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));

    QTest::mouseClick(renderer_->WidgetOf(button), Qt::LeftButton);
    QCOMPARE(clicks, 1);
    QPoint indicator(6, renderer_->WidgetOf(check)->height() / 2);
    QTest::mouseClick(renderer_->WidgetOf(check), Qt::LeftButton, {}, indicator);
    QVERIFY(check->Checked());
    QTest::mouseClick(renderer_->WidgetOf(check), Qt::LeftButton, {}, indicator);
    QVERIFY(!check->Checked());

    auto* lineEdit = qobject_cast<QLineEdit*>(renderer_->WidgetOf(edit));
    QTest::mouseClick(lineEdit, Qt::LeftButton);
    QCOMPARE(form->ActiveControl(), edit);
    TypeText(lineEdit, QString::fromUtf8("あい"));
    QTest::keyClick(lineEdit, Qt::Key_U);
    QCOMPARE(edit->Text(), Utf8ToCp932("あいu"));
    QCOMPARE(edit->SelStart(), 5);

    auto* listWidget = qobject_cast<QListWidget*>(renderer_->WidgetOf(list));
    QTest::mouseClick(listWidget->viewport(), Qt::LeftButton, {}, listWidget->visualItemRect(listWidget->item(1)).center());
    QCOMPARE(list->ItemIndex(), 1);
    QCOMPARE(listClicks, 1);

    // Keys of a list-only combo box are the toolkit's; Tab moves the focus along the tab order.
    QWidget* comboWidget = renderer_->WidgetOf(combo);
    comboWidget->setFocus();
    QTRY_COMPARE(form->ActiveControl(), combo);
    QTest::keyClick(comboWidget, Qt::Key_Down);
    QCOMPARE(comboKeys, std::vector<uint16_t>{tk::VK_DOWN});
    QTest::keyClick(comboWidget, Qt::Key_Tab);
    QCOMPARE(form->ActiveControl(), edit);
    QTRY_VERIFY(lineEdit->hasFocus());
}

void FormRendererTest::MenuBarFollowsTheMenuAndItsShortcutsWork()
{
    auto form = std::make_unique<TestForm>();
    auto* edit = Add<tk::Edit>(form.get(), {10, 10, 120, 21});
    auto* menu = new tk::MainMenu(form.get());
    auto* file = new tk::MenuItem(form.get());
    file->SetCaption(Utf8ToCp932("ﾌｧｲﾙ(&F)"));
    menu->Items()->Add(file);
    auto* run = new tk::MenuItem(form.get());
    run->SetName("RunItem");
    run->SetCaption("Run");
    run->SetShortCut(tk::VK_F6);
    int runs = 0;
    run->OnClick = [&runs](tk::Component*) { ++runs; };
    auto* line = new tk::MenuItem(form.get());
    line->SetCaption("-");
    auto* option = new tk::MenuItem(form.get());
    option->SetName("OptionItem");
    option->SetCaption("Option");
    option->SetChecked(true);
    file->Add(run);
    file->Add(line);
    file->Add(option);
    form->SetMenu(menu);
    form->Show();
    renderer_->Sync();
    FormWindow* window = renderer_->WindowOf(form.get());
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));

    QVERIFY(window->MenuBar()->isVisible());
    QCOMPARE(window->MenuBar()->actions().value(0)->text(), QString::fromUtf8("ﾌｧｲﾙ(&F)"));
    QCOMPARE(window->Client()->y(), 4 + 19 + 19);
    QMenu* fileMenu = window->MenuBar()->actions().value(0)->menu();
    QVERIFY(fileMenu);
    QCOMPARE(fileMenu->actions().size(), 3);
    QCOMPARE(fileMenu->actions()[0]->text(), QString("Run\tF6"));
    QVERIFY(fileMenu->actions()[1]->isSeparator());
    QVERIFY(fileMenu->actions()[2]->isChecked());

    QTest::keyClick(window, Qt::Key_F6);
    QCOMPARE(runs, 1);
    edit->SetFocus();
    renderer_->Sync();
    QTest::keyClick(renderer_->WidgetOf(edit), Qt::Key_F6);
    QCOMPARE(runs, 2);
    fileMenu->actions()[0]->trigger();
    QCOMPARE(runs, 3);

    option->SetChecked(false);
    file->SetVisible(false);
    renderer_->Sync();
    QVERIFY(!fileMenu->actions()[2]->isChecked());
    QVERIFY(!window->MenuBar()->isVisible());
    QCOMPARE(window->Client()->geometry(), QRect(4, 23, 392, 300 - 8 - 19));
}

void FormRendererTest::ModalRunsEndWithTheFormsResult()
{
    auto dialog = std::make_unique<TestForm>();
    auto* ok = Add<tk::Button>(dialog.get(), {10, 10, 75, 25});
    ok->ModalResult = tk::mrOk;
    QTimer::singleShot(0, [this, &ok] { QTest::mouseClick(renderer_->WidgetOf(ok), Qt::LeftButton); });
    QCOMPARE(dialog->ShowModal(), tk::mrOk);
    QVERIFY(!renderer_->WindowOf(dialog.get())->isVisible());

    QTimer::singleShot(0, [this, &dialog] {
        FormWindow* window = renderer_->WindowOf(dialog.get());
        QVERIFY(window->isModal());
        window->close();
    });
    QCOMPARE(dialog->ShowModal(), tk::mrCancel);
}

void FormRendererTest::PopupMenusClickTheChosenItem()
{
    auto form = std::make_unique<TestForm>();
    auto* panel = Add<tk::Panel>(form.get(), {10, 10, 200, 100});
    auto* popup = new tk::PopupMenu(form.get());
    std::vector<std::string> clicked;
    for (const char* name : {"Alpha", "Beta"}) {
        auto* item = new tk::MenuItem(form.get());
        item->SetName(name);
        item->SetCaption(name);
        item->OnClick = [&clicked, name](tk::Component*) { clicked.push_back(name); };
        popup->Items()->Add(item);
    }
    panel->SetPopupMenu(popup);
    form->Show();
    renderer_->Sync();

    QStringList shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions()) {
                shown << action->text();
            }
            menu->actions().last()->trigger();
            menu->close();
        }
    });
    QTest::mouseClick(renderer_->WidgetOf(panel), Qt::RightButton, {}, QPoint(20, 20));
    QCOMPARE(shown, (QStringList{"Alpha", "Beta"}));
    QCOMPARE(clicked, std::vector<std::string>{"Beta"});
    QCOMPARE(popup->PopupComponent, panel);
}

void FormRendererTest::OwnerDrawnComboMeasuresCp932TextWithQtFonts()
{
    auto form = std::make_unique<TestForm>();
    auto* combo = Add<RecordingCombo>(form.get(), {10, 10, 200, 21});
    combo->SetStyle(tk::ComboStyle::OwnerDrawFixed);
    combo->Items().Assign({Utf8ToCp932("ああ"), "abc"});
    combo->SetItemIndex(0);
    form->Show();
    renderer_->Sync();
    auto* box = qobject_cast<QComboBox*>(renderer_->WidgetOf(combo));
    QVERIFY(box);
    QTRY_VERIFY(!combo->Calls.empty());
    int japanese = box->fontMetrics().horizontalAdvance(QString::fromUtf8("ああ"));
    QCOMPARE(combo->Calls.back().Index, 0);
    QCOMPARE(combo->Calls.back().Measured, japanese);
    QVERIFY(combo->Calls.back().Width > 0 && combo->Calls.back().Width < 200);

    combo->Calls.clear();
    QTest::mouseClick(box, Qt::LeftButton);
    QTRY_VERIFY(combo->DroppedDown());
    QTRY_VERIFY(std::any_of(combo->Calls.begin(), combo->Calls.end(), [](const auto& call) { return call.Index == 1; }));
    QFontMetrics listMetrics(box->view()->font());
    for (const RecordingCombo::Call& call : combo->Calls) {
        if (call.Index == 1) {
            QCOMPARE(call.Measured, listMetrics.horizontalAdvance("abc"));
            QVERIFY(call.Width <= box->view()->viewport()->width());
        }
    }
    box->hidePopup();
    QTRY_VERIFY(!combo->DroppedDown());
}

void FormRendererTest::CaptionHooksCloseAndRelease()
{
    auto form = std::make_unique<TestForm>();
    form->Show();
    renderer_->Sync();
    FormWindow* window = renderer_->WindowOf(form.get());
    form->PaintCaption();
    QCOMPARE(window->CaptionText(), QString::fromUtf8("2024/01/02 (火) "));
    renderer_->Sync();
    QVERIFY(window->windowTitle().endsWith(QString::fromUtf8("2024/01/02 (火) ")));

    QPoint inCaption = window->CaptionRect().topLeft() + QPoint(30, 8);
    QTest::mouseClick(window, Qt::RightButton, {}, inCaption);
    QCOMPARE(form->RightPresses.size(), size_t(1));
    QPoint global = window->mapToGlobal(inCaption);
    QCOMPARE(form->RightPresses[0], (tk::Point{global.x(), global.y()}));
    QTest::mouseDClick(window, Qt::LeftButton, {}, inCaption);
    QCOMPARE(form->DoubleClicks, 1);

    QTest::mouseClick(window, Qt::LeftButton, {}, window->CloseButtonRect().center());
    QVERIFY(!form->Visible());
    QVERIFY(!window->isVisible());

    auto* released = new TestForm;
    released->SetName("Released");
    released->Show();
    renderer_->Sync();
    QVERIFY(renderer_->FindWindow("Released"));
    released->Release();
    QVERIFY(WaitUntil([] { return !tk::Application::Instance().FindForm("Released"); }));
    QVERIFY(!renderer_->FindWindow("Released"));
}

void FormRendererTest::DesktopMessagesAndCursor()
{
    tk::Application& application = tk::Application::Instance();
    application.SetCursor(tk::Cursor::HourGlass);
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    application.SetCursor(tk::Cursor::Default);
    QVERIFY(!QApplication::overrideCursor());

    QString text;
    QTimer::singleShot(0, [&text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            box->button(QMessageBox::No)->click();
        }
    });
    QCOMPARE(application.MessageBox(Utf8ToCp932("保存しますか"), tk::MB_YESNO | tk::MB_ICONQUESTION), tk::IDNO);
    QCOMPARE(text, QString::fromUtf8("保存しますか"));
}

void FormRendererTest::TypingIntoMemoAndEditKeepsTheCaret()
{
    auto form = std::make_unique<TestForm>();
    auto* edit = Add<tk::Edit>(form.get(), {10, 10, 120, 21});
    auto* memo = Add<tk::Memo>(form.get(), {10, 40, 300, 150});
    form->Show();
    renderer_->Sync();
    FormWindow* window = renderer_->WindowOf(form.get());
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto* memoWidget = qobject_cast<QPlainTextEdit*>(renderer_->WidgetOf(memo));
    auto* lineEdit = qobject_cast<QLineEdit*>(renderer_->WidgetOf(edit));
    QVERIFY(memoWidget && lineEdit);
    auto memoSelection = [memo] { return std::pair(memo->SelStart(), memo->SelLength()); };

    QTest::mouseClick(memoWidget->viewport(), Qt::LeftButton);
    QTRY_COMPARE(form->ActiveControl(), memo);
    QTest::keyClicks(memoWidget, "ab");
    QTest::keyClick(memoWidget, Qt::Key_Return);
    QTest::keyClicks(memoWidget, "cde");
    QTest::keyClick(memoWidget, Qt::Key_Backspace);
    TypeText(memoWidget, QString::fromUtf8("あい"));
    QCOMPARE(memoWidget->toPlainText(), QString::fromUtf8("ab\ncdあい"));
    QCOMPARE(memo->Text(), Utf8ToCp932("ab\r\ncdあい"));
    QCOMPARE(memo->Lines().Count(), 2);
    QCOMPARE(memo->Lines()[1], Utf8ToCp932("cdあい"));
    QCOMPARE(memoSelection(), std::pair(10, 0));

    // Shift+arrows select, typing replaces the selection, Enter splits the line at the caret.
    QTest::keyClick(memoWidget, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(memoWidget, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(memoWidget->textCursor().selectedText(), QString::fromUtf8("あい"));
    QCOMPARE(memoSelection(), std::pair(6, 4));
    QTest::keyClicks(memoWidget, "xy");
    QTest::keyClick(memoWidget, Qt::Key_Left);
    QTest::keyClick(memoWidget, Qt::Key_Return);
    QCOMPARE(memoWidget->toPlainText(), QString("ab\ncdx\ny"));
    QCOMPARE(memo->Text(), std::string("ab\r\ncdx\r\ny"));
    QCOMPARE(memo->Lines().Count(), 3);
    QCOMPARE(memoSelection(), std::pair(9, 0));

    // A selection dragged with the mouse, then pasted over.
    QTextCursor first(memoWidget->document()->firstBlock());
    QRect from = memoWidget->cursorRect(first);
    first.movePosition(QTextCursor::EndOfBlock);
    QRect to = memoWidget->cursorRect(first);
    QTest::mousePress(memoWidget->viewport(), Qt::LeftButton, {}, from.center());
    QMouseEvent move(QEvent::MouseMove, QPointF(to.center()), memoWidget->viewport()->mapToGlobal(QPointF(to.center())),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(memoWidget->viewport(), &move);
    QTest::mouseRelease(memoWidget->viewport(), Qt::LeftButton, {}, to.center());
    QCOMPARE(memoWidget->textCursor().selectedText(), QString("ab"));
    QCOMPARE(memoSelection(), std::pair(0, 2));
    QApplication::clipboard()->setText(QString::fromUtf8("一\n二"));
    QTest::keyClick(memoWidget, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(memo->Text(), Utf8ToCp932("一\r\n二\r\ncdx\r\ny"));
    QCOMPARE(memoSelection(), std::pair(6, 0));
    QTest::keyClicks(memoWidget, "z");
    QCOMPARE(memo->Lines()[1], Utf8ToCp932("二z"));

    // The add-in's changes show at once and keep the caret where the toolkit has it.
    renderer_->Deliver([memo] { memo->Lines().Add("tail"); });
    QCOMPARE(memoWidget->toPlainText(), QString::fromUtf8("一\n二z\ncdx\ny\ntail\n"));
    QTest::keyClicks(memoWidget, "w");
    QCOMPARE(memo->Lines()[1], Utf8ToCp932("二zw"));
    renderer_->Deliver([memo] {
        memo->SetText(Utf8ToCp932("全部\r\n新しい"));
        memo->SetSelStart(6);
        memo->SetSelLength(2);
    });
    QCOMPARE(memoWidget->toPlainText(), QString::fromUtf8("全部\n新しい"));
    QCOMPARE(memoWidget->textCursor().selectedText(), QString::fromUtf8("新"));
    QTest::keyClicks(memoWidget, "q");
    QCOMPARE(memo->Text(), Utf8ToCp932("全部\r\nqしい"));
    QCOMPARE(memoSelection(), std::pair(7, 0));

    // The same for a single-line edit.
    QTest::mouseClick(lineEdit, Qt::LeftButton);
    QTRY_COMPARE(form->ActiveControl(), edit);
    QTest::keyClicks(lineEdit, "ab");
    TypeText(lineEdit, QString::fromUtf8("あ"));
    QTest::keyClick(lineEdit, Qt::Key_Backspace);
    QTest::keyClicks(lineEdit, "cd");
    QTest::keyClick(lineEdit, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(edit->Text(), std::string("abcd"));
    QCOMPARE(std::pair(edit->SelStart(), edit->SelLength()), std::pair(3, 1));
    QTest::keyClick(lineEdit, Qt::Key_Home);
    renderer_->Deliver([edit] { edit->SetText(Utf8ToCp932("日本語")); });
    QCOMPARE(lineEdit->text(), QString::fromUtf8("日本語"));
    QCOMPARE(lineEdit->cursorPosition(), 0);
    renderer_->Deliver([edit] { edit->SetSelStart(2); });
    QCOMPARE(lineEdit->cursorPosition(), 1);
    QVERIFY(!lineEdit->hasSelectedText());
    QTest::keyClicks(lineEdit, "x");
    QCOMPARE(edit->Text(), Utf8ToCp932("日x本語"));
}
