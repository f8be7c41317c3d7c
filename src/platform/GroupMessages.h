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

// Why field cannot travel, "Message Field Error: " + name + what it holds; empty when it can. A "_"
// byte would end the field early, also as the second byte of a two-byte character ("ダ" is 0x83
// 0x5F); a control character could make a message look like more than one where it is shown.
std::string FieldError(const char* name, const std::string& field);

class GroupMessenger {
public:
    using Receiver = std::function<void(const GroupMessage& message)>;
    // Hears why a message was refused: "Message Length Error", or "Message Field Error: " and the
    // field's name and fault.
    using Refusal = std::function<void(const std::string& why)>;
    enum class SendResult { Sent, TooLong, BadField, NotJoined };

    // Command, Kind and To may have this many bytes together.
    static constexpr size_t MaxFields = 250;

    // refused hears of every message refused, also of an answer to a "CALLBACK".
    GroupMessenger(Receiver receiver, Refusal refused);

    // Joins the channel (named after the registered message that carries the messages).
    bool Join(const std::string& channel, std::string& error);
    LocalBus* Bus() const { return bus_.get(); }

    const std::string& Group() const { return group_; }
    // Once joined, moves to the group's participants; false (the group stays) when that fails.
    bool SetGroup(std::string group);

    // Refuses the message when a field, the group included, has a FieldError, or when Command,
    // Kind and To together exceed MaxFields bytes or the whole text exceeds what the bus carries;
    // otherwise gives it to every participant it concerns before returning: a "CALLBACK" or a
    // message for "ALL" to all, any other only to the participants of the group it is for, as
    // the others would do nothing with it.
    SendResult Send(const std::string& command, const std::string& kind, const std::string& to);

private:
    void Receive(const std::string& text);

    Receiver receiver_;
    Refusal refused_;
    std::string group_;
    std::unique_ptr<LocalBus> bus_;
};

}  // namespace platform
