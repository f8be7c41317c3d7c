#pragma once
// Cuts a byte stream into the bodies of messages framed by a Content-Length header, as the
// language server protocol sends them. Nothing here waits or allocates beyond the largest body
// allowed: a body announced as larger is skipped as it arrives.

#include <cstddef>
#include <string>
#include <string_view>

namespace lsp {

class FrameReader {
public:
    // Bodies larger than this are skipped, not kept.
    static constexpr size_t MaxBody = 64u << 20;
    // A header section longer than this cannot be one.
    static constexpr size_t MaxHeader = 8192;

    enum class Result {
        NeedMore,  // no whole message yet
        Message,   // body holds one
        TooLarge,  // a body above MaxBody was announced; it is skipped as it arrives
        Broken,    // the header cannot be read: the stream cannot be followed any further
    };

    void Feed(std::string_view bytes);
    // The next message of the bytes fed so far.
    Result Next(std::string& body);
    // True while bytes of a message are waiting for the rest of it.
    bool InMessage() const { return consumed_ < buffer_.size() || skipping_ > 0; }

private:
    Result ReadHeader(size_t& length);

    std::string buffer_;
    size_t consumed_ = 0;
    size_t bodyLength_ = 0;
    bool haveHeader_ = false;
    unsigned long long skipping_ = 0;
    bool broken_ = false;
};

}  // namespace lsp
