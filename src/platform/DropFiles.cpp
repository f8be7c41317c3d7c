#include "platform/DropFiles.h"

#include <map>
#include <mutex>
#include <set>

namespace platform {

namespace {

struct DropState {
    std::mutex lock;
    std::set<uintptr_t> targets;
    std::map<HDROP, std::vector<std::string>> drops;
    HDROP lastHandle = 0;
};

DropState& State()
{
    static DropState state;
    return state;
}

}  // namespace

void DragAcceptFiles(uintptr_t window, bool accept)
{
    DropState& state = State();
    std::lock_guard guard(state.lock);
    if (accept) {
        state.targets.insert(window);
    } else {
        state.targets.erase(window);
    }
}

bool AcceptsDroppedFiles(uintptr_t window)
{
    DropState& state = State();
    std::lock_guard guard(state.lock);
    return state.targets.count(window) > 0;
}

HDROP CreateDrop(std::vector<std::string> fileNames)
{
    DropState& state = State();
    std::lock_guard guard(state.lock);
    HDROP handle = ++state.lastHandle;
    state.drops.emplace(handle, std::move(fileNames));
    return handle;
}

unsigned DragQueryFileCount(HDROP drop)
{
    DropState& state = State();
    std::lock_guard guard(state.lock);
    auto found = state.drops.find(drop);
    return found == state.drops.end() ? 0 : static_cast<unsigned>(found->second.size());
}

std::string DragQueryFile(HDROP drop, unsigned index, size_t bufferSize)
{
    DropState& state = State();
    std::lock_guard guard(state.lock);
    auto found = state.drops.find(drop);
    if (found == state.drops.end() || index >= found->second.size() || bufferSize == 0) {
        return std::string();
    }
    const std::string& name = found->second[index];
    return name.substr(0, bufferSize - 1);
}

void DragFinish(HDROP drop)
{
    DropState& state = State();
    std::lock_guard guard(state.lock);
    state.drops.erase(drop);
}

size_t LiveDropCount()
{
    DropState& state = State();
    std::lock_guard guard(state.lock);
    return state.drops.size();
}

}  // namespace platform
