// quorlin: the add-in's tool window driven from the command line over the reference host.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iterator>
#include <malloc.h>
#include <string>
#include <string_view>
#include <vector>

#include "AddinSession.h"
#include "CommandHelp.h"
#include "CommandLine.h"
#include "Commands.h"
#include "CompletionScript.h"
#include "ConsoleDesktop.h"
#include "FormCommands.h"
#include "MessageCommands.h"
#include "Workers.h"
#include "lsp/RunServer.h"
#include "platform/FilePath.h"
#include "platform/HostFolder.h"
#include "toolkit/Application.h"
#include "version/VersionInfoList.h"

namespace {

// Where the add-in keeps its ini files when --home is not given.
std::string DefaultHome()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome)
        return std::string(dataHome) + "/quorlin";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/quorlin";
}

std::string DefaultAddin()
{
    std::error_code ignored;
    std::string exe = std::filesystem::read_symlink("/proc/self/exe", ignored).string();
    return platform::ExtractFilePath(exe) + "libquorlin.so";
}

// A command reads unit after unit into buffers of similar sizes. Freed memory is kept for the next
// unit instead of going back to the system and being faulted in page by page again; only units of
// 32 MiB and more get mappings of their own.
void KeepFreedMemory()
{
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
}

// The add-in's file version, from its own version resource.
int PrintVersion(const cli::CliOptions& options)
{
    std::string addin = options.Addin.empty() ? DefaultAddin() : options.Addin;
    std::vector<std::string> list;
    quorlin::ReadVersionInfoList(addin, list);
    if (list.size() != std::size(quorlin::VersionInfoKeys)) {
        std::fprintf(stderr, "quorlin: %s: the add-in has no version resource\n", addin.c_str());
        return 1;
    }
    auto fileVersion = std::find(std::begin(quorlin::VersionInfoKeys), std::end(quorlin::VersionInfoKeys),
                                 std::string_view("\\FileVersion"));
    std::printf("quorlin %s\n", list[fileVersion - std::begin(quorlin::VersionInfoKeys)].c_str());
    return 0;
}

// Help and completion scripts are printed whole or the command fails.
int PrintText(const std::string& text)
{
    std::fputs(text.c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int RunWithAddin(const cli::CliOptions& options, cli::ConsoleDesktop& desktop)
{
    cli::AddinSession session;
    std::string error;
    if (!session.Load(options.Addin.empty() ? DefaultAddin() : options.Addin, error)) {
        std::fprintf(stderr, "quorlin: %s\n", error.c_str());
        return 1;
    }
    tk::Form* toolWindow = session.OpenToolWindow();
    if (!toolWindow) {
        std::fprintf(stderr, "quorlin: the add-in opened no tool window\n");
        return 1;
    }
    try {
        return cli::Commands(session, desktop, *toolWindow, options, stdout).Run();
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "quorlin: %s\n", e.what());
        return 1;
    }
}

int RunCommand(const cli::CliOptions& options)
{
    cli::ConsoleDesktop desktop(options.Raw);
    tk::Application::Instance().SetDesktop(&desktop);
    int status = RunWithAddin(options, desktop);
    tk::Application::Instance().SetDesktop(nullptr);
    return status;
}

// Makes home the add-in's host folder, creating it when needed; says why on standard error when
// it cannot.
bool UseHome(const std::string& home)
{
    std::error_code failure;
    std::filesystem::create_directories(home, failure);
    if (failure || !platform::DirectoryExists(home)) {
        std::fprintf(stderr, "quorlin: %s: cannot use as home folder: %s\n", home.c_str(),
                     failure ? failure.message().c_str() : "not a folder");
        return false;
    }
    platform::SetHostFolder(std::filesystem::absolute(home).string());
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    cli::CliOptions options;
    cli::CommandLine commandLine(options);
    std::string text;
    switch (commandLine.Parse(argc, argv, text)) {
    case cli::CommandLine::Outcome::Wrong:
        std::fprintf(stderr, "quorlin: %s\n%s\n", text.c_str(), cli::UsageLine().c_str());
        return 2;
    case cli::CommandLine::Outcome::Help: {
        const cli::CommandEntry* command = commandLine.Find(text);
        return PrintText(command ? cli::CommandHelpText(commandLine, *command) : cli::HelpText(commandLine));
    }
    case cli::CommandLine::Outcome::Version:
        return PrintVersion(options);
    case cli::CommandLine::Outcome::Run:
        break;
    }
    if (options.Cmd == cli::Command::Completion)
        return PrintText(cli::CompletionScript(commandLine, options.Operands[0]));
    if (options.Cmd == cli::Command::Send)
        return cli::SendMessage(options);
    if (options.Cmd == cli::Command::Listen)
        return cli::Listen(options);
    if (options.Cmd == cli::Command::Form) {
        int status = cli::ShowForm(options, stdout);
        return std::fflush(stdout) == 0 ? status : 1;
    }

    if (!UseHome(options.Home.empty() ? DefaultHome() : options.Home))
        return 1;
    if (options.Cmd == cli::Command::Lsp)
        return lsp::RunServer({options.Addin.empty() ? DefaultAddin() : options.Addin});
    KeepFreedMemory();

    int workers = options.Cmd == cli::Command::Routines ? cli::WorkerCount(options) : 1;
    int status = workers > 1 ? cli::RunInWorkers(options, workers, RunCommand) : RunCommand(options);
    return std::fflush(stdout) == 0 ? status : 1;
}
