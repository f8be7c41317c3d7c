#pragma once
// What stands around a name in a unit's code, as far as a definition needs it: a uses clause, or
// a routine's declaration inside class types. Read from the tokens, not parsed.

#include <string>
#include <string_view>

namespace lsp {

struct CodeContext {
    bool InUses = false;    // in a uses (contains, requires) clause
    bool Declared = false;  // after a routine keyword
    std::string Qualifier;  // the class types around it, "TOuter.TInner"
};

// What stands around the identifier at offset in text (code page 932 when cp932, else UTF-8).

CodeContext ContextAt(std::string_view text, bool cp932, size_t offset);

}  // namespace lsp
