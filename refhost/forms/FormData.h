#pragma once
// A form file's objects as read from either of its two forms (binary stream or text), with the
// places of the tokens a rename may change, so that a rename can be written back in place.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace forms {

constexpr size_t NoOffset = static_cast<size_t>(-1);

struct FormProperty;

// One collection item: its optional order and its properties.
struct FormItem {
    bool HasOrder = false;
    int64_t Order = 0;
    std::vector<FormProperty> Properties;
};

struct FormValue {
    enum class Kind {
        Integer,     // Int: 8-, 16- or 32-bit, written in the smallest width
        Int64,       // Int
        Extended,    // Float
        Single,      // Float
        Double,      // Float
        Currency,    // Int holds the value times 10000
        Date,        // Float
        String,      // Text: code page 932 bytes
        WideString,  // Wide: UTF-16 code units
        Utf8String,  // Text: UTF-8 bytes
        Ident,       // Text: an enumeration value, a component reference or a handler name
        False,
        True,
        Nil,
        Null,
        Set,         // Names
        List,        // Elements
        Collection,  // Items
        Binary,      // Text: the bytes
    };
    Kind Type = Kind::Null;
    int64_t Int = 0;
    long double Float = 0;
    std::string Text;
    std::u16string Wide;
    std::vector<std::string> Names;
    std::vector<FormValue> Elements;
    std::vector<FormItem> Items;
    // For an identifier: where its text starts in the file (the length byte in a binary stream).
    size_t Offset = NoOffset;
};

struct FormProperty {
    std::string Name;  // may be dotted: Font.Name, Lines.Strings
    FormValue Value;
};

struct FormObject {
    enum class Header { Object, Inherited, Inline };
    Header Kind = Header::Object;
    std::string Name;  // empty for a nameless object
    std::string ClassName;
    bool HasOrder = false;  // the child position of an inherited form's object
    int64_t Order = 0;
    std::vector<FormProperty> Properties;
    std::vector<FormObject> Children;
    // Where the name starts in the file (the length byte in a binary stream); for a nameless
    // object where it would be.
    size_t NameOffset = NoOffset;
};

// A reader's complaint about damaged input: the byte offset where reading stopped and why.
struct FormError {
    size_t Offset = 0;
    std::string Message;
};

}  // namespace forms
