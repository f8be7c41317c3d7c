#include <QApplication>
#include <cstdio>

#include "app/MainWindow.h"
#include "app/WorkbenchOptions.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("quorlin-workbench");
    workbench::WorkbenchOptions options = workbench::WorkbenchOptions::FromArguments(QApplication::arguments());
    if (!options.Error.isEmpty()) {
        std::fprintf(stderr, "quorlin-workbench: %s\nusage: quorlin-workbench [--addin PATH] [--home DIR] [PROJECT.dpr]\n",
                     qPrintable(options.Error));
        return 2;
    }
    workbench::MainWindow window(options);
    window.show();
    return application.exec();
}
