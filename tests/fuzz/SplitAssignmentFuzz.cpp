// The assignment swapper over any line and separator: a split finds the separator where a search
// finds it, gives trimmed sides with no statement end in the right one, and a swapped line is
// made of them; any other line comes back unchanged.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "codegen/SplitAssignment.h"
#include "platform/Cp932.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    std::string separator = input.ConsumeRandomLengthString(8);
    std::string line = input.ConsumeRemainingBytesAsString();
    std::string left;
    std::string right;
    bool split = quorlin::SplitAssignment(line, separator, left, right);
    std::string swapped = quorlin::SwapAssignment(line, separator);
    size_t at = platform::FindText(line, separator);
    if (!split) {
        Check(swapped == line);
        Check(at == std::string::npos || platform::Trim(line.substr(0, at)).empty() ||
              at + separator.size() == line.size());
        return 0;
    }
    Check(at != std::string::npos);
    Check(left == platform::Trim(line.substr(0, at)) && !left.empty());
    Check(right == platform::Trim(right) && right.find(';') == std::string::npos);
    Check(line.find(right, at + separator.size()) != std::string::npos);
    Check(swapped == "  " + right + " " + separator + " " + left + ";");
    return 0;
}
