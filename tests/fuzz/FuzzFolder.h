#pragma once
// One temporary folder per fuzzing process for targets that need files, removed when it ends.

#include <cstdlib>
#include <filesystem>
#include <string>

inline const std::string& FuzzFolder()
{
    // Never destroyed, so the removal at exit still has the name.
    static const std::string* folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorlin-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        std::atexit([] { std::filesystem::remove_all(FuzzFolder()); });
        return new std::string(pattern);
    }();
    return *folder;
}
