#include <QApplication>

#include <QEventLoop>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>

#include "WorkbenchTests.h"

bool WaitUntil(const std::function<bool()>& condition)
{
    for (int turn = 0; turn < 200 && !condition(); ++turn) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return condition();
}

void TypeText(QWidget* widget, const QString& text)
{
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text, Qt::NoModifier);
}

// All test classes in one program, so the add-in is loaded once per process, as in a host.
int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // The workbench's tool window takes part in messages between programs: on a bus of its own.
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    int failures = 0;
    {
        WorkbenchPartsTest parts;
        failures += QTest::qExec(&parts, argc, argv);
    }
    {
        FormRendererTest renderer;
        failures += QTest::qExec(&renderer, argc, argv);
    }
    {
        GridWidgetsTest grids;
        failures += QTest::qExec(&grids, argc, argv);
    }
    {
        EditorTabsTest tabs;
        failures += QTest::qExec(&tabs, argc, argv);
    }
    {
        WorkbenchTest workbench;
        failures += QTest::qExec(&workbench, argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
