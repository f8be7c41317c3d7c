// Any bytes as a binary object stream: the reader ends without reading past the input; what it read
// writes a stream that reads back to the same stream, and a text form that reads back to the same
// text, also through the binary form.
//
// The text is compared rather than the stream after text -> binary: the text form does not tell
// apart the kinds of string (short, long, wide, UTF-8) nor of floating-point number (extended,
// double), and the writer picks the smallest integer width, so the stream may change its kinds
// through the text but never what the text shows.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "refhost/forms/BinaryForm.h"
#include "refhost/forms/TextForm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The stream is read from a copy that holds exactly the input, so a read past it is caught.
    std::string bytes = "TPF0" + std::string(reinterpret_cast<const char*>(data), size);
    forms::FormObject root;
    forms::FormError error;
    if (!forms::ReadBinaryForm(bytes, 0, bytes.size(), root, error)) {
        if (error.Offset > bytes.size() || error.Message.empty())
            std::abort();
        return 0;
    }
    std::string stream = forms::WriteBinaryForm(root);
    forms::FormObject again;
    if (!forms::ReadBinaryForm(stream, 0, stream.size(), again, error) || forms::WriteBinaryForm(again) != stream)
        std::abort();
    std::string text = forms::WriteTextForm(root);
    if (!forms::ReadTextForm(text, false, again, error) || forms::WriteTextForm(again) != text)
        std::abort();
    std::string throughText = forms::WriteBinaryForm(again);
    if (!forms::ReadBinaryForm(throughText, 0, throughText.size(), again, error) || forms::WriteTextForm(again) != text)
        std::abort();
    return 0;
}
