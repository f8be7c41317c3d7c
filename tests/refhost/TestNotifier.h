#pragma once
// A notifier that records what the host tells it; optionally unregisters itself on its first call.

#include <string>
#include <vector>

#include "hostapi/ToolIntf.h"

namespace refhost::test {

class TestNotifier : public hostapi::TIAddInNotifier {
public:
    struct Call {
        int Code;
        std::string FileName;
        bool operator==(const Call&) const = default;
    };

    int AddRef() override { return ++count; }
    int Release() override { return --count; }
    int GetVersion() override { return 3; }

    void FileNotification(int notifyCode, const std::string& fileName, bool& /*cancel*/) override
    {
        calls.push_back({notifyCode, fileName});
        if (services && removeSelfOnCall) {
            removeSelfOnCall = false;
            services->RemoveNotifier(this);
            countDuringCall = count;
        }
    }
    void EventNotification(int /*notifyCode*/, bool& /*cancel*/) override {}

    int count = 1;
    int countDuringCall = 0;
    std::vector<Call> calls;
    hostapi::TIToolServices* services = nullptr;
    bool removeSelfOnCall = false;
};

}  // namespace refhost::test
