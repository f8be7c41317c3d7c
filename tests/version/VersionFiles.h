#pragma once
// Files that carry a version block: a small ELF file around a block made by hand, and Windows
// libraries that Debian's mingw-w64 builds from a resource script.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/TempFolder.h"

// An ELF64 file whose only contents are its section names and a ".rsrc.version" section holding
// block.
inline std::string ElfWithVersionBlock(const std::string& block)
{
    auto put = [](std::string& bytes, size_t offset, uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes[offset + i] = static_cast<char>(value >> (8 * i));
    };
    const std::string names("\0.shstrtab\0.rsrc.version\0", 25);
    std::string file(64, '\0');
    file.replace(0, 6, "\x7F" "ELF\x02\x01");
    file[6] = 1;
    size_t namesOffset = file.size();
    file += names;
    file.resize((file.size() + 3) & ~size_t(3), '\0');
    size_t blockOffset = file.size();
    file += block;
    file.resize((file.size() + 7) & ~size_t(7), '\0');
    size_t table = file.size();
    file.resize(table + 3 * 64, '\0');
    put(file, 16, 3, 2);      // shared object
    put(file, 18, 62, 2);     // x86-64
    put(file, 20, 1, 4);
    put(file, 0x28, table, 8);
    put(file, 0x34, 64, 2);
    put(file, 0x3A, 64, 2);
    put(file, 0x3C, 3, 2);
    put(file, 0x3E, 1, 2);    // section names in section 1
    size_t strtab = table + 64;
    put(file, strtab, 1, 4);
    put(file, strtab + 4, 3, 4);  // string table
    put(file, strtab + 24, namesOffset, 8);
    put(file, strtab + 32, names.size(), 8);
    size_t version = table + 128;
    put(file, version, 11, 4);
    put(file, version + 4, 1, 4);  // program data
    put(file, version + 8, 2, 8);  // allocated
    put(file, version + 24, blockOffset, 8);
    put(file, version + 32, block.size(), 8);
    return file;
}

// Whether Debian's mingw-w64 tools for architecture ("x86_64" or "i686") are installed.
inline bool MingwInstalled(const std::string& architecture)
{
    std::string prefix = architecture + "-w64-mingw32-";
    return std::system(("command -v " + prefix + "gcc >/dev/null && command -v " + prefix + "windres >/dev/null")
                           .c_str()) == 0;
}

// A DLL built by mingw-w64 from tests/data/version/Sample.rc: "x86_64" gives PE32+, "i686" PE32.
// Empty when the build fails.
inline std::string BuildSampleDll(const TempFolder& folder, const std::string& architecture)
{
    std::string prefix = architecture + "-w64-mingw32-";
    std::string source = folder.Write("sample.c", "int sample_value(void) { return 1; }\n");
    std::string resource = folder / (architecture + ".o");
    std::string dll = folder / (architecture + ".dll");
    std::string command = prefix + "windres '" QUORLIN_SOURCE_DIR "/tests/data/version/Sample.rc' -O coff -o '" +
                          resource + "' && " + prefix + "gcc -shared -o '" + dll + "' '" + source + "' '" +
                          resource + "'";
    return std::system(command.c_str()) == 0 ? dll : std::string();
}
