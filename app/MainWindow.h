#pragma once
// The workbench's IDE window, the host: the host's menus, the project panel, one editor tab per
// open buffer and a status bar with the cursor's line and column. It installs the Qt desktop,
// loads the add-in at start-up and unloads it at exit; unsaved buffers are never closed unasked.

#include <QLabel>
#include <QMainWindow>
#include <memory>

#include "app/AddinLoader.h"
#include "app/WorkbenchOptions.h"
#include "refhost/RefHost.h"

namespace workbench {

class EditorTabs;
class EventSourceNotifiers;
class FormRenderer;
class ProjectPanel;
class QtDesktop;
class QtTrayArea;
class ToolkitPump;

class MainWindow : public QMainWindow, public refhost::HostListener {
    Q_OBJECT
public:
    explicit MainWindow(const WorkbenchOptions& options);
    ~MainWindow() override;

    refhost::Host& Host() { return *host_; }
    FormRenderer& Renderer() { return *renderer_; }
    EditorTabs& Tabs() { return *tabs_; }
    ProjectPanel& Projects() { return *projects_; }
    const AddinLoader& Loader() const { return loader_; }
    QtTrayArea& TrayArea() { return *trayArea_; }
    QString PositionText() const { return positionLabel_->text(); }
    QStringList RecentProjects() const;

    bool OpenProject(const QString& projectFile);
    // Asks about every modified buffer; false when the person cancelled.
    bool ConfirmCloseBuffers();
    // Terminates and releases the add-in and uninstalls the desktop; runs once.
    void Shutdown();

    void ProjectChanged() override;
    void MenuChanged() override;
    void ExceptionRaised(const std::string& message) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void LoadAddin(const QString& libraryPath);
    void BuildMenus();
    void ScheduleMenuBuild();
    void InstallMenuHandlers();
    void AddRecentProject(const QString& projectFile);
    refhost::SaveAnswer AskToSave(const std::string& fileName);

    WorkbenchOptions options_;
    std::unique_ptr<refhost::Host> host_;
    std::unique_ptr<FormRenderer> renderer_;
    std::unique_ptr<QtDesktop> desktop_;
    std::unique_ptr<ToolkitPump> pump_;
    std::unique_ptr<QtTrayArea> trayArea_;
    std::unique_ptr<EventSourceNotifiers> eventSources_;
    AddinLoader loader_;
    hostapi::TIToolServices* toolServices_ = nullptr;
    EditorTabs* tabs_;
    ProjectPanel* projects_;
    QLabel* positionLabel_;
    bool menuBuildPending_ = false;
    bool shutDown_ = false;
};

}  // namespace workbench
