#include "platform/GroupMessages.h"

#include <cstdio>
#include <utility>

#include "platform/Cp932.h"

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

std::string Hex(unsigned char byte)
{
    char text[8];
    std::snprintf(text, sizeof(text), "0x%02X", byte);
    return text;
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

std::string FieldError(const char* name, const std::string& field)
{
    std::string error = std::string("Message Field Error: ") + name + " holds ";
    for (size_t i = 0; i < field.size(); ++i) {
        auto byte = static_cast<unsigned char>(field[i]);
        if (byte == '_')
            return error + "\"_\", which separates the fields";
        if (byte < 0x20 || byte == 0x7F)
            return error + "the control character " + Hex(byte);
        if (IsLeadByte(byte) && i + 1 < field.size() && field[++i] == '_')
            return error + "a character whose second byte is \"_\" (" + Hex(byte) +
                   " 0x5F), which separates the fields";
    }
    return "";
}

GroupMessenger::GroupMessenger(Receiver receiver, Refusal refused)
    : receiver_(std::move(receiver)), refused_(std::move(refused))
{
}

bool GroupMessenger::Join(const std::string& channel, std::string& error)
{
    bus_ = LocalBus::Join(channel, group_, [this](const std::string& text) { Receive(text); }, error);
    return bus_ != nullptr;
}

bool GroupMessenger::SetGroup(std::string group)
{
    std::string error;
    if (bus_ && !bus_->MoveTo(group, error))
        return false;
    group_ = std::move(group);
    return true;
}

GroupMessenger::SendResult GroupMessenger::Send(const std::string& command, const std::string& kind,
                                                const std::string& to)
{
    const std::pair<const char*, const std::string&> fields[] = {
        {"Group", group_}, {"Command", command}, {"Kind", kind}, {"To", to}};
    for (const auto& [name, field] : fields) {
        std::string error = FieldError(name, field);
        if (!error.empty()) {
            if (refused_)
                refused_(error);
            return SendResult::BadField;
        }
    }
    std::string text = group_ + "_" + command + "_" + kind + "_" + to;
    if (command.size() + kind.size() + to.size() > MaxFields || text.size() > LocalBus::MaxText) {
        if (refused_)
            refused_("Message Length Error");
        return SendResult::TooLong;
    }
    if (!bus_)
        return SendResult::NotJoined;
    // Without this, the answers to a "CALLBACK" would cost the square of the participants.
    if (kind == "CALLBACK" || to == "ALL")
        bus_->Send(text);
    else
        bus_->SendTo(to, text);
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
