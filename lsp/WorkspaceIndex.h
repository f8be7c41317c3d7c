#pragma once
// The routines of every workspace unit, for the workspace search. Built by worker processes that
// each scan a share of the units with the tool window they inherited, and kept up to date unit by
// unit afterwards.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <unordered_map>
#include <vector>

#include "Outline.h"

namespace lsp {

struct IndexedRoutine {
    std::string Name;  // UTF-8
    SymbolKind Kind = SymbolKind::Function;
    int32_t Line = 0;
};

struct IndexedUnit {
    std::string Path;
    std::vector<IndexedRoutine> Routines;
};

// The records a worker hands back: each unit's path and routines, lengths before texts.
void AppendUnitRecord(std::string& out, const IndexedUnit& unit);
// False when data is not a whole sequence of records; the units read before the fault are kept.
bool ReadUnitRecords(std::string_view data, std::vector<IndexedUnit>& units);

class WorkspaceIndex {
public:
    using Scan = std::function<IndexedUnit(const std::string& path)>;

    WorkspaceIndex() = default;
    ~WorkspaceIndex();
    WorkspaceIndex(const WorkspaceIndex&) = delete;
    WorkspaceIndex& operator=(const WorkspaceIndex&) = delete;

    // Forks up to workers processes that scan the files with scan, in shares of about the same
    // bytes; with one worker, or when no process can be started, scans them here on Wait.
    void Start(std::vector<std::string> files, int workers, Scan scan);
    // Gathers what the workers found; nothing when the index is complete already.
    void Wait();
    bool Complete() const { return complete_; }

    // A unit scanned again, or a new one.
    void Put(IndexedUnit unit);
    void Remove(const std::string& path);
    const std::vector<IndexedUnit>& Units() const { return units_; }

private:
    struct Worker {
        pid_t Pid = -1;
        int Output = -1;  // a temporary file the worker writes its records to
        std::vector<std::string> Files;
    };

    std::vector<IndexedUnit> units_;
    std::unordered_map<std::string, size_t> byPath_;
    std::vector<Worker> workers_;
    std::vector<std::string> left_;  // files no worker took
    Scan scan_;
    bool complete_ = true;
};

}  // namespace lsp
