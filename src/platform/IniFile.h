#pragma once
// A profile (ini) file with the semantics of the Windows private-profile functions: names matched
// without regard to case, file order kept, lines written CR LF. The file is parsed once when the
// object is made and written at most once, by UpdateFile or on destruction, atomically. The object
// holds the file's lock (FileLock) for its whole life, so the read-change-writes of several
// processes follow one another and none loses another's changes: keep it no longer than a change
// needs. Anything but a regular file reads as missing and is never written.

#include <memory>
#include <string>
#include <vector>

namespace platform {

class IniFile {
public:
    explicit IniFile(std::string fileName);
    // The file as it stands, for reading only, without the lock: writers replace the file whole,
    // so a reader sees one version or the other. The parse is kept while the file stays the same
    // (its inode, size and times), so reading the same settings again costs one stat.
    static std::shared_ptr<const IniFile> ReadOnly(const std::string& fileName);
    ~IniFile();  // writes pending changes; use UpdateFile to learn whether that worked
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const std::string& FileName() const;

    // Quotes around a value are stripped; a missing key gives defaultValue without its trailing
    // spaces. Integers: decimal with sign, or hexadecimal after "$" or "0x"; else the default.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    // A value (or name) holding a line break is cut before it, so the file's lines stay whole.
    // Writing the value a key already has changes nothing.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    // Writes value so that ReadString gives it back as given: in quotes where blanks at its ends or
    // a pair of outer quotes would be lost otherwise. A line break cuts it as above.
    void WriteExactString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // Whether a section written under name is read back under it: not when the name holds "]" or a
    // line break, or blanks other than spaces at its ends, which a header cannot keep.
    static bool CanNameSection(const std::string& name);
    // Whether a key written under name is read back under it: not when the name holds "=" or a
    // line break, begins with "[" or ";", or has blanks other than spaces at its ends.
    static bool CanNameKey(const std::string& name);

    // Names in file order, every occurrence listed. A section's keys are those of its first
    // occurrence, which is also the one read and written.
    std::vector<std::string> ReadSections() const;
    std::vector<std::string> ReadSection(const std::string& section) const;
    // True when a header of that name stands in the file, even with no keys below it.
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;

    // Every occurrence goes, with all its lines, so the section reads as missing afterwards.
    void EraseSection(const std::string& section);
    // Every line of the key in the section's first occurrence goes; the section stays.
    void DeleteKey(const std::string& section, const std::string& key);

    // Writes pending changes (temporary file in the same folder, then rename). False when the
    // file could not be written; ErrorText() then says why and the changes stay pending.
    bool UpdateFile();
    bool Modified() const;
    const std::string& ErrorText() const;

private:
    struct Unlocked {};
    IniFile(std::string fileName, Unlocked);

    struct Data;
    std::unique_ptr<Data> data_;
};

}  // namespace platform
