#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include "WorkbenchTests.h"
#include "app/AddinLoader.h"
#include "app/EditorTabs.h"
#include "app/KeyMap.h"
#include "app/QtDesktop.h"
#include "app/QtTrayArea.h"
#include "app/TextCodec.h"
#include "app/WorkbenchOptions.h"

using namespace workbench;

void WorkbenchPartsTest::OptionsFromArguments()
{
    QTemporaryDir home;
    WorkbenchOptions given = WorkbenchOptions::FromArguments(
        {"quorlin-workbench", "--addin", "/opt/addins/libother.so", "--home", home.path(), "Sample.dpr"});
    QVERIFY(given.Error.isEmpty());
    QCOMPARE(given.AddinPath, QString("/opt/addins/libother.so"));
    QCOMPARE(given.HomeFolder, QDir(home.path()).absolutePath());
    QCOMPARE(given.ProjectFile, QDir::current().absoluteFilePath("Sample.dpr"));

    WorkbenchOptions bundled = WorkbenchOptions::FromArguments({"quorlin-workbench", "--home", home.path()});
    QCOMPARE(bundled.AddinPath, WorkbenchOptions::BundledAddin());
    QVERIFY(bundled.ProjectFile.isEmpty());
    {
        QSettings settings(WorkbenchOptions::SettingsFile(home.path()), QSettings::IniFormat);
        settings.setValue("AddinPath", "/from/settings/libquorlin.so");
    }
    WorkbenchOptions fromSettings = WorkbenchOptions::FromArguments({"quorlin-workbench", "--home", home.path()});
    QCOMPARE(fromSettings.AddinPath, QString("/from/settings/libquorlin.so"));

    QVERIFY(!WorkbenchOptions::FromArguments({"quorlin-workbench", "--home"}).Error.isEmpty());
    QVERIFY(!WorkbenchOptions::FromArguments({"quorlin-workbench", "--verbose"}).Error.isEmpty());
    QVERIFY(!WorkbenchOptions::FromArguments({"quorlin-workbench", "a.dpr", "b.dpr"}).Error.isEmpty());
}

void WorkbenchPartsTest::LoaderReportsLibrariesItCannotUse()
{
    AddinLoader missing;
    QVERIFY(!missing.Load("/nonexistent/libnothing.so", nullptr));
    QVERIFY(!missing.Loaded());
    QVERIFY(!missing.Error().empty());

    AddinLoader notAnAddin;
    QString platformLibrary = QDir(QCoreApplication::applicationDirPath()).filePath("libquorlin_platform.so");
    QVERIFY(!notAnAddin.Load(platformLibrary.toStdString(), nullptr));
    QVERIFY(!notAnAddin.Loaded());
    QVERIFY(QString::fromStdString(notAnAddin.Error()).contains("INITEXPERT0017"));
}

void WorkbenchPartsTest::KeysAndShortCuts()
{
    QCOMPARE(KeySequence(0x407A), QKeySequence(Qt::CTRL | Qt::Key_F11));
    QCOMPARE(KeySequence(tk::scCtrl | 'S'), QKeySequence(Qt::CTRL | Qt::Key_S));
    QCOMPARE(KeySequence(tk::scShift | tk::VK_F12), QKeySequence(Qt::SHIFT | Qt::Key_F12));
    QCOMPARE(KeySequence(tk::VK_F6), QKeySequence(Qt::Key_F6));
    QVERIFY(KeySequence(0).isEmpty());

    QKeyEvent ctrlF11(QEvent::KeyPress, Qt::Key_F11, Qt::ControlModifier);
    QCOMPARE(ShortCutOf(ctrlF11), tk::ShortCut(0x407A));
    QKeyEvent shiftTab(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(ShortCutOf(shiftTab), tk::ShortCut(tk::scShift | tk::VK_TAB));
    QCOMPARE(VirtualKey(Qt::Key_Enter), tk::VK_RETURN);
    QCOMPARE(VirtualKey(Qt::Key_Down), tk::VK_DOWN);
    QCOMPARE(VirtualKey(Qt::Key_A), uint16_t('A'));
    QCOMPARE(VirtualKey(Qt::Key_Eacute), uint16_t(0));
}

void WorkbenchPartsTest::DialogFilters()
{
    QCOMPARE(QtDesktop::NameFilters("Pascal|*.pas;*.dpr|All|*.*"), QString("Pascal (*.pas *.dpr);;All (*.*)"));
    std::string japanese = platform::Utf8ToCp932("テキスト") + "|*.txt";
    QCOMPARE(QtDesktop::NameFilters(japanese), QString::fromUtf8("テキスト (*.txt)"));
    QVERIFY(QtDesktop::NameFilters("").isEmpty());
}

// Toolkit and host positions count code page 932 bytes (CR LF in memos); Qt counts characters.
void WorkbenchPartsTest::Cp932Offsets()
{
    QString text = QString::fromUtf8("aあb\nc");
    QCOMPARE(Cp932Offset(text, 2), 3);
    QCOMPARE(Cp932Offset(text, 4, true), 6);
    QCOMPARE(QtIndex(text, 6, true), 4);
    QCOMPARE(QtIndex(text, 2), 1);
    QCOMPARE(QtIndex(text, 3), 2);

    QTextDocument document(text);
    QTextCursor cursor(&document);
    hostapi::TEditPos afterKana = EditPosOf(cursor, 2);
    QCOMPARE(afterKana.Line, 1);
    QCOMPARE(int(afterKana.Col), 4);
    QCOMPARE(TextPositionOf(document, {4, 1}), 2);
    QCOMPARE(TextPositionOf(document, {1, 2}), 4);
    QCOMPARE(TextPositionOf(document, {1, 99}), 4);

    // CR LF becomes LF; a CR of its own stays, also at the end, and so does a two-byte character
    // before the break.
    QCOMPARE(FromCp932Lines("a\r\n\x82\xa0\r\nb\rc\r"), QString::fromUtf8("a\nあ\nb\rc\r"));
    QCOMPARE(FromCp932Lines("\r\n\r\n"), QString("\n\n"));
}

void WorkbenchPartsTest::DesktopWithoutNotificationArea()
{
    QStringList warnings;
    workbench::QtTrayArea tray(false, [&](const QString& warning) { warnings << warning; });
    platform::NotifyIconData data;
    data.Id = 1;
    QVERIFY(!tray.Notify(platform::TrayRequest::Add, data));
    data.Id = 2;
    QVERIFY(!tray.Notify(platform::TrayRequest::Add, data));
    QCOMPARE(warnings.size(), 1);
    QVERIFY(warnings[0].contains("no notification area"));
    QVERIFY(tray.Icons().empty());
}
