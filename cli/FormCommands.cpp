#include "FormCommands.h"

#include <cerrno>
#include <cstring>
#include <string>

#include <nlohmann/json.hpp>

#include "JsonOutput.h"
#include "platform/Cp932.h"
#include "platform/FilePath.h"
#include "refhost/forms/FormFile.h"

namespace cli {

namespace {

void PrintTree(const forms::FormObject& object, int level, bool raw, std::string& text)
{
    text.append(static_cast<size_t>(level) * 2, ' ');
    std::string line = object.Name + ": " + object.ClassName;
    text += raw ? line : platform::Cp932ToUtf8(line);
    text += '\n';
    for (const forms::FormObject& child : object.Children)
        PrintTree(child, level + 1, raw, text);
}

// The tree as --json gives it; names and classes in UTF-8.
nlohmann::ordered_json TreeDocument(const forms::FormObject& object)
{
    nlohmann::ordered_json children = nlohmann::ordered_json::array();
    for (const forms::FormObject& child : object.Children)
        children.push_back(TreeDocument(child));
    return {{"name", platform::Cp932ToUtf8(object.Name)},
            {"class", platform::Cp932ToUtf8(object.ClassName)},
            {"children", std::move(children)}};
}

}  // namespace

int ShowForm(const CliOptions& options, std::FILE* out)
{
    const std::string& fileName = options.Operands[0];
    std::string bytes;
    if (platform::DirectoryExists(fileName) || !platform::ReadWholeFile(fileName, bytes)) {
        std::fprintf(stderr, "quorlin: %s: %s\n", fileName.c_str(),
                     std::strerror(platform::DirectoryExists(fileName) ? EISDIR : errno ? errno : ENOENT));
        return 1;
    }
    forms::FormFile form;
    forms::FormError error;
    if (!forms::ReadFormFile(std::move(bytes), form, error)) {
        std::fprintf(stderr, "quorlin: %s\n", forms::DescribeFormError(fileName, error).c_str());
        return 1;
    }
    if (options.Json) {
        PrintJson(out, TreeDocument(form.Root));
        return 0;
    }
    std::string text;
    if (options.FormText)
        text = forms::FormFileAsText(form, options.Raw ? forms::TextStyle::Stored : forms::TextStyle::Ascii);
    else
        PrintTree(form.Root, 0, options.Raw, text);
    std::fwrite(text.data(), 1, text.size(), out);
    return 0;
}

}  // namespace cli
