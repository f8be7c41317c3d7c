#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <cstdio>

#include "app/EditorTabs.h"
#include "app/EventSourceNotifiers.h"
#include "app/FormRenderer.h"
#include "app/KeyMap.h"
#include "app/ProjectPanel.h"
#include "app/QtDesktop.h"
#include "app/QtTrayArea.h"
#include "app/TextCodec.h"
#include "app/ToolkitPump.h"
#include "platform/HostFolder.h"
#include "platform/TrayArea.h"
#include "toolkit/Application.h"

namespace workbench {

namespace {

constexpr int RecentProjectLimit = 8;
const char* const RecentProjectsKey = "RecentProjects";

}  // namespace

MainWindow::MainWindow(const WorkbenchOptions& options)
    : options_(options),
      host_(std::make_unique<refhost::Host>()),
      renderer_(std::make_unique<FormRenderer>()),
      desktop_(std::make_unique<QtDesktop>(*renderer_)),
      pump_(std::make_unique<ToolkitPump>(*renderer_)),
      eventSources_(std::make_unique<EventSourceNotifiers>())
{
    setWindowTitle("Quorlin Workbench");
    QDir().mkpath(options_.HomeFolder);
    platform::SetHostFolder(ToCp932(QDir(options_.HomeFolder).absolutePath() + '/'));
    tk::Application::Instance().SetDesktop(desktop_.get());
    trayArea_ = std::make_unique<QtTrayArea>(QSystemTrayIcon::isSystemTrayAvailable(), [this](const QString& warning) {
        std::fprintf(stderr, "quorlin-workbench: %s\n", qPrintable(warning));
        statusBar()->showMessage(warning);
    });
    platform::SetTrayArea(trayArea_.get());
    renderer_->SetOwnerWindow(this);
    host_->SetParentHandle(reinterpret_cast<uintptr_t>(this));
    host_->SetQuerySave([this](const std::string& fileName) { return AskToSave(fileName); });
    host_->AddListener(this);

    auto* splitter = new QSplitter(this);
    projects_ = new ProjectPanel(*host_, splitter);
    tabs_ = new EditorTabs(*host_, splitter);
    splitter->addWidget(projects_);
    splitter->addWidget(tabs_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 800});
    setCentralWidget(splitter);
    positionLabel_ = new QLabel(this);
    statusBar()->addPermanentWidget(positionLabel_);
    connect(tabs_, &EditorTabs::CursorMoved, this, [this](int line, int column) {
        positionLabel_->setText(line > 0 ? QString("Line %1, Col %2").arg(line).arg(column) : QString());
    });

    InstallMenuHandlers();
    LoadAddin(options_.AddinPath);
    BuildMenus();
    if (!options_.ProjectFile.isEmpty()) {
        OpenProject(options_.ProjectFile);
    }
    resize(1000, 700);
}

MainWindow::~MainWindow()
{
    Shutdown();
    // The panels listen to the host, so they go before it does.
    delete takeCentralWidget();
    host_->RemoveListener(this);
}

void MainWindow::LoadAddin(const QString& libraryPath)
{
    toolServices_ = host_->CreateToolServices();
    if (!loader_.Load(libraryPath.toStdString(), toolServices_)) {
        statusBar()->showMessage(tr("Add-in not loaded: %1").arg(QString::fromStdString(loader_.Error())));
    }
}

void MainWindow::Shutdown()
{
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    loader_.Unload();
    renderer_->Sync();
    if (toolServices_) {
        toolServices_->Release();
        toolServices_ = nullptr;
    }
    if (&tk::Application::Instance().GetDesktop() == desktop_.get()) {
        tk::Application::Instance().SetDesktop(nullptr);
    }
    if (&platform::GetTrayArea() == trayArea_.get()) {
        platform::SetTrayArea(nullptr);
    }
}

bool MainWindow::OpenProject(const QString& projectFile)
{
    bool opened = host_->OpenProject(ToCp932(projectFile));
    if (!opened) {
        statusBar()->showMessage(tr("Cannot open %1").arg(projectFile));
    }
    renderer_->Sync();
    return opened;
}

void MainWindow::InstallMenuHandlers()
{
    host_->SetMenuHandler("FileOpenProjectItem", [this] {
        QString file = QFileDialog::getOpenFileName(this, tr("Open Project"), QString(), tr("Projects (*.dpr)"));
        if (!file.isEmpty()) {
            OpenProject(file);
        }
    });
    host_->SetMenuHandler("FileOpenItem", [this] {
        QString file = QFileDialog::getOpenFileName(this, tr("Open"), QString(), tr("Units (*.pas);;All files (*)"));
        if (!file.isEmpty() && host_->OpenFile(ToCp932(file))) {
            host_->ShowFile(ToCp932(file));
        }
    });
    host_->SetMenuHandler("FileCloseItem", [this] {
        std::string fileName = tabs_->FileOf(tabs_->currentWidget());
        if (!fileName.empty()) {
            host_->CloseFile(fileName);
        }
    });
    host_->SetMenuHandler("FileExitItem", [this] { close(); });
    const std::pair<const char*, void (QPlainTextEdit::*)()> editItems[] = {
        {"EditUndoItem", &QPlainTextEdit::undo},   {"EditCutItem", &QPlainTextEdit::cut},
        {"EditCopyItem", &QPlainTextEdit::copy},   {"EditPasteItem", &QPlainTextEdit::paste},
        {"EditSelectAllItem", &QPlainTextEdit::selectAll},
    };
    for (const auto& [name, operation] : editItems) {
        host_->SetMenuHandler(name, [this, operation = operation] {
            if (QPlainTextEdit* editor = tabs_->CurrentEditor()) {
                (editor->*operation)();
            }
        });
    }
}

void MainWindow::ScheduleMenuBuild()
{
    if (menuBuildPending_) {
        return;
    }
    menuBuildPending_ = true;
    QTimer::singleShot(0, this, [this] {
        menuBuildPending_ = false;
        BuildMenus();
    });
}

// The host's menus as they are now; the File menu gains the recent projects before Exit.
void MainWindow::BuildMenus()
{
    QMenuBar* bar = menuBar();
    for (QAction* action : bar->actions()) {
        if (QMenu* menu = action->menu()) {
            menu->deleteLater();
        }
    }
    bar->clear();
    for (const auto& top : host_->MenuRoot().Children) {
        if (!(top->Flags & hostapi::mfVisible)) {
            continue;
        }
        QMenu* menu = bar->addMenu(FromCp932(top->Caption));
        menu->setObjectName(QString::fromStdString(top->Name));
        for (const auto& item : top->Children) {
            if (top->Name == "FileMenu" && item->Name == "FileExitItem") {
                QMenu* recent = menu->addMenu(tr("Reopen"));
                recent->setObjectName("FileReopenMenu");
                for (const QString& project : RecentProjects()) {
                    recent->addAction(project, this, [this, project] { OpenProject(project); });
                }
                recent->setEnabled(!recent->isEmpty());
                menu->addSeparator();
            }
            if (item->Caption == "-") {
                menu->addSeparator()->setObjectName(QString::fromStdString(item->Name));
                continue;
            }
            QAction* action = menu->addAction(FromCp932(item->Caption));
            action->setObjectName(QString::fromStdString(item->Name));
            action->setShortcut(KeySequence(item->ShortCut));
            action->setEnabled(item->Flags & hostapi::mfEnabled);
            action->setVisible(item->Flags & hostapi::mfVisible);
            action->setCheckable(item->Flags & hostapi::mfChecked);
            action->setChecked(item->Flags & hostapi::mfChecked);
            std::string name = item->Name;
            connect(action, &QAction::triggered, this, [this, name] {
                host_->ClickMenuItem(name);
                renderer_->Sync();
            });
        }
    }
}

QStringList MainWindow::RecentProjects() const
{
    QSettings settings(WorkbenchOptions::SettingsFile(options_.HomeFolder), QSettings::IniFormat);
    return settings.value(RecentProjectsKey).toStringList();
}

void MainWindow::AddRecentProject(const QString& projectFile)
{
    QStringList recent = RecentProjects();
    recent.removeAll(projectFile);
    recent.prepend(projectFile);
    while (recent.size() > RecentProjectLimit) {
        recent.removeLast();
    }
    QSettings settings(WorkbenchOptions::SettingsFile(options_.HomeFolder), QSettings::IniFormat);
    settings.setValue(RecentProjectsKey, recent);
}

void MainWindow::ProjectChanged()
{
    std::string project = host_->ProjectName();
    if (project.empty()) {
        setWindowTitle("Quorlin Workbench");
        return;
    }
    QString projectFile = FromCp932(project);
    setWindowTitle(QString("Quorlin Workbench - %1").arg(QFileInfo(projectFile).fileName()));
    AddRecentProject(projectFile);
    ScheduleMenuBuild();
}

void MainWindow::MenuChanged()
{
    ScheduleMenuBuild();
}

void MainWindow::ExceptionRaised(const std::string& message)
{
    statusBar()->showMessage(FromCp932(message));
}

refhost::SaveAnswer MainWindow::AskToSave(const std::string& fileName)
{
    QMessageBox box(QMessageBox::Question, tr("Save changes"),
                    tr("%1 has been modified. Save the changes?").arg(QFileInfo(FromCp932(fileName)).fileName()),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName("QuerySaveBox");
    switch (box.exec()) {
    case QMessageBox::Save: return refhost::SaveAnswer::Save;
    case QMessageBox::Discard: return refhost::SaveAnswer::Discard;
    default: return refhost::SaveAnswer::Cancel;
    }
}

bool MainWindow::ConfirmCloseBuffers()
{
    for (const std::string& fileName : host_->OpenFiles()) {
        if (!host_->IsModified(fileName)) {
            continue;
        }
        refhost::SaveAnswer answer = AskToSave(fileName);
        if (answer == refhost::SaveAnswer::Cancel) {
            return false;
        }
        if (answer == refhost::SaveAnswer::Save && !host_->SaveFile(fileName)) {
            QMessageBox::warning(this, tr("Save"), tr("%1 could not be saved.").arg(FromCp932(fileName)));
            return false;
        }
    }
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!ConfirmCloseBuffers()) {
        event->ignore();
        return;
    }
    Shutdown();
    event->accept();
}

}  // namespace workbench
