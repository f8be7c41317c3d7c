#pragma once
// The add-in's own files in the host folder, put in order when a tool window is created.

namespace quorlin {

// Removes the temporary files that a process stopped while writing a data file left behind, and
// says once per process of each data file that is not a regular file (a folder, a FIFO) that
// nothing is read from it or saved in it.
void PrepareDataFolder();

}  // namespace quorlin
