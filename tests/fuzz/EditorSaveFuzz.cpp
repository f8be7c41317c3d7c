// Any bytes as a unit's file and any text it is edited to: saving ends, the file saved reads back
// as the edited text, and a unit saved unedited keeps every byte.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/FuzzFolder.h"
#include "refhost/EditBuffer.h"
#include "refhost/RefHost.h"

namespace {

void Check(bool condition, int line = __builtin_LINE())
{
    if (!condition) {
        std::fprintf(stderr, "EditorSaveFuzz.cpp:%d: check failed\n", line);
        std::abort();
    }
}

std::string FileBytes(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    std::string original = input.ConsumeRandomLengthString(4096);
    std::string edited = input.ConsumeRemainingBytesAsString();
    std::string unit = refhost::Host::NormalizeFileName(FuzzFolder() + "/Unit1.pas");
    std::ofstream(unit, std::ios::binary | std::ios::trunc) << original;

    refhost::Host host;
    Check(host.OpenFile(unit));
    bool changed = host.SetText(unit, edited);
    std::string text = host.Text(unit);
    Check(host.SaveFile(unit));
    std::string saved = FileBytes(unit);
    Check(refhost::ToCrLf(saved) == text);
    if (!changed)
        Check(saved == original);
    return 0;
}
