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

std::vector<std::string> EndpointNames(const std::string& folder)
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

// Reads exactly size bytes before the deadline.
bool ReadAll(int fd, char* data, size_t size, long long deadlineMs)
{
    while (size > 0) {
        ssize_t got = read(fd, data, size);
        if (got > 0) {
            data += got;
            size -= static_cast<size_t>(got);
            continue;
        }
        if (got == 0 || (errno != EAGAIN && errno != EINTR))
            return false;
        long long left = deadlineMs - NowMs();
        if (left <= 0)
            return false;
        pollfd wait{fd, POLLIN, 0};
        poll(&wait, 1, static_cast<int>(left));
    }
    return true;
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

std::unique_ptr<LocalBus> LocalBus::Join(const std::string& channel, Handler handler, std::string& error)
{
    if (channel.empty() || channel[0] == '.' || channel.find('/') != std::string::npos) {
        error = "'" + channel + "' cannot name a channel";
        return nullptr;
    }
    std::string folder;
    if (!PrivateBusFolder(folder, error))
        return nullptr;
    folder += "/" + channel;
    if (!CheckPrivateFolder(folder, error))
        return nullptr;
    RemoveStaleStartingNames(folder);

    std::string name = NewEndpointName();
    std::string starting = folder + "/" + StartingPrefix + std::to_string(getpid()) + "-" + name;
    sockaddr_un address{};
    if (!MakeAddress(starting, address)) {
        error = folder + ": the folder's name is too long for an endpoint";
        return nullptr;
    }
    int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener < 0) {
        error = SystemError("socket");
        return nullptr;
    }
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(listener, SOMAXCONN) != 0 || rename(starting.c_str(), (folder + "/" + name).c_str()) != 0) {
        error = SystemError(folder + "/" + name);
        unlink(starting.c_str());
        close(listener);
        return nullptr;
    }
    return std::unique_ptr<LocalBus>(new LocalBus(folder, name, listener, std::move(handler)));
}

LocalBus::LocalBus(std::string folder, std::string name, int listener, Handler handler)
    : folder_(std::move(folder)), name_(std::move(name)), listener_(listener), handler_(std::move(handler)),
      alive_(std::make_shared<bool>(true))
{
}

LocalBus::~LocalBus()
{
    *alive_ = false;
    unlink((folder_ + "/" + name_).c_str());
    close(listener_);
}

int LocalBus::Send(const std::string& text)
{
    if (text.size() > MaxText)
        return 0;
    int handled = 0;
    std::shared_ptr<bool> alive = alive_;
    for (const std::string& endpoint : EndpointNames(folder_)) {
        if (endpoint == name_) {
            Handler handler = handler_;
            if (handler)
                handler(text);
            ++handled;
        } else if (Deliver(endpoint, text)) {
            ++handled;
        }
        if (!*alive)
            break;
    }
    return handled;
}

bool LocalBus::Deliver(const std::string& endpoint, const std::string& text)
{
    std::string path = folder_ + "/" + endpoint;
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
    while (*alive) {
        int connection = accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (connection < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return;
        }
        ServeConnection(connection);
    }
}

void LocalBus::ServeConnection(int connection)
{
    // A participant of another user never gets as far as being read.
    if (!PeerIsThisUser(connection)) {
        close(connection);
        return;
    }
    long long deadline = NowMs() + replyTimeoutMs_;
    unsigned char size = 0;
    std::string text;
    if (ReadAll(connection, reinterpret_cast<char*>(&size), 1, deadline)) {
        text.resize(size);
        if (ReadAll(connection, text.data(), size, deadline)) {
            // A copy: the handling may destroy this bus.
            Handler handler = handler_;
            if (handler)
                handler(text);
            send(connection, &Acknowledge, 1, MSG_NOSIGNAL);
        }
    }
    close(connection);
}

}  // namespace platform
