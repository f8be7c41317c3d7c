// The messages between running programs: a "CALLBACK" to a growing number of participants, each
// of which answers it, and a message to a participant that a silent connection holds up.

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/GroupMessages.h"

namespace {

// A runtime folder of the benchmark's own, so that its messages meet no running program.
class PrivateBus {
public:
    PrivateBus()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorlin-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        folder_ = pattern;
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
    }
    ~PrivateBus()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // The path of a participant's endpoint.
    std::string Endpoint(const std::string& name) const
    {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_))
            if (entry.path().filename() == name)
                return entry.path().string();
        throw std::runtime_error("no endpoint " + name);
    }

private:
    std::string folder_;
};

// Participants of group "Quorlin", each served by a thread of its own, as each program serves its
// own; they count the messages that reach their receivers.
class Participants {
public:
    explicit Participants(int count)
    {
        if (pipe(stop_) != 0)
            throw std::runtime_error("pipe failed");
        for (int i = 0; i < count; ++i) {
            auto messenger = std::make_unique<platform::GroupMessenger>(
                [this](const platform::GroupMessage&) { ++received_; }, nullptr);
            messenger->SetGroup("Quorlin");
            std::string error;
            if (!messenger->Join("GlobalConnection", error))
                throw std::runtime_error(error);
            messengers_.push_back(std::move(messenger));
        }
        for (auto& messenger : messengers_)
            threads_.emplace_back([this, bus = messenger->Bus()] { Serve(*bus); });
    }
    ~Participants()
    {
        [[maybe_unused]] ssize_t written = write(stop_[1], "x", 1);
        for (std::thread& thread : threads_)
            thread.join();
        close(stop_[0]);
        close(stop_[1]);
    }
    Participants(const Participants&) = delete;
    Participants& operator=(const Participants&) = delete;

    platform::LocalBus& Bus(size_t index) const { return *messengers_[index]->Bus(); }
    int Received() const { return received_; }

private:
    void Serve(platform::LocalBus& bus)
    {
        for (;;) {
            pollfd waits[2] = {{bus.Descriptor(), POLLIN, 0}, {stop_[0], POLLIN, 0}};
            poll(waits, 2, -1);
            if (waits[1].revents != 0)
                return;
            if (waits[0].revents != 0)
                bus.Serve();
        }
    }

    int stop_[2] = {-1, -1};
    std::vector<std::unique_ptr<platform::GroupMessenger>> messengers_;
    std::vector<std::thread> threads_;
    std::atomic<int> received_{0};
};

// One "CALLBACK" from group "Tool" to N participants of group "Quorlin": every participant answers
// with a "RETURN" to "Tool" while the send waits, and so does the sender itself.
void BM_CallbackToParticipants(benchmark::State& state)
{
    PrivateBus privateBus;
    int count = static_cast<int>(state.range(0));
    Participants participants(count);
    int answers = 0;
    platform::GroupMessenger tool([&](const platform::GroupMessage&) { ++answers; }, nullptr);
    tool.SetGroup("Tool");
    std::string error;
    if (!tool.Join("GlobalConnection", error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        answers = 0;
        tool.Send("Version", "CALLBACK", "Quorlin");
        if (answers != count + 1) {
            state.SkipWithError("answers went missing");
            return;
        }
    }
    state.counters["participants"] = count;
}
BENCHMARK(BM_CallbackToParticipants)->Arg(2)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();

// A message to a participant that another program of the same user has connected to without
// sending anything: the message should not wait for that connection.
void BM_MessagePastSilentConnection(benchmark::State& state)
{
    PrivateBus privateBus;
    Participants participants(1);
    platform::GroupMessenger tool(nullptr, nullptr);
    tool.SetGroup("Tool");
    std::string error;
    if (!tool.Join("GlobalConnection", error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    privateBus.Endpoint(participants.Bus(0).EndpointName()).copy(address.sun_path, sizeof(address.sun_path) - 1);
    int handledInTime = 0;
    int sent = 0;
    for (auto _ : state) {
        state.PauseTiming();
        int silent = socket(AF_UNIX, SOCK_STREAM, 0);
        if (connect(silent, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
            state.SkipWithError("cannot connect");
            return;
        }
        state.ResumeTiming();
        int before = participants.Received();
        tool.Send("Hello", "Note", "Quorlin");
        handledInTime += participants.Received() > before;
        ++sent;
        state.PauseTiming();
        close(silent);
        state.ResumeTiming();
    }
    // The share of the messages handled before the send gave the participant up.
    state.counters["handled"] = static_cast<double>(handledInTime) / sent;
}
BENCHMARK(BM_MessagePastSilentConnection)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
