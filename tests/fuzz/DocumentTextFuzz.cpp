// Any text of an open document and any changes to it: taken in change by change, the text, its
// lines, the file's bytes and the first character the file cannot hold are those of the whole
// text taken in at once.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "lsp/DocumentText.h"

namespace {

// Names the failed check's line, as the stack of an inlined call does not.
void Check(bool condition, int line = __builtin_LINE())
{
    if (!condition) {
        std::fprintf(stderr, "DocumentTextFuzz.cpp:%d: check failed\n", line);
        std::abort();
    }
}

// Clients send UTF-8 only.
std::string ClientText(FuzzedDataProvider& input, size_t most)
{
    return lsp::DecodeFromFile(input.ConsumeRandomLengthString(most), lsp::Encoding::Utf8);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    lsp::FileEncoding encoding;
    if (input.ConsumeBool())
        encoding.Kind = lsp::Encoding::Cp932;
    else
        encoding.Bom = input.ConsumeBool();
    std::string text = ClientText(input, 256);
    lsp::DocumentText document(text, encoding);
    while (input.remaining_bytes() > 0) {
        auto unit = input.ConsumeBool() ? lsp::ColumnUnit::Utf16 : lsp::ColumnUnit::Utf8;
        size_t start = document.OffsetOf(input.ConsumeIntegral<uint8_t>() % 16, input.ConsumeIntegral<uint8_t>() % 32, unit);
        size_t end = document.OffsetOf(input.ConsumeIntegral<uint8_t>() % 16, input.ConsumeIntegral<uint8_t>() % 32, unit);
        if (start > end)
            std::swap(start, end);
        std::string change = ClientText(input, 32);
        document.Replace(start, end, change);
        text.replace(start, end - start, change);

        lsp::DocumentText whole(text, encoding);
        Check(document.Text() == text);
        Check(document.Bytes() == whole.Bytes());
        Check(document.Lost() == whole.Lost());
        for (uint32_t line = 0; line <= whole.LineOf(text.size()) + 1; ++line)
            Check(document.LineStart(line) == whole.LineStart(line));
        for (size_t offset = 0; offset <= text.size(); ++offset)
            Check(document.LineOf(offset) == whole.LineOf(offset));
    }
    return 0;
}
