#include "Workers.h"

#include <sched.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace cli {

namespace {

int ProcessorCount()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return CPU_COUNT(&set);
    long online = sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? static_cast<int>(online) : 1;
}

// Opening and closing a unit costs about as much as reading this many bytes of it.
constexpr unsigned long long OpeningBytes = 8192;

// Cuts files into count runs of about the same work: their bytes and their openings. A file that
// cannot be read weighs as an empty one, and its worker reports it.
std::vector<std::vector<std::string>> Split(const std::vector<std::string>& files, int count)
{
    std::vector<unsigned long long> sizes;
    unsigned long long total = 0;
    for (const std::string& file : files) {
        struct stat status {};
        unsigned long long size = stat(file.c_str(), &status) == 0 ? static_cast<unsigned long long>(status.st_size) : 0;
        sizes.push_back(size + OpeningBytes);
        total += size + OpeningBytes;
    }
    std::vector<std::vector<std::string>> runs(static_cast<size_t>(count));
    unsigned long long done = 0;
    size_t next = 0;
    for (int run = 0; run < count; ++run) {
        unsigned long long goal = total * static_cast<unsigned long long>(run + 1) / static_cast<unsigned long long>(count);
        // Each run takes at least one file and leaves one for every later run.
        size_t last = files.size() - static_cast<size_t>(count - run - 1);
        do {
            done += sizes[next];
            runs[static_cast<size_t>(run)].push_back(files[next++]);
        } while (next < last && done + sizes[next] / 2 <= goal);
    }
    return runs;
}

bool CopyToStdout(FILE* file)
{
    std::rewind(file);
    char block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
        if (std::fwrite(block, 1, got, stdout) != got)
            return false;
    }
    return !std::ferror(file);
}

}  // namespace

int WorkerCount(const CliOptions& options)
{
    int wanted = options.Jobs > 0 ? options.Jobs : ProcessorCount();
    return static_cast<int>(std::min<size_t>(static_cast<size_t>(std::max(wanted, 1)), options.Operands.size()));
}

int RunInWorkers(const CliOptions& options, int workers, const std::function<int(const CliOptions&)>& run)
{
    std::fflush(stdout);
    std::fflush(stderr);
    struct Worker {
        FILE* output = nullptr;
        pid_t pid = -1;
    };
    std::vector<Worker> started;
    int status = 0;
    for (std::vector<std::string>& files : Split(options.Operands, workers)) {
        Worker worker;
        worker.output = std::tmpfile();
        if (worker.output)
            worker.pid = fork();
        if (worker.pid == 0) {
            CliOptions part = options;
            part.Operands = std::move(files);
            int code = dup2(fileno(worker.output), STDOUT_FILENO) < 0 ? 1 : run(part);
            _exit(std::fflush(stdout) == 0 ? code : 1);
        }
        if (worker.pid < 0) {
            std::fprintf(stderr, "quorlin: cannot start a worker: %s\n", std::strerror(errno));
            status = 1;
            if (worker.output)
                std::fclose(worker.output);
            break;
        }
        started.push_back(worker);
    }
    // All run before any output is copied, so that no worker waits for another.
    for (Worker& worker : started) {
        int code = 0;
        while (waitpid(worker.pid, &code, 0) < 0 && errno == EINTR) {
        }
        if (WIFSIGNALED(code))
            std::fprintf(stderr, "quorlin: a worker ended with signal %d\n", WTERMSIG(code));
        if (!WIFEXITED(code) || WEXITSTATUS(code) != 0)
            status = 1;
    }
    for (Worker& worker : started) {
        if (!CopyToStdout(worker.output))
            status = 1;
        std::fclose(worker.output);
    }
    return status;
}

}  // namespace cli
