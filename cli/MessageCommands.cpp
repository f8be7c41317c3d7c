#include "MessageCommands.h"

#include <csignal>
#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

#include "JsonOutput.h"
#include "platform/Cp932.h"
#include "platform/EventSources.h"
#include "platform/GroupMessages.h"
#include "platform/TrayArea.h"

namespace cli {

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int)
{
    stopRequested = 1;
}

// Texts travel in code page 932; people type and read UTF-8 unless --raw.
class Participant {
public:
    explicit Participant(const CliOptions& options)
        : options_(options),
          messenger_([this](const platform::GroupMessage& message) { Print(message); },
                     [] { std::fputs("quorlin: Message Length Error\n", stderr); })
    {
        messenger_.SetGroup(Typed(options.Group.empty() ? DefaultMessageGroup : options.Group));
    }

    bool Join()
    {
        std::string error;
        platform::RegisterWindowMessage("GlobalConnection");
        if (messenger_.Join("GlobalConnection", error))
            return true;
        std::fprintf(stderr, "quorlin: cannot take part in messages: %s\n", error.c_str());
        return false;
    }

    std::string Typed(const std::string& text) const { return options_.Raw ? text : platform::Utf8ToCp932(text); }
    platform::GroupMessenger& Messenger() { return messenger_; }
    int Received() const { return received_; }

private:
    void Print(const platform::GroupMessage& message)
    {
        if (options_.Json) {
            PrintJson(stdout, {{"from", platform::Cp932ToUtf8(message.From)},
                               {"command", platform::Cp932ToUtf8(message.Command)},
                               {"kind", platform::Cp932ToUtf8(message.Kind)},
                               {"to", platform::Cp932ToUtf8(message.To)}});
        } else {
            std::string line = message.From + "_" + message.Command + "_" + message.Kind + "_" + message.To;
            if (!options_.Raw)
                line = platform::Cp932ToUtf8(line);
            line += '\n';
            std::fwrite(line.data(), 1, line.size(), stdout);
        }
        std::fflush(stdout);
        ++received_;
    }

    const CliOptions& options_;
    platform::GroupMessenger messenger_;
    int received_ = 0;
};

}  // namespace

int SendMessage(const CliOptions& options)
{
    Participant participant(options);
    if (!participant.Join())
        return 1;
    const std::vector<std::string>& fields = options.Operands;
    auto result = participant.Messenger().Send(participant.Typed(fields[0]), participant.Typed(fields[1]),
                                               participant.Typed(fields[2]));
    return result == platform::GroupMessenger::SendResult::Sent ? 0 : 1;
}

int Listen(const CliOptions& options)
{
    Participant participant(options);
    if (!participant.Join())
        return 1;
    struct sigaction stop {};
    stop.sa_handler = RequestStop;
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGTERM, &stop, nullptr);
    sigaction(SIGHUP, &stop, nullptr);

    platform::LocalBus* bus = participant.Messenger().Bus();
    platform::EventSources& sources = platform::EventSources::Instance();
    sources.Add(bus->Descriptor(), [bus] { bus->Serve(); });
    while (!stopRequested && (options.Count == 0 || participant.Received() < options.Count))
        sources.Serve(-1);
    sources.Remove(bus->Descriptor());
    return 0;
}

}  // namespace cli
