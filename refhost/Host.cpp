#include "RefHost.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>

#include "Catalogue.h"
#include "EditBuffer.h"
#include "FormDesigner.h"
#include "HostObjects.h"
#include "ProjectFile.h"
#include "forms/BinaryForm.h"
#include "forms/FormFile.h"
#include "platform/Cp932.h"
#include "platform/FilePath.h"
#include "platform/FileWrite.h"
#include "platform/HostFolder.h"

namespace refhost {

struct Host::State {
    std::vector<HostListener*> listeners;
    std::function<SaveAnswer(const std::string&)> querySave;
    uintptr_t parentHandle = 0;
    std::vector<std::string> exceptions;
    std::string projectFile;
    std::vector<std::string> units;
    std::vector<std::string> forms;  // as the last look at the files found them
    bool formsLooked = false;        // since the units last changed
    std::vector<std::shared_ptr<EditBuffer>> buffers;
    std::string currentFile;
    std::shared_ptr<MenuNode> menuRoot = BuildMainMenu();
    std::map<std::string, std::function<void()>> menuHandlers;
    std::vector<hostapi::TIAddInNotifier*> notifiers;
    std::unique_ptr<Catalogue> catalogue;
    std::map<std::string, std::shared_ptr<FormDesigner>> designers;  // by form file
    std::map<std::string, std::string> formProblems;                 // by form file
};

namespace {

// reason, when given, says why the file could not be read.
bool ReadableFile(const std::string& fileName, std::string& text, std::string* reason = nullptr)
{
    // A folder or other special file is refused by the read.
    std::string unreadable = fileName.empty() ? std::strerror(ENOENT) : "";
    bool read = unreadable.empty() && platform::ReadWholeFile(fileName, text, unreadable);
    if (reason)
        *reason = unreadable;
    return read;
}

bool IsFormFileName(const std::string& fileName)
{
    return platform::SameText(platform::ExtractFileExt(fileName), ".dfm");
}

// A form file in the binary form is edited in the text form, as an IDE shows it, and saved in its
// own form again: the stream written from the text, in the file's resource wrapping. Any other
// file, a damaged form too, is edited as its bytes.
std::shared_ptr<EditBuffer> NewBuffer(const std::string& fileName, std::string bytes)
{
    forms::FormFile form;
    forms::FormError error;
    if (!IsFormFileName(fileName) || !forms::ReadFormFile(bytes, form, error) || form.Format == forms::FormFormat::Text)
        return std::make_shared<EditBuffer>(fileName, std::move(bytes));
    auto buffer = std::make_shared<EditBuffer>(fileName, forms::FormFileAsText(form));
    buffer->SetEncoder([wrapping = std::move(form)](const std::string& text, std::string& out) {
        forms::FormObject root;
        forms::FormError textError;
        if (!forms::ReadTextForm(text, false, root, textError))
            return false;
        out = forms::FormFileWithStream(wrapping, forms::WriteBinaryForm(root));
        return true;
    });
    return buffer;
}

std::shared_ptr<MenuNode> FindNode(const std::shared_ptr<MenuNode>& node,
                                   const std::function<bool(const MenuNode&)>& match)
{
    for (const auto& child : node->Children) {
        if (match(*child))
            return child;
        if (auto found = FindNode(child, match))
            return found;
    }
    return nullptr;
}

bool Clickable(const MenuNode& node)
{
    hostapi::TIMenuFlags wanted = hostapi::mfEnabled | hostapi::mfVisible;
    return (node.Flags & wanted) == wanted;
}

}  // namespace

Host::Host() : state_(std::make_unique<State>()), link_(std::make_shared<HostLink>())
{
    link_->host = this;
}

Host::~Host()
{
    link_->host = nullptr;
    for (const auto& buffer : state_->buffers)
        buffer->MarkClosed();
    for (const auto& [name, designer] : state_->designers)
        designer->MarkClosed();
    std::vector<hostapi::TIAddInNotifier*> notifiers;
    notifiers.swap(state_->notifiers);
    for (hostapi::TIAddInNotifier* notifier : notifiers)
        notifier->Release();
}

hostapi::TIToolServices* Host::CreateToolServices()
{
    return NewToolServices(link_);
}

namespace {

// Absolute, '/' only, and no empty, "." or ".." part but a trailing one: the form that
// NormalizeFileName gives. Names mostly arrive so, and the full path arithmetic is costly.
bool IsNormalFileName(std::string_view name)
{
    if (name.empty() || name.front() != '/' || name.find('\\') != std::string_view::npos)
        return false;
    for (size_t start = 1; start < name.size();) {
        size_t end = std::min(name.find('/', start), name.size());
        std::string_view part = name.substr(start, end - start);
        if (part == "." || part == ".." || (part.empty() && end < name.size()))
            return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

std::string Host::NormalizeFileName(const std::string& fileName)
{
    if (fileName.empty() || IsNormalFileName(fileName))
        return fileName;
    std::string name = fileName;
    std::replace(name.begin(), name.end(), '\\', '/');
    std::error_code error;
    if (name.front() != '/') {
        // The usual relative name, "./dir/file" or "dir/file", joined to the working folder without
        // the path arithmetic.
        std::string_view rest(name);
        while (rest.starts_with("./"))
            rest.remove_prefix(2);
        std::string joined = std::filesystem::current_path(error).string();
        if (!error && !rest.empty()) {
            joined.append("/").append(rest);
            if (IsNormalFileName(joined))
                return joined;
        }
    }
    std::filesystem::path path(name);
    if (path.is_relative()) {
        path = std::filesystem::current_path(error) / path;
    }
    return path.lexically_normal().string();
}

template <class F>
void Host::Tell(F call)
{
    std::vector<HostListener*> listeners = state_->listeners;
    for (HostListener* listener : listeners) {
        const auto& current = state_->listeners;
        if (std::find(current.begin(), current.end(), listener) != current.end())
            call(*listener);
    }
}

void Host::AddListener(HostListener* listener)
{
    if (listener && std::find(state_->listeners.begin(), state_->listeners.end(), listener) == state_->listeners.end())
        state_->listeners.push_back(listener);
}

void Host::RemoveListener(HostListener* listener)
{
    std::erase(state_->listeners, listener);
}

void Host::SetQuerySave(std::function<SaveAnswer(const std::string&)> querySave)
{
    state_->querySave = std::move(querySave);
}

uintptr_t Host::ParentHandle() const { return state_->parentHandle; }
void Host::SetParentHandle(uintptr_t handle) { state_->parentHandle = handle; }
const std::vector<std::string>& Host::Exceptions() const { return state_->exceptions; }
void Host::ClearExceptions() { state_->exceptions.clear(); }

void Host::RaiseException(const std::string& message)
{
    state_->exceptions.push_back(message);
    Tell([&](HostListener& listener) { listener.ExceptionRaised(message); });
}

// A notifier that unregisters itself (or another) during the call is kept alive until the round ends
// and is not called once unregistered.
void Host::Notify(int code, const std::string& fileName)
{
    std::vector<hostapi::TIAddInNotifier*> notifiers = state_->notifiers;
    for (hostapi::TIAddInNotifier* notifier : notifiers)
        notifier->AddRef();
    for (hostapi::TIAddInNotifier* notifier : notifiers) {
        const auto& current = state_->notifiers;
        if (std::find(current.begin(), current.end(), notifier) == current.end())
            continue;
        bool cancel = false;
        notifier->FileNotification(code, fileName, cancel);
    }
    for (hostapi::TIAddInNotifier* notifier : notifiers)
        notifier->Release();
}

bool Host::AddNotifier(hostapi::TIAddInNotifier* notifier)
{
    auto& notifiers = state_->notifiers;
    if (notifier == nullptr || std::find(notifiers.begin(), notifiers.end(), notifier) != notifiers.end())
        return false;
    notifier->AddRef();
    notifiers.push_back(notifier);
    return true;
}

bool Host::RemoveNotifier(hostapi::TIAddInNotifier* notifier)
{
    auto& notifiers = state_->notifiers;
    auto found = std::find(notifiers.begin(), notifiers.end(), notifier);
    if (found == notifiers.end())
        return false;
    notifiers.erase(found);
    notifier->Release();
    return true;
}

int Host::NotifierCount() const { return static_cast<int>(state_->notifiers.size()); }

bool Host::OpenProject(const std::string& projectFile)
{
    std::string fileName = NormalizeFileName(projectFile);
    std::string source;
    if (!ReadableFile(fileName, source))
        return false;
    if (!state_->projectFile.empty() && !CloseProject())
        return false;
    state_->projectFile = fileName;
    state_->units = ParseProjectUnits(source, platform::ExtractFilePath(fileName));
    state_->formsLooked = false;
    Notify(hostapi::fnProjectOpened, fileName);
    Tell([](HostListener& listener) { listener.ProjectChanged(); });
    return true;
}

// Modified buffers are settled with the front end before anything happens, so a cancel leaves the
// project open; without a query-save callback they stay open after the project closed.
bool Host::CloseProject()
{
    if (state_->projectFile.empty())
        return false;
    std::vector<std::shared_ptr<EditBuffer>> closing;
    for (const auto& buffer : state_->buffers) {
        if (!buffer->Modified()) {
            closing.push_back(buffer);
            continue;
        }
        if (!state_->querySave)
            continue;
        SaveAnswer answer = state_->querySave(buffer->FileName());
        if (answer == SaveAnswer::Cancel || (answer == SaveAnswer::Save && !SaveBuffer(buffer)))
            return false;
        closing.push_back(buffer);
    }
    Notify(hostapi::fnProjectClosing, state_->projectFile);
    state_->projectFile.clear();
    state_->units.clear();
    state_->formsLooked = false;
    for (const auto& buffer : closing)
        CloseBuffer(buffer, false);
    Tell([](HostListener& listener) { listener.ProjectChanged(); });
    return true;
}

bool Host::SaveProject()
{
    return !state_->projectFile.empty() && SaveAll();
}

bool Host::AddToProject(const std::string& fileName)
{
    std::string name = NormalizeFileName(fileName);
    auto& units = state_->units;
    if (state_->projectFile.empty() || name.empty() || name == state_->projectFile ||
        std::find(units.begin(), units.end(), name) != units.end())
        return false;
    units.push_back(name);
    state_->formsLooked = false;
    AddToProjectSource(name);
    Notify(hostapi::fnAddedToProject, name);
    Tell([](HostListener& listener) { listener.ProjectChanged(); });
    return true;
}

// The project source names the unit in its uses clause, by a path relative to the project's folder
// when the unit lies below it. The source is changed in its buffer, opened for it when needed, and
// left modified for the user to save with the project.
void Host::AddToProjectSource(const std::string& unitFile)
{
    const std::string& project = state_->projectFile;
    if (!OpenBuffer(project, false))
        return;
    std::string folder = platform::ExtractFilePath(project);
    std::string path = unitFile;
    if (unitFile.starts_with(folder)) {
        path.erase(0, folder.size());
        std::replace(path.begin(), path.end(), '/', '\\');
    }
    auto buffer = FindBuffer(project);
    std::string unitName = platform::ChangeFileExt(platform::ExtractFileName(unitFile), "");
    if (buffer->Replace(AddProjectUnit(buffer->Text(), unitName, path))) {
        buffer->SetModified(true);
        BufferTextReplaced(*buffer);
    }
}

std::string Host::ProjectName() const { return state_->projectFile; }

std::vector<std::string> Host::UnitNames() const
{
    std::vector<std::string> names;
    if (state_->projectFile.empty())
        return names;
    names.push_back(state_->projectFile);
    names.insert(names.end(), state_->units.begin(), state_->units.end());
    return names;
}

int Host::UnitCount() const
{
    return state_->projectFile.empty() ? 0 : static_cast<int>(state_->units.size()) + 1;
}

std::string Host::UnitName(int index) const
{
    if (index < 0 || index >= UnitCount())
        return std::string();
    return index == 0 ? state_->projectFile : state_->units[static_cast<size_t>(index) - 1];
}

std::vector<std::string> Host::FormNames() const
{
    std::vector<std::string> names;
    for (const std::string& unit : state_->units) {
        for (const char* extension : {".dfm", ".DFM"}) {
            std::string form = platform::ChangeFileExt(unit, extension);
            if (platform::FileExists(form)) {
                names.push_back(form);
                break;
            }
        }
    }
    state_->forms = names;
    state_->formsLooked = true;
    return names;
}

int Host::FormCount() const
{
    return static_cast<int>(FormNames().size());
}

std::string Host::FormName(int index) const
{
    if (!state_->formsLooked)
        FormNames();
    const auto& forms = state_->forms;
    return index >= 0 && index < static_cast<int>(forms.size()) ? forms[static_cast<size_t>(index)] : std::string();
}

std::shared_ptr<EditBuffer> Host::FindBuffer(const std::string& fileName) const
{
    std::string name = NormalizeFileName(fileName);
    for (const auto& buffer : state_->buffers) {
        if (buffer->FileName() == name)
            return buffer;
    }
    return nullptr;
}

bool Host::OpenBuffer(const std::string& fileName, bool makeCurrent, std::string* reason)
{
    std::string name = NormalizeFileName(fileName);
    if (!FindBuffer(name)) {
        std::string text;
        if (!ReadableFile(name, text, reason))
            return false;
        state_->buffers.push_back(NewBuffer(name, std::move(text)));
        Tell([&](HostListener& listener) { listener.BufferOpened(name); });
    }
    if (makeCurrent)
        MakeCurrent(name);
    return true;
}

bool Host::OpenFile(const std::string& fileName) { return OpenBuffer(fileName, true); }
bool Host::OpenFile(const std::string& fileName, std::string& reason) { return OpenBuffer(fileName, true, &reason); }
bool Host::IsFileOpen(const std::string& fileName) const { return FindBuffer(fileName) != nullptr; }

bool Host::CloseFile(const std::string& fileName)
{
    auto buffer = FindBuffer(fileName);
    return buffer && CloseBuffer(buffer, true);
}

bool Host::CloseBuffer(const std::shared_ptr<EditBuffer>& buffer, bool askToSave)
{
    if (askToSave && buffer->Modified()) {
        if (!state_->querySave)
            return false;
        SaveAnswer answer = state_->querySave(buffer->FileName());
        if (answer == SaveAnswer::Cancel || (answer == SaveAnswer::Save && !SaveBuffer(buffer)))
            return false;
    }
    std::erase(state_->buffers, buffer);
    buffer->MarkClosed();
    std::string name = buffer->FileName();
    // The designer lives with its unit: closing the form file's own buffer keeps it while the unit
    // is open, with the changes it will save with the unit.
    for (auto designer = state_->designers.begin(); designer != state_->designers.end();) {
        const std::string& unit = designer->second->UnitFileName();
        if (unit == name || (designer->first == name && !FindBuffer(unit))) {
            designer->second->MarkClosed();
            designer = state_->designers.erase(designer);
        } else {
            ++designer;
        }
    }
    Tell([&](HostListener& listener) { listener.BufferClosed(name); });
    if (state_->currentFile == name)
        MakeCurrent(state_->buffers.empty() ? std::string() : state_->buffers.back()->FileName());
    return true;
}

bool Host::SaveFile(const std::string& fileName)
{
    auto buffer = FindBuffer(fileName);
    return buffer && SaveBuffer(buffer);
}

// A unit is saved with its forms, as the designer keeps the forms' changes until then; they are
// written together, so that a rename never leaves the unit and its form out of step. A form file
// saved from its own buffer is read again when next designed: the text saved is the form now.
bool Host::SaveBuffer(const std::shared_ptr<EditBuffer>& buffer)
{
    std::string bytes;
    if (!buffer->FileBytes(bytes))
        return false;
    std::vector<platform::FileContent> files{{buffer->FileName(), bytes}};
    std::vector<std::shared_ptr<FormDesigner>> forms;
    for (const auto& [name, designer] : state_->designers) {
        if (designer->UnitFileName() == buffer->FileName() && designer->Modified()) {
            files.push_back({designer->FileName(), designer->File().Bytes});
            forms.push_back(designer);
        }
    }
    std::string error;
    if (!platform::WriteFilesTogether(files, error))
        return false;
    buffer->SetModified(false);
    for (const auto& designer : forms)
        designer->SetModified(false);
    auto saved = state_->designers.find(buffer->FileName());
    if (saved != state_->designers.end()) {
        std::string unit = saved->second->UnitFileName();
        saved->second->MarkClosed();
        state_->designers.erase(saved);
        Tell([&](HostListener& listener) { listener.FormChanged(unit); });
    }
    return true;
}

bool Host::SaveAll()
{
    bool saved = true;
    for (const auto& buffer : state_->buffers) {
        if (buffer->Modified() && !SaveBuffer(buffer))
            saved = false;
    }
    return saved;
}

// An existing file is opened; a missing one becomes a new, modified buffer holding source.
bool Host::CreateModule(const std::string& moduleName, const std::string& source,
                        hostapi::TCreateModuleFlags flags)
{
    std::string name = NormalizeFileName(moduleName);
    if (name.empty())
        return false;
    if (!FindBuffer(name)) {
        if (platform::FileExists(name)) {
            if (!OpenBuffer(name, false))
                return false;
        } else {
            if (source.empty())
                return false;
            auto buffer = std::make_shared<EditBuffer>(name, source);
            buffer->SetModified(true);
            state_->buffers.push_back(buffer);
            Tell([&](HostListener& listener) { listener.BufferOpened(name); });
        }
    }
    if (flags & hostapi::cmMarkModified)
        FindBuffer(name)->SetModified(true);
    if (flags & hostapi::cmAddToProject)
        AddToProject(name);
    if (flags & hostapi::cmShowSource)
        ShowFile(name);
    return true;
}

std::vector<std::string> Host::OpenFiles() const
{
    std::vector<std::string> names;
    for (const auto& buffer : state_->buffers)
        names.push_back(buffer->FileName());
    return names;
}

std::string Host::CurrentFile() const { return state_->currentFile; }

void Host::MakeCurrent(const std::string& fileName)
{
    if (state_->currentFile == fileName)
        return;
    state_->currentFile = fileName;
    Tell([&](HostListener& listener) { listener.CurrentFileChanged(fileName); });
}

bool Host::ShowFile(const std::string& fileName)
{
    auto buffer = FindBuffer(fileName);
    if (!buffer)
        return false;
    state_->currentFile = buffer->FileName();
    Tell([&](HostListener& listener) { listener.CurrentFileChanged(buffer->FileName()); });
    return true;
}

std::string Host::Text(const std::string& fileName) const
{
    auto buffer = FindBuffer(fileName);
    return buffer ? buffer->Text() : std::string();
}

bool Host::SetText(const std::string& fileName, const std::string& text)
{
    auto buffer = FindBuffer(fileName);
    if (!buffer)
        return false;
    if (buffer->Replace(text))
        buffer->SetModified(true);
    return true;
}

bool Host::IsModified(const std::string& fileName) const
{
    auto buffer = FindBuffer(fileName);
    return buffer && buffer->Modified();
}

LineBreak Host::LineBreakStyle(const std::string& fileName) const
{
    auto buffer = FindBuffer(fileName);
    return buffer ? buffer->Style() : LineBreak::CrLf;
}

int Host::LineCount(const std::string& fileName) const
{
    auto buffer = FindBuffer(fileName);
    return buffer ? buffer->LineCount() : 0;
}

hostapi::TEditPos Host::Cursor(const std::string& fileName) const
{
    auto buffer = FindBuffer(fileName);
    return buffer ? buffer->Cursor() : hostapi::TEditPos{};
}

hostapi::TEditPos Host::TopLine(const std::string& fileName) const
{
    auto buffer = FindBuffer(fileName);
    return buffer ? buffer->TopLine() : hostapi::TEditPos{};
}

hostapi::TEditPos Host::BlockStart(const std::string& fileName) const
{
    auto buffer = FindBuffer(fileName);
    return buffer ? buffer->BlockStart() : hostapi::TEditPos{};
}

hostapi::TEditPos Host::BlockAfter(const std::string& fileName) const
{
    auto buffer = FindBuffer(fileName);
    return buffer ? buffer->BlockAfter() : hostapi::TEditPos{};
}

void Host::SetCursor(const std::string& fileName, hostapi::TEditPos pos)
{
    if (auto buffer = FindBuffer(fileName))
        buffer->SetCursor(pos);
}

void Host::SetTopLine(const std::string& fileName, hostapi::TEditPos pos)
{
    if (auto buffer = FindBuffer(fileName))
        buffer->SetTopLine(pos);
}

void Host::SetBlock(const std::string& fileName, hostapi::TEditPos start, hostapi::TEditPos after)
{
    if (auto buffer = FindBuffer(fileName)) {
        buffer->SetBlockStart(start);
        buffer->SetBlockAfter(after);
    }
}

void Host::BufferTextReplaced(const EditBuffer& buffer)
{
    Tell([&](HostListener& listener) { listener.BufferChanged(buffer.FileName()); });
}

void Host::ViewMoved(const EditBuffer& buffer)
{
    Tell([&](HostListener& listener) { listener.ViewChanged(buffer.FileName()); });
}

void Host::MenuTreeChanged()
{
    Tell([](HostListener& listener) { listener.MenuChanged(); });
}

const Catalogue& Host::Components()
{
    if (!state_->catalogue)
        state_->catalogue = std::make_unique<Catalogue>(Catalogue::Installed(platform::HostFolder()));
    return *state_->catalogue;
}

namespace {

// The unit a form belongs to: the source file of the same name.
std::string UnitOfForm(const std::string& fileName)
{
    return IsFormFileName(fileName) ? platform::ChangeFileExt(fileName, ".pas") : fileName;
}

}  // namespace

std::shared_ptr<FormDesigner> Host::Designer(const std::string& fileName)
{
    std::string unit = UnitOfForm(NormalizeFileName(fileName));
    std::string form = unit.empty() ? std::string() : FormFileOf(unit);
    if (form.empty())
        return nullptr;
    auto found = state_->designers.find(form);
    if (found != state_->designers.end())
        return found->second;
    std::string problem;
    auto designer = FormDesigner::Load(form, unit, Components(), problem);
    if (!designer) {
        state_->formProblems[form] = problem;
        return nullptr;
    }
    state_->formProblems.erase(form);
    state_->designers[form] = designer;
    return designer;
}

std::string Host::FormProblem(const std::string& fileName) const
{
    std::string form = FormFileOf(UnitOfForm(NormalizeFileName(fileName)));
    auto found = state_->formProblems.find(form);
    return found == state_->formProblems.end() ? std::string() : found->second;
}

bool Host::SelectComponents(const std::string& fileName, const std::vector<std::string>& names)
{
    auto designer = Designer(fileName);
    if (!designer)
        return false;
    std::vector<int> selection;
    for (const std::string& name : names) {
        int index = designer->Find(name);
        if (index < 0)
            return false;
        selection.push_back(index);
    }
    designer->Select(std::move(selection));
    std::string unit = designer->UnitFileName();
    Tell([&](HostListener& listener) { listener.SelectionChanged(unit); });
    return true;
}

std::vector<std::string> Host::SelectedComponents(const std::string& fileName)
{
    std::vector<std::string> names;
    if (auto designer = Designer(fileName)) {
        for (int index : designer->Selection())
            names.push_back(designer->Object(index).Name);
    }
    return names;
}

// The unit's buffer takes the renamed class declaration; it is opened for that when it is not. A
// buffer of the form file shows the renamed form at once (a binary one in the text form), as the
// designer will save it with the unit, so it stays unmodified; a rename is refused while that
// buffer holds edits of its own.
bool Host::RenameComponent(const std::shared_ptr<FormDesigner>& designer, int index, const std::string& newName)
{
    if (!designer->IsOpen())
        return false;
    auto formBuffer = FindBuffer(designer->FileName());
    if (formBuffer && formBuffer->Modified())
        return false;
    const std::string& unit = designer->UnitFileName();
    if (!FindBuffer(unit) && !OpenBuffer(unit, false))
        return false;
    auto buffer = FindBuffer(unit);
    std::string source = buffer->Text();
    if (!designer->Rename(index, newName, source))
        return false;
    if (buffer->Replace(source))
        BufferTextReplaced(*buffer);
    buffer->SetModified(true);
    const forms::FormFile& form = designer->File();
    if (formBuffer && formBuffer->Replace(form.Format == forms::FormFormat::Text ? form.Bytes : forms::FormFileAsText(form)))
        BufferTextReplaced(*formBuffer);
    Tell([&](HostListener& listener) { listener.FormChanged(unit); });
    return true;
}

const MenuNode& Host::MenuRoot() const { return *state_->menuRoot; }
std::shared_ptr<MenuNode> Host::RootNode() const { return state_->menuRoot; }

void Host::SetMenuHandler(const std::string& itemName, std::function<void()> handler)
{
    if (handler)
        state_->menuHandlers[itemName] = std::move(handler);
    else
        state_->menuHandlers.erase(itemName);
}

bool Host::ClickMenuItem(const std::string& itemName)
{
    auto node = FindNode(state_->menuRoot, [&](const MenuNode& item) { return item.Name == itemName; });
    return node && Clickable(*node) && ClickNode(node);
}

bool Host::PressShortCut(hostapi::TShortCut shortCut)
{
    if (shortCut == 0)
        return false;
    auto node = FindNode(state_->menuRoot, [&](const MenuNode& item) {
        return item.ShortCut == shortCut && item.Children.empty() && Clickable(item);
    });
    return node && ClickNode(node);
}

// Handlers are copied before the call: a click may destroy its own item or replace the handler.
bool Host::ClickNode(const std::shared_ptr<MenuNode>& node)
{
    if (node->OnClick) {
        hostapi::TIMenuClickEvent onClick = node->OnClick;
        hostapi::TIMenuItemIntf* sender = NewMenuItem(link_, node);
        onClick(sender);
        sender->Release();
        return true;
    }
    auto handler = state_->menuHandlers.find(node->Name);
    if (handler != state_->menuHandlers.end()) {
        std::function<void()> call = handler->second;
        call();
        return true;
    }
    const std::string& name = node->Name;
    if (name == "FileSaveItem")
        return SaveFile(CurrentFile());
    if (name == "FileSaveAllItem")
        return SaveAll();
    if (name == "FileCloseItem")
        return CloseFile(CurrentFile());
    if (name == "FileCloseProjectItem")
        return CloseProject();
    return false;
}

}  // namespace refhost
