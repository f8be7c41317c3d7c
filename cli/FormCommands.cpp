#include "FormCommands.h"

#include <string>

#include "FormFileLoad.h"
#include "platform/Cp932.h"

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

}  // namespace

int ShowForm(const CliOptions& options, std::FILE* out)
{
    forms::FormFile form;
    FormLoadError error;
    if (!LoadFormFile(options.Operands[0], form, error)) {
        std::fprintf(stderr, "quorlin: %s\n", error.Message.c_str());
        return 1;
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
