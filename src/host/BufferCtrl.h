#pragma once
// Reads an editor buffer line by line in blocks of 8192 bytes, stopping at the unit's final "end.".

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "hostapi/ToolIntf.h"

namespace quorlin {

class TBufferCtrl {
public:
    static constexpr int BufferSize = 8192;
    // Longest line handed out, its CR LF included.
    static constexpr int MaxLineLength = 1023;

    // The reader is not owned; the first block is read at once.
    explicit TBufferCtrl(hostapi::TIEditReader* reader);
    // Reads on from position, the start of the line after linesRead lines that a reader from the
    // top would have handed out; from the top when position is negative.
    TBufferCtrl(hostapi::TIEditReader* reader, int32_t position, int32_t linesRead);
    TBufferCtrl(const TBufferCtrl&) = delete;
    TBufferCtrl& operator=(const TBufferCtrl&) = delete;

    // The next line without its CR LF. False at the end of the text, for a line too long (s is then
    // unchanged) and for the "end." line (s is then set all the same). A last line without a line
    // break is handed out whole.
    bool ReadLine(std::string& s);
    // The same without a copy: the line stays valid until the next call.
    bool ReadLine(std::string_view& s);
    // Lines handed out so far. When a line too long ended the reading, it is line LinesRead() + 1.
    int32_t LinesRead() const { return linesRead_; }
    bool StoppedAtLongLine() const { return tooLong_; }

    // The unit's final line, where reading stops: "END." once blanks and control characters
    // around it are removed.
    static bool IsEndLine(std::string_view line);

private:
    bool Fill();

    hostapi::TIEditReader* reader_;
    char buffer_[BufferSize];
    char pending_[MaxLineLength];  // a line that spans two blocks
    int32_t position_ = 0;
    int index_ = 0;
    int count_ = 0;  // bytes of buffer_ that the last read filled
    bool atEnd_ = false;
    bool stopped_ = false;  // the text, an overlong line or the "end." line ended the reading
    bool tooLong_ = false;
    int32_t linesRead_ = 0;
};

}  // namespace quorlin
