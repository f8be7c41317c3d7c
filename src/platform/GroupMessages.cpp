#include "platform/GroupMessages.h"

namespace platform {

namespace {

// The text up to the next "_" from position, moving position past it.
std::string NextField(const std::string& text, size_t& position)
{
    if (position > text.size())
        return "";
    size_t end = text.find('_', position);
    if (end == std::string::npos)
        end = text.size();
    std::string field = text.substr(position, end - position);
    position = end + 1;
    return field;
}

}  // namespace

GroupMessage SplitGroupMessage(const std::string& text)
{
    GroupMessage message;
    size_t position = 0;
    message.From = NextField(text, position);
    message.Command = NextField(text, position);
    message.Kind = NextField(text, position);
    message.To = NextField(text, position);
    return message;
}

GroupMessenger::GroupMessenger(Receiver receiver, std::function<void()> tooLong)
    : receiver_(std::move(receiver)), tooLong_(std::move(tooLong))
{
}

bool GroupMessenger::Join(const std::string& channel, std::string& error)
{
    bus_ = LocalBus::Join(channel, [this](const std::string& text) { Receive(text); }, error);
    return bus_ != nullptr;
}

GroupMessenger::SendResult GroupMessenger::Send(const std::string& command, const std::string& kind,
                                                const std::string& to)
{
    std::string text = group_ + "_" + command + "_" + kind + "_" + to;
    if (command.size() + kind.size() + to.size() > MaxFields || text.size() > LocalBus::MaxText) {
        if (tooLong_)
            tooLong_();
        return SendResult::TooLong;
    }
    if (!bus_)
        return SendResult::NotJoined;
    bus_->Send(text);
    return SendResult::Sent;
}

void GroupMessenger::Receive(const std::string& text)
{
    GroupMessage message = SplitGroupMessage(text);
    // Answered whoever the message is for.
    if (message.Kind == "CALLBACK")
        Send(message.Command, "RETURN", message.From);
    if (receiver_ && (message.To == "ALL" || message.To == group_))
        receiver_(message);
}

}  // namespace platform
