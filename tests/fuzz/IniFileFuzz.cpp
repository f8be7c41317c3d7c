// Any bytes as an ini file, then writes and deletions the input chooses: nothing may crash, and
// what the writer saves must read back exactly as the object showed it before saving.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "fuzz/FuzzFolder.h"
#include "platform/IniFile.h"

namespace {

// Every section as ReadSections lists it, with the keys ReadSection gives and the values read.
using View = std::vector<std::pair<std::string, std::map<std::string, std::string>>>;

View Snapshot(const platform::IniFile& ini)
{
    View view;
    for (const std::string& section : ini.ReadSections()) {
        std::map<std::string, std::string> values;
        for (const std::string& key : ini.ReadSection(section)) {
            values[key] = ini.ReadString(section, key, "");
            ini.ReadInteger(section, key, 0);
            if (!ini.ValueExists(section, key))
                std::abort();
        }
        view.emplace_back(section, std::move(values));
    }
    return view;
}

// Names the file format can hold: no '=', brackets, ';' or line breaks, no blanks at the ends,
// two-byte characters whole.
std::string Name(FuzzedDataProvider& input)
{
    static const std::string plain = "abcXYZ019_-.$ ";
    std::string name;
    size_t length = input.ConsumeIntegralInRange<size_t>(0, 6);
    for (size_t i = 0; i < length; ++i) {
        if (input.ConsumeBool()) {
            name += static_cast<char>(input.ConsumeIntegralInRange<int>(0x81, 0x9F));
            name += static_cast<char>(input.ConsumeIntegralInRange<int>(0x40, 0x7E));
        } else {
            name += plain[input.ConsumeIntegralInRange<size_t>(0, plain.size() - 1)];
        }
    }
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    while (!name.empty() && name.front() == ' ')
        name.erase(0, 1);
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string fileName = FuzzFolder() + "/fuzz.ini";
    std::ofstream(fileName, std::ios::binary | std::ios::trunc) << input.ConsumeRandomLengthString(4096);

    View before;
    {
        platform::IniFile ini(fileName);
        Snapshot(ini);
        int operations = input.ConsumeIntegralInRange(0, 16);
        for (int i = 0; i < operations && input.remaining_bytes() > 0; ++i) {
            std::string section = input.ConsumeBool() || ini.ReadSections().empty()
                                      ? Name(input)
                                      : ini.ReadSections().front();
            switch (input.ConsumeIntegralInRange(0, 4)) {
            case 0:
                ini.EraseSection(section);
                break;
            case 1:
                ini.DeleteKey(section, Name(input));
                break;
            case 2:
                ini.WriteInteger(section, Name(input), input.ConsumeIntegral<int>());
                break;
            default: {
                std::string key = Name(input);
                std::string value = input.ConsumeRandomLengthString(64);
                ini.WriteString(section, key, value);
                if (!ini.ValueExists(section, key))
                    std::abort();  // a key just written reads as missing
                break;
            }
            }
        }
        before = Snapshot(ini);
        if (!ini.UpdateFile())
            std::abort();
    }
    platform::IniFile reread(fileName);
    if (Snapshot(reread) != before)
        std::abort();
    return 0;
}
