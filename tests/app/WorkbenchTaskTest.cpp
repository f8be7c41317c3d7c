// The tool window's task tree in the workbench: a task file opened through the Qt file dialog,
// files dropped from the desktop, labels edited in place, nodes dragged within the tree and the memo
// saved through the Qt save dialog.

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include "WorkbenchTests.h"
#include "app/FormRenderer.h"
#include "app/FormWindow.h"
#include "app/MainWindow.h"
#include "app/TextCodec.h"
#include "platform/IniFile.h"
#include "toolkit/Application.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

using namespace workbench;

namespace {

QString WriteText(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

QStringList ItemTexts(QTreeWidget* tree)
{
    QStringList texts;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        QString indent((*it)->parent() ? "\t" : "");
        texts << indent + (*it)->text(0);
    }
    return texts;
}

QTreeWidgetItem* ItemNamed(QTreeWidget* tree, const QString& text)
{
    QList<QTreeWidgetItem*> found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

// Sends a drag of data over a widget and drops it at a point.
void DragAndDrop(QWidget* target, QPoint at, QMimeData* data, Qt::DropAction action)
{
    QDragEnterEvent enter(at, action, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, action, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(at), action, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

QAction* MenuAction(FormWindow* tool, const QString& name)
{
    for (QAction* action : tool->MenuBar()->findChildren<QAction*>()) {
        if (action->objectName() == name) {
            return action;
        }
    }
    return nullptr;
}

// Answers the modal dialogs the workbench opens: enters a name in a file dialog and accepts it;
// notes a message box's text and closes it, so that it fails the test instead of waiting. The answer
// is posted from the dialog's show event, so it is taken in by the dialog's own event loop: a dialog
// closed before its loop runs would leave that loop waiting for ever.
class DialogAnswerer : public QObject {
public:
    explicit DialogAnswerer(QString typedName) : typedName_(std::move(typedName))
    {
        qApp->installEventFilter(this);
    }
    ~DialogAnswerer() override { qApp->removeEventFilter(this); }

    QStringList Messages;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show) {
            return false;
        }
        if (auto* chooser = qobject_cast<QFileDialog*>(watched)) {
            QMetaObject::invokeMethod(chooser, [chooser, name = typedName_] {
                auto* nameEdit = chooser->findChild<QLineEdit*>("fileNameEdit");
                QVERIFY(nameEdit);
                // A dialog that does not take the name is closed, so that the test fails instead of
                // waiting.
                QTimer::singleShot(5000, chooser, &QFileDialog::reject);
                nameEdit->setText(name);
                static_cast<QDialog*>(chooser)->accept();
            }, Qt::QueuedConnection);
        } else if (auto* box = qobject_cast<QMessageBox*>(watched)) {
            Messages << box->text();
            QMetaObject::invokeMethod(box, [box] { box->done(QMessageBox::Ok); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QString typedName_;
};

}  // namespace

void WorkbenchTest::TaskTreeTakesDroppedFilesEditsLabelsAndMovesNodes()
{
    // Run alone, the tool window is opened here.
    if (!ToolWindow()) {
        QTest::keyClick(window_.get(), Qt::Key_F11, Qt::ControlModifier);
    }
    QTRY_VERIFY(ToolWindow());
    FormWindow* tool = ToolWindow();
    auto* form = tool->Form();
    auto* tree = dynamic_cast<tk::TreeView*>(form->FindComponent("TreeView1"));
    auto* shown = tool->findChild<QTreeWidget*>("TreeView1");
    auto* memo = tool->findChild<QPlainTextEdit*>("Memo1");
    QVERIFY(tree && shown && memo);

    QDir folder(projectFolder_.path());
    QString plan = WriteText(folder.filePath("Plan.ini"), "Plan\r\n");
    QTimer::singleShot(0, qApp, [plan] {
        if (auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            chooser->selectFile(plan);
            QMetaObject::invokeMethod(chooser, "accept");
        }
    });
    auto menuAction = [tool](const QString& name) { return MenuAction(tool, name); };
    // The standard display mode shows the tree and the memo.
    QVERIFY(menuAction("K6"));
    menuAction("K6")->trigger();
    QTRY_VERIFY(shown->viewport()->height() > 100);
    QVERIFY(menuAction("K1"));
    menuAction("K1")->trigger();
    QTRY_COMPARE(ItemTexts(shown), QStringList{"Plan"});

    // Two files dropped from the desktop onto the window: two nodes linked to them, four messages.
    QStringList answered;
    QTimer answerer;
    connect(&answerer, &QTimer::timeout, [&answered] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            answered << box->text();
            box->done(QMessageBox::Ok);
        }
    });
    answerer.start(20);
    QString idea = WriteText(folder.filePath("Idea.md"), "idea\ntext");
    QString todo = WriteText(folder.filePath("Todo"), "todo text");
    auto* files = new QMimeData;
    files->setUrls({QUrl::fromLocalFile(idea), QUrl::fromLocalFile(todo)});
    QVERIFY(tool->acceptDrops());
    DragAndDrop(tool, tool->rect().center(), files, Qt::CopyAction);
    QTRY_COMPARE(answered.size(), 4);
    answerer.stop();
    QCOMPARE(answered, (QStringList{"File Dropped Start", "File Dropped End", "File Dropped Start", "File Dropped End"}));
    QTRY_COMPARE(ItemTexts(shown), (QStringList{"Plan", "Idea", "Todo"}));
    QCOMPARE(memo->toPlainText(), QString("todo text"));
    {
        platform::IniFile detail(ToCp932(folder.filePath("Plan.txt")));
        QCOMPARE(FromCp932(detail.ReadString("FileLocation", "Idea", "")), idea);
        QCOMPARE(FromCp932(detail.ReadString("FileLocation", "Todo", "")), todo);
    }
    delete files;

    // A click on the selected label opens the editor; Return gives the node the new text and goes
    // no further: the window keeps its display mode and the tree gets no new node.
    int formHeight = form->Height();
    QTreeWidgetItem* ideaItem = ItemNamed(shown, "Idea");
    QPoint label = shown->visualItemRect(ideaItem).topLeft() + QPoint(4, 4);
    QTest::mouseClick(shown->viewport(), Qt::LeftButton, {}, label);
    QTRY_COMPARE(tree->Selected()->Text(), std::string("Idea"));
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(shown->viewport(), Qt::LeftButton, {}, label);
    QTRY_VERIFY(shown->viewport()->findChild<QLineEdit*>());
    QCOMPARE(tree->EditingNode(), tree->Selected());
    QLineEdit* editor = shown->viewport()->findChild<QLineEdit*>();
    editor->setText("Renamed");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(ItemTexts(shown), (QStringList{"Plan", "Renamed", "Todo"}));
    QVERIFY(!tree->IsEditing());
    QCOMPARE(form->Height(), formHeight);

    // Backspace starts editing through the tool window's key handler; Esc cancels it.
    window_->Renderer().Deliver([tree] { tree->SetFocus(); });
    QTest::keyClick(shown, Qt::Key_Backspace);
    QTRY_VERIFY(shown->viewport()->findChild<QLineEdit*>());
    QTest::keyClick(shown->viewport()->findChild<QLineEdit*>(), Qt::Key_Escape);
    QTRY_VERIFY(!tree->IsEditing());
    QCOMPARE(ItemTexts(shown), (QStringList{"Plan", "Renamed", "Todo"}));

    // Todo dragged onto Plan's label becomes its child, then below the last row a top-level node.
    window_->Renderer().Deliver([tree] { tree->BeginDrag(tree->TopItem(2)); });
    QTreeWidgetItem* todoItem = ItemNamed(shown, "Todo");
    std::unique_ptr<QMimeData> dragged(
        shown->model()->mimeData({shown->model()->index(shown->indexOfTopLevelItem(todoItem), 0)}));
    QRect planRow = shown->visualItemRect(ItemNamed(shown, "Plan"));
    DragAndDrop(shown->viewport(), QPoint(planRow.left() + 4, planRow.center().y()), dragged.get(), Qt::MoveAction);
    QTRY_COMPARE(ItemTexts(shown), (QStringList{"Plan", "\tTodo", "Renamed"}));
    QCOMPARE(tree->TopItem(0)->Item(0)->Text(), std::string("Todo"));

    window_->Renderer().Deliver([tree] { tree->BeginDrag(tree->TopItem(0)->Item(0)); });
    QPoint below(10, shown->visualItemRect(ItemNamed(shown, "Renamed")).bottom() + 20);
    DragAndDrop(shown->viewport(), below, dragged.get(), Qt::MoveAction);
    QTRY_COMPARE(ItemTexts(shown), (QStringList{"Plan", "Renamed", "Todo"}));
}

void WorkbenchTest::TaskMemoSavedUnderATypedNameGetsTheTextExtension()
{
    if (!ToolWindow()) {
        QTest::keyClick(window_.get(), Qt::Key_F11, Qt::ControlModifier);
    }
    QTRY_VERIFY(ToolWindow());
    FormWindow* tool = ToolWindow();
    auto* memo = dynamic_cast<tk::Memo*>(tool->Form()->FindComponent("Memo1"));
    QVERIFY(memo);
    window_->Renderer().Deliver([memo] { memo->SetText("memo line\r\n"); });

    // The dialog's default extension is written as a pattern, "*.txt": a name typed without one
    // gets ".txt", not ".*.txt".
    QDir folder(projectFolder_.path());
    DialogAnswerer answerer(folder.filePath("notes"));
    QVERIFY(MenuAction(tool, "SaveMemoItem"));
    MenuAction(tool, "SaveMemoItem")->trigger();
    QTRY_VERIFY(QFile::exists(folder.filePath("notes.txt")));
    QCOMPARE(answerer.Messages, QStringList());
    QCOMPARE(folder.entryList({"notes*"}), QStringList{"notes.txt"});
    QFile saved(folder.filePath("notes.txt"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("memo line\r\n"));
}
