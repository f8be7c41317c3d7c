#include <QDir>
#include <QFile>
#include <QTest>

#include "WorkbenchTests.h"
#include "app/DesignerPanel.h"
#include "app/TextCodec.h"
#include "hostapi/HostRef.h"
#include "refhost/RefHost.h"

using namespace workbench;

namespace {

QString Value(QTableWidget& table, const QString& property)
{
    for (int row = 0; row < table.rowCount(); ++row) {
        if (table.item(row, 0)->text() == property)
            return table.item(row, 2)->text();
    }
    return "<missing>";
}

QStringList Tree(QTreeWidget& tree)
{
    QStringList lines;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
        int depth = 0;
        for (QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent())
            ++depth;
        lines << QString(depth * 2, ' ') + (*it)->text(0) + ": " + (*it)->text(1);
    }
    return lines;
}

QTreeWidgetItem* Item(QTreeWidget& tree, const QString& name)
{
    QList<QTreeWidgetItem*> found = tree.findItems(name, Qt::MatchExactly | Qt::MatchRecursive, 0);
    return found.isEmpty() ? nullptr : found.front();
}

void Write(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

}  // namespace

void DesignerPanelTest::FollowsTheUnitInFrontAndItsSelection()
{
    QTemporaryDir folder;
    for (const char* name : {"MainForm.pas", "MainForm.dfm", "Shapes.pas"})
        QFile::copy(QString(QUORLIN_SOURCE_DIR "/examples/Sample/") + name, folder.filePath(name));
    std::string unit = ToCp932(folder.filePath("MainForm.pas"));
    refhost::Host host;
    DesignerPanel panel(host);
    QVERIFY(panel.Unit().empty());

    // Opening a unit opens its form: the tree of components and the form's properties.
    QVERIFY(host.OpenFile(unit));
    QCOMPARE(panel.Unit(), unit);
    QCOMPARE(Tree(panel.Components()), (QStringList{"Form1: TForm1", "  Label1: TLabel", "  Edit1: TEdit",
                                                    "  Button1: TButton", "  Memo1: TMemo"}));
    QCOMPARE(Value(panel.Properties(), "Caption"), QString::fromUtf8("サンプル"));

    // A choice in the tree is the designer's selection; the table shows the first one chosen.
    panel.Components().setCurrentItem(Item(panel.Components(), "Button1"));
    QCOMPARE(host.SelectedComponents(unit), std::vector<std::string>{"Button1"});
    QCOMPARE(Value(panel.Properties(), "Caption"), QString::fromUtf8("加える"));
    QCOMPARE(Value(panel.Properties(), "OnClick"), QString("Button1Click"));
    QCOMPARE(Value(panel.Properties(), "Enabled"), QString("True"));

    // A selection made through the host (the add-in's Focus) shows in the tree.
    QVERIFY(host.SelectComponents(unit, {"Memo1"}));
    QCOMPARE(panel.Components().selectedItems().size(), 1);
    QCOMPARE(panel.Components().selectedItems().front()->text(0), QString("Memo1"));
    QCOMPARE(Value(panel.Properties(), "Name"), QString("Memo1"));

    // A rename shows at once.
    {
        hostapi::HostRef services(host.CreateToolServices());
        hostapi::HostRef module(services->GetModuleInterface(unit));
        hostapi::HostRef form(module->GetFormInterface());
        hostapi::HostRef memo(form->FindComponent("Memo1"));
        hostapi::TPropValue name;
        name.Text = "LogMemo";
        QVERIFY(memo->SetPropByName("Name", name));
    }
    QVERIFY(Item(panel.Components(), "LogMemo"));
    QVERIFY(!Item(panel.Components(), "Memo1"));

    // A unit without a form, and a damaged form, which is said.
    QVERIFY(host.OpenFile(ToCp932(folder.filePath("Shapes.pas"))));
    QVERIFY(panel.Unit().empty());
    QCOMPARE(panel.Components().topLevelItemCount(), 0);
    Write(folder.filePath("Broken.pas"), "unit Broken;\r\nend.\r\n");
    Write(folder.filePath("Broken.dfm"), "object Form1: TForm1\r\n  Left = \r\n");
    QVERIFY(host.OpenFile(ToCp932(folder.filePath("Broken.pas"))));
    QCOMPARE(panel.Components().topLevelItemCount(), 0);
    QVERIFY(panel.Problem().contains("Broken.dfm: damaged form at offset 33"));
    QVERIFY(host.ShowFile(unit));
    QVERIFY(Item(panel.Components(), "LogMemo"));
    QVERIFY(panel.Problem().isEmpty());
}
