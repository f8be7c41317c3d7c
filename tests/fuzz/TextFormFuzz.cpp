// Any bytes as a text form: the reader ends without reading past the input, and what it read writes
// out as text that reads back to the same text, and as a binary stream that gives it again.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "refhost/forms/BinaryForm.h"
#include "refhost/forms/TextForm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    forms::FormObject root;
    forms::FormError error;
    if (!forms::ReadTextForm(text, false, root, error)) {
        if (error.Offset > size || error.Message.empty())
            std::abort();
        return 0;
    }
    std::string written = forms::WriteTextForm(root);
    forms::FormObject again;
    if (!forms::ReadTextForm(written, false, again, error) || forms::WriteTextForm(again) != written)
        std::abort();
    std::string stream = forms::WriteBinaryForm(root);
    if (!forms::ReadBinaryForm(stream, 0, stream.size(), again, error) || forms::WriteTextForm(again) != written)
        std::abort();
    return 0;
}
