// Any bytes as a project source: the reader ends, and every unit file it names is a full,
// normalised path; adding a unit only inserts text, leaving every byte of the source in place.

#include <algorithm>
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
    std::string added = refhost::AddProjectUnit(source, "Added", "sub\\Added's.pas");
    auto prefix = std::mismatch(source.begin(), source.end(), added.begin(), added.end()).first - source.begin();
    auto suffix = std::mismatch(source.rbegin(), source.rend(), added.rbegin(), added.rend()).first - source.rbegin();
    if (added.size() <= source.size() || static_cast<size_t>(prefix + suffix) < source.size())
        std::abort();
    return 0;
}
