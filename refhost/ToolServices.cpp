// The tool services an add-in is given: each operation forwards to the host, or answers empty
// once the host is gone.

#include "Catalogue.h"
#include "HostObjects.h"
#include "RefCounted.h"

namespace refhost {

namespace {

class ToolServices : public RefCounted<hostapi::TIToolServices> {
public:
    explicit ToolServices(std::shared_ptr<HostLink> link) : link_(std::move(link)) {}

    bool CloseProject() override { return Host() && Host()->CloseProject(); }
    bool OpenProject(const std::string& projName) override { return Host() && Host()->OpenProject(projName); }
    bool SaveProject() override { return Host() && Host()->SaveProject(); }
    bool CloseFile(const std::string& fileName) override { return Host() && Host()->CloseFile(fileName); }
    bool SaveFile(const std::string& fileName) override { return Host() && Host()->SaveFile(fileName); }
    bool OpenFile(const std::string& fileName) override { return Host() && Host()->OpenFile(fileName); }
    bool IsFileOpen(const std::string& fileName) override { return Host() && Host()->IsFileOpen(fileName); }

    bool CreateModule(const std::string& moduleName, const std::string& source, const std::string& /*form*/,
                      hostapi::TCreateModuleFlags flags) override
    {
        return Host() && Host()->CreateModule(moduleName, source, flags);
    }

    uintptr_t GetParentHandle() override { return Host() ? Host()->ParentHandle() : 0; }
    std::string GetProjectName() override { return Host() ? Host()->ProjectName() : std::string(); }

    int GetUnitCount() override { return Host() ? Host()->UnitCount() : 0; }
    std::string GetUnitName(int index) override { return Host() ? Host()->UnitName(index) : std::string(); }
    int GetFormCount() override { return Host() ? Host()->FormCount() : 0; }
    std::string GetFormName(int index) override { return Host() ? Host()->FormName(index) : std::string(); }
    std::string GetCurrentFile() override { return Host() ? Host()->CurrentFile() : std::string(); }

    int GetModuleCount() override { return Host() ? static_cast<int>(Packages().size()) : 0; }
    std::string GetModuleName(int index) override
    {
        return Host() && InRange(Packages(), index) ? Packages()[index].Name : std::string();
    }
    int GetComponentCount(int moduleIndex) override
    {
        return Host() && InRange(Packages(), moduleIndex) ? static_cast<int>(Packages()[moduleIndex].Classes.size()) : 0;
    }
    std::string GetComponentName(int moduleIndex, int componentIndex) override
    {
        return Host() && InRange(Packages(), moduleIndex) ? Item(Packages()[moduleIndex].Classes, componentIndex)
                                                         : std::string();
    }

    hostapi::TIModuleInterface* GetModuleInterface(const std::string& fileName) override
    {
        auto buffer = Host() ? Host()->FindBuffer(fileName) : nullptr;
        return buffer ? NewModule(link_, buffer) : nullptr;
    }

    hostapi::TIMainMenuIntf* GetMainMenu() override { return Host() ? NewMainMenu(link_) : nullptr; }
    bool AddNotifier(hostapi::TIAddInNotifier* notifier) override { return Host() && Host()->AddNotifier(notifier); }
    bool RemoveNotifier(hostapi::TIAddInNotifier* notifier) override
    {
        return Host() && Host()->RemoveNotifier(notifier);
    }
    void RaiseException(const std::string& message) override
    {
        if (Host())
            Host()->RaiseException(message);
    }

private:
    refhost::Host* Host() const { return link_->host; }

    const std::vector<CataloguePackage>& Packages() const { return Host()->Components().Packages(); }

    template <class T>
    static bool InRange(const std::vector<T>& items, int index)
    {
        return index >= 0 && index < static_cast<int>(items.size());
    }

    static std::string Item(const std::vector<std::string>& names, int index)
    {
        return index >= 0 && index < static_cast<int>(names.size()) ? names[index] : std::string();
    }

    std::shared_ptr<HostLink> link_;
};

}  // namespace

hostapi::TIToolServices* NewToolServices(std::shared_ptr<HostLink> link)
{
    return new ToolServices(std::move(link));
}

}  // namespace refhost
