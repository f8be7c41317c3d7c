#include "CodeContext.h"

#include <vector>

#include "PascalLexer.h"
#include "platform/Cp932.h"

namespace lsp {

namespace {

bool IsRoutineKeyword(std::string_view word)
{
    return platform::SameText(word, "procedure") || platform::SameText(word, "function")
        || platform::SameText(word, "constructor") || platform::SameText(word, "destructor");
}

bool IsTypeKeyword(std::string_view word)
{
    return platform::SameText(word, "class") || platform::SameText(word, "object")
        || platform::SameText(word, "interface") || platform::SameText(word, "dispinterface")
        || platform::SameText(word, "record");
}

}  // namespace

CodeContext ContextAt(std::string_view text, bool cp932, size_t offset)
{
    std::vector<Token> tokens;
    ForEachToken(text, cp932, [&](const Token& token) {
        if (token.Offset > offset)
            return false;
        tokens.push_back(token);
        return true;
    });
    auto word = [&](size_t i) { return text.substr(tokens[i].Offset, tokens[i].Length); };
    auto is = [&](size_t i, std::string_view what) { return i < tokens.size() && platform::SameText(word(i), what); };
    CodeContext context;
    if (tokens.empty())
        return context;
    size_t at = tokens.size() - 1;
    for (size_t i = at; i-- > 0;) {
        if (is(i, ";"))
            break;
        if (tokens[i].What == Token::Identifier
            && (is(i, "uses") || is(i, "contains") || is(i, "requires"))) {
            context.InUses = true;
            break;
        }
    }
    context.Declared = at > 0 && tokens[at - 1].What == Token::Identifier && IsRoutineKeyword(word(at - 1));
    if (!context.Declared)
        return context;
    // The types whose bodies are open at the cursor: a named one from "Name = class" to its "end",
    // and unnamed blocks that an "end" closes as well.
    std::vector<std::string> open;
    for (size_t i = 0; i + 1 < at; ++i) {
        if (tokens[i].What != Token::Identifier)
            continue;
        if (is(i, "implementation")) {
            open.clear();
        } else if (is(i, "end")) {
            if (!open.empty())
                open.pop_back();
        } else if (is(i + 1, "=")) {
            size_t kind = i + 2;
            if (is(kind, "packed"))
                ++kind;
            if (kind >= at || !IsTypeKeyword(word(kind)))
                continue;
            size_t after = kind + 1;
            if (is(after, "of") || is(after, ";"))
                continue;  // a class reference or a forward declaration
            if (is(after, "(")) {
                while (after < at && !is(after, ")"))
                    ++after;
                if (is(after + 1, ";"))
                    continue;  // a class with no members of its own
            }
            open.emplace_back(word(i));
            i = kind;
        } else if (is(i, "record") || is(i, "begin") || is(i, "try") || is(i, "asm")
                   || (is(i, "case") && (open.empty() || !open.back().empty()))) {
            open.emplace_back();
        }
    }
    for (const std::string& name : open) {
        if (name.empty())
            continue;
        if (!context.Qualifier.empty())
            context.Qualifier += '.';
        context.Qualifier += name;
    }
    return context;
}

}  // namespace lsp
