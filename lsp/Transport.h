#pragma once
// JSON-RPC messages over two file descriptors: framed bodies in, framed bodies out.

#include <string>
#include <string_view>

#include "FrameReader.h"

namespace lsp {

// Writes all of data, going on after interruptions and partial writes; false when the descriptor
// takes no more.
bool WriteAll(int fd, std::string_view data);

class Transport {
public:
    Transport(int in, int out) : in_(in), out_(out) {}

    enum class Status { Message, TooLarge, End, Broken };
    // Waits for the next message. End: the input ended (mid-message or not) or cannot be read.
    Status Read(std::string& body);
    // The same without waiting: false when no whole message has arrived yet.
    bool ReadReady(std::string& body, Status& status);
    // False when the other end is gone.
    bool Send(std::string_view body);
    bool InputEnded() const { return ended_; }

private:
    // Reads what the input holds now; waits for it first when wait is set. False at its end.
    bool Fill(bool wait);
    Status Take(FrameReader::Result result);

    int in_;
    int out_;
    FrameReader reader_;
    bool ended_ = false;
    bool broken_ = false;
};

}  // namespace lsp
