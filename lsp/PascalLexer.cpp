#include "PascalLexer.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/Cp932.h"

namespace lsp {

namespace {

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Walks a text byte by byte, keeping the line it is on.
class Cursor {
public:
    Cursor(std::string_view text, bool cp932) : text_(text), cp932_(cp932) {}

    bool AtEnd() const { return at_ >= text_.size(); }
    char Peek(size_t ahead = 0) const { return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\0'; }
    size_t Offset() const { return at_; }
    int32_t Line() const { return line_; }
    size_t LineStart() const { return lineStart_; }
    bool AtLineBreak() const { return Peek() == '\n' || Peek() == '\r'; }

    // Passes one character: a line break (CR LF as one), a two-byte character or one byte.
    void Advance()
    {
        char c = text_[at_];
        if (c == '\r' || c == '\n') {
            at_ += c == '\r' && Peek(1) == '\n' ? 2 : 1;
            ++line_;
            lineStart_ = at_;
            return;
        }
        at_ += cp932_ && platform::IsLeadByte(static_cast<unsigned char>(c)) && at_ + 1 < text_.size() ? 2 : 1;
    }
    void Skip(size_t bytes) { at_ += bytes; }  // within one line

    // Passes characters up to and including the closing text; to the end when it never comes.
    void PassTo(std::string_view closing)
    {
        while (!AtEnd()) {
            if (text_.compare(at_, closing.size(), closing) == 0) {
                at_ += closing.size();
                return;
            }
            Advance();
        }
    }

private:
    std::string_view text_;
    bool cp932_;
    size_t at_ = 0;
    int32_t line_ = 0;
    size_t lineStart_ = 0;
};

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (Lower(c) >= 'a' && Lower(c) <= 'f');
}

}  // namespace

void ForEachToken(std::string_view text, bool cp932, const std::function<bool(const Token&)>& each)
{
    Cursor cursor(text, cp932);
    while (!cursor.AtEnd()) {
        char c = cursor.Peek();
        if (c == '{') {
            cursor.PassTo("}");
        } else if (c == '(' && cursor.Peek(1) == '*') {
            cursor.Skip(2);
            cursor.PassTo("*)");
        } else if (c == '/' && cursor.Peek(1) == '/') {
            while (!cursor.AtEnd() && !cursor.AtLineBreak())
                cursor.Advance();
        } else if (c == '\'') {
            // A string ends at its closing quote ('' stands for a quote) or at the line's end.
            cursor.Skip(1);
            while (!cursor.AtEnd() && !cursor.AtLineBreak()) {
                if (cursor.Peek() == '\'') {
                    cursor.Skip(1);
                    if (cursor.Peek() != '\'')
                        break;
                }
                cursor.Advance();
            }
        } else if (c == '$' || (c >= '0' && c <= '9') || c == '#') {
            // Numbers and character codes: their letters (hex digits, exponents) are no names.
            cursor.Skip(1);
            if (c == '#' && cursor.Peek() == '$')
                cursor.Skip(1);
            while (IsHexDigit(cursor.Peek()) || IsIdentifierPart(cursor.Peek()))
                cursor.Skip(1);
        } else if (IsIdentifierStart(c)) {
            Token token{Token::Identifier, cursor.Offset(), 0, cursor.Line(), cursor.LineStart()};
            while (IsIdentifierPart(cursor.Peek()))
                cursor.Skip(1);
            token.Length = cursor.Offset() - token.Offset;
            if (!each(token))
                return;
        } else if (c == '\r' || c == '\n' || static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x80) {
            cursor.Advance();
        } else {
            if (!each(Token{Token::Symbol, cursor.Offset(), 1, cursor.Line(), cursor.LineStart()}))
                return;
            cursor.Skip(1);
        }
    }
}

size_t FindIgnoringCase(std::string_view text, std::string_view word)
{
    size_t length = word.size();
    if (length == 0 || length > text.size())
        return std::string_view::npos;
    // Horspool's search over letters folded to small ones: a byte that is not in the word moves it
    // on by its whole length.
    std::array<size_t, 256> shift;
    shift.fill(length);
    std::string folded(word);
    for (size_t i = 0; i < length; ++i) {
        folded[i] = Lower(folded[i]);
        if (i + 1 < length) {
            auto c = static_cast<unsigned char>(folded[i]);
            shift[c] = length - 1 - i;
            shift[static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c)] = length - 1 - i;
        }
    }
    char last = folded[length - 1];
    for (size_t at = 0; at + length <= text.size();) {
        char c = text[at + length - 1];
        if (Lower(c) == last) {
            size_t i = 0;
            while (i + 1 < length && Lower(text[at + i]) == folded[i])
                ++i;
            if (i + 1 == length)
                return at;
        }
        at += shift[static_cast<unsigned char>(c)];
    }
    return std::string_view::npos;
}

std::string_view IdentifierAt(std::string_view line, size_t offset, size_t& start)
{
    offset = std::min(offset, line.size());
    size_t begin = offset;
    while (begin > 0 && IsIdentifierPart(line[begin - 1]))
        --begin;
    size_t end = offset;
    while (end < line.size() && IsIdentifierPart(line[end]))
        ++end;
    // A name starts with a letter; digits before it belong to something else.
    while (begin < end && !IsIdentifierStart(line[begin]))
        ++begin;
    start = begin;
    return line.substr(begin, end - begin);
}

}  // namespace lsp
