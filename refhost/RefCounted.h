#pragma once
// The reference counting every host object shares: born with a count of 1, deleted at 0.

#include "hostapi/ToolIntf.h"

namespace refhost {

constexpr int HostObjectVersion = 3;

template <class Interface>
class RefCounted : public Interface {
public:
    int AddRef() override { return ++count_; }
    int Release() override
    {
        int count = --count_;
        if (count == 0)
            delete this;
        return count;
    }
    int GetVersion() override { return HostObjectVersion; }

private:
    int count_ = 1;
};

}  // namespace refhost
