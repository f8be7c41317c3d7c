#pragma once
// Small operations on an editor's text through a host reader. Each does nothing (false) while the
// tool window does not exist or without an editor or reader.

#include <cstdint>
#include <string>
#include <string_view>

#include "hostapi/ToolIntf.h"
#include "toolkit/Strings.h"

namespace quorlin {

// The 1-based number of the line opening the implementation section. nextOffset, when given,
// receives the offset of the line after it, where a TBufferCtrl can start instead of reading the
// lines before again; -1 when one of those lines would have stopped a TBufferCtrl from the top.
bool FindImplementationLine(hostapi::TIEditorInterface* editor, hostapi::TIEditReader* reader,
                            int32_t& line, int32_t* nextOffset = nullptr);
// On entry line is the number of lines to pass over; on success the 1-based number of the first
// later line holding text (exact comparison). startOffset, when not -1, is where the line after
// those starts, as FindImplementationLine gives it, so that they are not read.
bool FindTextLine(hostapi::TIEditorInterface* editor, hostapi::TIEditReader* reader,
                  const std::string& text, int32_t& line, int32_t startOffset = -1);
// Appends lines fromLine..toLine (1-based, both included) to lines.
void CopyEditorLines(hostapi::TIEditorInterface* editor, hostapi::TIEditReader* reader,
                     int32_t fromLine, int32_t toLine, tk::Strings& lines);
// The 0-based offset at which 1-based line starts; line 1 is refused.
bool LineStartOffset(hostapi::TIEditReader* reader, int32_t line, int32_t& offset);
// The first blank-delimited word, trimmed; all of s when it holds no blank.
std::string_view FirstWord(std::string_view s);

}  // namespace quorlin
