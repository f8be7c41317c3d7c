#pragma once
// Short text messages between running programs: the component with which a window takes part. It
// sends to a group or to "ALL", answers every "CALLBACK" by itself, and raises OnReceiveMessage for
// the messages addressed to its own group or to all.

#include <functional>
#include <memory>
#include <string>

#include "platform/GroupMessages.h"
#include "toolkit/Component.h"

namespace quorlin {

using TExtMessage = std::function<void(const std::string& from, const std::string& command, const std::string& kind)>;

class TMessageCtrl : public tk::Component {
public:
    explicit TMessageCtrl(tk::Component* owner);
    ~TMessageCtrl() override;

    const std::string& Group() const { return messenger_.Group(); }
    void SetGroup(std::string group) { messenger_.SetGroup(std::move(group)); }
    TExtMessage OnReceiveMessage;

    // Takes part from now on, when the program has a message loop: joins the participants of the
    // registered message "GlobalConnection".
    void Loaded() override;
    // Gives the message to every participant, this one included, before returning; "Message
    // Length Error" when it is too long to travel, "Message Field Error" and why when a field
    // cannot travel whole.
    void Send(const std::string& command, const std::string& kind, const std::string& to);
    // Why the component does not take part; empty once it does.
    const std::string& JoinError() const { return joinError_; }

private:
    void Receive(const platform::GroupMessage& message);

    platform::GroupMessenger messenger_;
    std::string joinError_;
};

}  // namespace quorlin
