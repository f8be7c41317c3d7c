#pragma once
// The per-user local bus: each participant of a channel owns an endpoint, a Unix domain socket in a
// folder that only its user can enter, and a message goes to every participant in turn, the sender
// included, each one handling it before the next gets it. It stands in for a synchronous broadcast
// to every top-level window of the desktop. A participant joins under an address, and a message may
// go to the participants of one address only: the endpoints of an address share a folder of the
// channel, so such a message costs what the address has, not what the channel has.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// The user's private folder of endpoints: "quorlin" under $XDG_RUNTIME_DIR, else "quorlin-<uid>"
// under the system's temporary folder, made when missing.
bool PrivateBusFolder(std::string& folder, std::string& error);
// Makes folder (mode 0700) when missing, then refuses it unless it is a folder, not a link, owned
// by this user, that no one else may enter.
bool CheckPrivateFolder(const std::string& folder, std::string& error);

class LocalBus {
public:
    using Handler = std::function<void(const std::string& text)>;

    // The longest text a message carries.
    static constexpr size_t MaxText = 255;
    // How long a participant may take to handle a message before it is given up.
    static constexpr int DefaultReplyTimeoutMs = 3000;
    // How long an accepted connection may take to bring its text; a sender writes it as soon as it
    // is connected. The texts of other connections are handled meanwhile.
    static constexpr int TextTimeoutMs = 500;
    // Connections waiting for their texts at one time; more wait to be accepted.
    static constexpr size_t MaxWaiting = 64;

    // Joins the channel, a folder inside the private folder, under address; nullptr and the reason
    // when a folder is refused or the endpoint cannot be made.
    static std::unique_ptr<LocalBus> Join(const std::string& channel, const std::string& address, Handler handler,
                                          std::string& error);
    ~LocalBus();
    LocalBus(const LocalBus&) = delete;
    LocalBus& operator=(const LocalBus&) = delete;

    // Gives text to every participant in the order of their endpoint names, this one included, and
    // answers how many handled it. While waiting for one, the messages sent to this participant are
    // served, so that a reply sent from inside the handling arrives before Send returns. An endpoint
    // left by a participant that has gone is removed; a participant that takes longer than the reply
    // timeout is given up. A text longer than MaxText goes nowhere.
    int Send(const std::string& text);
    // Gives text, as Send does, to the participants that joined under address. Addresses whose
    // hashes meet share a folder, so a handler may still get a text meant for another address.
    int SendTo(const std::string& address, const std::string& text);
    // Takes part under address from now on; false and the reason when its folder is refused.
    bool MoveTo(const std::string& address, std::string& error);

    // Readable when messages wait. Serve handles every waiting message, each as soon as its text
    // is there, and returns when none is left; it waits for no text longer than TextTimeoutMs.
    int Descriptor() const { return listener_; }
    void Serve();

    const std::string& EndpointName() const { return name_; }
    void SetReplyTimeout(int milliseconds) { replyTimeoutMs_ = milliseconds; }

private:
    struct Endpoint {
        std::string name;
        std::string folder;
    };

    LocalBus(std::string channel, std::string folder, std::string name, int listener, Handler handler);
    // Gives text to each endpoint in turn; how many handled it.
    int SendToEach(const std::vector<Endpoint>& endpoints, const std::string& text);
    // Gives text to one other participant; true when it handled it.
    bool Deliver(const std::string& path, const std::string& text);
    // Waits until fd is ready for events or the deadline passes, serving this participant's
    // messages meanwhile; the time spent serving does not count.
    bool WaitServing(int fd, short events, long long& deadlineMs);
    // Handles the text that came on a connection and acknowledges it.
    void Handle(int connection, const std::string& text);

    std::string channel_;
    // The folder of this participant's address, where its endpoint is.
    std::string folder_;
    std::string name_;
    int listener_ = -1;
    Handler handler_;
    int replyTimeoutMs_ = DefaultReplyTimeoutMs;
    // Cleared on destruction, so that a handler that destroys the bus ends the serving loop.
    std::shared_ptr<bool> alive_;
};

}  // namespace platform
