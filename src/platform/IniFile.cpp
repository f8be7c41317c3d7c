#include "platform/IniFile.h"

#include "platform/Cp932.h"
#include "platform/FileLock.h"
#include "platform/FilePath.h"
#include "platform/FileWrite.h"

#include <algorithm>
#include <cstdint>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string_view>
#include <sys/stat.h>
#include <unordered_map>

namespace platform {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// Names given by a caller lose their outer spaces only.
std::string_view TrimSpaces(std::string_view s)
{
    while (!s.empty() && s.front() == ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    return s;
}

// Offset of the first CR or LF at or after from, or the size.
size_t LineBreak(std::string_view s, size_t from)
{
    const char* begin = s.data() + from;
    size_t length = s.size() - from;
    auto lf = static_cast<const char*>(std::memchr(begin, '\n', length));
    // A CR can only matter before the LF.
    auto cr = static_cast<const char*>(std::memchr(begin, '\r', lf ? lf - begin : length));
    const char* end = cr ? cr : lf;
    return end ? from + (end - begin) : s.size();
}

// Text up to its first line break, so what is written stays on one line.
std::string_view FirstLine(std::string_view s)
{
    return s.substr(0, LineBreak(s, 0));
}

std::string_view Unquote(std::string_view value)
{
    if (value.size() > 1 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = LineBreak(text, start);
        if (end == text.size()) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

// Section name of a header line (first non-blank '['), or false. ']' is searched character by
// character since it can be the trail byte of a two-byte character.
bool ParseHeader(std::string_view line, std::string& name)
{
    std::string_view text = TrimBlanks(line);
    if (text.empty() || text.front() != '[') {
        return false;
    }
    size_t end = 1;
    while (end < text.size() && text[end] != ']') {
        end += IsLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
    }
    name = TrimBlanks(text.substr(1, std::min(end, text.size()) - 1));
    return true;
}

// Integer as a Delphi integer reader takes it: blanks, sign, decimal or "$"/"0x" hexadecimal.
bool ParseInteger(std::string_view text, int& value)
{
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) {
        return false;
    }
    unsigned long long magnitude = 0;
    for (char c : text) {
        int digit = c >= '0' && c <= '9' ? c - '0'
                  : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10
                  : base == 16 && c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) {
            return false;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > 0xFFFFFFFFull) {
            return false;
        }
    }
    long long signedValue = negative ? -static_cast<long long>(magnitude)
                                     : static_cast<long long>(magnitude);
    if (base == 10 && (signedValue > INT_MAX || signedValue < INT_MIN)) {
        return false;
    }
    // Hexadecimal covers the full 32 bits, $FFFFFFFF being -1.
    value = static_cast<int>(static_cast<unsigned int>(static_cast<unsigned long long>(signedValue)));
    return true;
}

// Names hash and compare without regard to ASCII case, and are looked up as they are given, so a
// lookup costs no lower-cased copy.
struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const
    {
        size_t hash = 14695981039346656037ull;
        bool trail = false;
        for (char c : name) {
            auto byte = static_cast<unsigned char>(c);
            if (!trail && byte >= 'a' && byte <= 'z') {
                byte = static_cast<unsigned char>(byte - 'a' + 'A');
            }
            trail = !trail && IsLeadByte(byte);
            hash = (hash ^ byte) * 1099511628211ull;
        }
        return hash;
    }
};

struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const
    {
        return a.size() == b.size() && SameText(a, b);
    }
};

template <typename T>
using NameMap = std::unordered_map<std::string, T, NameHash, NameEqual>;

enum class LineKind { Key, Other, Deleted };

// A line's text lives in the file's text store; new texts are appended to it, so a parse makes
// no allocation per line and lines move as plain values.
struct Line {
    LineKind kind = LineKind::Other;
    uint32_t begin = 0;  // the line as in the file, without its line break
    uint32_t length = 0;
    // Key lines: the name as spelt in the file and the trimmed value with its quotes.
    uint32_t nameBegin = 0;
    uint32_t nameLength = 0;
    uint32_t valueBegin = 0;
    uint32_t valueLength = 0;

    std::string_view Text(const std::string& store) const { return {store.data() + begin, length}; }
    std::string_view Name(const std::string& store) const
    {
        return {store.data() + nameBegin, nameLength};
    }
    std::string_view RawValue(const std::string& store) const
    {
        return {store.data() + valueBegin, valueLength};
    }
};

uint32_t Offset(std::string_view part, const std::string& store)
{
    return static_cast<uint32_t>(part.data() - store.data());
}

Line ParseLine(std::string_view text, const std::string& store)
{
    Line line;
    line.begin = Offset(text, store);
    line.length = static_cast<uint32_t>(text.size());
    std::string_view trimmed = TrimBlanks(text);
    size_t equals = trimmed.find('=');
    if (!trimmed.empty() && trimmed.front() != ';' && equals != std::string_view::npos) {
        std::string_view name = TrimBlanks(trimmed.substr(0, equals));
        std::string_view value = TrimBlanks(trimmed.substr(equals + 1));
        line.kind = LineKind::Key;
        line.nameBegin = Offset(name, store);
        line.nameLength = static_cast<uint32_t>(name.size());
        line.valueBegin = Offset(value, store);
        line.valueLength = static_cast<uint32_t>(value.size());
    }
    return line;
}

// Not parsed back, so a name such as ";x" stays the key it was written as. The name may lie in
// the store itself, so it is copied before the store grows.
Line MakeKeyLine(std::string name, std::string_view value, std::string& store)
{
    Line line;
    line.kind = LineKind::Key;
    line.begin = static_cast<uint32_t>(store.size());
    line.length = static_cast<uint32_t>(name.size() + 1 + value.size());
    line.nameBegin = line.begin;
    line.nameLength = static_cast<uint32_t>(name.size());
    std::string_view trimmed = TrimBlanks(value);
    line.valueBegin = static_cast<uint32_t>(line.begin + name.size() + 1 + (trimmed.data() - value.data()));
    line.valueLength = static_cast<uint32_t>(trimmed.size());
    store.append(name).append(1, '=').append(value);
    return line;
}

struct Section {
    const std::string* store = nullptr;
    bool erased = false;
    bool duplicates = false;  // some key stands more than once
    std::string header;  // the header line as in the file; empty for the lines before any section
    std::string name;
    std::vector<Line> lines;
    NameMap<size_t> keys;  // name -> its first key line
    size_t keyEnd = 0;  // one past the last key line; 0 when there is none
    size_t deletedCount = 0;

    void AddLine(const Line& line)
    {
        if (line.kind == LineKind::Key) {
            duplicates |= !keys.emplace(line.Name(*store), lines.size()).second;
            keyEnd = lines.size() + 1;
        }
        lines.push_back(line);
    }

    const Line* Find(std::string_view key) const
    {
        auto found = keys.find(key);
        return found == keys.end() ? nullptr : &lines[found->second];
    }

    void InsertKey(const Line& line, std::string_view key)
    {
        // Only non-key lines follow keyEnd, so no index in the map moves.
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(keyEnd), line);
        keys.emplace(key, keyEnd);
        ++keyEnd;
    }

    // Removes every line of the key, so it reads as missing afterwards.
    void Delete(NameMap<size_t>::iterator found)
    {
        MarkDeleted(lines[found->second]);
        if (duplicates) {
            for (Line& line : lines) {
                if (line.kind == LineKind::Key && SameText(line.Name(*store), found->first)) {
                    MarkDeleted(line);
                }
            }
        }
        keys.erase(found);
        while (keyEnd > 0 && lines[keyEnd - 1].kind != LineKind::Key) {
            --keyEnd;
        }
        if (deletedCount > 64 && deletedCount * 2 > lines.size()) {
            Compact();
        }
    }

    void MarkDeleted(Line& line)
    {
        line.kind = LineKind::Deleted;
        ++deletedCount;
    }

    void Compact()
    {
        std::vector<Line> old;
        old.swap(lines);
        lines.reserve(old.size() - deletedCount);
        keys.clear();
        keyEnd = 0;
        deletedCount = 0;
        duplicates = false;
        for (Line& line : old) {
            if (line.kind != LineKind::Deleted) {
                AddLine(line);
            }
        }
    }
};

}  // namespace

struct IniFile::Data {
    std::string fileName;
    std::unique_ptr<FileLock> lock;  // held from the read to the last write
    std::string errorText;
    bool modified = false;
    std::string store;              // the file's text, then every line written since
    std::vector<Section> sections;  // sections[0] holds the lines before the first header
    NameMap<std::vector<size_t>> sectionIndex;
    size_t lastFound = 0;  // index of the section Find found last; 0 for none

    void Parse()
    {
        sections.emplace_back().store = &store;
        std::string name;
        for (std::string_view lineText : SplitLines(store)) {
            if (ParseHeader(lineText, name)) {
                AddSection(std::string(lineText), name);
            } else {
                sections.back().AddLine(ParseLine(lineText, store));
            }
        }
    }

    Section& AddSection(std::string header, const std::string& name)
    {
        auto found = sectionIndex.find(name);
        if (found == sectionIndex.end()) {
            found = sectionIndex.emplace(name, std::vector<size_t>()).first;
        }
        found->second.push_back(sections.size());
        Section& section = sections.emplace_back();
        section.store = &store;
        section.header = std::move(header);
        section.name = name;
        return section;
    }

    Section* Find(const std::string& section)
    {
        std::string_view name = TrimSpaces(section);
        // Callers mostly work through one section key by key, so it is asked for first.
        if (lastFound != 0 && SameText(sections[lastFound].name, name)) {
            return &sections[lastFound];
        }
        auto found = sectionIndex.find(name);
        if (found == sectionIndex.end()) {
            return nullptr;
        }
        lastFound = found->second.front();
        return &sections[lastFound];
    }

    const Section* Find(const std::string& section) const
    {
        return const_cast<Data*>(this)->Find(section);
    }

    const Line* FindKey(const std::string& section, const std::string& key) const
    {
        const Section* found = Find(section);
        return found ? found->Find(TrimSpaces(key)) : nullptr;
    }

    std::string Serialize() const
    {
        std::string text;
        for (const Section& section : sections) {
            if (section.erased) {
                continue;
            }
            if (&section != &sections.front()) {
                text += section.header;
                text += "\r\n";
            }
            for (const Line& line : section.lines) {
                if (line.kind != LineKind::Deleted) {
                    text += line.Text(store);
                    text += "\r\n";
                }
            }
        }
        return text;
    }

    bool Write(const std::string& text) { return WriteFileReplacing(fileName, text, errorText); }
};

IniFile::IniFile(std::string fileName) : data_(std::make_unique<Data>())
{
    data_->fileName = std::move(fileName);
    data_->lock = std::make_unique<FileLock>(data_->fileName);
    ReadWholeFile(data_->fileName, data_->store);
    data_->Parse();
}

IniFile::IniFile(std::string fileName, Unlocked) : data_(std::make_unique<Data>())
{
    data_->fileName = std::move(fileName);
    ReadWholeFile(data_->fileName, data_->store);
    data_->Parse();
}

std::shared_ptr<const IniFile> IniFile::ReadOnly(const std::string& fileName)
{
    // What stat tells of a file version; a missing file is all zeros.
    struct Version {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified {};
        timespec changed {};
        bool operator==(const Version& other) const
        {
            return device == other.device && inode == other.inode && size == other.size
                && modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec
                && changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
        }
    };
    struct Parsed {
        Version version;
        std::shared_ptr<const IniFile> file;
    };
    static std::mutex mutex;
    static std::unordered_map<std::string, Parsed> parsed;

    Version version;
    struct stat info {};
    if (::stat(fileName.c_str(), &info) == 0) {
        version = {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
    }
    std::lock_guard guard(mutex);
    Parsed& entry = parsed[fileName];
    // Read after the stat: a file replaced in between is read again next time, never kept stale.
    if (!entry.file || !(entry.version == version)) {
        entry.file.reset(new IniFile(fileName, Unlocked {}));
        entry.version = version;
    }
    return entry.file;
}

IniFile::~IniFile()
{
    UpdateFile();
}

const std::string& IniFile::FileName() const
{
    return data_->fileName;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const
{
    const Line* line = data_->FindKey(section, key);
    if (!line) {
        size_t end = defaultValue.find_last_not_of(' ');
        return end == std::string::npos ? std::string() : defaultValue.substr(0, end + 1);
    }
    return std::string(Unquote(line->RawValue(data_->store)));
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const
{
    const Line* line = data_->FindKey(section, key);
    int value = 0;
    return line && ParseInteger(Unquote(line->RawValue(data_->store)), value) ? value : defaultValue;
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value)
{
    std::string sectionName(TrimSpaces(FirstLine(section)));
    std::string_view keyName = TrimSpaces(FirstLine(key));
    std::string_view text = FirstLine(value);
    Section* target = data_->Find(sectionName);
    if (!target) {
        target = &data_->AddSection("[" + sectionName + "]", sectionName);
    }
    auto found = target->keys.find(keyName);
    if (found == target->keys.end()) {
        target->InsertKey(MakeKeyLine(std::string(keyName), text, data_->store), keyName);
    } else {
        Line& line = target->lines[found->second];
        if (line.RawValue(data_->store) == TrimBlanks(text)) {
            return;
        }
        line = MakeKeyLine(std::string(line.Name(data_->store)), text, data_->store);
    }
    data_->modified = true;
}

void IniFile::WriteExactString(const std::string& section, const std::string& key, const std::string& value)
{
    std::string_view text = FirstLine(value);
    bool keeps = TrimBlanks(text).size() == text.size() && Unquote(text).size() == text.size();
    WriteString(section, key, keeps ? std::string(text) : "\"" + std::string(text) + "\"");
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

bool IniFile::CanNameSection(const std::string& name)
{
    std::string_view given = TrimSpaces(name);
    std::string parsed;
    return given.find_first_of("\r\n") == std::string_view::npos
        && ParseHeader("[" + std::string(given) + "]", parsed) && parsed == given;
}

bool IniFile::CanNameKey(const std::string& name)
{
    std::string_view given = TrimSpaces(name);
    std::string line = std::string(given) + "=";
    std::string header;
    if (given.find_first_of("\r\n") != std::string_view::npos || ParseHeader(line, header)) {
        return false;
    }
    Line parsed = ParseLine(line, line);
    return parsed.kind == LineKind::Key && parsed.Name(line) == given;
}

std::vector<std::string> IniFile::ReadSections() const
{
    std::vector<std::string> names;
    for (size_t i = 1; i < data_->sections.size(); ++i) {
        if (!data_->sections[i].erased) {
            names.push_back(data_->sections[i].name);
        }
    }
    return names;
}

std::vector<std::string> IniFile::ReadSection(const std::string& section) const
{
    std::vector<std::string> names;
    if (const Section* found = data_->Find(section)) {
        for (const Line& line : found->lines) {
            if (line.kind == LineKind::Key) {
                names.emplace_back(line.Name(data_->store));
            }
        }
    }
    return names;
}

bool IniFile::SectionExists(const std::string& section) const
{
    return data_->Find(section) != nullptr;
}

bool IniFile::ValueExists(const std::string& section, const std::string& key) const
{
    return data_->FindKey(section, key) != nullptr;
}

void IniFile::EraseSection(const std::string& section)
{
    auto found = data_->sectionIndex.find(TrimSpaces(section));
    if (found == data_->sectionIndex.end()) {
        return;
    }
    for (size_t index : found->second) {
        Section& erased = data_->sections[index];
        erased.erased = true;
        erased.lines.clear();
        erased.keys.clear();
    }
    data_->sectionIndex.erase(found);
    data_->lastFound = 0;
    data_->modified = true;
}

void IniFile::DeleteKey(const std::string& section, const std::string& key)
{
    Section* found = data_->Find(section);
    if (!found) {
        return;
    }
    auto line = found->keys.find(TrimSpaces(key));
    if (line != found->keys.end()) {
        found->Delete(line);
        data_->modified = true;
    }
}

bool IniFile::UpdateFile()
{
    if (!data_->modified) {
        return true;
    }
    if (!data_->Write(data_->Serialize())) {
        return false;
    }
    data_->modified = false;
    data_->errorText.clear();
    return true;
}

bool IniFile::Modified() const
{
    return data_->modified;
}

const std::string& IniFile::ErrorText() const
{
    return data_->errorText;
}

}  // namespace platform
