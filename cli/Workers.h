#pragma once
// Work over many files shared among worker processes: each takes a run of the files in their
// order, as even in bytes as the files allow, and runs the command over it with an add-in of its
// own; the workers' outputs are then written one after the other, in the order of the files.

#include <functional>

#include "CliOptions.h"

namespace cli {

// How many workers to start for options: --jobs, else the processors this process may run on,
// and never more than there are files.
int WorkerCount(const CliOptions& options);

// Runs run once per worker, in a child process whose standard output goes to a file of its own,
// with options whose operands are that worker's files; the outputs are copied to standard output
// in order. Answers 0 when every worker answered 0, 1 otherwise. Standard error is shared.
int RunInWorkers(const CliOptions& options, int workers, const std::function<int(const CliOptions&)>& run);

}  // namespace cli
