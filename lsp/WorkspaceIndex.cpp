#include "WorkspaceIndex.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Transport.h"

namespace lsp {

namespace {

void AppendNumber(std::string& out, uint32_t value)
{
    char bytes[4];
    std::memcpy(bytes, &value, 4);
    out.append(bytes, 4);
}

void AppendText(std::string& out, std::string_view text)
{
    AppendNumber(out, static_cast<uint32_t>(text.size()));
    out.append(text);
}

// Reads from data, checking each length against the bytes left.
class RecordReader {
public:
    explicit RecordReader(std::string_view data) : data_(data) {}

    bool AtEnd() const { return data_.empty(); }
    bool Number(uint32_t& value)
    {
        if (data_.size() < 4)
            return false;
        std::memcpy(&value, data_.data(), 4);
        data_.remove_prefix(4);
        return true;
    }
    bool Text(std::string& text)
    {
        uint32_t length;
        if (!Number(length) || length > data_.size())
            return false;
        text.assign(data_.substr(0, length));
        data_.remove_prefix(length);
        return true;
    }

private:
    std::string_view data_;
};

bool ReadAll(int fd, std::string& data)
{
    if (lseek(fd, 0, SEEK_SET) < 0)
        return false;
    char block[65536];
    for (;;) {
        ssize_t got = read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        data.append(block, static_cast<size_t>(got));
    }
}

// Shares of about the same bytes: the largest files first, each to the lightest share.
std::vector<std::vector<std::string>> Share(std::vector<std::string> files, int count)
{
    std::vector<std::pair<off_t, std::string>> sized;
    for (std::string& file : files) {
        struct stat status {};
        sized.emplace_back(stat(file.c_str(), &status) == 0 ? status.st_size : 0, std::move(file));
    }
    std::sort(sized.begin(), sized.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::vector<std::string>> shares(static_cast<size_t>(count));
    std::vector<off_t> weights(static_cast<size_t>(count), 0);
    for (auto& [size, file] : sized) {
        size_t lightest = static_cast<size_t>(std::min_element(weights.begin(), weights.end()) - weights.begin());
        // Opening a unit costs about as much as reading 8 KiB of it.
        weights[lightest] += size + 8192;
        shares[lightest].push_back(std::move(file));
    }
    return shares;
}

}  // namespace

void AppendUnitRecord(std::string& out, const IndexedUnit& unit)
{
    AppendText(out, unit.Path);
    AppendNumber(out, static_cast<uint32_t>(unit.Routines.size()));
    for (const IndexedRoutine& routine : unit.Routines) {
        AppendText(out, routine.Name);
        AppendNumber(out, static_cast<uint32_t>(routine.Kind));
        AppendNumber(out, static_cast<uint32_t>(routine.Line));
    }
}

bool ReadUnitRecords(std::string_view data, std::vector<IndexedUnit>& units)
{
    RecordReader reader(data);
    while (!reader.AtEnd()) {
        IndexedUnit unit;
        uint32_t count;
        if (!reader.Text(unit.Path) || !reader.Number(count))
            return false;
        for (uint32_t i = 0; i < count; ++i) {
            IndexedRoutine routine;
            uint32_t kind;
            uint32_t line;
            if (!reader.Text(routine.Name) || !reader.Number(kind) || !reader.Number(line))
                return false;
            routine.Kind = static_cast<SymbolKind>(kind);
            routine.Line = static_cast<int32_t>(line);
            unit.Routines.push_back(std::move(routine));
        }
        units.push_back(std::move(unit));
    }
    return true;
}

WorkspaceIndex::~WorkspaceIndex()
{
    for (Worker& worker : workers_) {
        kill(worker.Pid, SIGTERM);
        waitpid(worker.Pid, nullptr, 0);
        close(worker.Output);
    }
}

void WorkspaceIndex::Start(std::vector<std::string> files, int workers, Scan scan)
{
    Wait();
    units_.clear();
    byPath_.clear();
    scan_ = std::move(scan);
    complete_ = false;
    if (workers <= 1 || files.size() < 2) {
        left_ = std::move(files);
        return;
    }
    std::fflush(nullptr);
    for (std::vector<std::string>& share : Share(std::move(files), workers)) {
        FILE* output = std::tmpfile();
        int fd = output ? dup(fileno(output)) : -1;
        if (output)
            std::fclose(output);
        pid_t pid = fd >= 0 ? fork() : -1;
        if (pid == 0) {
            std::string records;
            for (const std::string& file : share)
                AppendUnitRecord(records, scan_(file));
            _exit(WriteAll(fd, records) ? 0 : 1);
        }
        if (pid < 0) {
            if (fd >= 0)
                close(fd);
            left_.insert(left_.end(), share.begin(), share.end());
            continue;
        }
        workers_.push_back({pid, fd, std::move(share)});
    }
}

void WorkspaceIndex::Wait()
{
    if (complete_)
        return;
    for (Worker& worker : workers_) {
        int status = 0;
        while (waitpid(worker.Pid, &status, 0) < 0 && errno == EINTR) {
        }
        std::string records;
        std::vector<IndexedUnit> found;
        bool whole = WIFEXITED(status) && WEXITSTATUS(status) == 0 && ReadAll(worker.Output, records)
                  && ReadUnitRecords(records, found);
        close(worker.Output);
        for (IndexedUnit& unit : found)
            Put(std::move(unit));
        // What a failed worker did not hand back is scanned here.
        if (!whole) {
            for (const std::string& file : worker.Files) {
                if (!byPath_.contains(file))
                    left_.push_back(file);
            }
        }
    }
    workers_.clear();
    for (const std::string& file : left_)
        Put(scan_(file));
    left_.clear();
    complete_ = true;
}

void WorkspaceIndex::Put(IndexedUnit unit)
{
    auto [it, added] = byPath_.emplace(unit.Path, units_.size());
    if (added)
        units_.push_back(std::move(unit));
    else
        units_[it->second] = std::move(unit);
}

void WorkspaceIndex::Remove(const std::string& path)
{
    auto it = byPath_.find(path);
    if (it == byPath_.end())
        return;
    size_t index = it->second;
    byPath_.erase(it);
    if (index + 1 != units_.size()) {
        units_[index] = std::move(units_.back());
        byPath_[units_[index].Path] = index;
    }
    units_.pop_back();
}

}  // namespace lsp
