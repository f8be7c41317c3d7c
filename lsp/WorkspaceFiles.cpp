#include "WorkspaceFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/Cp932.h"
#include "platform/FilePath.h"
#include "platform/RegularFile.h"
#include "refhost/ProjectFile.h"

namespace lsp {

namespace {

std::string_view ExtensionOf(std::string_view path)
{
    size_t slash = path.rfind('/');
    size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return path.substr(dot);
}

std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

bool IsUnitFile(std::string_view path)
{
    std::string_view extension = ExtensionOf(path);
    return platform::SameText(extension, ".pas") || platform::SameText(extension, ".pp")
        || platform::SameText(extension, ".dpr") || platform::SameText(extension, ".lpr");
}

bool IsFormFile(std::string_view path)
{
    return platform::SameText(ExtensionOf(path), ".dfm");
}

bool IsProjectFile(std::string_view path)
{
    return platform::SameText(ExtensionOf(path), ".dpr");
}

std::string_view UnitNameOf(std::string_view path)
{
    size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.size() - ExtensionOf(name).size());
}

bool ReadFileBytes(const std::string& path, std::string& bytes)
{
    std::string reason;
    off_t size = 0;
    int fd = platform::OpenRegularFile(path, O_RDONLY, reason, &size);
    if (fd < 0)
        return false;
    bytes.resize(static_cast<size_t>(std::max<off_t>(size, 0)));
    size_t got = 0;
    while (got < bytes.size()) {
        ssize_t read = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            break;
        got += static_cast<size_t>(read);
    }
    close(fd);
    bytes.resize(got);
    return true;
}

std::vector<std::string> ProjectUnits(const std::string& projectFile, std::string_view source)
{
    return refhost::ParseProjectUnits(std::string(source), platform::ExtractFilePath(projectFile));
}

void WorkspaceFiles::SetFolders(std::vector<std::string> folders)
{
    folders_ = std::move(folders);
}

void WorkspaceFiles::Rescan()
{
    units_.clear();
    listed_.clear();
    std::vector<std::string> projects;
    for (const std::string& folder : folders_) {
        std::error_code error;
        auto options = std::filesystem::directory_options::skip_permission_denied;
        for (std::filesystem::recursive_directory_iterator it(folder, options, error), end; !error && it != end;
             it.increment(error)) {
            std::string name = it->path().filename().string();
            std::error_code typeError;
            if (it->is_directory(typeError)) {
                if (name.starts_with("."))
                    it.disable_recursion_pending();
                continue;
            }
            std::string path = it->path().string();
            if (!IsUnitFile(path) || !it->is_regular_file(typeError))
                continue;
            units_.push_back(path);
            if (IsProjectFile(path))
                projects.push_back(path);
        }
    }
    for (const std::string& project : projects) {
        for (std::string& unit : ProjectUnits(project, ReadWhole(project))) {
            listed_.push_back(unit);
            if (IsFile(unit))
                units_.push_back(std::move(unit));
        }
    }
    std::sort(units_.begin(), units_.end());
    units_.erase(std::unique(units_.begin(), units_.end()), units_.end());
}

bool WorkspaceFiles::Contains(const std::string& path) const
{
    return std::binary_search(units_.begin(), units_.end(), path);
}

bool WorkspaceFiles::IsInside(const std::string& path) const
{
    for (const std::string& folder : folders_) {
        if (path.size() > folder.size() && path.starts_with(folder) && (folder.ends_with("/") || path[folder.size()] == '/'))
            return true;
    }
    return Contains(path);
}

std::string WorkspaceFiles::FindUnit(std::string_view name, const std::string& fromFile, std::string_view fromSource) const
{
    auto named = [&](const std::string& path) { return platform::SameText(UnitNameOf(path), name); };
    if (IsProjectFile(fromFile)) {
        for (const std::string& unit : ProjectUnits(fromFile, fromSource)) {
            if (named(unit) && IsFile(unit))
                return unit;
        }
    }
    for (const std::string& unit : listed_) {
        if (named(unit) && IsFile(unit))
            return unit;
    }
    std::string folder = platform::ExtractFilePath(fromFile);
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string path = it->path().string();
        if (IsUnitFile(path) && named(path) && !IsProjectFile(path))
            return path;
    }
    for (const std::string& unit : units_) {
        if (named(unit) && !IsProjectFile(unit))
            return unit;
    }
    return {};
}

}  // namespace lsp
