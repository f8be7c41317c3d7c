#include "FormFile.h"

#include <algorithm>
#include <cstring>

#include "BinaryForm.h"
#include "FormNames.h"
#include "TextForm.h"
#include "platform/Cp932.h"

namespace forms {

namespace {

constexpr uint16_t ResourceTypeForm = 10;
const char Resource32Signature[] = "\0\0\0\0\x20\0\0\0\xFF\xFF\0\0\xFF\xFF\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0";

uint32_t Word(std::string_view bytes, size_t at)
{
    return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8;
}

uint32_t DWord(std::string_view bytes, size_t at) { return Word(bytes, at) | Word(bytes, at + 2) << 16; }

void PutDWord(std::string& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

size_t Align4(size_t offset) { return (offset + 3) & ~size_t(3); }

bool Fail(FormError& error, size_t offset, const char* message)
{
    error.Offset = offset;
    error.Message = message;
    return false;
}

// FF, WORD type, the name (zero-terminated, or FF and a WORD), WORD flags, DWORD size.
bool FindResource16(const std::string& bytes, FormFile& form, FormError& error)
{
    size_t at = 1;
    if (bytes.size() < at + 2)
        return Fail(error, bytes.size(), "unexpected end in the resource header");
    if (Word(bytes, at) != ResourceTypeForm)
        return Fail(error, at, "not a form resource");
    at += 2;
    if (at < bytes.size() && static_cast<uint8_t>(bytes[at]) == 0xFF) {
        at += 3;
    } else {
        size_t zero = bytes.find('\0', at);
        if (zero == std::string::npos)
            return Fail(error, bytes.size(), "unexpected end in the resource name");
        at = zero + 1;
    }
    if (bytes.size() < at + 6)
        return Fail(error, bytes.size(), "unexpected end in the resource header");
    form.SizeField = at + 2;
    size_t size = DWord(bytes, form.SizeField);
    form.StreamStart = at + 6;
    if (size > bytes.size() - form.StreamStart)
        return Fail(error, form.SizeField, "resource size beyond the end of the file");
    form.StreamEnd = form.StreamStart + size;
    if (form.StreamEnd != bytes.size())
        return Fail(error, form.StreamEnd, "bytes after the form resource");
    return true;
}

// Entries of DataSize, HeaderSize, type, name and the rest of the header, then the data padded to
// a DWORD boundary. The first entry of the form type whose data is an object stream holds the form.
bool FindResource32(const std::string& bytes, FormFile& form, FormError& error)
{
    for (size_t entry = 32; entry < bytes.size();) {
        if (bytes.size() - entry < 12)
            return Fail(error, entry, "unexpected end in a resource header");
        size_t dataSize = DWord(bytes, entry);
        size_t headerSize = DWord(bytes, entry + 4);
        if (headerSize < 12 || headerSize > bytes.size() - entry)
            return Fail(error, entry + 4, "resource header size beyond the end of the file");
        if (dataSize > bytes.size() - entry - headerSize)
            return Fail(error, entry, "resource size beyond the end of the file");
        size_t data = entry + headerSize;
        bool formType = Word(bytes, entry + 8) == 0xFFFF && Word(bytes, entry + 10) == ResourceTypeForm;
        if (formType && dataSize >= 4 && bytes.compare(data, 4, "TPF0") == 0) {
            form.SizeField = entry;
            form.StreamStart = data;
            form.StreamEnd = data + dataSize;
            return true;
        }
        entry = Align4(data + dataSize);
    }
    return Fail(error, bytes.size(), "no form in the resource file");
}

const char* const ReservedWords[] = {
    "and", "array", "as", "asm", "begin", "case", "class", "const", "constructor", "destructor",
    "dispinterface", "div", "do", "downto", "else", "end", "except", "exports", "file", "finalization",
    "finally", "for", "function", "goto", "if", "implementation", "in", "inherited", "initialization",
    "inline", "interface", "is", "label", "library", "mod", "nil", "not", "object", "of", "or", "out",
    "packed", "procedure", "program", "property", "raise", "record", "repeat", "resourcestring", "set",
    "shl", "shr", "string", "then", "threadvar", "to", "try", "type", "unit", "until", "uses", "var",
    "while", "with", "xor",
};

bool HasOtherObject(const FormObject& object, const FormObject* except, const std::string& name)
{
    if (&object != except && platform::SameText(object.Name, name))
        return true;
    for (const FormObject& child : object.Children) {
        if (HasOtherObject(child, except, name))
            return true;
    }
    return false;
}

// The places of the identifier values equal to name.
void CollectReferences(const std::vector<FormProperty>& properties, const std::string& className,
                       const std::string& name, const ReferenceTest& isReference, std::vector<size_t>& offsets);

void CollectValueReferences(const FormValue& value, const std::string& className, const std::string& propertyName,
                            const std::string& name, const ReferenceTest& isReference, std::vector<size_t>& offsets)
{
    if (value.Type == FormValue::Kind::Ident && value.Offset != NoOffset && platform::SameText(value.Text, name) &&
        isReference(className, propertyName))
        offsets.push_back(value.Offset);
    for (const FormValue& element : value.Elements)
        CollectValueReferences(element, className, propertyName, name, isReference, offsets);
    for (const FormItem& item : value.Items)
        CollectReferences(item.Properties, std::string(), name, isReference, offsets);
}

void CollectReferences(const std::vector<FormProperty>& properties, const std::string& className,
                       const std::string& name, const ReferenceTest& isReference, std::vector<size_t>& offsets)
{
    for (const FormProperty& property : properties)
        CollectValueReferences(property.Value, className, property.Name, name, isReference, offsets);
}

void CollectObjectReferences(const FormObject& object, const std::string& name, const ReferenceTest& isReference,
                             std::vector<size_t>& offsets)
{
    CollectReferences(object.Properties, object.ClassName, name, isReference, offsets);
    for (const FormObject& child : object.Children)
        CollectObjectReferences(child, name, isReference, offsets);
}

}  // namespace

FormFormat FormFormatOf(std::string_view bytes)
{
    if (bytes.starts_with("TPF0"))
        return FormFormat::Binary;
    if (!bytes.empty() && static_cast<uint8_t>(bytes[0]) == 0xFF)
        return FormFormat::Resource16;
    if (bytes.size() >= 32 && std::memcmp(bytes.data(), Resource32Signature, 32) == 0)
        return FormFormat::Resource32;
    return FormFormat::Text;
}

bool ReadFormFile(std::string bytes, FormFile& form, FormError& error)
{
    FormFile read;
    read.Bytes = std::move(bytes);
    const std::string& data = read.Bytes;
    read.Format = FormFormatOf(data);
    bool ok = true;
    switch (read.Format) {
    case FormFormat::Binary:
        read.StreamEnd = data.size();
        break;
    case FormFormat::Resource16:
        ok = FindResource16(data, read, error);
        break;
    case FormFormat::Resource32:
        ok = FindResource32(data, read, error);
        break;
    case FormFormat::Text:
        read.Utf8 = data.compare(0, 3, "\xEF\xBB\xBF") == 0;
        ok = ReadTextForm(data, read.Utf8, read.Root, error);
        break;
    }
    if (ok && read.Format != FormFormat::Text)
        ok = ReadBinaryForm(data, read.StreamStart, read.StreamEnd, read.Root, error);
    if (ok)
        form = std::move(read);
    return ok;
}

std::string DescribeFormError(const std::string& fileName, const FormError& error)
{
    return fileName + ": damaged form at offset " + std::to_string(error.Offset) + ": " + error.Message;
}

std::string FormFileAsText(const FormFile& form, TextStyle style) { return WriteTextForm(form.Root, style); }
std::string FormFileAsBinary(const FormFile& form) { return WriteBinaryForm(form.Root); }

std::string FormFileWithStream(const FormFile& form, std::string_view stream)
{
    const std::string& bytes = form.Bytes;
    std::string out = bytes.substr(0, form.StreamStart);
    out += stream;
    size_t rest = form.StreamEnd;
    if (form.Format == FormFormat::Resource32) {
        size_t end = out.size();
        out.append(Align4(end) - end, '\0');
        rest = std::min(Align4(form.StreamEnd), bytes.size());
    }
    out.append(bytes, rest, std::string::npos);
    if (form.SizeField != NoOffset)
        PutDWord(out, form.SizeField, static_cast<uint32_t>(stream.size()));
    return out;
}

bool IsComponentName(const std::string& name)
{
    if (!IsFormIdentifier(name))
        return false;
    for (const char* word : ReservedWords) {
        if (platform::SameText(name, word))
            return false;
    }
    return true;
}

bool RenameFormObject(FormFile& form, const FormObject& renaming, const std::string& newName,
                      const ReferenceTest& isReference)
{
    const FormObject* object = &renaming;
    std::string oldName = object->Name;
    if (oldName.empty() || object->NameOffset == NoOffset || !IsComponentName(newName))
        return false;
    if (HasOtherObject(form.Root, object, newName))
        return false;
    std::vector<size_t> offsets = {object->NameOffset};
    CollectObjectReferences(form.Root, oldName, isReference, offsets);
    std::sort(offsets.begin(), offsets.end());

    // The names change in place: in a binary file short strings, so the length byte goes with them.
    bool binary = form.Format != FormFormat::Text;
    size_t start = binary ? form.StreamStart : 0;
    size_t end = binary ? form.StreamEnd : form.Bytes.size();
    std::string name = binary ? std::string(1, static_cast<char>(newName.size())) + newName : newName;
    size_t replaced = binary ? oldName.size() + 1 : oldName.size();
    std::string changed;
    size_t copied = start;
    for (size_t offset : offsets) {
        changed.append(form.Bytes, copied, offset - copied);
        changed += name;
        copied = offset + replaced;
    }
    changed.append(form.Bytes, copied, end - copied);
    std::string out = binary ? FormFileWithStream(form, changed) : std::move(changed);

    FormFile renamed;
    FormError error;
    if (!ReadFormFile(std::move(out), renamed, error))
        return false;
    form = std::move(renamed);
    return true;
}

}  // namespace forms
