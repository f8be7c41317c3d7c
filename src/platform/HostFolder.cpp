#include "platform/HostFolder.h"

#include "platform/FilePath.h"

#include <climits>
#include <mutex>
#include <unistd.h>

namespace platform {

namespace {

struct HostState {
    std::mutex mutex;
    std::string folder;
    std::string exeName;
    bool folderSet = false;
    bool exeNameSet = false;
};

HostState& State()
{
    static HostState state;
    return state;
}

std::string ExePath()
{
    char buffer[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

}  // namespace

std::string HostFolder()
{
    HostState& state = State();
    std::lock_guard lock(state.mutex);
    if (state.folderSet) {
        return state.folder;
    }
    std::string folder = ExtractFilePath(ExePath());
    return folder.empty() ? std::string() : IncludeTrailingPathDelimiter(folder);
}

void SetHostFolder(const std::string& folder)
{
    HostState& state = State();
    std::lock_guard lock(state.mutex);
    // An empty folder goes back to the executable's: "/" would put data files at the root.
    state.folderSet = !folder.empty();
    state.folder = folder.empty() ? std::string() : IncludeTrailingPathDelimiter(folder);
}

std::string HostExeName()
{
    HostState& state = State();
    std::lock_guard lock(state.mutex);
    return state.exeNameSet ? state.exeName : ExtractFileName(ExePath());
}

void SetHostExeName(const std::string& name)
{
    HostState& state = State();
    std::lock_guard lock(state.mutex);
    state.exeNameSet = !name.empty();
    state.exeName = name;
}

std::string InHostFolder(const std::string& fileName)
{
    return ExtractFilePath(fileName).empty() ? HostFolder() + fileName : fileName;
}

}  // namespace platform
