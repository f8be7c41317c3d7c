#pragma once
// The add-in's expert: its answers to the host, the "Quorlin" command in the host's Edit menu that
// opens the tool window, and the notifier through which the host reports project events.

#include <string>

#include "hostapi/ToolIntf.h"

namespace quorlin {

class TQuorlinExpert;

// Reference counting as host objects have it: born with a count of 1, deleted at 0.
template <class Interface>
class TRefCounted : public Interface {
public:
    int AddRef() override { return ++refCount_; }
    int Release() override
    {
        int count = --refCount_;
        if (count == 0)
            delete this;
        return count;
    }
    int GetVersion() override { return 3; }

private:
    int refCount_ = 1;
};

class TAddInNotifier : public TRefCounted<hostapi::TIAddInNotifier> {
public:
    explicit TAddInNotifier(TQuorlinExpert* expert) : Expert(expert) {}

    void FileNotification(int notifyCode, const std::string& fileName, bool& cancel) override;
    void EventNotification(int notifyCode, bool& cancel) override;

    TQuorlinExpert* Expert;
};

class TQuorlinExpert : public TRefCounted<hostapi::TIExpert> {
public:
    // Puts the separator and the "Quorlin" command into the host's Edit menu and registers the
    // notifier, when the tool services are kept.
    TQuorlinExpert();

    std::string GetName() override { return "Pemberlot"; }
    std::string GetAuthor() override { return {}; }
    std::string GetComment() override { return {}; }
    std::string GetPage() override { return {}; }
    uintptr_t GetGlyph() override { return 0; }
    int GetStyle() override { return hostapi::esAddIn; }
    hostapi::TExpertState GetState() override { return hostapi::esEnabled; }
    std::string GetIDString() override { return "Pemberlot.Quorlin"; }
    std::string GetMenuText() override { return "Insert Code"; }
    void Execute() override {}

    // The "Quorlin" command: creates the tool window on first use, else brings it to the front.
    void QuorlinItemClick(hostapi::TIMenuItemIntf* sender);

    hostapi::TIMenuItemIntf* SeparatorItem = nullptr;
    hostapi::TIMenuItemIntf* QuorlinItem = nullptr;
    TAddInNotifier* Notifier = nullptr;

protected:
    ~TQuorlinExpert() override;

private:
    void InsertMenuItems();
};

// Handed to the host by the entry point; called when the host unloads the add-in.
void TerminateProc();

}  // namespace quorlin
