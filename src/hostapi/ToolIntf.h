#pragma once
// The host's interface: the reference-counted objects an IDE hands to an add-in.
// Shared by hosts and the add-in like an SDK header. Strings hold code page 932 bytes.

#include <cstdint>
#include <functional>
#include <string>

namespace hostapi {

// An editor position; both fields count from 1.
struct TEditPos {
    int16_t Col = 1;
    int32_t Line = 1;
};

// Flags of a host menu item, as a set: bit n stands for element n.
using TIMenuFlags = uint32_t;
constexpr TIMenuFlags mfInvalid = 1u << 0;
constexpr TIMenuFlags mfEnabled = 1u << 1;
constexpr TIMenuFlags mfVisible = 1u << 2;
constexpr TIMenuFlags mfChecked = 1u << 3;
constexpr TIMenuFlags mfBreak = 1u << 4;
constexpr TIMenuFlags mfBarBreak = 1u << 5;
constexpr TIMenuFlags mfRadioItem = 1u << 6;

// A shortcut: virtual key in the low byte, modifier bits above.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// File notification codes sent to TIAddInNotifier::FileNotification.
enum TFileNotification : int {
    fnFileOpening = 0,
    fnFileOpened = 1,
    fnFileClosing = 2,
    fnFileClosed = 3,
    fnProjectOpened = 4,
    fnProjectClosing = 5,
    fnAddedToProject = 6,
    fnRemovedFromProject = 7,
    fnDefaultDesktopLoad = 8,
    fnDefaultDesktopSave = 9,
    fnProjectDesktopLoad = 10,
    fnProjectDesktopSave = 11,
};

// Flags of TIToolServices::CreateModule.
using TCreateModuleFlags = uint32_t;
constexpr TCreateModuleFlags cmAddToProject = 1u << 0;
constexpr TCreateModuleFlags cmShowSource = 1u << 1;
constexpr TCreateModuleFlags cmShowForm = 1u << 2;
constexpr TCreateModuleFlags cmUnNamed = 1u << 3;
constexpr TCreateModuleFlags cmNewUnit = 1u << 4;
constexpr TCreateModuleFlags cmNewForm = 1u << 5;
constexpr TCreateModuleFlags cmMainForm = 1u << 6;
constexpr TCreateModuleFlags cmMarkModified = 1u << 7;
constexpr TCreateModuleFlags cmNewFile = 1u << 8;
constexpr TCreateModuleFlags cmExisting = 1u << 9;

// Expert style and state answers.
constexpr int esStandard = 0;
constexpr int esForm = 1;
constexpr int esProject = 2;
constexpr int esAddIn = 3;
using TExpertState = uint32_t;
constexpr TExpertState esEnabled = 1u << 0;
constexpr TExpertState esChecked = 1u << 1;

// Property kinds as the host numbers them for a component's published properties.
enum TPropertyType : int {
    ptUnknown = 0, ptInteger, ptChar, ptEnumeration, ptFloat, ptString, ptSet, ptClass,
    ptMethod, ptWChar, ptLString, ptLWString, ptVariant,
};

class TIComponentInterface;

// A property value as the host hands it out: its text, its ordinal or float value, or for a
// class property the object it refers to (obtained for the caller, who releases it).
struct TPropValue {
    std::string Text;
    int64_t Ordinal = 0;
    double Float = 0.0;
    TIComponentInterface* Component = nullptr;
};

class TInterface {
public:
    virtual int AddRef() = 0;
    virtual int Release() = 0;
    virtual int GetVersion() = 0;

protected:
    virtual ~TInterface() = default;
};

class TIEditReader : public TInterface {
public:
    // Copies up to count bytes from the 0-based offset; answers the number copied.
    virtual int GetText(int32_t position, char* buffer, int count) = 0;
};

class TIEditWriter : public TInterface {
public:
    // Keeps the original text up to position (0-based) in the result.
    virtual bool CopyTo(int32_t position) = 0;
    // Drops the original text up to position without keeping it.
    virtual bool DeleteTo(int32_t position) = 0;
    virtual bool Insert(const std::string& text) = 0;
    virtual int32_t Position() = 0;
};

class TIEditView : public TInterface {
public:
    // index 0: the cursor; index 1: the top line shown.
    virtual TEditPos GetPos(int index) = 0;
    virtual void SetPos(int index, TEditPos value) = 0;
};

class TIEditorInterface : public TInterface {
public:
    virtual TIEditReader* CreateReader() = 0;
    virtual TIEditWriter* CreateWriter() = 0;
    virtual std::string FileName() = 0;
    virtual int32_t LinesInBuffer() = 0;
    virtual bool BufferModified() = 0;
    virtual bool MarkModified() = 0;
    virtual int GetViewCount() = 0;
    virtual TIEditView* GetView(int index) = 0;
    virtual TEditPos GetBlockStart() = 0;
    virtual TEditPos GetBlockAfter() = 0;
    virtual void SetBlockStart(TEditPos value) = 0;
    virtual void SetBlockAfter(TEditPos value) = 0;
};

class TIComponentInterface : public TInterface {
public:
    virtual std::string GetComponentType() = 0;
    virtual int GetPropCount() = 0;
    virtual std::string GetPropName(int index) = 0;
    virtual TPropertyType GetPropType(int index) = 0;
    virtual bool GetPropValue(int index, TPropValue& value) = 0;
    virtual bool GetPropValueByName(const std::string& name, TPropValue& value) = 0;
    virtual bool SetPropByName(const std::string& name, const TPropValue& value) = 0;
    virtual int GetComponentCount() = 0;
    virtual TIComponentInterface* GetComponent(int index) = 0;
    virtual bool Focus() = 0;
};

class TIFormInterface : public TInterface {
public:
    virtual std::string FileName() = 0;
    virtual bool FormModified() = 0;
    virtual bool MarkModified() = 0;
    virtual TIComponentInterface* GetFormComponent() = 0;
    virtual TIComponentInterface* FindComponent(const std::string& name) = 0;
    virtual int GetSelCount() = 0;
    virtual TIComponentInterface* GetSelComponent(int index) = 0;
};

class TIModuleInterface : public TInterface {
public:
    virtual TIEditorInterface* GetEditorInterface() = 0;
    virtual TIFormInterface* GetFormInterface() = 0;
    virtual bool ShowSource() = 0;
    virtual bool ShowForm() = 0;
    virtual bool Save(bool forceSave) = 0;
    virtual bool Close() = 0;
};

class TIMenuItemIntf;
using TIMenuClickEvent = std::function<void(TIMenuItemIntf* sender)>;

class TIMenuItemIntf : public TInterface {
public:
    virtual bool DestroyMenuItem() = 0;
    virtual int GetIndex() = 0;
    virtual int GetItemCount() = 0;
    virtual TIMenuItemIntf* GetItem(int index) = 0;
    virtual std::string GetName() = 0;
    virtual TIMenuItemIntf* GetParent() = 0;
    virtual std::string GetCaption() = 0;
    virtual TShortCut GetShortCut() = 0;
    virtual TIMenuFlags GetFlags() = 0;
    virtual TIMenuItemIntf* InsertItem(int index, const std::string& caption, const std::string& name,
                                       const std::string& hint, TShortCut shortCut, int context,
                                       int groupIndex, TIMenuFlags flags, TIMenuClickEvent onClick) = 0;
};

class TIMainMenuIntf : public TInterface {
public:
    virtual TIMenuItemIntf* GetMenuItems() = 0;
    virtual TIMenuItemIntf* FindMenuItem(const std::string& name) = 0;
};

class TIAddInNotifier : public TInterface {
public:
    virtual void FileNotification(int notifyCode, const std::string& fileName, bool& cancel) = 0;
    virtual void EventNotification(int notifyCode, bool& cancel) = 0;
};

class TIToolServices : public TInterface {
public:
    virtual bool CloseProject() = 0;
    virtual bool OpenProject(const std::string& projName) = 0;
    virtual bool SaveProject() = 0;
    virtual bool CloseFile(const std::string& fileName) = 0;
    virtual bool SaveFile(const std::string& fileName) = 0;
    virtual bool OpenFile(const std::string& fileName) = 0;
    virtual bool IsFileOpen(const std::string& fileName) = 0;
    virtual bool CreateModule(const std::string& moduleName, const std::string& source,
                              const std::string& form, TCreateModuleFlags flags) = 0;
    virtual uintptr_t GetParentHandle() = 0;
    virtual std::string GetProjectName() = 0;
    virtual int GetUnitCount() = 0;
    virtual std::string GetUnitName(int index) = 0;
    virtual int GetFormCount() = 0;
    virtual std::string GetFormName(int index) = 0;
    virtual std::string GetCurrentFile() = 0;
    virtual int GetModuleCount() = 0;
    virtual std::string GetModuleName(int index) = 0;
    virtual int GetComponentCount(int moduleIndex) = 0;
    virtual std::string GetComponentName(int moduleIndex, int componentIndex) = 0;
    virtual TIModuleInterface* GetModuleInterface(const std::string& fileName) = 0;
    virtual TIMainMenuIntf* GetMainMenu() = 0;
    virtual bool AddNotifier(TIAddInNotifier* notifier) = 0;
    virtual bool RemoveNotifier(TIAddInNotifier* notifier) = 0;
    virtual void RaiseException(const std::string& message) = 0;
};

class TIExpert : public TInterface {
public:
    virtual std::string GetName() = 0;
    virtual std::string GetAuthor() = 0;
    virtual std::string GetComment() = 0;
    virtual std::string GetPage() = 0;
    virtual uintptr_t GetGlyph() = 0;
    virtual int GetStyle() = 0;
    virtual TExpertState GetState() = 0;
    virtual std::string GetIDString() = 0;
    virtual std::string GetMenuText() = 0;
    virtual void Execute() = 0;
};

// The entry point's procedure types.
using TExpertRegisterProc = bool (*)(TIExpert* expert);
using TExpertTerminateProc = void (*)();

#if defined(_WIN32) && !defined(_WIN64)
#define QUORLIN_STDCALL __stdcall
#else
#define QUORLIN_STDCALL
#endif

using TExpertInitProc = bool(QUORLIN_STDCALL*)(TIToolServices* toolServices,
                                               TExpertRegisterProc registerProc,
                                               TExpertTerminateProc* terminate);
constexpr const char* ExpertEntryPoint = "INITEXPERT0017";

}  // namespace hostapi
