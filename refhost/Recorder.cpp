#include "Recorder.h"

#include "platform/FilePath.h"

namespace refhost {

namespace {

using Log = std::shared_ptr<std::vector<std::string>>;
using hostapi::TEditPos;

std::string Pos(TEditPos pos) { return std::to_string(pos.Col) + ":" + std::to_string(pos.Line); }

// One wrapped object: logs each call and release, owns one reference to its target.
template <class Interface>
class Recorded : public Interface {
public:
    Recorded(Log log, const std::string& kind, const std::string& label, Interface* target)
        : log_(std::move(log)), name_(label.empty() && kind != "MenuItem" ? kind : kind + "(" + label + ")"),
          target_(target)
    {
    }

    int AddRef() override
    {
        log_->push_back("AddRef " + name_);
        return ++count_;
    }
    int Release() override
    {
        log_->push_back("Release " + name_);
        int count = --count_;
        if (count == 0)
            delete this;
        return count;
    }
    int GetVersion() override
    {
        Call("GetVersion");
        return target_->GetVersion();
    }

protected:
    ~Recorded() override { target_->Release(); }

    void Call(const std::string& method) { log_->push_back(name_ + "." + method); }
    template <class... Args>
    void Call(const std::string& method, const Args&... args)
    {
        std::string text;
        ((text += (text.empty() ? "" : ",") + Text(args)), ...);
        log_->push_back(name_ + "." + method + "(" + text + ")");
    }

    Log log_;
    std::string name_;
    Interface* target_;

private:
    static std::string Text(const std::string& s) { return s; }
    static std::string Text(const char* s) { return s; }
    static std::string Text(TEditPos pos) { return Pos(pos); }
    template <class N>
    static std::string Text(N n) { return std::to_string(n); }

    int count_ = 1;
};

template <class Wrapper, class Interface>
Interface* WrapIn(const Log& log, const std::string& label, Interface* target)
{
    return target ? new Wrapper(log, label, target) : nullptr;
}

class RecordedReader : public Recorded<hostapi::TIEditReader> {
public:
    RecordedReader(Log log, const std::string& label, hostapi::TIEditReader* target)
        : Recorded(std::move(log), "Reader", label, target)
    {
    }
    int GetText(int32_t position, char* buffer, int count) override
    {
        Call("GetText", position, count);
        return target_->GetText(position, buffer, count);
    }
};

class RecordedWriter : public Recorded<hostapi::TIEditWriter> {
public:
    RecordedWriter(Log log, const std::string& label, hostapi::TIEditWriter* target)
        : Recorded(std::move(log), "Writer", label, target)
    {
    }
    bool CopyTo(int32_t position) override
    {
        Call("CopyTo", position);
        return target_->CopyTo(position);
    }
    bool DeleteTo(int32_t position) override
    {
        Call("DeleteTo", position);
        return target_->DeleteTo(position);
    }
    bool Insert(const std::string& text) override
    {
        Call("Insert", text.size());
        return target_->Insert(text);
    }
    int32_t Position() override
    {
        Call("Position");
        return target_->Position();
    }
};

class RecordedView : public Recorded<hostapi::TIEditView> {
public:
    RecordedView(Log log, const std::string& label, hostapi::TIEditView* target)
        : Recorded(std::move(log), "View", label, target)
    {
    }
    TEditPos GetPos(int index) override
    {
        Call("GetPos", index);
        return target_->GetPos(index);
    }
    void SetPos(int index, TEditPos value) override
    {
        Call("SetPos", index, value);
        target_->SetPos(index, value);
    }
};

class RecordedEditor : public Recorded<hostapi::TIEditorInterface> {
public:
    RecordedEditor(Log log, const std::string& label, hostapi::TIEditorInterface* target)
        : Recorded(std::move(log), "Editor", label, target), label_(label)
    {
    }
    hostapi::TIEditReader* CreateReader() override
    {
        Call("CreateReader");
        return WrapIn<RecordedReader>(log_, label_, target_->CreateReader());
    }
    hostapi::TIEditWriter* CreateWriter() override
    {
        Call("CreateWriter");
        return WrapIn<RecordedWriter>(log_, label_, target_->CreateWriter());
    }
    std::string FileName() override
    {
        Call("FileName");
        return target_->FileName();
    }
    int32_t LinesInBuffer() override
    {
        Call("LinesInBuffer");
        return target_->LinesInBuffer();
    }
    bool BufferModified() override
    {
        Call("BufferModified");
        return target_->BufferModified();
    }
    bool MarkModified() override
    {
        Call("MarkModified");
        return target_->MarkModified();
    }
    int GetViewCount() override
    {
        Call("GetViewCount");
        return target_->GetViewCount();
    }
    hostapi::TIEditView* GetView(int index) override
    {
        Call("GetView", index);
        return WrapIn<RecordedView>(log_, label_, target_->GetView(index));
    }
    TEditPos GetBlockStart() override
    {
        Call("GetBlockStart");
        return target_->GetBlockStart();
    }
    TEditPos GetBlockAfter() override
    {
        Call("GetBlockAfter");
        return target_->GetBlockAfter();
    }
    void SetBlockStart(TEditPos value) override
    {
        Call("SetBlockStart", value);
        target_->SetBlockStart(value);
    }
    void SetBlockAfter(TEditPos value) override
    {
        Call("SetBlockAfter", value);
        target_->SetBlockAfter(value);
    }

private:
    std::string label_;
};

class RecordedComponent : public Recorded<hostapi::TIComponentInterface> {
public:
    RecordedComponent(Log log, const std::string& /*label*/, hostapi::TIComponentInterface* target)
        : Recorded(std::move(log), "Component", target->GetComponentType(), target)
    {
    }
    std::string GetComponentType() override
    {
        Call("GetComponentType");
        return target_->GetComponentType();
    }
    int GetPropCount() override
    {
        Call("GetPropCount");
        return target_->GetPropCount();
    }
    std::string GetPropName(int index) override
    {
        Call("GetPropName", index);
        return target_->GetPropName(index);
    }
    hostapi::TPropertyType GetPropType(int index) override
    {
        Call("GetPropType", index);
        return target_->GetPropType(index);
    }
    bool GetPropValue(int index, hostapi::TPropValue& value) override
    {
        Call("GetPropValue", index);
        return Wrapped(target_->GetPropValue(index, value), value);
    }
    bool GetPropValueByName(const std::string& name, hostapi::TPropValue& value) override
    {
        Call("GetPropValueByName", name);
        return Wrapped(target_->GetPropValueByName(name, value), value);
    }
    bool SetPropByName(const std::string& name, const hostapi::TPropValue& value) override
    {
        Call("SetPropByName", name);
        return target_->SetPropByName(name, value);
    }
    int GetComponentCount() override
    {
        Call("GetComponentCount");
        return target_->GetComponentCount();
    }
    hostapi::TIComponentInterface* GetComponent(int index) override
    {
        Call("GetComponent", index);
        return WrapIn<RecordedComponent>(log_, "", target_->GetComponent(index));
    }
    bool Focus() override
    {
        Call("Focus");
        return target_->Focus();
    }

private:
    bool Wrapped(bool result, hostapi::TPropValue& value)
    {
        value.Component = WrapIn<RecordedComponent>(log_, "", value.Component);
        return result;
    }
};

class RecordedForm : public Recorded<hostapi::TIFormInterface> {
public:
    RecordedForm(Log log, const std::string& /*label*/, hostapi::TIFormInterface* target)
        : Recorded(std::move(log), "Form", platform::ExtractFileName(target->FileName()), target)
    {
    }
    std::string FileName() override
    {
        Call("FileName");
        return target_->FileName();
    }
    bool FormModified() override
    {
        Call("FormModified");
        return target_->FormModified();
    }
    bool MarkModified() override
    {
        Call("MarkModified");
        return target_->MarkModified();
    }
    hostapi::TIComponentInterface* GetFormComponent() override
    {
        Call("GetFormComponent");
        return WrapIn<RecordedComponent>(log_, "", target_->GetFormComponent());
    }
    hostapi::TIComponentInterface* FindComponent(const std::string& name) override
    {
        Call("FindComponent", name);
        return WrapIn<RecordedComponent>(log_, "", target_->FindComponent(name));
    }
    int GetSelCount() override
    {
        Call("GetSelCount");
        return target_->GetSelCount();
    }
    hostapi::TIComponentInterface* GetSelComponent(int index) override
    {
        Call("GetSelComponent", index);
        return WrapIn<RecordedComponent>(log_, "", target_->GetSelComponent(index));
    }
};

class RecordedModule : public Recorded<hostapi::TIModuleInterface> {
public:
    RecordedModule(Log log, const std::string& label, hostapi::TIModuleInterface* target)
        : Recorded(std::move(log), "Module", label, target), label_(label)
    {
    }
    hostapi::TIEditorInterface* GetEditorInterface() override
    {
        Call("GetEditorInterface");
        return WrapIn<RecordedEditor>(log_, label_, target_->GetEditorInterface());
    }
    hostapi::TIFormInterface* GetFormInterface() override
    {
        Call("GetFormInterface");
        return WrapIn<RecordedForm>(log_, "", target_->GetFormInterface());
    }
    bool ShowSource() override
    {
        Call("ShowSource");
        return target_->ShowSource();
    }
    bool ShowForm() override
    {
        Call("ShowForm");
        return target_->ShowForm();
    }
    bool Save(bool forceSave) override
    {
        Call("Save", forceSave ? 1 : 0);
        return target_->Save(forceSave);
    }
    bool Close() override
    {
        Call("Close");
        return target_->Close();
    }

private:
    std::string label_;
};

class RecordedMenuItem : public Recorded<hostapi::TIMenuItemIntf> {
public:
    RecordedMenuItem(Log log, const std::string& /*label*/, hostapi::TIMenuItemIntf* target)
        : Recorded(std::move(log), "MenuItem", target->GetName(), target)
    {
    }
    bool DestroyMenuItem() override
    {
        Call("DestroyMenuItem");
        return target_->DestroyMenuItem();
    }
    int GetIndex() override
    {
        Call("GetIndex");
        return target_->GetIndex();
    }
    int GetItemCount() override
    {
        Call("GetItemCount");
        return target_->GetItemCount();
    }
    hostapi::TIMenuItemIntf* GetItem(int index) override
    {
        Call("GetItem", index);
        return WrapIn<RecordedMenuItem>(log_, "", target_->GetItem(index));
    }
    std::string GetName() override
    {
        Call("GetName");
        return target_->GetName();
    }
    hostapi::TIMenuItemIntf* GetParent() override
    {
        Call("GetParent");
        return WrapIn<RecordedMenuItem>(log_, "", target_->GetParent());
    }
    std::string GetCaption() override
    {
        Call("GetCaption");
        return target_->GetCaption();
    }
    hostapi::TShortCut GetShortCut() override
    {
        Call("GetShortCut");
        return target_->GetShortCut();
    }
    hostapi::TIMenuFlags GetFlags() override
    {
        Call("GetFlags");
        return target_->GetFlags();
    }
    hostapi::TIMenuItemIntf* InsertItem(int index, const std::string& caption, const std::string& name,
                                        const std::string& hint, hostapi::TShortCut shortCut, int context,
                                        int groupIndex, hostapi::TIMenuFlags flags,
                                        hostapi::TIMenuClickEvent onClick) override
    {
        Call("InsertItem", index, name);
        return WrapIn<RecordedMenuItem>(log_, "", target_->InsertItem(index, caption, name, hint, shortCut,
                                                                      context, groupIndex, flags,
                                                                      std::move(onClick)));
    }
};

class RecordedMainMenu : public Recorded<hostapi::TIMainMenuIntf> {
public:
    RecordedMainMenu(Log log, const std::string& /*label*/, hostapi::TIMainMenuIntf* target)
        : Recorded(std::move(log), "MainMenu", "", target)
    {
    }
    hostapi::TIMenuItemIntf* GetMenuItems() override
    {
        Call("GetMenuItems");
        return WrapIn<RecordedMenuItem>(log_, "", target_->GetMenuItems());
    }
    hostapi::TIMenuItemIntf* FindMenuItem(const std::string& name) override
    {
        Call("FindMenuItem", name);
        return WrapIn<RecordedMenuItem>(log_, "", target_->FindMenuItem(name));
    }
};

class RecordedToolServices : public Recorded<hostapi::TIToolServices> {
public:
    RecordedToolServices(Log log, const std::string& /*label*/, hostapi::TIToolServices* target)
        : Recorded(std::move(log), "ToolServices", "", target)
    {
    }
    bool CloseProject() override
    {
        Call("CloseProject");
        return target_->CloseProject();
    }
    bool OpenProject(const std::string& projName) override
    {
        Call("OpenProject", projName);
        return target_->OpenProject(projName);
    }
    bool SaveProject() override
    {
        Call("SaveProject");
        return target_->SaveProject();
    }
    bool CloseFile(const std::string& fileName) override
    {
        Call("CloseFile", fileName);
        return target_->CloseFile(fileName);
    }
    bool SaveFile(const std::string& fileName) override
    {
        Call("SaveFile", fileName);
        return target_->SaveFile(fileName);
    }
    bool OpenFile(const std::string& fileName) override
    {
        Call("OpenFile", fileName);
        return target_->OpenFile(fileName);
    }
    bool IsFileOpen(const std::string& fileName) override
    {
        Call("IsFileOpen", fileName);
        return target_->IsFileOpen(fileName);
    }
    bool CreateModule(const std::string& moduleName, const std::string& source, const std::string& form,
                      hostapi::TCreateModuleFlags flags) override
    {
        Call("CreateModule", moduleName, flags);
        return target_->CreateModule(moduleName, source, form, flags);
    }
    uintptr_t GetParentHandle() override
    {
        Call("GetParentHandle");
        return target_->GetParentHandle();
    }
    std::string GetProjectName() override
    {
        Call("GetProjectName");
        return target_->GetProjectName();
    }
    int GetUnitCount() override
    {
        Call("GetUnitCount");
        return target_->GetUnitCount();
    }
    std::string GetUnitName(int index) override
    {
        Call("GetUnitName", index);
        return target_->GetUnitName(index);
    }
    int GetFormCount() override
    {
        Call("GetFormCount");
        return target_->GetFormCount();
    }
    std::string GetFormName(int index) override
    {
        Call("GetFormName", index);
        return target_->GetFormName(index);
    }
    std::string GetCurrentFile() override
    {
        Call("GetCurrentFile");
        return target_->GetCurrentFile();
    }
    int GetModuleCount() override
    {
        Call("GetModuleCount");
        return target_->GetModuleCount();
    }
    std::string GetModuleName(int index) override
    {
        Call("GetModuleName", index);
        return target_->GetModuleName(index);
    }
    int GetComponentCount(int moduleIndex) override
    {
        Call("GetComponentCount", moduleIndex);
        return target_->GetComponentCount(moduleIndex);
    }
    std::string GetComponentName(int moduleIndex, int componentIndex) override
    {
        Call("GetComponentName", moduleIndex, componentIndex);
        return target_->GetComponentName(moduleIndex, componentIndex);
    }
    hostapi::TIModuleInterface* GetModuleInterface(const std::string& fileName) override
    {
        Call("GetModuleInterface", fileName);
        return WrapIn<RecordedModule>(log_, platform::ExtractFileName(fileName),
                                      target_->GetModuleInterface(fileName));
    }
    hostapi::TIMainMenuIntf* GetMainMenu() override
    {
        Call("GetMainMenu");
        return WrapIn<RecordedMainMenu>(log_, "", target_->GetMainMenu());
    }
    bool AddNotifier(hostapi::TIAddInNotifier* notifier) override
    {
        Call("AddNotifier");
        return target_->AddNotifier(notifier);
    }
    bool RemoveNotifier(hostapi::TIAddInNotifier* notifier) override
    {
        Call("RemoveNotifier");
        return target_->RemoveNotifier(notifier);
    }
    void RaiseException(const std::string& message) override
    {
        Call("RaiseException", message);
        target_->RaiseException(message);
    }
};

}  // namespace

Recorder::Recorder() : log_(std::make_shared<std::vector<std::string>>()) {}

hostapi::TIToolServices* Recorder::Wrap(hostapi::TIToolServices* services)
{
    return WrapIn<RecordedToolServices>(log_, "", services);
}

const std::vector<std::string>& Recorder::Log() const { return *log_; }
void Recorder::Clear() { log_->clear(); }

}  // namespace refhost
