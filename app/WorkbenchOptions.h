#pragma once
// What a workbench starts with: the add-in library, the data folder the add-in keeps its files in,
// and the project to open; from the command line, a per-user settings file and defaults.

#include <QString>
#include <QStringList>

namespace workbench {

struct WorkbenchOptions {
    QString AddinPath;    // the add-in's shared library
    QString HomeFolder;   // where the add-in and the workbench keep their files
    QString ProjectFile;  // opened at start-up when not empty
    QString Error;        // set when the command line is wrong

    // quorlin-workbench [--addin PATH] [--home DIR] [PROJECT.dpr]. The add-in comes from --addin,
    // else the setting "AddinPath" in the home folder's workbench.ini, else the bundled library
    // beside the program; the home folder from --home, else $XDG_DATA_HOME/quorlin.
    static WorkbenchOptions FromArguments(const QStringList& arguments);
    static QString DefaultHomeFolder();
    static QString BundledAddin();
    static QString SettingsFile(const QString& homeFolder);
};

}  // namespace workbench
