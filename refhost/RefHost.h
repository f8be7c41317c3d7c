#pragma once
// The reference host: an IDE host over files on disk. It owns the project, the editor buffers, the
// main menu and the registered notifiers, hands them to an add-in through hostapi::TIToolServices,
// and lets front ends (the workbench, the command line, tests) see and change the same state.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hostapi/ToolIntf.h"

namespace refhost {

class Catalogue;
class EditBuffer;
class FormDesigner;
struct HostLink;

// How a file broke its lines on disk; buffers always hold CR LF and saving writes this style back.
enum class LineBreak : uint8_t { CrLf, Lf, Cr };

// The answer of a front end asked whether a modified buffer should be saved before it closes.
enum class SaveAnswer { Save, Discard, Cancel };

// One item of the main menu as front ends see it. The root has an empty name and the top-level
// menus as children. Children are shared so that item objects handed to the add-in stay valid after
// the item left the tree; a removed item has no parent.
struct MenuNode {
    std::string Name;
    std::string Caption;
    std::string Hint;
    hostapi::TShortCut ShortCut = 0;
    hostapi::TIMenuFlags Flags = 0;
    MenuNode* Parent = nullptr;
    std::vector<std::shared_ptr<MenuNode>> Children;
    hostapi::TIMenuClickEvent OnClick;  // set for items an add-in inserted
};

// Front ends learn of changes here. Every method does nothing unless overridden. Changes a front
// end makes through the Host's setters are not reported back to listeners.
class HostListener {
public:
    virtual ~HostListener() = default;
    virtual void ProjectChanged() {}
    virtual void BufferOpened(const std::string& /*fileName*/) {}
    virtual void BufferClosed(const std::string& /*fileName*/) {}
    // The text was replaced by an add-in (a writer was released, a module was created).
    virtual void BufferChanged(const std::string& /*fileName*/) {}
    // Cursor, top line or selected block moved by an add-in.
    virtual void ViewChanged(const std::string& /*fileName*/) {}
    virtual void CurrentFileChanged(const std::string& /*fileName*/) {}
    virtual void MenuChanged() {}
    virtual void ExceptionRaised(const std::string& /*message*/) {}
    // A unit's form changed (a component renamed), or the designer's selection moved.
    virtual void FormChanged(const std::string& /*unitFile*/) {}
    virtual void SelectionChanged(const std::string& /*unitFile*/) {}
};

// The host state. File names are handled as full, normalised paths: a relative name is taken from
// the working folder, '\' separates folders like '/', and "." and ".." parts are resolved.
class Host {
public:
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // A new tool-services object over this host with a reference count of 1; the caller releases it.
    hostapi::TIToolServices* CreateToolServices();

    static std::string NormalizeFileName(const std::string& fileName);

    // Front ends.
    void AddListener(HostListener* listener);
    void RemoveListener(HostListener* listener);
    // Asked when a modified buffer is to be closed; without it such a buffer is never closed.
    void SetQuerySave(std::function<SaveAnswer(const std::string& fileName)> querySave);
    uintptr_t ParentHandle() const;
    void SetParentHandle(uintptr_t handle);
    const std::vector<std::string>& Exceptions() const;
    void ClearExceptions();

    // Projects. OpenProject closes the open project first and sends fnProjectOpened; CloseProject
    // sends fnProjectClosing before it closes; AddToProject sends fnAddedToProject.
    bool OpenProject(const std::string& projectFile);
    bool CloseProject();
    bool SaveProject();
    bool AddToProject(const std::string& fileName);
    std::string ProjectName() const;
    // The project file first, then its units' files, as GetUnitName answers them.
    std::vector<std::string> UnitNames() const;
    // One of them without making the list, empty outside it; so the count and each name cost
    // the same for any number of units.
    int UnitCount() const;
    std::string UnitName(int index) const;
    // The form files (.dfm) beside the project's units, as the files are now.
    std::vector<std::string> FormNames() const;
    // The count looks at the files; a name comes from the list the last look made (a new one when
    // the units changed since), so counting once and asking every name costs one look, not one a name.
    int FormCount() const;
    std::string FormName(int index) const;

    // Editor buffers.
    bool OpenFile(const std::string& fileName);
    // The same; reason says why a file that is not open could not be read.
    bool OpenFile(const std::string& fileName, std::string& reason);
    bool IsFileOpen(const std::string& fileName) const;
    // A modified buffer closes only when the query-save callback answers Save (and saving works)
    // or Discard.
    bool CloseFile(const std::string& fileName);
    bool SaveFile(const std::string& fileName);
    bool SaveAll();
    // Opens moduleName (a missing file becomes a new, modified buffer holding source); honours
    // cmAddToProject, cmShowSource and cmMarkModified.
    bool CreateModule(const std::string& moduleName, const std::string& source,
                      hostapi::TCreateModuleFlags flags);
    std::vector<std::string> OpenFiles() const;
    // The file in front; empty when none is open.
    std::string CurrentFile() const;
    // Brings an open file to the front and tells listeners, also when it already was in front.
    bool ShowFile(const std::string& fileName);

    // One open buffer; empty or default answers for a file that is not open.
    std::string Text(const std::string& fileName) const;
    // Text edited by the user; line breaks are made CR LF and the buffer is marked modified.
    bool SetText(const std::string& fileName, const std::string& text);
    bool IsModified(const std::string& fileName) const;
    LineBreak LineBreakStyle(const std::string& fileName) const;
    int LineCount(const std::string& fileName) const;
    hostapi::TEditPos Cursor(const std::string& fileName) const;
    hostapi::TEditPos TopLine(const std::string& fileName) const;
    hostapi::TEditPos BlockStart(const std::string& fileName) const;
    hostapi::TEditPos BlockAfter(const std::string& fileName) const;
    void SetCursor(const std::string& fileName, hostapi::TEditPos pos);
    void SetTopLine(const std::string& fileName, hostapi::TEditPos pos);
    void SetBlock(const std::string& fileName, hostapi::TEditPos start, hostapi::TEditPos after);

    // Forms. fileName is a unit or its form file; the form is read when first asked for and kept
    // with its changes until the unit is closed, and saved with the unit. Null for a unit without a
    // form or with a damaged one; FormProblem then says what is wrong, naming file and offset.
    std::shared_ptr<FormDesigner> Designer(const std::string& fileName);
    std::string FormProblem(const std::string& fileName) const;
    // The designer's selection, by component names; false when a name is not on the form.
    bool SelectComponents(const std::string& fileName, const std::vector<std::string>& names);
    std::vector<std::string> SelectedComponents(const std::string& fileName);
    // Renames a component as the designer does: the form file and the unit's class declaration.
    bool RenameComponent(const std::shared_ptr<FormDesigner>& designer, int index, const std::string& newName);
    // The installed packages and component classes: the host's catalogue and the *.cat files of
    // the host folder at the first call.
    const Catalogue& Components();

    // The main menu. Items without an add-in click handler run the handler a front end set for
    // their name, else the host's own operation where there is one (close project, save, save all).
    const MenuNode& MenuRoot() const;
    void SetMenuHandler(const std::string& itemName, std::function<void()> handler);
    // False when no enabled, visible item answers.
    bool ClickMenuItem(const std::string& itemName);
    bool PressShortCut(hostapi::TShortCut shortCut);

    // Notifiers: registered ones hold a reference.
    bool AddNotifier(hostapi::TIAddInNotifier* notifier);
    bool RemoveNotifier(hostapi::TIAddInNotifier* notifier);
    int NotifierCount() const;
    void RaiseException(const std::string& message);

    // Used by the host's own objects.
    std::shared_ptr<EditBuffer> FindBuffer(const std::string& fileName) const;
    void BufferTextReplaced(const EditBuffer& buffer);
    void ViewMoved(const EditBuffer& buffer);
    void MenuTreeChanged();
    std::shared_ptr<MenuNode> RootNode() const;

private:
    struct State;
    std::unique_ptr<State> state_;
    std::shared_ptr<HostLink> link_;

    void Notify(int code, const std::string& fileName);
    void AddToProjectSource(const std::string& unitFile);
    bool CloseBuffer(const std::shared_ptr<EditBuffer>& buffer, bool askToSave);
    bool SaveBuffer(const std::shared_ptr<EditBuffer>& buffer);
    bool OpenBuffer(const std::string& fileName, bool makeCurrent, std::string* reason = nullptr);
    void MakeCurrent(const std::string& fileName);
    bool ClickNode(const std::shared_ptr<MenuNode>& node);
    template <class F>
    void Tell(F call);
};

// What the host's objects hold to reach the host: emptied when the host is destroyed, so objects
// that outlive it answer empty results instead of touching freed memory.
struct HostLink {
    Host* host = nullptr;
};

}  // namespace refhost
