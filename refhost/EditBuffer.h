#pragma once
// One file's text in the editor: CR LF line breaks to the add-in, the file's own style on disk.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "RefHost.h"

namespace refhost {

// Every CR LF, lone LF and lone CR becomes CR LF; lineBreaks, when given, receives their number.
std::string ToCrLf(std::string text, int32_t* lineBreaks = nullptr);
// CR LF pairs become the given style; other bytes are kept.
std::string FromCrLf(const std::string& text, LineBreak style);
// The style of the first line break; CR LF for a text without one.
LineBreak DetectLineBreak(const std::string& text);

// Where a reader of a buffer kept with LF breaks stands: an offset into the kept text and the
// matching offset into the CR LF text. At an LF whose CR was handed out, betweenCrLf is set. A
// reader keeps one so that each block it asks for costs only the bytes in it, and going back a
// little (to the start of a line read before) only the bytes gone back over.
struct CrLfCursor {
    size_t kept = 0;
    size_t shown = 0;
    bool betweenCrLf = false;
    uint64_t revision = 0;
};

class EditBuffer {
public:
    EditBuffer(std::string fileName, std::string fileText);

    const std::string& FileName() const { return fileName_; }
    // The text with CR LF line breaks, made for the caller.
    std::string Text() const;
    // Copies up to count bytes of the CR LF text from position into out and answers their number.
    size_t CopyText(size_t position, char* out, size_t count, CrLfCursor& cursor) const;
    // Normalises line breaks and clamps the positions to the new text; true when the text changed.
    bool Replace(const std::string& text);
    int32_t LineCount() const { return lineCount_; }

    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    LineBreak Style() const { return style_; }
    // Closed buffers keep their object for objects still holding it, but answer as empty.
    bool IsOpen() const { return open_; }
    void MarkClosed() { open_ = false; }

    // The bytes to save: the text with the line breaks the file had where its lines are still
    // there, the file's style (its first line's) elsewhere; through the encoder when the buffer has
    // one. False when the encoder cannot make them.
    bool FileBytes(std::string& bytes) const;
    // For a file whose bytes are not its text (a binary form shown in the text form): makes the
    // file's bytes from the CR LF text, false when the text cannot be made into them.
    using Encoder = std::function<bool(const std::string& text, std::string& bytes)>;
    void SetEncoder(Encoder encoder) { encoder_ = std::move(encoder); }

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
    // Files with LF breaks only (most on this system) are kept as read, saving a converted copy of
    // the whole file; any other text is kept with CR LF.
    std::string text_;
    bool lfKept_ = false;
    uint64_t revision_ = 1;
    LineBreak style_;
    // Of a file with mixed line breaks, each break's own, in order; empty when all are in style_.
    std::vector<LineBreak> breaks_;
    int32_t lineCount_ = 1;
    bool modified_ = false;
    bool open_ = true;
    Encoder encoder_;
    hostapi::TEditPos cursor_;
    hostapi::TEditPos topLine_;
    hostapi::TEditPos blockStart_;
    hostapi::TEditPos blockAfter_;
};

}  // namespace refhost
