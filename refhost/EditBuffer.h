#pragma once
// One file's text in the editor: always CR LF inside, the file's own line-break style on disk.

#include <string>

#include "RefHost.h"

namespace refhost {

// Every CR LF, lone LF and lone CR becomes CR LF; lineBreaks, when given, receives their number.
std::string ToCrLf(std::string text, int32_t* lineBreaks = nullptr);
// CR LF pairs become the given style; other bytes are kept.
std::string FromCrLf(const std::string& text, LineBreak style);
// The style of the first line break; CR LF for a text without one.
LineBreak DetectLineBreak(const std::string& text);

// Writes data through a temporary file beside fileName, so a failed write leaves the old file whole.
bool WriteFileReplacing(const std::string& fileName, const std::string& data);

class EditBuffer {
public:
    EditBuffer(std::string fileName, std::string fileText);

    const std::string& FileName() const { return fileName_; }
    const std::string& Text() const { return text_; }
    // Normalises line breaks and clamps the positions to the new text; true when the text changed.
    bool Replace(const std::string& text);
    int32_t LineCount() const { return lineCount_; }

    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    LineBreak Style() const { return style_; }
    // Closed buffers keep their object for objects still holding it, but answer as empty.
    bool IsOpen() const { return open_; }
    void MarkClosed() { open_ = false; }

    // Writes the text in the file's style through a temporary file, so a failed save leaves the
    // old file whole.
    bool Save();

    hostapi::TEditPos Cursor() const { return cursor_; }
    hostapi::TEditPos TopLine() const { return topLine_; }
    hostapi::TEditPos BlockStart() const { return blockStart_; }
    hostapi::TEditPos BlockAfter() const { return blockAfter_; }
    void SetCursor(hostapi::TEditPos pos) { cursor_ = Clamp(pos); }
    void SetTopLine(hostapi::TEditPos pos) { topLine_ = Clamp(pos); }
    void SetBlockStart(hostapi::TEditPos pos) { blockStart_ = Clamp(pos); }
    void SetBlockAfter(hostapi::TEditPos pos) { blockAfter_ = Clamp(pos); }

private:
    hostapi::TEditPos Clamp(hostapi::TEditPos pos) const;

    std::string fileName_;
    std::string text_;
    LineBreak style_;
    int32_t lineCount_ = 1;
    bool modified_ = false;
    bool open_ = true;
    hostapi::TEditPos cursor_;
    hostapi::TEditPos topLine_;
    hostapi::TEditPos blockStart_;
    hostapi::TEditPos blockAfter_;
};

}  // namespace refhost
