// The text form's writer, in the style form files are written in: two blanks a level, long strings
// and binary data broken over lines, CR LF line ends.

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "TextForm.h"
#include "platform/Cp932.h"
#include "platform/Utf16.h"

namespace forms {

namespace {

constexpr size_t StringLineWidth = 64;  // characters of a string piece before it continues with +
constexpr size_t BinaryLineBytes = 32;

const char* HeaderWord(FormObject::Header kind)
{
    switch (kind) {
    case FormObject::Header::Inherited:
        return "inherited";
    case FormObject::Header::Inline:
        return "inline";
    case FormObject::Header::Object:
        break;
    }
    return "object";
}

// The shortest text that reads back as the same number.
template <class T>
std::string FloatText(T number)
{
    if (std::isnan(number) || std::isinf(number))
        return "0.0";
    char text[64];
    for (int precision = 1; precision <= 21; ++precision) {
        std::snprintf(text, sizeof text, "%.*Lg", precision, static_cast<long double>(number));
        if (static_cast<T>(std::strtold(text, nullptr)) == number)
            break;
    }
    std::string result = text;
    if (result.find_first_of(".eE") == std::string::npos)
        result += ".0";
    return result;
}

std::string CurrencyText(int64_t tenThousandths)
{
    uint64_t magnitude = tenThousandths < 0 ? 0 - static_cast<uint64_t>(tenThousandths) : tenThousandths;
    std::string text = (tenThousandths < 0 ? "-" : "") + std::to_string(magnitude / 10000);
    std::string fraction = std::to_string(10000 + magnitude % 10000).substr(1);
    while (fraction.size() > 1 && fraction.back() == '0')
        fraction.pop_back();
    return text + "." + fraction + "c";
}

class TextWriter {
public:
    explicit TextWriter(TextStyle style) : style_(style) {}

    std::string Take() { return std::move(out_); }

    void WriteObject(const FormObject& object, int level)
    {
        Indent(level);
        out_ += HeaderWord(object.Kind);
        out_ += ' ';
        if (!object.Name.empty())
            out_ += object.Name + ": ";
        out_ += object.ClassName;
        if (object.HasOrder)
            out_ += " [" + std::to_string(object.Order) + "]";
        out_ += "\r\n";
        WriteProperties(object.Properties, level + 1);
        for (const FormObject& child : object.Children)
            WriteObject(child, level + 1);
        Indent(level);
        out_ += "end\r\n";
    }

private:
    void Indent(int level) { out_.append(static_cast<size_t>(level) * 2, ' '); }

    void WriteProperties(const std::vector<FormProperty>& properties, int level)
    {
        for (const FormProperty& property : properties) {
            Indent(level);
            out_ += property.Name + " = ";
            WriteValue(property.Value, level);
            out_ += "\r\n";
        }
    }

    void WriteValue(const FormValue& value, int level)
    {
        using Kind = FormValue::Kind;
        switch (value.Type) {
        case Kind::Integer:
        case Kind::Int64:
            out_ += std::to_string(value.Int);
            break;
        case Kind::Extended:
        case Kind::Double:
            out_ += FloatText(value.Float);
            break;
        case Kind::Single:
            out_ += FloatText(static_cast<float>(value.Float)) + "s";
            break;
        case Kind::Date:
            out_ += FloatText(static_cast<double>(value.Float)) + "d";
            break;
        case Kind::Currency:
            out_ += CurrencyText(value.Int);
            break;
        case Kind::String:
            if (style_ == TextStyle::Ascii)
                WriteWideString(platform::Utf8ToUtf16(platform::Cp932ToUtf8(value.Text)), level);
            else
                WriteByteString(value.Text, level);
            break;
        case Kind::Utf8String:
            WriteWideString(platform::Utf8ToUtf16(value.Text), level);
            break;
        case Kind::WideString:
            WriteWideString(value.Wide, level);
            break;
        case Kind::Ident:
            out_ += value.Text;
            break;
        case Kind::False:
            out_ += "False";
            break;
        case Kind::True:
            out_ += "True";
            break;
        case Kind::Nil:
        case Kind::Null:
            out_ += "nil";
            break;
        case Kind::Set:
            WriteSet(value.Names);
            break;
        case Kind::List:
            WriteList(value.Elements, level);
            break;
        case Kind::Collection:
            WriteCollection(value.Items, level);
            break;
        case Kind::Binary:
            WriteBinary(value.Text, level);
            break;
        }
    }

    void WriteSet(const std::vector<std::string>& names)
    {
        out_ += '[';
        for (size_t i = 0; i < names.size(); ++i)
            out_ += (i ? ", " : "") + names[i];
        out_ += ']';
    }

    void WriteList(const std::vector<FormValue>& elements, int level)
    {
        out_ += '(';
        for (const FormValue& element : elements) {
            out_ += "\r\n";
            Indent(level + 1);
            WriteValue(element, level + 1);
        }
        out_ += ')';
    }

    void WriteCollection(const std::vector<FormItem>& items, int level)
    {
        out_ += '<';
        for (size_t i = 0; i < items.size(); ++i) {
            out_ += "\r\n";
            Indent(level + 1);
            out_ += "item";
            if (items[i].HasOrder)
                out_ += " [" + std::to_string(items[i].Order) + "]";
            out_ += "\r\n";
            WriteProperties(items[i].Properties, level + 2);
            Indent(level + 1);
            out_ += "end";
        }
        out_ += '>';
    }

    void WriteBinary(const std::string& bytes, int level)
    {
        static const char digits[] = "0123456789ABCDEF";
        out_ += '{';
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (i % BinaryLineBytes == 0) {
                out_ += "\r\n";
                Indent(level + 1);
            }
            unsigned char byte = static_cast<unsigned char>(bytes[i]);
            out_ += digits[byte >> 4];
            out_ += digits[byte & 15];
        }
        out_ += '}';
    }

    // Characters are given as (code, bytes): printable ones go in quotes, the others as #code.
    class StringPieces {
    public:
        StringPieces(std::string& out, int level) : out_(out), level_(level) {}

        void Add(bool quoted, uint32_t code, std::string_view bytes)
        {
            if (count_ == StringLineWidth) {
                Close();
                out_ += " +\r\n";
                out_.append(static_cast<size_t>(level_ + 1) * 2, ' ');
                count_ = 0;
            }
            if (quoted) {
                if (!inQuotes_)
                    out_ += '\'';
                inQuotes_ = true;
                out_ += bytes;
                if (bytes == "'")
                    out_ += '\'';
            } else {
                Close();
                out_ += '#' + std::to_string(code);
            }
            ++count_;
        }

        void Finish()
        {
            if (count_ == 0 && !inQuotes_)
                out_ += "''";
            Close();
        }

    private:
        void Close()
        {
            if (inQuotes_)
                out_ += '\'';
            inQuotes_ = false;
        }

        std::string& out_;
        int level_;
        size_t count_ = 0;
        bool inQuotes_ = false;
    };

    // Code page 932 bytes stay raw inside the quotes, two-byte characters whole; only control
    // characters are written as codes, so that a code above 127 always means a wide string.
    void WriteByteString(const std::string& text, int level)
    {
        StringPieces pieces(out_, level);
        for (size_t i = 0; i < text.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            if (c < 0x20 || c == 0x7F) {
                pieces.Add(false, c, {});
            } else {
                size_t length = platform::IsLeadByte(c) && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x40 ? 2 : 1;
                pieces.Add(true, c, std::string_view(text).substr(i, length));
                i += length - 1;
            }
        }
        pieces.Finish();
    }

    // UTF-16: printable ASCII in quotes, every other unit as its code.
    void WriteWideString(const std::u16string& text, int level)
    {
        StringPieces pieces(out_, level);
        for (char16_t unit : text) {
            if (unit >= 0x20 && unit < 0x7F) {
                char c = static_cast<char>(unit);
                pieces.Add(true, unit, std::string_view(&c, 1));
            } else {
                pieces.Add(false, unit, {});
            }
        }
        pieces.Finish();
    }

    TextStyle style_;
    std::string out_;
};

}  // namespace

std::string WriteTextForm(const FormObject& root, TextStyle style)
{
    TextWriter writer(style);
    writer.WriteObject(root, 0);
    return writer.Take();
}

}  // namespace forms
