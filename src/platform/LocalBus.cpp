#include "platform/LocalBus.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace platform {

namespace {

// Endpoints being made are bound under a hidden name and renamed when they listen, so that a
// sender never takes a participant that is still starting for one that has gone.
constexpr const char* StartingPrefix = ".starting-";
constexpr char Acknowledge = 'K';

long long NowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

std::string SystemError(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

bool MakeAddress(const std::string& path, sockaddr_un& address)
{
    if (path.size() >= sizeof(address.sun_path))
        return false;
    std::memset(&address, 0, sizeof(address));
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

bool PeerIsThisUser(int connection)
{
    ucred credentials{};
    socklen_t size = sizeof(credentials);
    return getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
           credentials.uid == geteuid();
}

// Endpoint names sort in the order the participants joined.
std::string NewEndpointName()
{
    static std::atomic<unsigned> serial{0};
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    char name[64];
    std::snprintf(name, sizeof(name), "%010lld%09ld-%d-%u", static_cast<long long>(now.tv_sec), now.tv_nsec,
                  static_cast<int>(getpid()), serial++);
    return name;
}

// The folder of an address inside its channel: a hash, as an address may hold any byte.
std::string AddressFolder(const std::string& channel, const std::string& address)
{
    uint32_t hash = 2166136261u;
    for (char c : address)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    char name[16];
    std::snprintf(name, sizeof(name), "/%08x", static_cast<unsigned>(hash));
    return channel + name;
}

// The names in folder that do not start with ".", sorted.
std::vector<std::string> EntryNames(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return names;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.')
            names.emplace_back(entry->d_name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// Endpoints of participants that were killed while starting.
void RemoveStaleStartingNames(const std::string& folder)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    size_t prefix = std::strlen(StartingPrefix);
    while (dirent* entry = readdir(dir)) {
        if (std::strncmp(entry->d_name, StartingPrefix, prefix) != 0)
            continue;
        int pid = std::atoi(entry->d_name + prefix);
        if (pid > 0 && kill(pid, 0) != 0 && errno == ESRCH)
            unlink((folder + "/" + entry->d_name).c_str());
    }
    closedir(dir);
}

// An accepted connection and what has come of its frame, a length byte and the text.
struct Incoming {
    int fd;
    long long deadlineMs;
    std::string frame;
};

enum class FrameState { Complete, Incomplete, Broken };

// Reads what has come of the frame without waiting.
FrameState ReadFrame(Incoming& incoming)
{
    for (;;) {
        std::string& frame = incoming.frame;
        size_t wanted = frame.empty() ? 1 : 1 + static_cast<unsigned char>(frame[0]) - frame.size();
        if (!frame.empty() && wanted == 0)
            return FrameState::Complete;
        char bytes[256];
        ssize_t got = read(incoming.fd, bytes, wanted);
        if (got > 0)
            frame.append(bytes, static_cast<size_t>(got));
        else if (got < 0 && errno == EAGAIN)
            return FrameState::Incomplete;
        else if (got == 0 || errno != EINTR)
            return FrameState::Broken;
    }
}

}  // namespace

bool CheckPrivateFolder(const std::string& folder, std::string& error)
{
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = SystemError(folder);
        return false;
    }
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0) {
        error = SystemError(folder);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        error = folder + ": not a folder";
        return false;
    }
    if (info.st_uid != geteuid()) {
        error = folder + ": owned by user " + std::to_string(info.st_uid) + ", not by this user";
        return false;
    }
    if ((info.st_mode & 077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof(mode), "%04o", static_cast<unsigned>(info.st_mode & 07777));
        error = folder + ": mode " + mode + " lets other users in; it must be 0700";
        return false;
    }
    return true;
}

bool PrivateBusFolder(std::string& folder, std::string& error)
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') {
        folder = std::string(runtime) + "/quorlin";
    } else {
        std::error_code failure;
        std::string temp = std::filesystem::temp_directory_path(failure).string();
        if (failure)
            temp = "/tmp";
        folder = temp + "/quorlin-" + std::to_string(geteuid());
    }
    return CheckPrivateFolder(folder, error);
}

std::unique_ptr<LocalBus> LocalBus::Join(const std::string& channel, const std::string& address, Handler handler,
                                         std::string& error)
{
    if (channel.empty() || channel[0] == '.' || channel.find('/') != std::string::npos) {
        error = "'" + channel + "' cannot name a channel";
        return nullptr;
    }
    std::string channelFolder;
    if (!PrivateBusFolder(channelFolder, error))
        return nullptr;
    channelFolder += "/" + channel;
    std::string folder = AddressFolder(channelFolder, address);
    if (!CheckPrivateFolder(channelFolder, error) || !CheckPrivateFolder(folder, error))
        return nullptr;
    RemoveStaleStartingNames(folder);

    std::string name = NewEndpointName();
    std::string starting = folder + "/" + StartingPrefix + std::to_string(getpid()) + "-" + name;
    sockaddr_un socketAddress{};
    if (!MakeAddress(starting, socketAddress)) {
        error = folder + ": the folder's name is too long for an endpoint";
        return nullptr;
    }
    int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener < 0) {
        error = SystemError("socket");
        return nullptr;
    }
    if (bind(listener, reinterpret_cast<sockaddr*>(&socketAddress), sizeof(socketAddress)) != 0 ||
        listen(listener, SOMAXCONN) != 0 || rename(starting.c_str(), (folder + "/" + name).c_str()) != 0) {
        error = SystemError(folder + "/" + name);
        unlink(starting.c_str());
        close(listener);
        return nullptr;
    }
    return std::unique_ptr<LocalBus>(new LocalBus(channelFolder, folder, name, listener, std::move(handler)));
}

LocalBus::LocalBus(std::string channel, std::string folder, std::string name, int listener, Handler handler)
    : channel_(std::move(channel)), folder_(std::move(folder)), name_(std::move(name)), listener_(listener),
      handler_(std::move(handler)), alive_(std::make_shared<bool>(true))
{
}

LocalBus::~LocalBus()
{
    *alive_ = false;
    unlink((folder_ + "/" + name_).c_str());
    close(listener_);
}

bool LocalBus::MoveTo(const std::string& address, std::string& error)
{
    std::string folder = AddressFolder(channel_, address);
    if (folder == folder_)
        return true;
    if (!CheckPrivateFolder(folder, error))
        return false;
    if (rename((folder_ + "/" + name_).c_str(), (folder + "/" + name_).c_str()) != 0) {
        error = SystemError(folder + "/" + name_);
        return false;
    }
    folder_ = folder;
    return true;
}

int LocalBus::Send(const std::string& text)
{
    std::vector<Endpoint> endpoints;
    for (const std::string& address : EntryNames(channel_)) {
        std::string folder = channel_ + "/" + address;
        for (std::string& name : EntryNames(folder))
            endpoints.push_back({std::move(name), folder});
    }
    std::sort(endpoints.begin(), endpoints.end(),
              [](const Endpoint& a, const Endpoint& b) { return a.name < b.name; });
    return SendToEach(endpoints, text);
}

int LocalBus::SendTo(const std::string& address, const std::string& text)
{
    std::string folder = AddressFolder(channel_, address);
    std::vector<Endpoint> endpoints;
    for (std::string& name : EntryNames(folder))
        endpoints.push_back({std::move(name), folder});
    return SendToEach(endpoints, text);
}

int LocalBus::SendToEach(const std::vector<Endpoint>& endpoints, const std::string& text)
{
    if (text.size() > MaxText)
        return 0;
    int handled = 0;
    std::shared_ptr<bool> alive = alive_;
    for (const Endpoint& endpoint : endpoints) {
        if (endpoint.name == name_) {
            Handler handler = handler_;
            if (handler)
                handler(text);
            ++handled;
        } else if (Deliver(endpoint.folder + "/" + endpoint.name, text)) {
            ++handled;
        }
        if (!*alive)
            break;
    }
    return handled;
}

bool LocalBus::Deliver(const std::string& path, const std::string& text)
{
    sockaddr_un address{};
    if (!MakeAddress(path, address))
        return false;
    int connection = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (connection < 0)
        return false;
    long long deadline = NowMs() + replyTimeoutMs_;
    bool delivered = false;
    for (;;) {
        if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0)
            break;
        if (errno == ECONNREFUSED) {
            // Nobody listens: the participant has gone without removing its endpoint.
            unlink(path.c_str());
            close(connection);
            return false;
        }
        // A full queue of connections: the participant is busy; anything else: no endpoint.
        if (errno != EAGAIN || !WaitServing(-1, 0, deadline)) {
            close(connection);
            return false;
        }
    }
    std::string frame(1, static_cast<char>(text.size()));
    frame += text;
    if (PeerIsThisUser(connection) &&
        send(connection, frame.data(), frame.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(frame.size()) &&
        WaitServing(connection, POLLIN, deadline)) {
        char answer = 0;
        delivered = read(connection, &answer, 1) == 1 && answer == Acknowledge;
    }
    close(connection);
    return delivered;
}

bool LocalBus::WaitServing(int fd, short events, long long& deadlineMs)
{
    std::shared_ptr<bool> alive = alive_;
    for (;;) {
        long long left = deadlineMs - NowMs();
        if (left <= 0)
            return false;
        // Without a descriptor of its own the wait is a short pause before the caller tries again.
        pollfd waits[2] = {{listener_, POLLIN, 0}, {fd, events, 0}};
        int count = poll(waits, 2, static_cast<int>(fd < 0 ? std::min(left, 10LL) : left));
        if (count < 0 && errno != EINTR)
            return false;
        if (count > 0 && waits[0].revents != 0) {
            long long start = NowMs();
            Serve();
            if (!*alive)
                return false;
            deadlineMs += NowMs() - start;
        } else if (fd < 0 && count == 0) {
            return true;
        }
        if (fd >= 0 && waits[1].revents != 0)
            return true;
    }
}

void LocalBus::Serve()
{
    std::shared_ptr<bool> alive = alive_;
    // Each text is handled as soon as it is all there, so a connection that sends nothing holds up
    // no other; it is closed once its time is up.
    std::vector<Incoming> waiting;
    for (;;) {
        while (waiting.size() < MaxWaiting) {
            int connection = accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (connection < 0) {
                if (errno == EINTR || errno == ECONNABORTED)
                    continue;
                break;
            }
            // A participant of another user never gets as far as being read.
            if (PeerIsThisUser(connection))
                waiting.push_back({connection, NowMs() + TextTimeoutMs, {}});
            else
                close(connection);
        }
        for (size_t i = 0; i < waiting.size();) {
            FrameState state = ReadFrame(waiting[i]);
            if (state == FrameState::Incomplete && NowMs() < waiting[i].deadlineMs) {
                ++i;
                continue;
            }
            Incoming done = std::move(waiting[i]);
            waiting.erase(waiting.begin() + static_cast<std::ptrdiff_t>(i));
            if (state == FrameState::Complete)
                Handle(done.fd, done.frame.substr(1));
            close(done.fd);
            if (!*alive) {
                for (const Incoming& left : waiting)
                    close(left.fd);
                return;
            }
        }
        if (waiting.empty())
            return;
        std::vector<pollfd> waits{{listener_, static_cast<short>(waiting.size() < MaxWaiting ? POLLIN : 0), 0}};
        long long deadline = waiting.front().deadlineMs;
        for (const Incoming& incoming : waiting) {
            waits.push_back({incoming.fd, POLLIN, 0});
            deadline = std::min(deadline, incoming.deadlineMs);
        }
        poll(waits.data(), waits.size(), static_cast<int>(std::max(0LL, deadline - NowMs())));
    }
}

void LocalBus::Handle(int connection, const std::string& text)
{
    // A copy: the handling may destroy this bus.
    Handler handler = handler_;
    if (handler)
        handler(text);
    send(connection, &Acknowledge, 1, MSG_NOSIGNAL);
}

}  // namespace platform
