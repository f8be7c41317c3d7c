#pragma once
// A unit's outline: the tool window's routine list with the line each entry's jump reaches.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lsp {

// The kinds of the protocol's SymbolKind that routines and units get.
enum class SymbolKind { Module = 2, Method = 6, Constructor = 9, Function = 12 };

struct RoutineSymbol {
    // The entry cut in two, in the file's bytes: Name + Detail is the entry.
    std::string Name;
    std::string Detail;
    SymbolKind Kind = SymbolKind::Function;
    // The header line (0-based) the jump reaches and where the name stands in it; without a line
    // (an entry the jump cannot find) the implementation line, its whole width.
    int32_t Line = 0;
    size_t NameStart = 0;
    size_t NameEnd = 0;
};

struct Outline {
    std::vector<RoutineSymbol> Symbols;
    // 1-based line too long for the add-in's reader that cut the list short; 0 when none did.
    int32_t LongLine = 0;
};

// entries: the routine list of the unit whose buffer lines (SplitBufferLines) are lines, in source
// order; cp932: the unit's bytes are code page 932 (else UTF-8), whose trail bytes can look like
// '(' or '{'.
Outline BuildOutline(const std::vector<std::string_view>& lines, const std::vector<std::string>& entries, bool cp932);

// The routine's name at the start of an entry: up to a parameter list, a result type, the ';' or a
// blank; the whole entry when that leaves nothing.
size_t NameLength(std::string_view entry, bool cp932);

}  // namespace lsp
