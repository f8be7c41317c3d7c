#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTableWidget>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "WorkbenchTests.h"
#include "app/EditorTabs.h"
#include "app/FormRenderer.h"
#include "app/FormWindow.h"
#include "app/MainWindow.h"
#include "app/ProjectPanel.h"
#include "app/QtTrayArea.h"
#include "app/TextCodec.h"
#include "platform/Cp932.h"
#include "platform/TrayArea.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

using namespace workbench;

namespace {

void CopyFolder(const QString& from, const QString& to)
{
    QDir source(from);
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QString file = files.next();
        QString target = QDir(to).filePath(source.relativeFilePath(file));
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
}

QAction* FindAction(QWidget* root, const QString& name)
{
    for (QAction* action : root->findChildren<QAction*>()) {
        if (action->objectName() == name) {
            return action;
        }
    }
    return nullptr;
}

// The first line after the implementation line that holds the routine text, as a jump finds it.
int RoutineLine(const std::string& text, const std::string& routine)
{
    bool inImplementation = false;
    int line = 1;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find("\r\n", start);
        std::string current = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (inImplementation && current.find(routine) != std::string::npos) {
            return line;
        }
        if (platform::UpperCase(platform::Trim(current)).rfind("IMPLEMENTATION", 0) == 0) {
            inImplementation = true;
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 2;
        ++line;
    }
    return 0;
}

// Opens the list with a click, moves the highlight to the entry and confirms it with Return.
void ChooseFromCombo(QComboBox* combo, int index)
{
    QTest::mouseClick(combo, Qt::LeftButton);
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(view->model()->index(index, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
}

// Runs answer once the next modal dialog or pop-up runs its own event loop.
void WhenModal(std::function<void()> answer)
{
    QTimer::singleShot(0, qApp, std::move(answer));
}

void AnswerSaveQuestion(QMessageBox::StandardButton button, QString& asked)
{
    WhenModal([button, &asked] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            asked = box->text();
            box->button(button)->click();
        }
    });
}

QString ReadFile(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromLatin1(file.readAll());
}

}  // namespace

WorkbenchTest::WorkbenchTest() = default;
WorkbenchTest::~WorkbenchTest() = default;

FormWindow* WorkbenchTest::ToolWindow() const
{
    return window_->Renderer().FindWindow("CodeForm");
}

void WorkbenchTest::initTestCase()
{
    QVERIFY(home_.isValid() && projectFolder_.isValid());
    CopyFolder(QUORLIN_SOURCE_DIR "/examples/Sample", projectFolder_.path());
    projectFile_ = QDir(projectFolder_.path()).filePath("Sample.dpr");
    WorkbenchOptions options =
        WorkbenchOptions::FromArguments({"quorlin-workbench", "--home", home_.path(), projectFile_});
    window_ = std::make_unique<MainWindow>(options);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void WorkbenchTest::StartsWithHostMenusProjectAndAddin()
{
    QVERIFY2(window_->Loader().Loaded(), window_->Loader().Error().c_str());

    auto* edit = window_->menuBar()->findChild<QMenu*>("EditMenu");
    QVERIFY(edit);
    QList<QAction*> items = edit->actions();
    qsizetype quorlin = items.indexOf(FindAction(edit, "EditQuorlinItem"));
    QVERIFY(quorlin > 0);
    QVERIFY(items[quorlin - 1]->isSeparator());
    QCOMPARE(items[quorlin - 1]->objectName(), QString("EditCodeSepa1"));
    QCOMPARE(items[quorlin]->text(), QString("Quorlin"));
    QCOMPARE(items[quorlin]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F11));

    auto* file = window_->menuBar()->findChild<QMenu*>("FileMenu");
    for (const char* name : {"FileOpenProjectItem", "FileCloseProjectItem", "FileSaveItem", "FileSaveAllItem",
                             "FileExitItem"}) {
        QVERIFY2(FindAction(file, name), name);
    }
    QTRY_VERIFY(file->findChild<QMenu*>("FileReopenMenu"));
    QStringList recent;
    for (QAction* action : file->findChild<QMenu*>("FileReopenMenu")->actions()) {
        recent << action->text();
    }
    QCOMPARE(recent, QStringList{projectFile_});

    QStringList units;
    for (const std::string& unit : window_->Projects().ShownUnits()) {
        units << QFileInfo(FromCp932(unit)).fileName();
    }
    QCOMPARE(units, (QStringList{"MainForm.pas", "Utils.pas", "Shapes.pas", "Consts.pas", "ViewOptions.pas"}));

    // The project file's Japanese comment, decoded from code page 932 in its editor tab.
    QTreeWidget& panel = window_->Projects();
    panel.setFocus();
    panel.setCurrentItem(panel.topLevelItem(0));
    QTest::keyClick(&panel, Qt::Key_Return);
    QTRY_VERIFY(window_->Tabs().CurrentEditor());
    QVERIFY(window_->Tabs().CurrentEditor()->toPlainText().contains(QString::fromUtf8("サンプルプロジェクト")));
}

void WorkbenchTest::ToolWindowJumpsToChosenRoutine()
{
    QTest::keyClick(window_.get(), Qt::Key_F11, Qt::ControlModifier);
    QTRY_VERIFY(ToolWindow());
    FormWindow* tool = ToolWindow();
    QStringList menus;
    for (QAction* action : tool->MenuBar()->actions()) {
        menus << action->text();
    }
    QVERIFY(menus.contains(QString::fromUtf8("表示(&V)")));

    auto* units = tool->findChild<QComboBox*>("UnitCombo");
    auto* routines = tool->findChild<QComboBox*>("MethodCombo");
    QVERIFY(units && routines);
    int shapes = -1;
    for (int i = 0; i < units->count(); ++i) {
        if (units->itemText(i).endsWith("Shapes.pas")) {
            shapes = i;
        }
    }
    QVERIFY(shapes >= 0);
    ChooseFromCombo(units, shapes);
    QTRY_COMPARE(units->currentIndex(), shapes);
    int area = -1;
    for (int i = 0; i < routines->count(); ++i) {
        if (routines->itemText(i).contains("TShape.Area")) {
            area = i;
        }
    }
    QVERIFY2(area >= 0, qPrintable(QString("routines: %1").arg(routines->count())));
    routine_ = routines->itemText(area);
    ChooseFromCombo(routines, area);

    QPlainTextEdit* editor = window_->Tabs().CurrentEditor();
    QVERIFY(editor);
    unitFile_ = window_->Tabs().FileOf(editor);
    QVERIFY(QString::fromStdString(unitFile_).endsWith("Shapes.pas"));
    routineLine_ = RoutineLine(window_->Host().Text(unitFile_), ToCp932(routine_));
    QVERIFY(routineLine_ > 0);
    QTRY_COMPARE(editor->textCursor().blockNumber() + 1, routineLine_);
    QCOMPARE(window_->Host().Cursor(unitFile_).Line, routineLine_);
    QCOMPARE(window_->PositionText(), QString("Line %1, Col 1").arg(routineLine_));
}

void WorkbenchTest::DisplayModesSizeTheWindow()
{
    FormWindow* tool = ToolWindow();
    QVERIFY(tool);
    struct Mode {
        const char* Item;
        QSize Size;
    };
    for (Mode mode : {Mode{"K6", {664, 326}}, Mode{"K2", {326, 27}}, Mode{"K4", {664, 88}}}) {
        FindAction(tool, mode.Item)->trigger();
        QCOMPARE(tool->size(), mode.Size);
        QCOMPARE(QSize(tool->Form()->Width(), tool->Form()->Height()), mode.Size);
    }
    // Frame, caption and menu bar around the client area, as the toolkit lays it out.
    FindAction(tool, "K6")->trigger();
    QCOMPARE(tool->Client()->height(), 326 - 2 * 4 - 19 - 19);
    QCOMPARE(tool->findChild<QComboBox*>("MethodCombo")->width(), tool->Form()->Find<tk::Control>("MethodCombo")->Width());

    // The recorded mode is still the routine list, so a caption double click minimises.
    QTest::mouseDClick(tool, Qt::LeftButton, {}, tool->CaptionRect().topLeft() + QPoint(20, 8));
    QCOMPARE(tool->size(), QSize(326, 27));
    FindAction(tool, "K4")->trigger();
}

void WorkbenchTest::CaptionShowsDateAndOffersItsMenu()
{
    FormWindow* tool = ToolWindow();
    QVERIFY(tool);
    QDate today = QDate::currentDate();
    QString weekday = QString::fromUtf8("日月火水木金土").at(today.dayOfWeek() % 7);
    QTRY_COMPARE(tool->CaptionText(), today.toString("yyyy/MM/dd") + " (" + weekday + ") ");
    QVERIFY(tool->windowTitle().contains(today.toString("yyyy/MM/dd")));

    for (QWidget* target : {static_cast<QWidget*>(tool), static_cast<QWidget*>(tool->MenuBar())}) {
        QStringList shown;
        WhenModal([&shown] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* action : menu->actions()) {
                    shown << action->text();
                }
                menu->close();
            }
        });
        QPoint at = target == tool ? tool->CaptionRect().topLeft() + QPoint(30, 8) : QPoint(tool->MenuBar()->width() - 5, 5);
        QTest::mouseClick(target, Qt::RightButton, {}, at);
        for (const char* caption : {"最小化", "関数ﾘｽﾄ", "標準", "ジャンプ履歴", "メニュー表示"}) {
            QVERIFY2(shown.contains(QString::fromUtf8(caption)), caption);
        }
    }
}

void WorkbenchTest::InsertMenuEditsTheUnitInItsEditor()
{
    FormWindow* tool = ToolWindow();
    std::string unit = window_->Host().UnitNames().at(4);
    QVERIFY(QString::fromStdString(unit).endsWith("Consts.pas"));
    QVERIFY(window_->Host().OpenFile(unit));
    QPlainTextEdit* editor = window_->Tabs().EditorOf(unit);
    auto* memo = tool->findChild<QPlainTextEdit*>("Memo1");
    QVERIFY(editor && memo);
    auto lineOf = [editor](int line) { return editor->document()->findBlockByNumber(line - 1); };
    QCOMPARE(lineOf(8).text(), QString("  DefaultWidth = 10;"));

    // "コード挿入": the memo's line goes in front of the cursor's line 8.
    tk::Memo* memoControl = tool->Form()->Find<tk::Memo>("Memo1");
    window_->Renderer().Deliver([memoControl] { memoControl->SetText("  Extra = 1;"); });
    QCOMPARE(memo->toPlainText(), QString("  Extra = 1;"));
    editor->setTextCursor(QTextCursor(lineOf(8)));
    QCOMPARE(window_->Host().Cursor(unit).Line, 8);
    FindAction(tool, "K8")->trigger();
    QTRY_COMPARE(lineOf(8).text(), QString("  Extra = 1;"));
    QCOMPARE(lineOf(9).text(), QString("  DefaultWidth = 10;"));

    // "選択行の左右入替え": lines 8 and 9 selected, the cursor at the start of line 10, "=" typed
    // into the separator window.
    QTextCursor selection(lineOf(8));
    selection.setPosition(lineOf(10).position(), QTextCursor::KeepAnchor);
    editor->setTextCursor(selection);
    bool answered = false;
    WhenModal([&] {
        FormWindow* exchange = window_->Renderer().FindWindow("ExchangeForm");
        auto* separator = exchange ? exchange->findChild<QLineEdit*>("SeparatorEdit") : nullptr;
        if (!separator) {
            if (tk::Form* form = tk::Application::Instance().FindForm("ExchangeForm")) {
                form->SetModalResult(tk::mrCancel);
            }
            return;
        }
        answered = separator->text() == ":=";
        separator->selectAll();
        QTest::keyClicks(separator, "=");
        QTest::mouseClick(exchange->findChild<QPushButton*>("ClosePanel"), Qt::LeftButton);
    });
    FindAction(tool, "ExchangeMenuItem")->trigger();
    QVERIFY(answered);
    QTRY_COMPARE(lineOf(10).text(), QString("  1 = Extra;"));
    QCOMPARE(lineOf(11).text(), QString("  10 = DefaultWidth;"));
    QCOMPARE(lineOf(12).text(), QString("  DefaultHeight = 10;"));
    QCOMPARE(memo->toPlainText(), QString("  1 = Extra;\n  10 = DefaultWidth;\n"));

    // Saved, so closing the project later asks about no other file than the one it expects.
    QVERIFY(window_->Host().SaveFile(unit));
    QVERIFY(window_->Host().ShowFile(unitFile_));
}

void WorkbenchTest::JumpHistoryJumpsAgain()
{
    FormWindow* tool = ToolWindow();
    QPlainTextEdit* editor = window_->Tabs().EditorOf(unitFile_);
    QVERIFY(tool && editor);
    editor->setTextCursor(QTextCursor(editor->document()));
    QCOMPARE(window_->Host().Cursor(unitFile_).Line, 1);

    QStringList entries;
    bool chosen = false;
    WhenModal([&] {
        FormWindow* picker = window_->Renderer().FindWindow("HistoryForm");
        auto* list = picker ? picker->findChild<QListWidget*>("HistoryList") : nullptr;
        if (!list || list->count() == 0) {
            if (tk::Form* form = tk::Application::Instance().FindForm("HistoryForm")) {
                form->SetModalResult(tk::mrCancel);
            }
            return;
        }
        for (int i = 0; i < list->count(); ++i) {
            entries << list->item(i)->text();
        }
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QTest::mouseClick(picker->findChild<QWidget*>("OpenPanel"), Qt::LeftButton);
        chosen = true;
    });
    FindAction(tool, "JumpHistoryMenu")->trigger();
    QVERIFY(chosen);
    QCOMPARE(entries.value(0), routine_);
    QVERIFY(!window_->Renderer().FindWindow("HistoryForm"));
    QTRY_COMPARE(editor->textCursor().blockNumber() + 1, routineLine_);
}

void WorkbenchTest::ClassWindowAppendsItsDefinitionToTheMemo()
{
    FormWindow* tool = ToolWindow();
    QVERIFY(tool);
    auto* memo = tool->findChild<QPlainTextEdit*>("Memo1");
    QVERIFY(memo);
    bool confirmed = false;
    WhenModal([&] {
        FormWindow* window = window_->Renderer().FindWindow("MakeClassForm");
        QVERIFY(window);
        // Whatever fails below, the window does not stay open.
        std::shared_ptr<void> cancel(nullptr, [&confirmed](void*) {
            if (tk::Form* form = tk::Application::Instance().FindForm("MakeClassForm"); form && !confirmed)
                form->SetModalResult(tk::mrCancel);
        });
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(window->findChild<QTabBar*>()->tabText(0), QString::fromUtf8("プロパティ"));
        QTest::keyClicks(window->findChild<QComboBox*>("ClassName")->lineEdit(), "TPoint3");
        QTest::keyClicks(window->findChild<QComboBox*>("InheritFrom")->lineEdit(), "TComponent");

        // Name, type and comment typed into their cells, read and write kinds chosen from their
        // pick lists.
        auto* table = window->findChild<QTableWidget*>("PropGrid");
        QVERIFY(table);
        for (auto [column, text] : {std::pair{0, QString("X")}, {1, QString("Longint")}, {5, QString("x axis")}}) {
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                              table->visualItemRect(table->item(0, column)).center());
            table->setFocus();
            QTest::keyClick(table, text.at(0).toLatin1());
            // A column with a pick list edits in a combo box that takes typed text as well.
            QWidget* focus = QApplication::focusWidget();
            auto* combo = qobject_cast<QComboBox*>(focus);
            auto* editor = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(focus);
            QVERIFY(editor);
            QTest::keyClicks(editor, text.mid(1));
            QTest::keyClick(editor, Qt::Key_Return);
        }
        for (auto [column, choice] : {std::pair{2, 1}, {3, 2}}) {
            table->setCurrentCell(0, column);
            table->editItem(table->item(0, column));
            auto* kinds = qobject_cast<QComboBox*>(QApplication::focusWidget());
            QVERIFY(kinds);
            kinds->setCurrentIndex(choice);
            QTest::keyClick(kinds, Qt::Key_Return);
        }
        QTest::mouseClick(window->findChild<QCheckBox*>("ComentCheck"), Qt::LeftButton);
        ChooseFromCombo(window->findChild<QComboBox*>("ComentCombo"), 1);
        confirmed = true;
        QTest::mouseClick(window->findChild<QPushButton*>("InsertToUnitButton"), Qt::LeftButton);
    });
    FindAction(tool, "InsertClass")->trigger();
    QVERIFY(confirmed);
    QVERIFY(!window_->Renderer().FindWindow("MakeClassForm"));
    QStringList lines = memo->toPlainText().split('\n');
    int heading = lines.indexOf("  TPoint3 = class(TComponent)");
    QVERIFY2(heading >= 0, qPrintable(memo->toPlainText()));
    QCOMPARE(lines.value(heading + 2), QString("    FX:Longint;    (* x axis *)"));
    QCOMPARE(lines.value(heading + 3), QString("    procedure SetX( Val:Longint );"));
    QVERIFY(lines.contains("    property X:Longint read FX write SetX ;"));
    QVERIFY(lines.contains("procedure TPoint3.SetX( Val:Longint );"));
}

void WorkbenchTest::VersionWindowStoresTheRecordWithF5()
{
    FormWindow* tool = ToolWindow();
    QVERIFY(tool);
    bool typed = false;
    WhenModal([this, &typed] {
        FormWindow* version = window_->Renderer().FindWindow("VerForm");
        QWidget* programName = version ? version->findChild<QWidget*>("ProgramName") : nullptr;
        QWidget* field = version ? version->findChild<QWidget*>("Version") : nullptr;
        if (!programName || !field)
            return;
        QTest::keyClick(programName, Qt::Key_Down);
        if (version->Form()->ActiveControl()->Name() != "Version")
            return;
        TypeText(field, "1.5");
        QTest::keyClick(field, Qt::Key_F5);
        typed = true;
    });
    FindAction(tool, "VerMenu")->trigger();
    QVERIFY(typed);
    QVERIFY(!window_->Renderer().FindWindow("VerForm"));
    QString stored = ReadFile(QDir(home_.path()).filePath("Version.ini"));
    QVERIFY2(stored.contains("[Sample.dpr]\r\nProgramName=\r\nVersion=1.5\r\n"), qPrintable(stored));
}

void WorkbenchTest::ClosingProjectAsksForUnsavedBuffersAndEmptiesLists()
{
    FormWindow* tool = ToolWindow();
    QPlainTextEdit* editor = window_->Tabs().EditorOf(unitFile_);
    QVERIFY(tool && editor);
    QString onDisk = ReadFile(FromCp932(unitFile_));
    QTest::keyClicks(editor, "xyz");
    QVERIFY(window_->Host().IsModified(unitFile_));
    QVERIFY(window_->Tabs().tabText(window_->Tabs().indexOf(editor)).endsWith(" *"));
    QAction* closeProject = FindAction(window_->menuBar(), "FileCloseProjectItem");

    QString asked;
    AnswerSaveQuestion(QMessageBox::Cancel, asked);
    closeProject->trigger();
    QVERIFY(asked.contains("Shapes.pas"));
    QVERIFY(!window_->Host().ProjectName().empty());
    QVERIFY(window_->Host().Text(unitFile_).find("xyz") != std::string::npos);
    QVERIFY(tool->findChild<QComboBox*>("UnitCombo")->count() > 0);

    asked.clear();
    AnswerSaveQuestion(QMessageBox::Discard, asked);
    closeProject->trigger();
    QVERIFY(!asked.isEmpty());
    QVERIFY(window_->Host().ProjectName().empty());
    QCOMPARE(ReadFile(FromCp932(unitFile_)), onDisk);
    QCOMPARE(window_->Tabs().count(), 0);
    QCOMPARE(window_->Projects().topLevelItemCount(), 0);
    for (const char* name : {"UnitCombo", "MethodCombo"}) {
        QTRY_COMPARE(tool->findChild<QComboBox*>(name)->count(), 0);
        QVERIFY(tool->Form()->Find<tk::ComboBox>(name)->Items().Empty());
    }
}

void WorkbenchTest::TrayIconAndMessagesFromOtherPrograms()
{
    // The offscreen desktop has no notification area: reopen the tool window with one that does,
    // and with the workbench's own again at the end, whatever happens.
    QtTrayArea tray(true, {});
    auto reopenToolWindow = [this] {
        ToolWindow()->Form()->Close();
        QTRY_VERIFY(!ToolWindow());
        FindAction(window_->menuBar(), "EditQuorlinItem")->trigger();
        QTRY_VERIFY(ToolWindow());
    };
    struct Restore {
        std::function<void()> Undo;
        ~Restore() { Undo(); }
    } restore{[&] {
        platform::SetTrayArea(&window_->TrayArea());
        if (ToolWindow() && !tray.Icons().empty())
            reopenToolWindow();
    }};
    platform::SetTrayArea(&tray);
    reopenToolWindow();
    FormWindow* tool = ToolWindow();
    QVERIFY(tool);
    QCOMPARE(tray.Icons().size(), size_t(1));
    QSystemTrayIcon* icon = tray.Icons().front();
    QCOMPARE(icon->toolTip(), QString("Quorlin"));

    QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
    for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::Context}) {
        QRect shownAt;
        QStringList names;
        WhenModal([&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                shownAt = menu->geometry();
                for (QAction* action : menu->actions())
                    names << action->objectName();
                menu->close();
            }
        });
        emit icon->activated(reason);
        QVERIFY(names.contains("MinItem") && names.contains("VerCtrlMenu"));
        // Opened at the work area's bottom-right corner, so it opens up and to the left of it.
        QVERIFY2(qAbs(shownAt.right() - workArea.right()) <= 1 && qAbs(shownAt.bottom() - workArea.bottom()) <= 1,
                 qPrintable(QString("menu at %1,%2 %3x%4").arg(shownAt.x()).arg(shownAt.y())
                                .arg(shownAt.width()).arg(shownAt.height())));
    }

    // Another program asks every tool window for its version.
    auto* memo = tool->findChild<QPlainTextEdit*>("Memo1");
    QVERIFY(memo);
    QProcess send;
    send.start(QUORLIN_BINARY_DIR "/bin/quorlin", {"send", "--group", "Tool", "Version", "CALLBACK", "Quorlin"});
    QVERIFY(WaitUntil([&] { return send.state() == QProcess::NotRunning; }));
    QCOMPARE(send.exitCode(), 0);
    QVERIFY(QString(send.readAllStandardOutput()).contains("Quorlin_Version_RETURN_Tool"));
    QTRY_VERIFY2(memo->toPlainText().contains("Receive Message From : Tool(Version)\nVer1.1"), qPrintable(memo->toPlainText()));
}

void WorkbenchTest::ExitAsksThenUnloadsAddin()
{
    QVERIFY(window_->OpenProject(projectFile_));
    std::string unit = window_->Host().UnitNames().at(1);
    QVERIFY(window_->Host().OpenFile(unit));
    QPlainTextEdit* editor = window_->Tabs().EditorOf(unit);
    QVERIFY(editor);
    QTest::keyClicks(editor, "changed");

    QString asked;
    AnswerSaveQuestion(QMessageBox::Cancel, asked);
    QVERIFY(!window_->close());
    QVERIFY(!asked.isEmpty());
    QVERIFY(window_->Loader().Loaded());
    QVERIFY(ToolWindow());

    AnswerSaveQuestion(QMessageBox::Discard, asked);
    QVERIFY(window_->close());
    QVERIFY(!window_->Loader().Loaded());
    QVERIFY(!tk::Application::Instance().FindForm("CodeForm"));
    QVERIFY(!ToolWindow());
}

void WorkbenchTest::cleanupTestCase()
{
    window_.reset();
}
