// Any bytes as a project source: the reader ends, and every unit file it names is a full,
// normalised path.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "refhost/ProjectFile.h"
#include "refhost/RefHost.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string source(reinterpret_cast<const char*>(data), size);
    for (const std::string& unit : refhost::ParseProjectUnits(source, "/projects/demo/")) {
        if (unit.empty() || unit.front() != '/' || refhost::Host::NormalizeFileName(unit) != unit)
            std::abort();
    }
    return 0;
}
