// Any bytes as a form file (text, bare stream, 16-bit or 32-bit resource): the reader ends, and a
// rename of the first named object is accepted exactly when the new name is free, gives a file that
// reads back with the new name in its place and the same text form otherwise, and renaming back
// restores every byte.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Cp932.h"
#include "refhost/forms/FormFile.h"

namespace {

const forms::FormObject* FirstNamedChild(const forms::FormObject& object)
{
    for (const forms::FormObject& child : object.Children) {
        if (!child.Name.empty())
            return &child;
        if (const forms::FormObject* found = FirstNamedChild(child))
            return found;
    }
    return nullptr;
}

int CountNamed(const forms::FormObject& object, const std::string& name)
{
    int count = platform::SameText(object.Name, name);
    for (const forms::FormObject& child : object.Children)
        count += CountNamed(child, name);
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    forms::FormFile form;
    forms::FormError error;
    if (!forms::ReadFormFile(std::string(reinterpret_cast<const char*>(data), size), form, error)) {
        if (error.Offset > size || error.Message.empty())
            std::abort();
        return 0;
    }
    const forms::FormObject* child = FirstNamedChild(form.Root);
    if (!child)
        return 0;
    std::string oldName = child->Name;
    std::string newName = "Renamed_" + std::to_string(oldName.size());
    bool renamable = CountNamed(form.Root, newName) == 0;
    forms::FormFile renamed = form;
    auto never = [](const std::string&, const std::string&) { return false; };
    if (forms::RenameFormObject(renamed, *FirstNamedChild(renamed.Root), newName, never) != renamable)
        std::abort();
    if (!renamable)
        return 0;
    const forms::FormObject* now = FirstNamedChild(renamed.Root);
    if (!now || now->Name != newName || renamed.Format != form.Format ||
        forms::FormFileAsText(renamed).size() != forms::FormFileAsText(form).size() - oldName.size() + newName.size())
        std::abort();
    // Renaming back is refused when the old name was not a component name or another object's too.
    if (!forms::IsComponentName(oldName) || CountNamed(form.Root, oldName) != 1)
        return 0;
    forms::FormFile back = renamed;
    // In a 32-bit resource file the form's data is followed by zeros up to a 4-byte boundary, as a
    // resource compiler writes it, whatever the padding held before.
    std::string expected = form.Bytes;
    if (form.Format == forms::FormFormat::Resource32) {
        size_t padded = (form.StreamEnd + 3) & ~size_t(3);
        expected.replace(form.StreamEnd, std::min(padded, expected.size()) - form.StreamEnd, padded - form.StreamEnd, '\0');
    }
    if (!forms::RenameFormObject(back, *FirstNamedChild(back.Root), oldName, never) || back.Bytes != expected)
        std::abort();
    return 0;
}
