#include "services/MessageCtrl.h"

#include "platform/EventSources.h"
#include "platform/TrayArea.h"
#include "toolkit/Application.h"

namespace quorlin {

TMessageCtrl::TMessageCtrl(tk::Component* owner)
    : tk::Component(owner),
      messenger_([this](const platform::GroupMessage& message) { Receive(message); },
                 [](const std::string& why) { tk::ShowMessage(why); })
{
    joinError_ = "Messages are not connected yet";
}

TMessageCtrl::~TMessageCtrl()
{
    if (platform::LocalBus* bus = messenger_.Bus())
        platform::EventSources::Instance().Remove(bus->Descriptor());
}

void TMessageCtrl::Loaded()
{
    if (Designing() || messenger_.Bus())
        return;
    // Other programs would wait for a participant that never reads.
    if (!platform::EventSources::Instance().HasLoop()) {
        joinError_ = "This program receives no messages from other programs";
        return;
    }
    // Every program that registers the message's name takes part in the same conversation.
    const char* message = "GlobalConnection";
    platform::RegisterWindowMessage(message);
    if (!messenger_.Join(message, joinError_))
        return;
    joinError_.clear();
    platform::LocalBus* bus = messenger_.Bus();
    platform::EventSources::Instance().Add(bus->Descriptor(), [bus] { bus->Serve(); });
}

void TMessageCtrl::Send(const std::string& command, const std::string& kind, const std::string& to)
{
    if (messenger_.Send(command, kind, to) == platform::GroupMessenger::SendResult::NotJoined)
        tk::ShowMessage(joinError_);
}

void TMessageCtrl::Receive(const platform::GroupMessage& message)
{
    if (OnReceiveMessage)
        OnReceiveMessage(message.From, message.Command, message.Kind);
}

}  // namespace quorlin
