#pragma once
// The workbench's test classes, run by Main.cpp.

#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>
#include <QTemporaryDir>
#include <memory>
#include <string>

namespace workbench {
class FormRenderer;
class FormWindow;
class MainWindow;
class QtDesktop;
class ToolkitPump;
}

// Runs the event loop in short blocking turns, so the toolkit's idle processing (driven when the
// loop is about to wait) takes place, until condition holds; answers whether it did.
bool WaitUntil(const std::function<bool()>& condition);
// Text arriving in one key event, as a keyboard layout or an input method delivers Japanese.
void TypeText(QWidget* widget, const QString& text);

// Pieces that need no window: options, the add-in loader's failures, keys and dialog filters.
class WorkbenchPartsTest : public QObject {
    Q_OBJECT
private slots:
    void OptionsFromArguments();
    void LoaderReportsLibrariesItCannotUse();
    void KeysAndShortCuts();
    void DialogFilters();
    void Cp932Offsets();
    void DesktopWithoutNotificationArea();
};

// Toolkit forms made by the test, shown by the real renderer and desktop.
class FormRendererTest : public QObject {
    Q_OBJECT
public:
    FormRendererTest();
    ~FormRendererTest() override;

private slots:
    void init();
    void cleanup();
    void ControlsAppearAtTheirBoundsAndFollowTheToolkit();
    void InputReachesTheToolkit();
    void MenuBarFollowsTheMenuAndItsShortcutsWork();
    void ModalRunsEndWithTheFormsResult();
    void PopupMenusClickTheChosenItem();
    void OwnerDrawnComboMeasuresCp932TextWithQtFonts();
    void CaptionHooksCloseAndRelease();
    void DesktopMessagesAndCursor();
    void TypingIntoMemoAndEditKeepsTheCaret();

private:
    std::unique_ptr<workbench::FormRenderer> renderer_;
    std::unique_ptr<workbench::QtDesktop> desktop_;
    std::unique_ptr<workbench::ToolkitPump> pump_;
};

// The grid, page control and check-list box of the control library, shown by the real renderer.
class GridWidgetsTest : public QObject {
    Q_OBJECT
public:
    GridWidgetsTest();
    ~GridWidgetsTest() override;

private slots:
    void init();
    void cleanup();
    void ControlGridRowsFollowTheArrowKeys();
    void PageTabsAndCheckListFollowClicks();

private:
    std::unique_ptr<workbench::FormRenderer> renderer_;
    std::unique_ptr<workbench::QtDesktop> desktop_;
    std::unique_ptr<workbench::ToolkitPump> pump_;
};

// Editor tabs over a reference host, changed from both sides.
class EditorTabsTest : public QObject {
    Q_OBJECT
private slots:
    void ShowsCp932BufferAndFollowsTheHostsView();
    void UserEditsReachTheHost();
    void ClosingAModifiedTabAsks();
    void BigBufferHasALightViewThatFollowsTheHost();
};

// The designer panel over a reference host.
class DesignerPanelTest : public QObject {
    Q_OBJECT
private slots:
    void FollowsTheUnitInFrontAndItsSelection();
};

// The whole workbench on the sample project, driven through its widgets.
class WorkbenchTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void StartsWithHostMenusProjectAndAddin();
    void ToolWindowJumpsToChosenRoutine();
    void DisplayModesSizeTheWindow();
    void CaptionShowsDateAndOffersItsMenu();
    void InsertMenuEditsTheUnitInItsEditor();
    void JumpHistoryJumpsAgain();
    void ClassWindowAppendsItsDefinitionToTheMemo();
    void VersionWindowStoresTheRecordWithF5();
    void ClosingProjectAsksForUnsavedBuffersAndEmptiesLists();
    void TrayIconAndMessagesFromOtherPrograms();
    void TaskTreeTakesDroppedFilesEditsLabelsAndMovesNodes();
    void TaskMemoSavedUnderATypedNameGetsTheTextExtension();
    void ExitAsksThenUnloadsAddin();
    void cleanupTestCase();

public:
    WorkbenchTest();
    ~WorkbenchTest() override;

private:
    workbench::FormWindow* ToolWindow() const;

    QTemporaryDir home_;
    QTemporaryDir projectFolder_;
    QString projectFile_;
    QString routine_;       // the routine chosen in the tool window
    std::string unitFile_;  // the unit it is in
    int routineLine_ = 0;   // the line of its header
    std::unique_ptr<workbench::MainWindow> window_;
};
