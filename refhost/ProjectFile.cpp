#include "ProjectFile.h"

#include <cctype>

#include "RefHost.h"
#include "platform/Cp932.h"

namespace refhost {

namespace {

enum class TokenKind { Word, String, Symbol, End };

struct Token {
    TokenKind Kind = TokenKind::End;
    std::string Text;
    size_t Start = 0;  // offset in the source
};

// Pascal tokens with comments ({...}, (*...*), //...) and blanks skipped.
class Tokenizer {
public:
    explicit Tokenizer(const std::string& source) : text_(source) {}

    Token Next()
    {
        SkipBlanksAndComments();
        Token token;
        token.Start = at_;
        if (at_ >= text_.size())
            return token;
        unsigned char c = text_[at_];
        if (std::isalpha(c) || c == '_') {
            size_t start = at_;
            while (at_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[at_])) ||
                                          text_[at_] == '_' || text_[at_] == '.'))
                ++at_;
            token.Kind = TokenKind::Word;
            token.Text = text_.substr(start, at_ - start);
        } else if (c == '\'') {
            token.Kind = TokenKind::String;
            ++at_;
            while (at_ < text_.size()) {
                if (text_[at_] == '\'') {
                    if (at_ + 1 < text_.size() && text_[at_ + 1] == '\'') {
                        token.Text += '\'';
                        at_ += 2;
                        continue;
                    }
                    ++at_;
                    break;
                }
                token.Text += text_[at_++];
            }
        } else {
            token.Kind = TokenKind::Symbol;
            token.Text = std::string(1, static_cast<char>(c));
            ++at_;
        }
        return token;
    }

private:
    void SkipBlanksAndComments()
    {
        while (at_ < text_.size()) {
            unsigned char c = text_[at_];
            if (c <= ' ') {
                ++at_;
            } else if (c == '{') {
                SkipPast("}", at_ + 1);
            } else if (text_.compare(at_, 2, "(*") == 0) {
                SkipPast("*)", at_ + 2);
            } else if (text_.compare(at_, 2, "//") == 0) {
                SkipPast("\n", at_ + 2);
            } else {
                return;
            }
        }
    }

    void SkipPast(const char* closing, size_t from)
    {
        size_t end = text_.find(closing, from);
        at_ = end == std::string::npos ? text_.size() : end + std::char_traits<char>::length(closing);
    }

    const std::string& text_;
    size_t at_ = 0;
};

}  // namespace

std::vector<std::string> ParseProjectUnits(const std::string& source, const std::string& projectFolder)
{
    std::vector<std::string> units;
    Tokenizer tokens(source);
    Token token = tokens.Next();
    while (token.Kind != TokenKind::End &&
           !(token.Kind == TokenKind::Word && platform::SameText(token.Text, "uses")))
        token = tokens.Next();
    if (token.Kind == TokenKind::End)
        return units;

    token = tokens.Next();
    while (token.Kind != TokenKind::End && token.Text != ";") {
        bool afterIn = token.Kind == TokenKind::Word && platform::SameText(token.Text, "in");
        token = tokens.Next();
        if (afterIn && token.Kind == TokenKind::String) {
            std::string path = token.Text;
            for (char& c : path) {
                if (c == '\\')
                    c = '/';
            }
            units.push_back(Host::NormalizeFileName(path.starts_with('/') ? path : projectFolder + path));
            token = tokens.Next();
        }
    }
    return units;
}

std::string AddProjectUnit(const std::string& source, const std::string& unitName, const std::string& path)
{
    std::string quoted;
    for (char c : path)
        quoted += c == '\'' ? std::string("''") : std::string(1, c);
    std::string entry = unitName + " in '" + quoted + "'";
    Tokenizer tokens(source);
    Token token = tokens.Next();
    size_t headingEnd = std::string::npos;
    while (token.Kind != TokenKind::End &&
           !(token.Kind == TokenKind::Word && platform::SameText(token.Text, "uses"))) {
        if (headingEnd == std::string::npos && token.Text == ";")
            headingEnd = token.Start + 1;
        token = tokens.Next();
    }
    std::string result = source;
    if (token.Kind == TokenKind::End) {
        size_t at = headingEnd == std::string::npos ? 0 : headingEnd;
        return result.insert(at, "\r\n\r\nuses\r\n  " + entry + ";");
    }
    while (token.Kind != TokenKind::End && token.Text != ";")
        token = tokens.Next();
    if (token.Kind == TokenKind::End)
        return result + ",\r\n  " + entry + ";";
    return result.insert(token.Start, ",\r\n  " + entry);
}

}  // namespace refhost
