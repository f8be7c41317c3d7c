#pragma once
// Messages between programs of named groups over the local bus. A message is one text of four
// fields joined by "_": the sender's group, a command, a kind and the group it is for ("ALL": every
// group). A "CALLBACK" is answered by every participant that gets it with a "RETURN" to the sender's
// group; a message reaches the receiver of the groups it is for.

#include <functional>
#include <memory>
#include <string>

#include "platform/LocalBus.h"

namespace platform {

struct GroupMessage {
    std::string From;
    std::string Command;
    std::string Kind;
    std::string To;
};

// Each field runs up to the next "_" (To up to the next one or the end); missing fields are empty.
GroupMessage SplitGroupMessage(const std::string& text);

class GroupMessenger {
public:
    using Receiver = std::function<void(const GroupMessage& message)>;
    enum class SendResult { Sent, TooLong, NotJoined };

    // Command, Kind and To may have this many bytes together.
    static constexpr size_t MaxFields = 250;

    // tooLong hears of every message refused for its length, also of an answer to a "CALLBACK".
    GroupMessenger(Receiver receiver, std::function<void()> tooLong);

    // Joins the channel (named after the registered message that carries the messages).
    bool Join(const std::string& channel, std::string& error);
    LocalBus* Bus() const { return bus_.get(); }

    const std::string& Group() const { return group_; }
    void SetGroup(std::string group) { group_ = std::move(group); }

    // Refuses the message when Command, Kind and To together exceed MaxFields bytes or the whole
    // text exceeds what the bus carries; otherwise gives it to every participant before returning.
    SendResult Send(const std::string& command, const std::string& kind, const std::string& to);

private:
    void Receive(const std::string& text);

    Receiver receiver_;
    std::function<void()> tooLong_;
    std::string group_;
    std::unique_ptr<LocalBus> bus_;
};

}  // namespace platform
