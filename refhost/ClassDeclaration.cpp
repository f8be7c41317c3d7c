#include "ClassDeclaration.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "platform/Cp932.h"

namespace refhost {

namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }

// The identifiers and symbols of Pascal source, comments and strings passed over.
struct Token {
    size_t Offset;
    std::string_view Text;
    bool Ident;
};

std::vector<Token> PascalTokens(std::string_view source)
{
    std::vector<Token> tokens;
    size_t at = 0;
    auto skipTo = [&](std::string_view end) {
        size_t found = source.find(end, at);
        at = found == std::string_view::npos ? source.size() : found + end.size();
    };
    while (at < source.size()) {
        char c = source[at];
        if (c == '{') {
            skipTo("}");
        } else if (c == '(' && at + 1 < source.size() && source[at + 1] == '*') {
            at += 2;
            skipTo("*)");
        } else if (c == '/' && at + 1 < source.size() && source[at + 1] == '/') {
            skipTo("\n");
        } else if (c == '\'') {
            ++at;
            skipTo("'");
        } else if (IsIdentStart(c)) {
            size_t start = at;
            while (at < source.size() && IsIdentChar(source[at]))
                ++at;
            tokens.push_back({start, source.substr(start, at - start), true});
        } else if (static_cast<unsigned char>(c) <= ' ') {
            ++at;
        } else {
            size_t length = platform::IsLeadByte(static_cast<unsigned char>(c)) && at + 1 < source.size() ? 2 : 1;
            tokens.push_back({at, source.substr(at, length), false});
            at += length;
        }
    }
    return tokens;
}

// The tokens of "className = class(...) ... end" from the one after "class" up to "end"; empty range
// when the unit declares no such class.
std::pair<size_t, size_t> ClassDeclaration(const std::vector<Token>& tokens, const std::string& className)
{
    for (size_t i = 0; i + 3 < tokens.size(); ++i) {
        if (!tokens[i].Ident || !platform::SameText(tokens[i].Text, className) || tokens[i + 1].Text != "=" ||
            !platform::SameText(tokens[i + 2].Text, "class") || tokens[i + 3].Text == ";" ||
            platform::SameText(tokens[i + 3].Text, "of"))
            continue;
        int depth = 1;
        for (size_t j = i + 3; j < tokens.size(); ++j) {
            if (!tokens[j].Ident)
                continue;
            if (platform::SameText(tokens[j].Text, "record"))
                ++depth;
            else if (platform::SameText(tokens[j].Text, "end") && --depth == 0)
                return {i + 3, j};
        }
        return {i + 3, tokens.size()};
    }
    return {0, 0};
}

bool IsWord(const Token& token, const char* word) { return token.Ident && platform::SameText(token.Text, word); }

bool IsAnyWord(const Token& token, std::initializer_list<const char*> words)
{
    return std::any_of(words.begin(), words.end(), [&](const char* word) { return IsWord(token, word); });
}

// The index after the ';' that ends the declaration starting at i: the ';' outside parentheses,
// brackets and records (a record field's type holds declarations of its own).
size_t DeclarationEnd(const std::vector<Token>& tokens, size_t i, size_t last)
{
    int nesting = 0;
    for (; i < last; ++i) {
        const Token& token = tokens[i];
        if (token.Text == "(" || token.Text == "[" || IsWord(token, "record"))
            ++nesting;
        else if (token.Text == ")" || token.Text == "]" || IsWord(token, "end"))
            --nesting;
        else if (token.Text == ";" && nesting <= 0)
            return i + 1;
    }
    return last;
}

}  // namespace

std::string RenameInClassDeclaration(const std::string& source, const std::string& className,
                                     const std::string& oldName, const std::string& newName)
{
    std::vector<Token> tokens = PascalTokens(source);
    auto [first, last] = ClassDeclaration(tokens, className);
    std::string result;
    size_t copied = 0;
    for (size_t i = first; i < last; ++i) {
        if (tokens[i].Ident && platform::SameText(tokens[i].Text, oldName)) {
            result.append(source, copied, tokens[i].Offset - copied);
            result += newName;
            copied = tokens[i].Offset + tokens[i].Text.size();
        }
    }
    result.append(source, copied, std::string::npos);
    return result;
}

std::string DeclaredAncestor(const std::string& source, const std::string& className)
{
    std::vector<Token> tokens = PascalTokens(source);
    auto [first, last] = ClassDeclaration(tokens, className);
    if (first + 2 < last && tokens[first].Text == "(" && tokens[first + 1].Ident && tokens[first + 2].Text == ")")
        return std::string(tokens[first + 1].Text);
    return std::string();
}

std::vector<std::string> DeclaredMembers(const std::string& source, const std::string& className)
{
    std::vector<Token> tokens = PascalTokens(source);
    auto [i, last] = ClassDeclaration(tokens, className);
    if (i < last && tokens[i].Text == "(") {
        while (i < last && tokens[i].Text != ")")
            ++i;
        ++i;
    }
    std::vector<std::string> members;
    while (i < last) {
        const Token& token = tokens[i];
        if (!token.Ident) {
            i = DeclarationEnd(tokens, i, last);
            continue;
        }
        if (IsAnyWord(token, {"private", "protected", "public", "published", "automated", "strict", "class", "var"})) {
            ++i;
            continue;
        }
        if (IsAnyWord(token, {"procedure", "function", "constructor", "destructor", "property", "operator"})) {
            // "procedure IFoo.Bar = Baz" maps an interface's method and declares no member.
            if (i + 1 < last && tokens[i + 1].Ident && (i + 2 >= last || tokens[i + 2].Text != "."))
                members.emplace_back(tokens[i + 1].Text);
        } else {
            // "A, B: T" declares fields; directives such as "virtual;" and "default;" have no colon.
            size_t j = i;
            while (j + 1 < last && tokens[j].Ident && tokens[j + 1].Text == ",")
                j += 2;
            if (j + 1 < last && tokens[j].Ident && tokens[j + 1].Text == ":") {
                for (size_t k = i; k <= j; k += 2)
                    members.emplace_back(tokens[k].Text);
            }
        }
        i = DeclarationEnd(tokens, i, last);
    }
    return members;
}

}  // namespace refhost
