#include "tasks/TaskDetail.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/Cp932.h"
#include "platform/FilePath.h"
#include "platform/HostFolder.h"

namespace quorlin {

std::string TaskDetailFileName(const std::string& taskFileName)
{
    if (platform::SameText(platform::ExtractFileExt(taskFileName), ".txt"))
        return taskFileName + ".txt";
    return platform::ChangeFileExt(taskFileName, ".txt");
}

std::string ResolveLink(const std::string& link, const std::string& taskFileName)
{
    if (link.empty() || platform::IsPathDelimiter(link.front()))
        return link;
    return platform::ExtractFilePath(taskFileName) + link;
}

bool DetailFileUsable(const std::string& fileName)
{
    struct stat info {};
    if (stat(fileName.c_str(), &info) != 0) {
        return true;
    }
    return S_ISREG(info.st_mode) && access(fileName.c_str(), R_OK) == 0;
}

std::string DefaultLinkedFileName(std::string_view nodeText)
{
    std::string name;
    name.reserve(nodeText.size());
    for (size_t i = 0; i < nodeText.size(); ++i) {
        auto c = static_cast<unsigned char>(nodeText[i]);
        if (platform::IsLeadByte(c) && i + 1 < nodeText.size() &&
            platform::IsTrailByte(static_cast<unsigned char>(nodeText[i + 1]))) {
            // A trail byte may be 0x5C, the backslash; it is part of the character.
            name += nodeText.substr(i, 2);
            ++i;
        } else if (c < 0x20 || c == '/' || c == '\\') {
            name += '_';
        } else {
            name += static_cast<char>(c);
        }
    }
    return platform::HostFolder() + name + ".txt";
}

std::vector<std::string> DetailNoteLines(std::string_view value)
{
    std::vector<std::string> lines;
    for (size_t tilde = platform::FindText(value, "~"); tilde != std::string_view::npos;
         tilde = platform::FindText(value, "~")) {
        lines.push_back(platform::Trim(value.substr(0, tilde)));
        value.remove_prefix(tilde + 1);
    }
    return lines;
}

std::string MemoTextOfFile(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            text += "\r\n";
            ++i;
        } else if (c == '\r' || c == '\n') {
            text += "\r\n";
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace quorlin
