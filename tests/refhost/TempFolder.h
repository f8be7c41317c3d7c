#pragma once
// A temporary folder for files a test writes; removed with everything in it at the end.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace refhost::test {

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "refhost-XXXXXX").string();
        if (char* made = mkdtemp(pattern.data()))
            path_ = made;
    }
    ~TempFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The full name of a file in the folder.
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    std::string Write(const std::string& name, const std::string& content) const
    {
        std::string fileName = *this / name;
        std::filesystem::create_directories(std::filesystem::path(fileName).parent_path());
        std::ofstream(fileName, std::ios::binary) << content;
        return fileName;
    }

    static std::string Read(const std::string& fileName)
    {
        std::ifstream in(fileName, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace refhost::test
