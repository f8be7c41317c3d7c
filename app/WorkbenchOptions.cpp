#include "app/WorkbenchOptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace workbench {

WorkbenchOptions WorkbenchOptions::FromArguments(const QStringList& arguments)
{
    WorkbenchOptions options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--addin" || argument == "--home") {
            if (i + 1 >= arguments.size()) {
                options.Error = argument + " needs a value";
                return options;
            }
            (argument == "--addin" ? options.AddinPath : options.HomeFolder) = arguments[++i];
        } else if (argument.startsWith("--")) {
            options.Error = "unknown option " + argument;
            return options;
        } else if (options.ProjectFile.isEmpty()) {
            options.ProjectFile = QDir::current().absoluteFilePath(argument);
        } else {
            options.Error = "only one project can be opened";
            return options;
        }
    }
    if (options.HomeFolder.isEmpty()) {
        options.HomeFolder = DefaultHomeFolder();
    }
    options.HomeFolder = QDir(options.HomeFolder).absolutePath();
    if (options.AddinPath.isEmpty()) {
        QSettings settings(SettingsFile(options.HomeFolder), QSettings::IniFormat);
        options.AddinPath = settings.value("AddinPath", BundledAddin()).toString();
    }
    return options;
}

QString WorkbenchOptions::DefaultHomeFolder()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty()) {
        dataHome = QDir::home().filePath(".local/share");
    }
    return QDir(dataHome).filePath("quorlin");
}

QString WorkbenchOptions::BundledAddin()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QUORLIN_BUNDLED_ADDIN);
}

QString WorkbenchOptions::SettingsFile(const QString& homeFolder)
{
    return QDir(homeFolder).filePath("workbench.ini");
}

}  // namespace workbench
