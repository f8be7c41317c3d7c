// Any bytes as a form file (text, bare stream, 16-bit or 32-bit resource): the reader ends, and a
// rename of the first named object gives a file that reads back with the new name in its place and
// the same text form otherwise.

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
    bool renamable = forms::IsComponentName(oldName) && CountNamed(form.Root, oldName) == 1 &&
                     CountNamed(form.Root, newName) == 0;
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
    forms::FormFile back = renamed;
    if (!forms::RenameFormObject(back, *FirstNamedChild(back.Root), oldName, never) || back.Bytes != form.Bytes)
        std::abort();
    return 0;
}
