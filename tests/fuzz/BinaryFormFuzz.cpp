// Any bytes as a binary object stream: the reader ends without reading past the input, and what it
// read is written again to a stream that reads back to the same objects, also through the text form.

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
    std::string text = forms::WriteTextForm(root);
    std::string stream = forms::WriteBinaryForm(root);
    forms::FormObject again;
    if (!forms::ReadBinaryForm(stream, 0, stream.size(), again, error) || forms::WriteTextForm(again) != text)
        std::abort();
    if (!forms::ReadTextForm(text, false, again, error) || forms::WriteBinaryForm(again) != stream)
        std::abort();
    return 0;
}
