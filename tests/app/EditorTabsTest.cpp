#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include "WorkbenchTests.h"
#include "app/BigTextView.h"
#include "app/EditorTabs.h"
#include "hostapi/ToolIntf.h"
#include "platform/Cp932.h"
#include "refhost/RefHost.h"

using namespace workbench;
using platform::Utf8ToCp932;

namespace {

// A unit file in code page 932 with LF line breaks, in a folder that lives as long as the object.
struct UnitFile {
    QTemporaryDir Folder;
    std::string Path;

    explicit UnitFile(const std::string& text = Utf8ToCp932("unit Unit1;\n{ 日本語 }\nimplementation\nend.\n"))
    {
        Path = (Folder.path() + "/Unit1.pas").toStdString();
        QFile file(QString::fromStdString(Path));
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray::fromStdString(text));
    }
};

// Moves the host's view and block as an add-in does, through the host's objects.
void MoveView(refhost::Host& host, const std::string& fileName, hostapi::TEditPos top, hostapi::TEditPos cursor,
              hostapi::TEditPos blockStart, hostapi::TEditPos blockAfter)
{
    hostapi::TIToolServices* services = host.CreateToolServices();
    hostapi::TIModuleInterface* module = services->GetModuleInterface(fileName);
    hostapi::TIEditorInterface* editor = module->GetEditorInterface();
    hostapi::TIEditView* view = editor->GetView(0);
    editor->SetBlockStart(blockStart);
    editor->SetBlockAfter(blockAfter);
    view->SetPos(1, top);
    view->SetPos(0, cursor);
    view->Release();
    editor->Release();
    module->Release();
    services->Release();
}

}  // namespace

void EditorTabsTest::ShowsCp932BufferAndFollowsTheHostsView()
{
    UnitFile unit;
    refhost::Host host;
    EditorTabs tabs(host);
    QVERIFY(host.OpenFile(unit.Path));
    QCOMPARE(tabs.count(), 1);
    QCOMPARE(tabs.tabText(0), QString("Unit1.pas"));
    QPlainTextEdit* editor = tabs.EditorOf(refhost::Host::NormalizeFileName(unit.Path));
    QVERIFY(editor);
    QCOMPARE(editor->toPlainText(), QString::fromUtf8("unit Unit1;\n{ 日本語 }\nimplementation\nend.\n"));

    // Columns count bytes: 日本語 is columns 3 to 8 of line 2.
    QSignalSpy moved(&tabs, &EditorTabs::CursorMoved);
    std::string file = tabs.FileOf(editor);
    MoveView(host, file, {1, 1}, {9, 2}, {3, 2}, {9, 2});
    QCOMPARE(editor->textCursor().selectedText(), QString::fromUtf8("日本語"));
    QCOMPARE(editor->textCursor().blockNumber(), 1);
    QCOMPARE(editor->textCursor().positionInBlock(), 5);
    QVERIFY(!moved.isEmpty());
    QCOMPARE(moved.last().value(0).toInt(), 2);
    QCOMPARE(moved.last().value(1).toInt(), 9);

    // An add-in's writer replaces the text; the tab shows it and the host's line breaks stay CR LF.
    hostapi::TIToolServices* services = host.CreateToolServices();
    hostapi::TIModuleInterface* module = services->GetModuleInterface(file);
    hostapi::TIEditorInterface* editorIntf = module->GetEditorInterface();
    hostapi::TIEditWriter* writer = editorIntf->CreateWriter();
    writer->Insert(Utf8ToCp932("// 追加\r\n"));
    writer->Release();
    editorIntf->Release();
    module->Release();
    services->Release();
    QVERIFY(editor->toPlainText().startsWith(QString::fromUtf8("// 追加\nunit Unit1;")));
}

void EditorTabsTest::UserEditsReachTheHost()
{
    UnitFile unit;
    refhost::Host host;
    EditorTabs tabs(host);
    QVERIFY(host.OpenFile(unit.Path));
    QPlainTextEdit* editor = tabs.CurrentEditor();
    QVERIFY(editor);
    std::string file = tabs.FileOf(editor);

    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(editor->document()->findBlockByNumber(0).length() - 1);
    editor->setTextCursor(cursor);
    QCOMPARE(host.Cursor(file).Line, 1);
    QCOMPARE(int(host.Cursor(file).Col), 12);
    TypeText(editor, QString::fromUtf8("あ"));
    QVERIFY(host.IsModified(file));
    QVERIFY(host.Text(file).rfind(Utf8ToCp932("unit Unit1;あ\r\n{ 日本語 }\r\n"), 0) == 0);
    QCOMPARE(int(host.Cursor(file).Col), 14);
    QCOMPARE(tabs.tabText(0), QString("Unit1.pas *"));

    cursor.setPosition(editor->document()->findBlockByNumber(1).position() + 2);
    cursor.setPosition(editor->document()->findBlockByNumber(1).position() + 5, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
    QCOMPARE(host.BlockStart(file).Line, 2);
    QCOMPARE(int(host.BlockStart(file).Col), 3);
    QCOMPARE(int(host.BlockAfter(file).Col), 9);

    editor->verticalScrollBar()->setMaximum(10);
    editor->verticalScrollBar()->setValue(2);
    QCOMPARE(host.TopLine(file).Line, 3);
}

void EditorTabsTest::ClosingAModifiedTabAsks()
{
    UnitFile unit;
    refhost::Host host;
    refhost::SaveAnswer answer = refhost::SaveAnswer::Cancel;
    int asked = 0;
    host.SetQuerySave([&](const std::string&) {
        ++asked;
        return answer;
    });
    EditorTabs tabs(host);
    QVERIFY(host.OpenFile(unit.Path));
    QTest::keyClicks(tabs.CurrentEditor(), "x");

    emit tabs.tabCloseRequested(0);
    QCOMPARE(asked, 1);
    QCOMPARE(tabs.count(), 1);
    answer = refhost::SaveAnswer::Save;
    emit tabs.tabCloseRequested(0);
    QCOMPARE(asked, 2);
    QCOMPARE(tabs.count(), 0);
    QFile saved(QString::fromStdString(unit.Path));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().startsWith("xunit Unit1;\n"));
}

void EditorTabsTest::BigBufferHasALightViewThatFollowsTheHost()
{
    std::string text = Utf8ToCp932("unit Big;\r\n{ 日本語 }\r\n");
    while (text.size() <= EditorTabs::BigTextBytes) {
        text += "procedure P; begin end;\r\n";
    }
    text += "end.";
    UnitFile unit(text);
    refhost::Host host;
    EditorTabs tabs(host);
    tabs.resize(400, 300);
    tabs.show();
    QVERIFY(host.OpenFile(unit.Path));
    std::string file = refhost::Host::NormalizeFileName(unit.Path);
    BigTextView* view = tabs.BigViewOf(file);
    QVERIFY(view && !tabs.EditorOf(file));
    QCOMPARE(view->LineCount(), host.LineCount(file));
    QCOMPARE(view->Line(2), Utf8ToCp932("{ 日本語 }"));
    QCOMPARE(view->Line(view->LineCount()), std::string("end."));

    // The host's view moves it; a person's keys and clicks move the host's cursor and top line.
    QSignalSpy moved(&tabs, &EditorTabs::CursorMoved);
    MoveView(host, file, {1, 1000}, {5, 1003}, {1, 1}, {1, 1});
    QCOMPARE(view->TopLine(), 1000);
    QCOMPARE(view->Cursor().Line, 1003);
    QCOMPARE(moved.last().value(0).toInt(), 1003);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(host.Cursor(file).Line, 1004);
    QCOMPARE(int(host.Cursor(file).Col), 5);
    QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(host.Cursor(file).Line, view->LineCount());
    QCOMPARE(int(host.Cursor(file).Col), 5);
    QVERIFY(host.TopLine(file).Line > view->LineCount() - 50);
    QCOMPARE(host.TopLine(file).Line, view->TopLine());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(1, 1));
    QCOMPARE(host.Cursor(file).Line, view->TopLine());
    QCOMPARE(int(host.Cursor(file).Col), 1);
    QCOMPARE(moved.last().value(0).toInt(), view->TopLine());

    // The text is the host's: typing changes nothing, an add-in's writer changes what is shown.
    int lines = view->LineCount();
    QTest::keyClicks(view, "x");
    QVERIFY(!host.IsModified(file));
    hostapi::TIToolServices* services = host.CreateToolServices();
    hostapi::TIModuleInterface* module = services->GetModuleInterface(file);
    hostapi::TIEditorInterface* editorIntf = module->GetEditorInterface();
    hostapi::TIEditWriter* writer = editorIntf->CreateWriter();
    writer->Insert("// x\r\n");
    writer->Release();
    editorIntf->Release();
    module->Release();
    services->Release();
    QCOMPARE(view->LineCount(), lines + 1);
    QCOMPARE(view->Line(1), std::string("// x"));
    QCOMPARE(tabs.tabText(0), QString("Unit1.pas *"));
}
