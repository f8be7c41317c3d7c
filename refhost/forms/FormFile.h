#pragma once
// A form file as it lies on disk: the text form, or the binary stream bare, behind a 16-bit
// resource header or inside a 32-bit resource file. It keeps the file's bytes, so that a rename
// changes the names involved and nothing else.

#include <functional>
#include <string>
#include <string_view>

#include "FormData.h"
#include "TextForm.h"

namespace forms {

enum class FormFormat { Text, Binary, Resource16, Resource32 };

struct FormFile {
    FormFormat Format = FormFormat::Text;
    std::string Bytes;
    FormObject Root;
    bool Utf8 = false;               // text that began with a byte-order mark
    size_t StreamStart = 0;          // the binary stream's range in Bytes
    size_t StreamEnd = 0;
    size_t SizeField = NoOffset;     // the resource header's size of the stream
};

// The format a file's first bytes announce.
FormFormat FormFormatOf(std::string_view bytes);

// Recognises the form by its first bytes and reads it; false with the offset and reason when the
// bytes are damaged.
bool ReadFormFile(std::string bytes, FormFile& form, FormError& error);

// "FILE: damaged form at offset N: reason".
std::string DescribeFormError(const std::string& fileName, const FormError& error);

// The file in the text form, or a bare binary stream.
std::string FormFileAsText(const FormFile& form, TextStyle style = TextStyle::Stored);
std::string FormFileAsBinary(const FormFile& form);

// The file's bytes with its binary stream ("TPF0" included) replaced by stream: the resource
// header's size follows it, and in a 32-bit resource file the padding after it is zeros.
std::string FormFileWithStream(const FormFile& form, std::string_view stream);

// Whether name can name a component: an identifier that is not a reserved word.
bool IsComponentName(const std::string& name);

// Renames object, one of form's objects, in the file's bytes: its header and every identifier value
// equal to its old name (compared without regard to case) that isReference accepts, asked with the
// class of the object holding the property (empty inside collection items) and the property's name.
// In a binary file the short strings change in place and the resource header's size follows. False,
// nothing changed, when the object has no name, or newName is not a component name or names another
// object of the form.
using ReferenceTest = std::function<bool(const std::string& className, const std::string& propertyName)>;
bool RenameFormObject(FormFile& form, const FormObject& object, const std::string& newName,
                      const ReferenceTest& isReference);

}  // namespace forms
