#pragma once
// The units of a workspace: the Pascal sources under its folders, in any letter case, and the units
// its project files list elsewhere; and where a unit named in a uses clause lives.

#include <string>
#include <string_view>
#include <vector>

namespace lsp {

// .pas, .pp, .dpr, .lpr in any letter case.
bool IsUnitFile(std::string_view path);
bool IsProjectFile(std::string_view path);
// .dfm in any letter case.
bool IsFormFile(std::string_view path);
// The file name without folder and extension: the unit's name.
std::string_view UnitNameOf(std::string_view path);

// A file's bytes, as many as it held when opened (a unit read for an answer, never written back);
// false when it is no regular file that can be read.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// The unit files a project lists ("Name in 'path'"), full paths as the host names them.
std::vector<std::string> ProjectUnits(const std::string& projectFile, std::string_view source);

class WorkspaceFiles {
public:
    void SetFolders(std::vector<std::string> folders);
    const std::vector<std::string>& Folders() const { return folders_; }
    // Walks the folders again (hidden folders are passed over) and reads their projects.
    void Rescan();
    // The units, sorted, without repeats.
    const std::vector<std::string>& Units() const { return units_; }
    bool Contains(const std::string& path) const;
    bool IsInside(const std::string& path) const;

    // The file of unit name for a uses clause in fromFile: as a project lists it (fromFile's own
    // first when it is one), else beside fromFile, else anywhere in the workspace; empty when none.
    std::string FindUnit(std::string_view name, const std::string& fromFile, std::string_view fromSource) const;

private:
    std::vector<std::string> folders_;
    std::vector<std::string> units_;
    std::vector<std::string> listed_;  // the units the projects list, in their order
};

}  // namespace lsp
