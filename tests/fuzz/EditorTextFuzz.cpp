// Any bytes as the text of an editor buffer: the line reader, the editor text operations and the
// routine scanner end, and what they answer agrees with the buffer's own lines.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/FuzzFolder.h"
#include "controls/ComboBoxEx.h"
#include "host/BufferCtrl.h"
#include "host/EditorText.h"
#include "host/Globals.h"
#include "hostapi/HostRef.h"
#include "platform/HostFolder.h"
#include "refhost/RefHost.h"
#include "services/QuorlinUnit.h"
#include "toolkit/Application.h"
#include "toolkit/ScriptedDesktop.h"

namespace {

// Names the failed check's line, as the stack of an inlined call does not.
void Check(bool condition, int line = __builtin_LINE())
{
    if (!condition) {
        std::fprintf(stderr, "EditorTextFuzz.cpp:%d: check failed\n", line);
        std::abort();
    }
}

// A host with one open unit and the tool window, made once for the whole run.
struct Session {
    tk::ScriptedDesktop desktop;
    refhost::Host host;
    std::string unit;
    hostapi::HostRef<hostapi::TIToolServices> services;

    Session()
    {
        tk::Application::Instance().SetDesktop(&desktop);
        platform::SetHostFolder(FuzzFolder() + "/");
        unit = refhost::Host::NormalizeFileName(FuzzFolder() + "/Unit1.pas");
        std::ofstream(unit, std::ios::binary) << "unit Unit1;\r\n";
        host.OpenFile(unit);
        services.Reset(host.CreateToolServices());
        quorlin::ToolServices = services.Get();
        quorlin::CodeForm = new quorlin::TCodeForm(&tk::Application::Instance());
    }
};

// The buffer's lines as the host holds them, CR LF separated.
std::vector<std::string> BufferLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return lines;
        start = end + 2;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Session session;
    FuzzedDataProvider input(data, size);
    std::string needle = input.ConsumeRandomLengthString(32);
    auto line = input.ConsumeIntegralInRange<int32_t>(-2, 64);
    session.host.SetText(session.unit, input.ConsumeRemainingBytesAsString());
    const std::string text = session.host.Text(session.unit);
    const std::vector<std::string> lines = BufferLines(text);

    hostapi::HostRef<hostapi::TIModuleInterface> module(session.services->GetModuleInterface(session.unit));
    hostapi::HostRef<hostapi::TIEditorInterface> editor(module->GetEditorInterface());
    hostapi::HostRef<hostapi::TIEditReader> reader(editor->CreateReader());
    Check(editor->LinesInBuffer() == static_cast<int32_t>(lines.size()));

    // The reader hands out the buffer's lines in order, none longer than its limit with its line
    // break (the last line has none).
    quorlin::TBufferCtrl buffer(reader.Get());
    std::string read;
    for (size_t i = 0; buffer.ReadLine(read); ++i) {
        Check(i < lines.size() && read == lines[i]);
        size_t lineBreak = i + 1 < lines.size() ? 2 : 0;
        Check(read.size() + lineBreak <= quorlin::TBufferCtrl::MaxLineLength);
    }

    int32_t found = 0;
    int32_t nextOffset = -1;
    if (quorlin::FindImplementationLine(editor.Get(), reader.Get(), found, &nextOffset)) {
        Check(found >= 1 && found <= static_cast<int32_t>(lines.size()));
        // The next line starts after found line breaks.
        if (nextOffset >= 0) {
            std::string_view before(text.data(), std::min<size_t>(nextOffset, text.size()));
            size_t breaks = 0;
            for (size_t at = before.find("\r\n"); at != std::string_view::npos; at = before.find("\r\n", at + 2))
                ++breaks;
            Check(before.ends_with("\r\n") && breaks == static_cast<size_t>(found));
        }
        // Listing on from the line after it gives the list a reading from the top gives.
        auto* methods = quorlin::CodeForm->MethodCombo;
        methods->Items().Clear();
        quorlin::CodeForm->ListRoutines(editor.Get(), reader.Get(), found);
        std::vector<std::string> fromTop = methods->Items().Items();
        methods->Items().Clear();
        quorlin::CodeForm->ListRoutines(editor.Get(), reader.Get(), found, nextOffset);
        Check(methods->Items().Items() == fromTop);
        // So does the search for a line after it, as a jump makes it.
        int32_t topLine = found;
        int32_t resumedLine = found;
        bool fromTopFound = quorlin::FindTextLine(editor.Get(), reader.Get(), needle, topLine);
        Check(quorlin::FindTextLine(editor.Get(), reader.Get(), needle, resumedLine, nextOffset) == fromTopFound
              && resumedLine == topLine);
    }

    found = line;
    if (quorlin::FindTextLine(editor.Get(), reader.Get(), needle, found))
        Check(found > line && found <= static_cast<int32_t>(lines.size())
              && lines[found - 1].find(needle) != std::string::npos);

    tk::Strings copied;
    quorlin::CopyEditorLines(editor.Get(), reader.Get(), line, line + 3, copied);
    size_t first = static_cast<size_t>(std::max(line, 1) - 1);
    for (int i = 0; i < copied.Count(); ++i)
        Check(first + i < lines.size() && copied[i] == lines[first + i]);

    int32_t offset = 0;
    if (quorlin::LineStartOffset(reader.Get(), line, offset))
        Check(line >= 2 && line <= static_cast<int32_t>(lines.size()) && offset > 0
              && text.compare(offset - 2, 2, "\r\n") == 0);

    std::string_view word = quorlin::FirstWord(needle);
    Check(word.find(' ') == std::string_view::npos);

    quorlin::CodeForm->MethodCombo->Items().Clear();
    quorlin::CodeForm->ListRoutines(editor.Get(), reader.Get(), line);
    Check(quorlin::CodeForm->MethodCombo->Items().Count() <= static_cast<int>(lines.size()) * 4);
    return 0;
}
