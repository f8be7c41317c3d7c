#pragma once
// Runs the real quorlin binary (with the add-in beside it), or another program the command works
// with, in a folder, with its own data home, standard output and error caught in files beside that
// home. A run that has not ended after a
// minute is killed and reported with status -2, so a hang fails a test instead of stopping it.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct QuorlinRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

inline const std::filesystem::path quorlinBinary = std::filesystem::path(QUORLIN_BINARY_DIR) / "bin/quorlin";

inline std::string FileText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline QuorlinRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                             const std::filesystem::path& folder, const std::filesystem::path& dataHome)
{
    std::filesystem::create_directories(dataHome.parent_path());
    std::filesystem::path outFile = dataHome.parent_path() / "stdout";
    std::filesystem::path errFile = dataHome.parent_path() / "stderr";
    std::vector<char*> argv;
    std::string programName = program;
    argv.push_back(programName.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t child = fork();
    if (child == 0) {
        int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || chdir(folder.c_str()) != 0)
            _exit(127);
        setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    QuorlinRun result;
    int status = 0;
    for (int waited = 0; child > 0; waited += 10) {
        pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) {
            result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if (done < 0 || waited >= 60000) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            result.Status = -2;
            break;
        }
        usleep(10000);
    }
    result.Out = FileText(outFile);
    result.Err = FileText(errFile);
    return result;
}

inline QuorlinRun RunQuorlin(const std::vector<std::string>& args, const std::filesystem::path& folder,
                             const std::filesystem::path& dataHome)
{
    return RunProgram(quorlinBinary.string(), args, folder, dataHome);
}
