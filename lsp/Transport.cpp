#include "Transport.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace lsp {

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        ssize_t written = write(fd, data.data(), data.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool Transport::Fill(bool wait)
{
    if (ended_)
        return false;
    pollfd ready{in_, POLLIN, 0};
    int polled;
    do {
        polled = poll(&ready, 1, wait ? -1 : 0);
    } while (polled < 0 && errno == EINTR);
    if (polled == 0)
        return true;
    char block[65536];
    ssize_t got;
    do {
        got = read(in_, block, sizeof block);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
        ended_ = true;
        return false;
    }
    reader_.Feed(std::string_view(block, static_cast<size_t>(got)));
    return true;
}

Transport::Status Transport::Take(FrameReader::Result result)
{
    if (result == FrameReader::Result::Broken)
        broken_ = true;
    return result == FrameReader::Result::TooLarge ? Status::TooLarge : Status::Broken;
}

Transport::Status Transport::Read(std::string& body)
{
    for (;;) {
        if (broken_)
            return Status::Broken;
        FrameReader::Result result = reader_.Next(body);
        if (result == FrameReader::Result::Message)
            return Status::Message;
        if (result != FrameReader::Result::NeedMore)
            return Take(result);
        if (!Fill(true))
            return Status::End;
    }
}

bool Transport::ReadReady(std::string& body, Status& status)
{
    if (broken_)
        return false;
    FrameReader::Result result = reader_.Next(body);
    if (result == FrameReader::Result::NeedMore && Fill(false))
        result = reader_.Next(body);
    if (result == FrameReader::Result::NeedMore)
        return false;
    status = result == FrameReader::Result::Message ? Status::Message : Take(result);
    return true;
}

bool Transport::Send(std::string_view body)
{
    std::string message = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    message.append(body);
    return WriteAll(out_, message);
}

}  // namespace lsp
