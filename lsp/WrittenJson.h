#pragma once
// Results a handler writes as JSON text itself, for answers too big to build as a tree first (the
// outline of a big unit holds thousands of symbols): the reply takes the text in as it is. The
// text travels in a binary value of its own subtype, which no message read from a client holds.

#include <algorithm>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace lsp {

inline constexpr std::uint64_t WrittenJsonSubtype = 0x4A534F4E;

// text: one complete JSON value.
inline nlohmann::json WrittenJson(std::string_view text)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    return nlohmann::json::binary(nlohmann::json::binary_t::container_type(bytes, bytes + text.size()), WrittenJsonSubtype);
}

inline bool IsWrittenJson(const nlohmann::json& value)
{
    return value.is_binary() && value.get_binary().has_subtype() && value.get_binary().subtype() == WrittenJsonSubtype;
}

// Appends a string as a JSON value's text, escaped as the library escapes it; bytes that are not
// UTF-8 become U+FFFD.
inline void AppendJsonString(std::string& out, std::string_view text)
{
    // Most names need no escaping: printable ASCII without quotes or backslashes.
    bool plain = std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F && c != '"' && c != '\\'; });
    if (plain) {
        out += '"';
        out += text;
        out += '"';
    } else {
        out += nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    }
}

}  // namespace lsp
