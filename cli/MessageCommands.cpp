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

// Control characters written as \xHH, so that a message is always one line and cannot move the
// terminal's cursor or change its colours. Bytes of two-byte characters are never below 0x40.
std::string Shown(const std::string& text)
{
    std::string shown;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\x%02x", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown;
}

// Texts travel in code page 932; people type and read UTF-8 unless --raw.
class Participant {
public:
    explicit Participant(const CliOptions& options)
        : options_(options),
          messenger_([this](const platform::GroupMessage& message) { Print(message); },
                     [](const std::string& why) { std::fprintf(stderr, "quorlin: %s\n", why.c_str()); })
    {
        messenger_.SetGroup(Typed(options.Group.empty() ? DefaultMessageGroup : options.Group));
    }

    bool Join()
    {
        // Nothing could be addressed to such a group, and nothing it sends would travel.
        std::string refused = platform::FieldError("Group", messenger_.Group());
        if (!refused.empty()) {
            std::fprintf(stderr, "quorlin: %s\n", refused.c_str());
            return false;
        }
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
            line = Shown(line) + '\n';
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
