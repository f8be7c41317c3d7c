// The text form's reader: a small tokenizer and a recursive descent over objects and values.
// Nesting is limited so that hostile input cannot exhaust the stack.

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "FormNames.h"
#include "TextForm.h"
#include "platform/Cp932.h"
#include "platform/Utf16.h"

namespace forms {

namespace {

constexpr int MaxDepth = 256;

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
int HexValue(char c) { return IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10; }

struct Failure {
    size_t Offset;
    std::string Message;
};

class TextReader {
public:
    TextReader(std::string_view text, bool utf8) : text_(text), utf8_(utf8) {}

    void ReadRoot(FormObject& root)
    {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF")
            pos_ = 3;
        SkipBlanks();
        ReadObject(root, 0);
        SkipBlanks();
        if (pos_ < text_.size())
            Fail("text after the last end");
    }

private:
    [[noreturn]] void Fail(const std::string& message) { throw Failure{pos_, message}; }
    [[noreturn]] void FailAt(size_t offset, const std::string& message) { throw Failure{offset, message}; }

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

    void SkipBlanks()
    {
        while (!AtEnd() && static_cast<unsigned char>(text_[pos_]) <= ' ')
            ++pos_;
    }

    void Expect(char c, const char* what)
    {
        SkipBlanks();
        if (Peek() != c)
            Fail(AtEnd() ? std::string("unexpected end, ") + what + " expected" : std::string(what) + " expected");
        ++pos_;
    }

    std::string_view Ident()
    {
        SkipBlanks();
        if (!IsIdentStart(Peek()))
            Fail(AtEnd() ? "unexpected end, a name expected" : "a name expected");
        size_t start = pos_;
        while (!AtEnd() && IsIdentChar(text_[pos_]))
            ++pos_;
        if (pos_ - start > MaxNameLength)
            FailAt(start, "name longer than 255 characters");
        return text_.substr(start, pos_ - start);
    }

    // A name followed by more ".name" parts; blanks may stand around the dots.
    std::string DottedIdent()
    {
        SkipBlanks();
        size_t start = pos_;
        std::string name(Ident());
        for (;;) {
            size_t save = pos_;
            SkipBlanks();
            if (Peek() != '.') {
                pos_ = save;
                return name;
            }
            ++pos_;
            name += '.';
            name += Ident();
            if (name.size() > MaxNameLength)
                FailAt(start, "name longer than 255 characters");
        }
    }

    bool KeywordAhead(const char* word)
    {
        SkipBlanks();
        size_t length = std::strlen(word);
        if (text_.size() - pos_ < length || (text_.size() - pos_ > length && IsIdentChar(text_[pos_ + length])))
            return false;
        return platform::SameText(text_.substr(pos_, length), word);
    }

    bool HeaderAhead() { return KeywordAhead("object") || KeywordAhead("inherited") || KeywordAhead("inline"); }

    void ReadObject(FormObject& object, int depth)
    {
        if (depth > MaxDepth)
            Fail("objects nested too deeply");
        SkipBlanks();
        std::string_view keyword = Ident();
        if (platform::SameText(keyword, "object"))
            object.Kind = FormObject::Header::Object;
        else if (platform::SameText(keyword, "inherited"))
            object.Kind = FormObject::Header::Inherited;
        else if (platform::SameText(keyword, "inline"))
            object.Kind = FormObject::Header::Inline;
        else
            FailAt(pos_ - keyword.size(), "object, inherited or inline expected");
        SkipBlanks();
        size_t firstOffset = pos_;
        std::string first(Ident());
        SkipBlanks();
        if (Peek() == ':') {
            ++pos_;
            object.Name = first;
            object.NameOffset = firstOffset;
            object.ClassName = Ident();
        } else {
            object.NameOffset = firstOffset;
            object.ClassName = first;
        }
        ReadOrder(object.HasOrder, object.Order);
        while (!EndOfProperties()) {
            if (HeaderAhead()) {
                object.Children.emplace_back();
                ReadObject(object.Children.back(), depth + 1);
                continue;
            }
            ReadProperty(object.Properties, depth);
        }
    }

    void ReadProperty(std::vector<FormProperty>& properties, int depth)
    {
        FormProperty property;
        SkipBlanks();
        size_t start = pos_;
        property.Name = DottedIdent();
        // Only a collection item gets here with such a name; an object reads it as a header.
        if (!IsPropertyPath(property.Name))
            FailAt(start, "a property name expected");
        Expect('=', "=");
        ReadValue(property.Value, depth + 1);
        properties.push_back(std::move(property));
    }

    // The optional "[n]" of an object or a collection item: its position, a 32-bit integer as the
    // binary form keeps it.
    void ReadOrder(bool& hasOrder, int64_t& order)
    {
        SkipBlanks();
        if (Peek() != '[')
            return;
        ++pos_;
        SkipBlanks();
        FormValue value;
        size_t start = pos_;
        ReadNumber(value);
        if (value.Type != FormValue::Kind::Integer)
            FailAt(start, value.Type == FormValue::Kind::Int64 ? "number out of range" : "an integer expected");
        hasOrder = true;
        order = value.Int;
        Expect(']', "]");
    }

    // Whether the "end" of an object or a collection item follows (and passes over it).
    bool EndOfProperties()
    {
        SkipBlanks();
        if (AtEnd())
            Fail("unexpected end, end expected");
        if (!KeywordAhead("end"))
            return false;
        pos_ += 3;
        return true;
    }

    void ReadValue(FormValue& value, int depth)
    {
        if (depth > MaxDepth)
            Fail("values nested too deeply");
        SkipBlanks();
        char c = Peek();
        if (AtEnd())
            Fail("unexpected end, a value expected");
        if (c == '-' || c == '+' || c == '$' || IsDigit(c))
            ReadNumber(value);
        else if (c == '\'' || c == '#')
            ReadString(value);
        else if (IsIdentStart(c))
            ReadIdentValue(value);
        else if (c == '[')
            ReadSet(value);
        else if (c == '(')
            ReadList(value, depth);
        else if (c == '<')
            ReadCollection(value, depth);
        else if (c == '{')
            ReadBinary(value);
        else
            Fail("a value expected");
    }

    void ReadNumber(FormValue& value)
    {
        size_t start = pos_;
        bool negative = false;
        if (Peek() == '-' || Peek() == '+') {
            negative = Peek() == '-';
            ++pos_;
        }
        if (Peek() == '$') {
            ++pos_;
            uint64_t number = 0;
            size_t digits = 0;
            while (!AtEnd() && IsHexDigit(text_[pos_])) {
                if (digits == 16)
                    FailAt(start, "number out of range");
                number = number << 4 | HexValue(text_[pos_]);
                ++pos_;
                ++digits;
            }
            if (digits == 0)
                FailAt(start, "hexadecimal digits expected");
            // $FFFFFFFF is -1 as Pascal reads a 32-bit hexadecimal constant.
            int64_t signedNumber = digits <= 8 ? static_cast<int32_t>(number) : static_cast<int64_t>(number);
            SetInteger(value, negative ? static_cast<int64_t>(0 - static_cast<uint64_t>(signedNumber)) : signedNumber);
            return;
        }
        size_t digitsStart = pos_;
        while (!AtEnd() && IsDigit(text_[pos_]))
            ++pos_;
        bool isFloat = false;
        if (Peek() == '.' && pos_ + 1 < text_.size() && IsDigit(text_[pos_ + 1])) {
            isFloat = true;
            ++pos_;
            while (!AtEnd() && IsDigit(text_[pos_]))
                ++pos_;
        }
        if (pos_ == digitsStart)
            FailAt(start, "digits expected");
        if (Peek() == 'e' || Peek() == 'E') {
            size_t save = pos_++;
            if (Peek() == '+' || Peek() == '-')
                ++pos_;
            if (!IsDigit(Peek())) {
                pos_ = save;
            } else {
                isFloat = true;
                while (!AtEnd() && IsDigit(text_[pos_]))
                    ++pos_;
            }
        }
        std::string number(text_.substr(start, pos_ - start));
        char suffix = static_cast<char>(Peek() | 0x20);
        bool suffixed = (suffix == 's' || suffix == 'd' || suffix == 'c') && !(pos_ + 1 < text_.size() && IsIdentChar(text_[pos_ + 1]));
        if (!isFloat && !suffixed) {
            errno = 0;
            long long parsed = std::strtoll(number.c_str(), nullptr, 10);
            if (errno == ERANGE)
                FailAt(start, "number out of range");
            SetInteger(value, parsed);
            return;
        }
        long double parsed = std::strtold(number.c_str(), nullptr);
        if (!suffixed) {
            value.Type = FormValue::Kind::Extended;
            value.Float = parsed;
            return;
        }
        ++pos_;
        if (suffix == 's') {
            value.Type = FormValue::Kind::Single;
            value.Float = static_cast<float>(parsed);
        } else if (suffix == 'd') {
            value.Type = FormValue::Kind::Date;
            value.Float = static_cast<double>(parsed);
        } else {
            value.Type = FormValue::Kind::Currency;
            if (!CurrencyValue(number, parsed, value.Int))
                FailAt(start, "currency out of range");
        }
    }

    // Currency is a 64-bit count of ten-thousandths. Plain decimals are counted from their digits,
    // so that every value written reads back exactly; a number with an exponent goes through parsed.
    static bool CurrencyValue(std::string_view number, long double parsed, int64_t& tenThousandths)
    {
        if (number.find_first_of("eE") != std::string_view::npos) {
            long double scaled = parsed * 10000.0L;
            if (!(scaled > -0x1p63L && scaled < 0x1p63L))
                return false;
            tenThousandths = static_cast<int64_t>(scaled < 0 ? scaled - 0.5L : scaled + 0.5L);
            return true;
        }
        bool negative = number[0] == '-';
        if (number[0] == '-' || number[0] == '+')
            number.remove_prefix(1);
        size_t dot = number.find('.');
        std::string_view fraction = dot == std::string_view::npos ? std::string_view() : number.substr(dot + 1);
        std::string digits(number.substr(0, dot));
        digits += fraction.substr(0, 4);
        digits.append(4 - std::min<size_t>(fraction.size(), 4), '0');
        const uint64_t limit = negative ? uint64_t(1) << 63 : (uint64_t(1) << 63) - 1;
        uint64_t magnitude = 0;
        for (char c : digits) {
            unsigned digit = c - '0';
            if (magnitude > (limit - digit) / 10)
                return false;
            magnitude = magnitude * 10 + digit;
        }
        if (fraction.size() > 4 && fraction[4] >= '5') {  // rounded half away from zero
            if (magnitude == limit)
                return false;
            ++magnitude;
        }
        tenThousandths = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
        return true;
    }

    static void SetInteger(FormValue& value, int64_t number)
    {
        value.Type = number >= INT32_MIN && number <= INT32_MAX ? FormValue::Kind::Integer : FormValue::Kind::Int64;
        value.Int = number;
    }

    // Pieces of quoted bytes and #n codes, joined by "+" across blanks and line breaks. A code above
    // 127 is a character code (byte strings keep such bytes in quotes), so it makes the string a
    // wide one; the quoted bytes then are converted from their encoding.
    void ReadString(FormValue& value)
    {
        struct Piece {
            bool Code;
            uint32_t Unit;
            std::string Bytes;
        };
        std::vector<Piece> pieces;
        bool wide = false;
        for (;;) {
            while (Peek() == '\'' || Peek() == '#') {
                if (Peek() == '#') {
                    size_t start = pos_++;
                    uint32_t code = 0;
                    bool hex = Peek() == '$';
                    if (hex)
                        ++pos_;
                    size_t digits = 0;
                    while (!AtEnd() && (hex ? IsHexDigit(text_[pos_]) : IsDigit(text_[pos_]))) {
                        code = code * (hex ? 16 : 10) + HexValue(text_[pos_]);
                        ++pos_;
                        if (++digits > 6 || code > 0xFFFF)
                            FailAt(start, "character code out of range");
                    }
                    if (digits == 0)
                        FailAt(start, "character code expected");
                    wide = wide || code > 127;
                    pieces.push_back({true, code, {}});
                    continue;
                }
                size_t start = pos_++;
                std::string bytes;
                for (;;) {
                    if (AtEnd() || text_[pos_] == '\r' || text_[pos_] == '\n')
                        FailAt(start, "string not closed on its line");
                    char c = text_[pos_++];
                    if (c == '\'') {
                        if (Peek() != '\'')
                            break;
                        ++pos_;
                    }
                    bytes += c;
                }
                pieces.push_back({false, 0, std::move(bytes)});
            }
            size_t save = pos_;
            SkipBlanks();
            if (Peek() != '+') {
                pos_ = save;
                break;
            }
            ++pos_;
            SkipBlanks();
            if (Peek() != '\'' && Peek() != '#')
                Fail("a string expected after +");
        }
        if (!wide) {
            value.Type = utf8_ ? FormValue::Kind::Utf8String : FormValue::Kind::String;
            for (const Piece& piece : pieces)
                value.Text += piece.Code ? std::string(1, static_cast<char>(piece.Unit)) : piece.Bytes;
            return;
        }
        value.Type = FormValue::Kind::WideString;
        for (const Piece& piece : pieces) {
            if (piece.Code)
                value.Wide += static_cast<char16_t>(piece.Unit);
            else
                value.Wide += platform::Utf8ToUtf16(utf8_ ? piece.Bytes : platform::Cp932ToUtf8(piece.Bytes));
        }
    }

    void ReadIdentValue(FormValue& value)
    {
        value.Offset = pos_;
        value.Text = DottedIdent();
        if (platform::SameText(value.Text, "True"))
            value.Type = FormValue::Kind::True;
        else if (platform::SameText(value.Text, "False"))
            value.Type = FormValue::Kind::False;
        else if (platform::SameText(value.Text, "nil"))
            value.Type = FormValue::Kind::Nil;
        else
            value.Type = FormValue::Kind::Ident;
        if (value.Type != FormValue::Kind::Ident) {
            value.Text.clear();
            value.Offset = NoOffset;
        }
    }

    void ReadSet(FormValue& value)
    {
        value.Type = FormValue::Kind::Set;
        ++pos_;
        SkipBlanks();
        if (Peek() == ']') {
            ++pos_;
            return;
        }
        for (;;) {
            value.Names.emplace_back(Ident());
            SkipBlanks();
            if (Peek() == ']') {
                ++pos_;
                return;
            }
            Expect(',', ", or ]");
        }
    }

    void ReadList(FormValue& value, int depth)
    {
        value.Type = FormValue::Kind::List;
        ++pos_;
        for (;;) {
            SkipBlanks();
            if (Peek() == ')') {
                ++pos_;
                return;
            }
            value.Elements.emplace_back();
            ReadValue(value.Elements.back(), depth + 1);
        }
    }

    void ReadCollection(FormValue& value, int depth)
    {
        value.Type = FormValue::Kind::Collection;
        ++pos_;
        for (;;) {
            SkipBlanks();
            if (Peek() == '>') {
                ++pos_;
                return;
            }
            if (!KeywordAhead("item"))
                Fail(AtEnd() ? "unexpected end, item or > expected" : "item or > expected");
            pos_ += 4;
            FormItem item;
            ReadOrder(item.HasOrder, item.Order);
            while (!EndOfProperties())
                ReadProperty(item.Properties, depth + 1);
            value.Items.push_back(std::move(item));
        }
    }

    void ReadBinary(FormValue& value)
    {
        value.Type = FormValue::Kind::Binary;
        size_t start = pos_++;
        int high = -1;
        for (;;) {
            SkipBlanks();
            if (AtEnd())
                FailAt(start, "binary data not closed");
            char c = text_[pos_];
            if (c == '}') {
                if (high >= 0)
                    Fail("odd number of hexadecimal digits");
                ++pos_;
                return;
            }
            if (!IsHexDigit(c))
                Fail("hexadecimal digit expected");
            ++pos_;
            if (high < 0) {
                high = HexValue(c);
            } else {
                value.Text += static_cast<char>(high << 4 | HexValue(c));
                high = -1;
            }
        }
    }

    std::string_view text_;
    bool utf8_;
    size_t pos_ = 0;
};

}  // namespace

bool ReadTextForm(std::string_view text, bool utf8, FormObject& root, FormError& error)
{
    try {
        root = FormObject();
        TextReader(text, utf8).ReadRoot(root);
        return true;
    } catch (const Failure& failure) {
        error.Offset = failure.Offset;
        error.Message = failure.Message;
        return false;
    }
}

}  // namespace forms
