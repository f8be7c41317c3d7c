// The object stream: a reader that checks every length against the bytes left, and its writer.

#include <algorithm>
#include <cmath>
#include <cstring>

#include "BinaryForm.h"
#include "FormNames.h"
#include "platform/Cp932.h"

namespace forms {

namespace {

constexpr int MaxDepth = 256;

enum ValueType : uint8_t {
    vaNull = 0, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue, vaBinary,
    vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString, vaInt64, vaUTF8String,
    vaDouble,
};

constexpr uint8_t FilerFlagInherited = 1;
constexpr uint8_t FilerFlagChildPos = 2;
constexpr uint8_t FilerFlagInline = 4;

static_assert(sizeof(long double) >= 10, "extended values are kept in long double");

// The number that 80-bit extended bits denote, computed rather than copied so that encodings the
// processor does not produce (denormals with the integer bit set, normals without it) give the
// value their bits stand for, in its usual form.
long double ExtendedValue(uint64_t mantissa, uint16_t signAndExponent)
{
    int exponent = signAndExponent & 0x7FFF;
    long double magnitude;
    if (exponent == 0x7FFF)
        magnitude = (mantissa << 1) == 0 ? HUGE_VALL : NAN;
    else
        magnitude = std::ldexp(static_cast<long double>(mantissa), std::max(exponent, 1) - 16383 - 63);
    return signAndExponent & 0x8000 ? -magnitude : magnitude;
}

struct Failure {
    size_t Offset;
    std::string Message;
};

class BinaryReader {
public:
    BinaryReader(std::string_view bytes, size_t start, size_t end) : bytes_(bytes), pos_(start), end_(end) {}

    void ReadStream(FormObject& root)
    {
        if (end_ > bytes_.size() || end_ - pos_ < 4 || std::memcmp(bytes_.data() + pos_, "TPF0", 4) != 0)
            Fail("TPF0 expected");
        pos_ += 4;
        ReadObject(root, 0);
        if (pos_ != end_)
            Fail("bytes after the last object");
    }

private:
    [[noreturn]] void Fail(const std::string& message) { throw Failure{pos_, message}; }

    void Need(size_t count, const char* what)
    {
        if (end_ - pos_ < count)
            Fail(std::string("unexpected end in ") + what);
    }

    uint8_t Byte(const char* what)
    {
        Need(1, what);
        return static_cast<uint8_t>(bytes_[pos_++]);
    }

    uint8_t PeekByte(const char* what)
    {
        Need(1, what);
        return static_cast<uint8_t>(bytes_[pos_]);
    }

    uint64_t Unsigned(size_t size, const char* what)
    {
        Need(size, what);
        uint64_t value = 0;
        for (size_t i = 0; i < size; ++i)
            value |= static_cast<uint64_t>(static_cast<uint8_t>(bytes_[pos_ + i])) << (8 * i);
        pos_ += size;
        return value;
    }

    std::string Bytes(size_t count, const char* what)
    {
        Need(count, what);
        std::string text(bytes_.substr(pos_, count));
        pos_ += count;
        return text;
    }

    std::string ShortString(const char* what)
    {
        uint8_t length = Byte(what);
        return Bytes(length, what);
    }

    // A short string holding a name; names the text form could not hold are damage, reported where
    // the name starts.
    std::string Name(const char* what, bool (*valid)(std::string_view))
    {
        size_t start = pos_;
        std::string name = ShortString(what);
        if (!valid(name))
            throw Failure{start, std::string(what) + " expected"};
        return name;
    }

    int64_t Integer(uint8_t type)
    {
        switch (type) {
        case vaInt8:
            return static_cast<int8_t>(Unsigned(1, "an integer"));
        case vaInt16:
            return static_cast<int16_t>(Unsigned(2, "an integer"));
        case vaInt32:
            return static_cast<int32_t>(Unsigned(4, "an integer"));
        default:
            pos_ -= 1;
            Fail("an integer expected");
        }
    }

    void ReadObject(FormObject& object, int depth)
    {
        if (depth > MaxDepth)
            Fail("objects nested too deeply");
        uint8_t prefix = PeekByte("an object header");
        if ((prefix & 0xF0) == 0xF0) {
            ++pos_;
            object.Kind = (prefix & FilerFlagInline)      ? FormObject::Header::Inline
                          : (prefix & FilerFlagInherited) ? FormObject::Header::Inherited
                                                          : FormObject::Header::Object;
            if (prefix & FilerFlagChildPos) {
                object.HasOrder = true;
                object.Order = Integer(Byte("a child position"));
            }
        }
        object.ClassName = Name("a class name", IsFormIdentifier);
        object.NameOffset = pos_;
        object.Name = Name("an object name", [](std::string_view name) { return name.empty() || IsFormIdentifier(name); });
        ReadProperties(object.Properties, depth);
        while (PeekByte("an object") != 0) {
            object.Children.emplace_back();
            ReadObject(object.Children.back(), depth + 1);
        }
        ++pos_;
    }

    void ReadProperties(std::vector<FormProperty>& properties, int depth)
    {
        while (PeekByte("a property") != 0) {
            FormProperty property;
            property.Name = Name("a property name", IsPropertyPath);
            ReadValue(property.Value, depth + 1);
            properties.push_back(std::move(property));
        }
        ++pos_;
    }

    void ReadValue(FormValue& value, int depth)
    {
        using Kind = FormValue::Kind;
        if (depth > MaxDepth)
            Fail("values nested too deeply");
        size_t typeOffset = pos_;
        uint8_t type = Byte("a value");
        switch (type) {
        case vaNull:
            value.Type = Kind::Null;
            break;
        case vaList:
            value.Type = Kind::List;
            while (PeekByte("a list") != vaNull) {
                value.Elements.emplace_back();
                ReadValue(value.Elements.back(), depth + 1);
            }
            ++pos_;
            break;
        case vaInt8:
        case vaInt16:
        case vaInt32:
            value.Type = Kind::Integer;
            value.Int = Integer(type);
            break;
        case vaExtended: {
            uint64_t mantissa = Unsigned(8, "an extended value");
            uint16_t signAndExponent = static_cast<uint16_t>(Unsigned(2, "an extended value"));
            value.Type = Kind::Extended;
            value.Float = ExtendedValue(mantissa, signAndExponent);
            break;
        }
        case vaString:
            value.Type = Kind::String;
            value.Text = ShortString("a string");
            break;
        case vaIdent:
            // As the text form reads them: True, False and nil are values, not identifiers.
            value.Offset = pos_;
            value.Text = Name("an identifier", IsDottedIdentifier);
            value.Type = platform::SameText(value.Text, "True")    ? Kind::True
                         : platform::SameText(value.Text, "False") ? Kind::False
                         : platform::SameText(value.Text, "nil")   ? Kind::Nil
                                                                   : Kind::Ident;
            if (value.Type != Kind::Ident) {
                value.Text.clear();
                value.Offset = NoOffset;
            }
            break;
        case vaFalse:
            value.Type = Kind::False;
            break;
        case vaTrue:
            value.Type = Kind::True;
            break;
        case vaBinary:
            value.Type = Kind::Binary;
            value.Text = Bytes(Unsigned(4, "binary data"), "binary data");
            break;
        case vaSet:
            value.Type = Kind::Set;
            while (PeekByte("a set") != 0)
                value.Names.push_back(Name("a set element", IsFormIdentifier));
            ++pos_;
            break;
        case vaLString:
            value.Type = Kind::String;
            value.Text = Bytes(Unsigned(4, "a string"), "a string");
            break;
        case vaNil:
            value.Type = Kind::Nil;
            break;
        case vaCollection:
            value.Type = Kind::Collection;
            while (PeekByte("a collection") != vaNull) {
                FormItem item;
                uint8_t next = Byte("a collection item");
                if (next == vaInt8 || next == vaInt16 || next == vaInt32) {
                    item.HasOrder = true;
                    item.Order = Integer(next);
                    next = Byte("a collection item");
                }
                if (next != vaList) {
                    pos_ -= 1;
                    Fail("a collection item expected");
                }
                ReadProperties(item.Properties, depth + 1);
                value.Items.push_back(std::move(item));
            }
            ++pos_;
            break;
        case vaSingle: {
            uint32_t raw = static_cast<uint32_t>(Unsigned(4, "a single value"));
            float number;
            std::memcpy(&number, &raw, 4);
            value.Type = Kind::Single;
            value.Float = number;
            break;
        }
        case vaCurrency:
            value.Type = Kind::Currency;
            value.Int = static_cast<int64_t>(Unsigned(8, "a currency value"));
            break;
        case vaDate:
        case vaDouble: {
            uint64_t raw = Unsigned(8, "a floating-point value");
            double number;
            std::memcpy(&number, &raw, 8);
            value.Type = type == vaDate ? Kind::Date : Kind::Double;
            value.Float = number;
            break;
        }
        case vaWString: {
            uint64_t count = Unsigned(4, "a wide string");
            if (count > (end_ - pos_) / 2)
                Fail("unexpected end in a wide string");
            value.Type = Kind::WideString;
            for (uint64_t i = 0; i < count; ++i)
                value.Wide += static_cast<char16_t>(Unsigned(2, "a wide string"));
            break;
        }
        case vaInt64:
            value.Type = Kind::Int64;
            value.Int = static_cast<int64_t>(Unsigned(8, "an integer"));
            break;
        case vaUTF8String:
            value.Type = Kind::Utf8String;
            value.Text = Bytes(Unsigned(4, "a string"), "a string");
            break;
        default:
            pos_ = typeOffset;
            Fail("unknown value type " + std::to_string(type));
        }
    }

    std::string_view bytes_;
    size_t pos_;
    size_t end_;
};

class BinaryWriter {
public:
    std::string Take() { return std::move(out_); }

    void WriteObject(const FormObject& object)
    {
        uint8_t flags = object.Kind == FormObject::Header::Inherited ? FilerFlagInherited
                        : object.Kind == FormObject::Header::Inline  ? FilerFlagInline
                                                                     : 0;
        if (object.HasOrder)
            flags |= FilerFlagChildPos;
        // The length byte of a class name of 240 characters or more would read as the prefix, so
        // such a name has one before it, without flags if need be.
        if (flags || object.ClassName.size() >= 0xF0) {
            out_ += static_cast<char>(0xF0 | flags);
            if (object.HasOrder)
                WriteInteger(object.Order);
        }
        WriteShortString(object.ClassName);
        WriteShortString(object.Name);
        WriteProperties(object.Properties);
        for (const FormObject& child : object.Children)
            WriteObject(child);
        out_ += '\0';
    }

private:
    void Put(uint64_t value, size_t size)
    {
        for (size_t i = 0; i < size; ++i)
            out_ += static_cast<char>(value >> (8 * i));
    }

    // Names and identifiers longer than a short string holds are cut; readers never produce them.
    void WriteShortString(const std::string& text)
    {
        size_t length = std::min<size_t>(text.size(), 255);
        out_ += static_cast<char>(length);
        out_.append(text, 0, length);
    }

    void WriteInteger(int64_t value)
    {
        if (value >= INT8_MIN && value <= INT8_MAX) {
            Put(vaInt8, 1);
            Put(static_cast<uint64_t>(value), 1);
        } else if (value >= INT16_MIN && value <= INT16_MAX) {
            Put(vaInt16, 1);
            Put(static_cast<uint64_t>(value), 2);
        } else if (value >= INT32_MIN && value <= INT32_MAX) {
            Put(vaInt32, 1);
            Put(static_cast<uint64_t>(value), 4);
        } else {
            Put(vaInt64, 1);
            Put(static_cast<uint64_t>(value), 8);
        }
    }

    void WriteProperties(const std::vector<FormProperty>& properties)
    {
        for (const FormProperty& property : properties) {
            WriteShortString(property.Name);
            WriteValue(property.Value);
        }
        out_ += '\0';
    }

    void WriteLong(ValueType type, const std::string& bytes)
    {
        Put(type, 1);
        Put(bytes.size(), 4);
        out_ += bytes;
    }

    void WriteValue(const FormValue& value)
    {
        using Kind = FormValue::Kind;
        switch (value.Type) {
        case Kind::Null:
            Put(vaNull, 1);
            break;
        case Kind::List:
            Put(vaList, 1);
            for (const FormValue& element : value.Elements)
                WriteValue(element);
            Put(vaNull, 1);
            break;
        case Kind::Integer:
        case Kind::Int64:
            WriteInteger(value.Int);
            break;
        case Kind::Extended: {
            Put(vaExtended, 1);
            long double number = value.Float;
            char raw[sizeof(long double)];
            std::memcpy(raw, &number, sizeof number);
            out_.append(raw, 10);
            break;
        }
        case Kind::String:
            if (value.Text.size() <= 255) {
                Put(vaString, 1);
                WriteShortString(value.Text);
            } else {
                WriteLong(vaLString, value.Text);
            }
            break;
        case Kind::Ident:
            Put(vaIdent, 1);
            WriteShortString(value.Text);
            break;
        case Kind::False:
            Put(vaFalse, 1);
            break;
        case Kind::True:
            Put(vaTrue, 1);
            break;
        case Kind::Binary:
            WriteLong(vaBinary, value.Text);
            break;
        case Kind::Set:
            Put(vaSet, 1);
            for (const std::string& name : value.Names)
                WriteShortString(name);
            Put(0, 1);
            break;
        case Kind::Nil:
            Put(vaNil, 1);
            break;
        case Kind::Collection:
            Put(vaCollection, 1);
            for (const FormItem& item : value.Items) {
                if (item.HasOrder)
                    WriteInteger(item.Order);
                Put(vaList, 1);
                WriteProperties(item.Properties);
            }
            Put(vaNull, 1);
            break;
        case Kind::Single: {
            float number = static_cast<float>(value.Float);
            uint32_t raw;
            std::memcpy(&raw, &number, 4);
            Put(vaSingle, 1);
            Put(raw, 4);
            break;
        }
        case Kind::Currency:
            Put(vaCurrency, 1);
            Put(static_cast<uint64_t>(value.Int), 8);
            break;
        case Kind::Date:
        case Kind::Double: {
            double number = static_cast<double>(value.Float);
            uint64_t raw;
            std::memcpy(&raw, &number, 8);
            Put(value.Type == Kind::Date ? vaDate : vaDouble, 1);
            Put(raw, 8);
            break;
        }
        case Kind::WideString:
            Put(vaWString, 1);
            Put(value.Wide.size(), 4);
            for (char16_t unit : value.Wide)
                Put(unit, 2);
            break;
        case Kind::Utf8String:
            WriteLong(vaUTF8String, value.Text);
            break;
        }
    }

    std::string out_;
};

}  // namespace

bool ReadBinaryForm(std::string_view bytes, size_t start, size_t end, FormObject& root, FormError& error)
{
    try {
        root = FormObject();
        if (start > end || end > bytes.size())
            throw Failure{start, "stream outside the file"};
        BinaryReader(bytes, start, end).ReadStream(root);
        return true;
    } catch (const Failure& failure) {
        error.Offset = failure.Offset;
        error.Message = failure.Message;
        return false;
    }
}

std::string WriteBinaryForm(const FormObject& root)
{
    BinaryWriter writer;
    writer.WriteObject(root);
    return "TPF0" + writer.Take();
}

}  // namespace forms
