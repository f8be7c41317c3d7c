// Opens the add-in's tool window in the workbench on a project, as its menu item (Ctrl+F11) does,
// and reports how long the window took to be shown with its unit and routine lists filled, when
// the workbench next answered input without delay, how long the routine list then took to drop
// down, and the peak resident memory. Meant for Qt's
// offscreen platform, from bench/workbench-speed.
//
//   bench_workbench PROJECT.dpr

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "app/FormRenderer.h"
#include "app/FormWindow.h"
#include "app/MainWindow.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

using namespace workbench;

namespace {

// Input is answered without delay when the event loop comes round within this time.
constexpr int PromptMs = 100;
// The workbench counts as settled after this long without a delay.
constexpr int QuietMs = 1000;
constexpr int GiveUpMs = 60000;

// A line of /proc/self/status in MiB, or -1.
double StatusMebibytes(const char* key)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key)) {
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    return -1;
}

// Runs the event loop until condition holds or the time is up; answers whether it held.
bool RunUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

// The combo box's items as the toolkit has them and as the widget shows them.
bool Filled(FormWindow* window, const char* name, int& count)
{
    auto* combo = dynamic_cast<tk::ComboBox*>(window->Form()->FindComponent(name));
    auto* shown = window->findChild<QComboBox*>(name);
    if (!combo || !shown) {
        return false;
    }
    count = combo->Items().Count();
    return shown->count() == count;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_workbench PROJECT.dpr\n");
        return 2;
    }
    QTemporaryDir home;
    WorkbenchOptions options = WorkbenchOptions::FromArguments({"quorlin-workbench", "--home", home.path(), argv[1]});
    QElapsedTimer clock;
    clock.start();
    MainWindow window(options);
    window.show();
    if (!window.Loader().Loaded()) {
        std::fprintf(stderr, "bench_workbench: %s\n", window.Loader().Error().c_str());
        return 1;
    }
    QAction* open = nullptr;
    RunUntil([&] {
        for (QAction* action : window.menuBar()->findChildren<QAction*>()) {
            if (action->objectName() == "EditQuorlinItem") {
                open = action;
            }
        }
        return open != nullptr;
    }, GiveUpMs);
    if (!open) {
        std::fprintf(stderr, "bench_workbench: the add-in's menu item did not appear\n");
        return 1;
    }
    double started = clock.elapsed() / 1000.0;
    double startPeak = StatusMebibytes("VmHWM:");

    clock.restart();
    open->trigger();
    int units = 0;
    int routines = 0;
    bool shown = RunUntil([&] {
        FormWindow* tool = window.Renderer().FindWindow("CodeForm");
        return tool && tool->isVisible() && Filled(tool, "UnitCombo", units) && Filled(tool, "MethodCombo", routines);
    }, GiveUpMs);
    double opened = clock.elapsed() / 1000.0;
    if (!shown) {
        std::fprintf(stderr, "bench_workbench: the tool window was not shown with its lists in %d s\n", GiveUpMs / 1000);
        return 1;
    }

    // A timer every 10 ms: the workbench has settled once it fired on time for a whole second.
    qint64 last = clock.elapsed();
    qint64 settled = last;
    QTimer ping;
    QObject::connect(&ping, &QTimer::timeout, [&] {
        qint64 now = clock.elapsed();
        if (now - last > PromptMs) {
            settled = now;
        }
        last = now;
    });
    ping.start(10);
    RunUntil([&] { return clock.elapsed() - settled >= QuietMs || clock.elapsed() > GiveUpMs; }, GiveUpMs + QuietMs);
    bool quiet = clock.elapsed() - settled >= QuietMs;

    // The person's next step: dropping the routine list down.
    auto* routineBox = window.Renderer().FindWindow("CodeForm")->findChild<QComboBox*>("MethodCombo");
    clock.restart();
    routineBox->showPopup();
    RunUntil([&] { return routineBox->view()->isVisible(); }, GiveUpMs);
    double droppedDown = clock.elapsed() / 1000.0;
    routineBox->hidePopup();

    std::printf("workbench started in %.2f s, peak %.1f MiB\n", started, startPeak);
    std::printf("tool window shown with %d units and %d routines in %.3f s\n", units, routines, opened);
    if (quiet) {
        std::printf("answering input without delay after %.3f s\n", settled / 1000.0);
    } else {
        std::printf("still busy after %d s\n", GiveUpMs / 1000);
    }
    std::printf("routine list dropped down in %.3f s\n", droppedDown);
    std::printf("peak resident %.1f MiB, resident now %.1f MiB\n", StatusMebibytes("VmHWM:"), StatusMebibytes("VmRSS:"));
    return quiet ? 0 : 1;
}
