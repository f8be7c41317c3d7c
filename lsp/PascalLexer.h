#pragma once
// The code of an Object Pascal source as tokens, without its comments, strings and compiler
// directives: enough for lexical answers (whole identifiers, uses clauses), not a parser.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace lsp {

struct Token {
    enum Kind { Identifier, Symbol } What;
    size_t Offset;     // into the text
    size_t Length;
    int32_t Line;      // 0-based; a line ends at CR LF, LF or CR
    size_t LineStart;  // offset of the line's first byte
};

// Calls each for every identifier and every other character of code in text, in order, until it
// answers false. cp932: the text is code page 932, whose trail bytes can look like '}' or '''.
void ForEachToken(std::string_view text, bool cp932, const std::function<bool(const Token&)>& each);

// Offset of the first occurrence of word in text, letters compared without regard to case; npos
// when there is none. A quick look whether a file is worth lexing at all.
size_t FindIgnoringCase(std::string_view text, std::string_view word);

// The identifier of line around offset (also just after its last letter); empty when none.
std::string_view IdentifierAt(std::string_view line, size_t offset, size_t& start);

inline bool IsIdentifierStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

inline bool IsIdentifierPart(char c)
{
    return IsIdentifierStart(c) || (c >= '0' && c <= '9');
}

}  // namespace lsp
