#include "services/DataFolder.h"

#include <set>
#include <string>

#include "platform/FileWrite.h"
#include "platform/HostFolder.h"
#include "platform/RegularFile.h"
#include "toolkit/Application.h"

namespace quorlin {

namespace {

constexpr const char* DataFiles[] = {"Quorlin.Dat", "Quorlin.Jmp", "CodeIni.Ini", "Class.ini", "SysForm.ini",
                                     "Version.ini"};

// The jump history is made anew by every tool window, and failing that is an error of its own.
constexpr std::string_view JumpHistoryFile = "Quorlin.Jmp";

}  // namespace

void PrepareDataFolder()
{
    static std::set<std::string> reported;
    for (std::string_view name : DataFiles) {
        std::string fileName = platform::InHostFolder(std::string(name));
        platform::RemoveStaleTemporaries(fileName);
        if (name != JumpHistoryFile && platform::IsSpecialFile(fileName) && reported.insert(fileName).second)
            tk::ShowMessage(fileName + ": not a regular file; its settings are neither read nor saved");
    }
}

}  // namespace quorlin
