#include "FormNames.h"

#include <algorithm>

#include "platform/Cp932.h"

namespace forms {

namespace {

bool IsIdentifierPart(std::string_view name)
{
    if (name.empty() || (name[0] >= '0' && name[0] <= '9'))
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    });
}

}  // namespace

bool IsFormIdentifier(std::string_view name) { return name.size() <= MaxNameLength && IsIdentifierPart(name); }

bool IsDottedIdentifier(std::string_view name)
{
    if (name.size() > MaxNameLength)
        return false;
    for (size_t start = 0;;) {
        size_t dot = name.find('.', start);
        if (!IsIdentifierPart(name.substr(start, dot - start)))
            return false;
        if (dot == std::string_view::npos)
            return true;
        start = dot + 1;
    }
}

bool IsPropertyPath(std::string_view name)
{
    if (!IsDottedIdentifier(name))
        return false;
    std::string_view first = name.substr(0, name.find('.'));
    for (const char* word : {"object", "inherited", "inline", "end"}) {
        if (platform::SameText(first, word))
            return false;
    }
    return true;
}

}  // namespace forms
