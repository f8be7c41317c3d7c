#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "support/TempFolder.h"
#include "hostapi/HostRef.h"
#include "refhost/RefHost.h"

namespace refhost::test {
namespace {

using hostapi::HostRef;
using hostapi::TEditPos;

std::string ReadAll(hostapi::TIEditorInterface* editor)
{
    HostRef reader(editor->CreateReader());
    std::string text;
    char block[7];
    for (int got; (got = reader->GetText(static_cast<int32_t>(text.size()), block, sizeof block)) > 0;)
        text.append(block, got);
    return text;
}

struct Opened {
    explicit Opened(hostapi::TIToolServices* services, const std::string& fileName)
        : module(services->GetModuleInterface(fileName)), editor(module ? module->GetEditorInterface() : nullptr)
    {
    }
    HostRef<hostapi::TIModuleInterface> module;
    HostRef<hostapi::TIEditorInterface> editor;
};

TEST(RefHostEditor, LineBreaksBecomeCrLf)
{
    TempFolder folder;
    std::string mixed = folder.Write("Mixed.pas", "a\nb\r\nc\rd\r\r\ne");
    std::string empty = folder.Write("Empty.pas", "");
    std::string ending = folder.Write("Ending.pas", "x\r\n");
    Host host;
    HostRef services(host.CreateToolServices());
    ASSERT_TRUE(services->OpenFile(mixed));
    ASSERT_TRUE(services->OpenFile(empty));
    ASSERT_TRUE(services->OpenFile(ending));

    Opened m(services.Get(), mixed);
    ASSERT_TRUE(m.editor);
    EXPECT_EQ(ReadAll(m.editor.Get()), "a\r\nb\r\nc\r\nd\r\n\r\ne");
    EXPECT_EQ(m.editor->LinesInBuffer(), 6);
    EXPECT_EQ(host.LineBreakStyle(mixed), LineBreak::Lf) << "the first line break decides";
    EXPECT_FALSE(m.editor->BufferModified());
    EXPECT_EQ(m.editor->FileName(), mixed);

    EXPECT_EQ(Opened(services.Get(), empty).editor->LinesInBuffer(), 1);
    EXPECT_EQ(Opened(services.Get(), ending).editor->LinesInBuffer(), 2);
}

// LF files are read out with CR LF whatever the block sizes and the order of the reads, also after
// an edit changed the text under a reader.
TEST(RefHostEditor, LfTextReadsAsCrLfInAnyBlocks)
{
    TempFolder folder;
    std::string source = "unit A;\n\ninterface\nx\n\n\nimplementation\nprocedure P;\nend.";
    std::string expected = "unit A;\r\n\r\ninterface\r\nx\r\n\r\n\r\nimplementation\r\nprocedure P;\r\nend.";
    std::string unit = folder.Write("A.pas", source);
    std::string trailing = folder.Write("B.pas", "a\n\n");
    Host host;
    HostRef services(host.CreateToolServices());
    ASSERT_TRUE(services->OpenFile(unit));
    ASSERT_TRUE(services->OpenFile(trailing));
    Opened a(services.Get(), unit);
    EXPECT_EQ(a.editor->LinesInBuffer(), 9);
    EXPECT_EQ(host.Text(unit), expected);
    EXPECT_EQ(host.LineBreakStyle(unit), LineBreak::Lf);
    EXPECT_EQ(ReadAll(Opened(services.Get(), trailing).editor.Get()), "a\r\n\r\n");

    HostRef reader(a.editor->CreateReader());
    for (int block = 1; block <= static_cast<int>(expected.size()) + 1; ++block) {
        std::string text;
        char buffer[64];
        for (int got; (got = reader->GetText(static_cast<int32_t>(text.size()), buffer, block)) > 0;)
            text.append(buffer, got);
        ASSERT_EQ(text, expected) << "blocks of " << block;
    }
    // Every start, going backwards, with a short and a long block.
    for (int start = static_cast<int>(expected.size()); start >= 0; --start) {
        char buffer[64];
        int got = reader->GetText(start, buffer, 2);
        ASSERT_EQ(std::string(buffer, got), expected.substr(start, 2)) << "at " << start;
        got = reader->GetText(start, buffer, sizeof buffer);
        ASSERT_EQ(std::string(buffer, got), expected.substr(start)) << "at " << start;
    }

    char buffer[8];
    ASSERT_EQ(reader->GetText(20, buffer, 4), 4);
    {
        HostRef writer(a.editor->CreateWriter());
        writer->Insert("{ top }\r\n");
    }
    ASSERT_EQ(reader->GetText(20, buffer, 4), 4);
    EXPECT_EQ(std::string(buffer, 4), ("{ top }\r\n" + expected).substr(20, 4)) << "the reader follows the edit";
    ASSERT_TRUE(services->SaveFile(unit));
    EXPECT_EQ(TempFolder::Read(unit), "{ top }\n" + source);
}

// A reader of an LF file may jump anywhere, a little back (as a line reader does to go on from a
// line it has seen) or far, and read any number of bytes: it always gets the CR LF text there.
TEST(RefHostEditor, LfTextReadsAnywhereInAnyOrder)
{
    std::string source;
    std::string expected;
    uint32_t seed = 11;
    auto next = [&seed](uint32_t range) {
        seed = seed * 1103515245 + 12345;
        return (seed >> 16) % range;
    };
    for (int line = 0; line < 300; ++line) {
        std::string text(next(4) == 0 ? 0 : next(40), static_cast<char>('a' + line % 26));
        source += text + "\n";
        expected += text + "\r\n";
    }
    TempFolder folder;
    std::string unit = folder.Write("Any.pas", source + "tail");
    expected += "tail";
    Host host;
    HostRef services(host.CreateToolServices());
    ASSERT_TRUE(services->OpenFile(unit));
    Opened opened(services.Get(), unit);
    HostRef reader(opened.editor->CreateReader());
    int32_t position = 0;
    for (int read = 0; read < 5000; ++read) {
        switch (next(4)) {
        case 0: position = static_cast<int32_t>(next(static_cast<uint32_t>(expected.size()) + 3)); break;
        case 1: position = std::max(0, position - static_cast<int32_t>(next(60))); break;
        default: break;  // on from where the last read ended
        }
        char buffer[48];
        int count = 1 + static_cast<int>(next(sizeof buffer));
        int got = reader->GetText(position, buffer, count);
        std::string want = static_cast<size_t>(position) < expected.size() ? expected.substr(position, count) : "";
        ASSERT_EQ(std::string(buffer, std::max(got, 0)), want) << "read " << read << " at " << position;
        position += got;
    }
}

// The line breaks are counted 16 bytes at a time; texts of every length around those steps, with
// breaks at every place and long runs of them, read as a byte-by-byte conversion gives.
TEST(RefHostEditor, LineBreaksCountedAtEveryPlace)
{
    auto convert = [](const std::string& text, int& lines) {
        std::string out;
        lines = 1;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\r' && text[i] != '\n') {
                out += text[i];
                continue;
            }
            out += "\r\n";
            ++lines;
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        }
        return out;
    };
    std::vector<std::string> texts;
    uint32_t seed = 7;
    for (size_t length = 0; length <= 70; ++length) {
        for (int variant = 0; variant < 12; ++variant) {
            std::string text;
            for (size_t i = 0; i < length; ++i) {
                seed = seed * 1103515245 + 12345;
                text += "ab\r\n"[(seed >> 16) % (variant < 4 ? 3 : 4) + (variant % 2 ? 0 : 1)];
            }
            texts.push_back(text);
        }
    }
    texts.push_back(std::string(9000, '\n'));
    texts.push_back(std::string(9001, '\r'));
    std::string pairs;
    for (int i = 0; i < 4500; ++i)
        pairs += "\r\n";
    texts.push_back(pairs);
    texts.push_back(pairs + "\n");

    TempFolder folder;
    Host host;
    HostRef services(host.CreateToolServices());
    for (size_t i = 0; i < texts.size(); ++i) {
        std::string file = folder.Write("T" + std::to_string(i) + ".pas", texts[i]);
        ASSERT_TRUE(services->OpenFile(file));
        int lines = 0;
        std::string expected = convert(texts[i], lines);
        Opened opened(services.Get(), file);
        ASSERT_EQ(opened.editor->LinesInBuffer(), lines) << "text " << i;
        ASSERT_EQ(ReadAll(opened.editor.Get()), expected) << "text " << i;
        ASSERT_TRUE(services->CloseFile(file));
    }
}

TEST(RefHostEditor, ReaderStaysInsideTheText)
{
    TempFolder folder;
    std::string unit = folder.Write("A.pas", "0123456789");
    Host host;
    HostRef services(host.CreateToolServices());
    services->OpenFile(unit);
    Opened a(services.Get(), unit);
    HostRef reader(a.editor->CreateReader());

    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(reader->GetText(7, buffer, 8), 3);
    EXPECT_EQ(std::string(buffer, 4), "789#");
    EXPECT_EQ(reader->GetText(0, buffer, 4), 4);
    EXPECT_EQ(std::string(buffer, 5), "0123#");
    EXPECT_EQ(reader->GetText(10, buffer, 4), 0);
    EXPECT_EQ(reader->GetText(-1, buffer, 4), 0);
    EXPECT_EQ(reader->GetText(2, buffer, 0), 0);
    EXPECT_EQ(reader->GetText(2, buffer, -3), 0);

    ASSERT_TRUE(services->CloseFile(unit));
    EXPECT_EQ(reader->GetText(0, buffer, 4), 0) << "a closed buffer reads as empty";
    EXPECT_EQ(a.editor->LinesInBuffer(), 0);
    EXPECT_EQ(a.editor->CreateReader(), nullptr);
    EXPECT_FALSE(a.module->ShowSource());
}

TEST(RefHostEditor, WriterKeepsCopiesInsertsAndTheRest)
{
    TempFolder folder;
    std::string unit = folder.Write("A.pas", "line1\r\nline2\r\nline3\r\n");
    Host host;
    HostRef services(host.CreateToolServices());
    services->OpenFile(unit);
    Opened a(services.Get(), unit);
    {
        HostRef writer(a.editor->CreateWriter());
        EXPECT_TRUE(writer->CopyTo(7));
        EXPECT_TRUE(writer->Insert("new\r\n"));
        EXPECT_TRUE(writer->DeleteTo(14));
        EXPECT_EQ(writer->Position(), 14);
        EXPECT_FALSE(writer->CopyTo(3)) << "a writer never goes back";
        EXPECT_TRUE(writer->Insert("x\n"));
        EXPECT_EQ(host.Text(unit), "line1\r\nline2\r\nline3\r\n") << "nothing changes before the release";
    }
    EXPECT_EQ(host.Text(unit), "line1\r\nnew\r\nx\r\nline3\r\n");
    EXPECT_TRUE(a.editor->BufferModified());
    EXPECT_EQ(a.editor->LinesInBuffer(), 5);

    {
        HostRef writer(a.editor->CreateWriter());
        EXPECT_TRUE(writer->CopyTo(1000));
        EXPECT_EQ(writer->Position(), static_cast<int32_t>(host.Text(unit).size()));
        writer->Insert("end.");
    }
    EXPECT_EQ(host.Text(unit), "line1\r\nnew\r\nx\r\nline3\r\nend.");
}

TEST(RefHostEditor, SavingKeepsTheFilesLineBreaks)
{
    TempFolder folder;
    std::string lf = folder.Write("Lf.pas", "a\nb\n");
    std::string cr = folder.Write("Cr.pas", "a\rb");
    Host host;
    HostRef services(host.CreateToolServices());
    for (const std::string& file : {lf, cr}) {
        ASSERT_TRUE(services->OpenFile(file));
        Opened opened(services.Get(), file);
        HostRef writer(opened.editor->CreateWriter());
        writer->Insert("z\r\n");
    }
    EXPECT_TRUE(host.IsModified(lf));
    ASSERT_TRUE(services->SaveFile(lf));
    ASSERT_TRUE(host.SaveAll());
    EXPECT_EQ(TempFolder::Read(lf), "z\na\nb\n");
    EXPECT_EQ(TempFolder::Read(cr), "z\ra\rb");
    EXPECT_FALSE(host.IsModified(lf));
    EXPECT_FALSE(services->SaveFile(folder / "NotOpen.pas"));
}

// In a file with mixed line breaks, the lines an edit leaves alone keep their own; new ones take
// the first line's.
TEST(RefHostEditor, SavingKeepsTheLineBreaksOfUntouchedLines)
{
    TempFolder folder;
    std::string unit = folder.Write("Mixed.pas", "unit M;\nA\r\nB\rC\r\r\nD\nE");
    Host host;
    HostRef services(host.CreateToolServices());
    ASSERT_TRUE(services->OpenFile(unit));
    Opened opened(services.Get(), unit);
    auto edit = [&](int32_t from, int32_t to, const char* text) {
        HostRef writer(opened.editor->CreateWriter());
        writer->CopyTo(from);
        writer->DeleteTo(to);
        writer->Insert(text);
    };
    // "unit M;\r\nA\r\nB\r\nC\r\n\r\nD\r\nE": B at 12, C at 15, the empty line at 18, D at 20.
    edit(12, 13, "Bee");
    ASSERT_TRUE(services->SaveFile(unit));
    EXPECT_EQ(TempFolder::Read(unit), "unit M;\nA\r\nBee\rC\r\r\nD\nE");

    edit(0, 0, "{ top }\r\n");
    ASSERT_TRUE(services->SaveFile(unit));
    EXPECT_EQ(TempFolder::Read(unit), "{ top }\nunit M;\nA\r\nBee\rC\r\r\nD\nE");

    // Two lines become three: the break before the unchanged "D" stays, the changed part's other
    // break goes to its first line, and the line more takes the style.
    std::string text = host.Text(unit);
    int32_t c = static_cast<int32_t>(text.find("C\r\n"));
    edit(c, c + 5, "X\r\nY\r\nZ\r\n");
    ASSERT_TRUE(services->SaveFile(unit));
    EXPECT_EQ(TempFolder::Read(unit), "{ top }\nunit M;\nA\r\nBee\rX\rY\nZ\r\nD\nE");

    // An emptied line between a lone CR and a lone LF is not lost to a CR LF.
    std::string emptied = folder.Write("Emptied.pas", "a\rb\nc");
    ASSERT_TRUE(services->OpenFile(emptied));
    ASSERT_TRUE(host.SetText(emptied, "a\r\n\r\nc"));
    ASSERT_TRUE(services->SaveFile(emptied));
    EXPECT_EQ(TempFolder::Read(emptied), "a\r\n\nc");
}

TEST(RefHostEditor, OpenAndCloseFiles)
{
    TempFolder folder;
    std::string a = folder.Write("A.pas", "unit A;\r\nend.\r\n");
    std::string b = folder.Write("sub/B.pas", "unit B;\r\nend.\r\n");
    Host host;
    HostRef services(host.CreateToolServices());

    EXPECT_FALSE(services->OpenFile(folder / "Missing.pas"));
    EXPECT_FALSE(services->OpenFile(folder.Path()));
    EXPECT_FALSE(services->OpenFile(""));
    EXPECT_EQ(services->GetCurrentFile(), "");
    EXPECT_EQ(services->GetModuleInterface(a), nullptr);

    ASSERT_TRUE(services->OpenFile(a));
    ASSERT_TRUE(services->OpenFile(folder.Path() + "\\sub\\..\\sub\\B.pas"));
    EXPECT_EQ(services->GetCurrentFile(), b);
    EXPECT_TRUE(services->IsFileOpen(b));
    EXPECT_EQ(host.OpenFiles(), (std::vector<std::string>{a, b}));

    Opened opened(services.Get(), a);
    ASSERT_TRUE(opened.module);
    EXPECT_EQ(opened.module->GetFormInterface(), nullptr);
    EXPECT_TRUE(opened.module->ShowSource());
    EXPECT_EQ(services->GetCurrentFile(), a);

    EXPECT_TRUE(host.SetText(a, "unit A;\nend.\n"));
    EXPECT_FALSE(host.IsModified(a)) << "the same text after normalising is no change";
    EXPECT_TRUE(host.SetText(a, "unit A2;\r\nend.\r\n"));
    EXPECT_FALSE(services->CloseFile(a)) << "a modified buffer is never discarded silently";
    EXPECT_TRUE(services->IsFileOpen(a));

    std::vector<std::string> asked;
    SaveAnswer answer = SaveAnswer::Cancel;
    host.SetQuerySave([&](const std::string& fileName) {
        asked.push_back(fileName);
        return answer;
    });
    EXPECT_FALSE(services->CloseFile(a));
    answer = SaveAnswer::Save;
    EXPECT_TRUE(services->CloseFile(a));
    EXPECT_EQ(asked, (std::vector<std::string>{a, a}));
    EXPECT_EQ(TempFolder::Read(a), "unit A2;\r\nend.\r\n");
    EXPECT_FALSE(services->IsFileOpen(a));
    EXPECT_EQ(services->GetCurrentFile(), b) << "the remaining file comes to the front";

    host.SetText(b, "changed");
    answer = SaveAnswer::Discard;
    EXPECT_TRUE(services->CloseFile(b));
    EXPECT_EQ(TempFolder::Read(b), "unit B;\r\nend.\r\n");
    EXPECT_EQ(services->GetCurrentFile(), "");
    EXPECT_FALSE(services->CloseFile(b));
}

TEST(RefHostEditor, ViewPositionsAndBlockAreClamped)
{
    TempFolder folder;
    std::string unit = folder.Write("A.pas", "1\r\n2\r\n3\r\n4");
    Host host;
    HostRef services(host.CreateToolServices());
    services->OpenFile(unit);
    Opened a(services.Get(), unit);
    EXPECT_EQ(a.editor->GetViewCount(), 1);
    EXPECT_EQ(a.editor->GetView(1), nullptr);
    HostRef view(a.editor->GetView(0));
    ASSERT_TRUE(view);

    view->SetPos(1, TEditPos{1, 3});
    view->SetPos(0, TEditPos{5, 2});
    EXPECT_EQ(view->GetPos(1).Line, 3);
    EXPECT_EQ(view->GetPos(0).Line, 2);
    EXPECT_EQ(view->GetPos(0).Col, 5);
    EXPECT_EQ(host.Cursor(unit).Col, 5);

    view->SetPos(0, TEditPos{0, 99});
    EXPECT_EQ(view->GetPos(0).Line, 4);
    EXPECT_EQ(view->GetPos(0).Col, 1);
    view->SetPos(1, TEditPos{1, -5});
    EXPECT_EQ(view->GetPos(1).Line, 1);

    host.SetBlock(unit, TEditPos{2, 1}, TEditPos{1, 9});
    EXPECT_EQ(a.editor->GetBlockStart().Col, 2);
    EXPECT_EQ(a.editor->GetBlockAfter().Line, 4);

    host.SetCursor(unit, TEditPos{1, 4});
    host.SetText(unit, "only one line");
    EXPECT_EQ(view->GetPos(0).Line, 1) << "positions follow a shorter text";
}

struct Events : HostListener {
    void BufferOpened(const std::string& f) override { log.push_back("opened " + f); }
    void BufferClosed(const std::string& f) override { log.push_back("closed " + f); }
    void BufferChanged(const std::string& f) override { log.push_back("changed " + f); }
    void ViewChanged(const std::string& f) override { log.push_back("view " + f); }
    void CurrentFileChanged(const std::string& f) override { log.push_back("current " + f); }
    void ExceptionRaised(const std::string& m) override { log.push_back("exception " + m); }
    std::vector<std::string> log;
};

TEST(RefHostEditor, ListenersHearWhatTheAddInChanges)
{
    TempFolder folder;
    std::string unit = folder.Write("A.pas", "a\r\nb");
    Host host;
    Events events;
    host.AddListener(&events);
    HostRef services(host.CreateToolServices());
    services->OpenFile(unit);
    {
        Opened a(services.Get(), unit);
        HostRef view(a.editor->GetView(0));
        view->SetPos(0, TEditPos{1, 2});
        HostRef writer(a.editor->CreateWriter());
        writer->Insert("x");
    }
    host.SetCursor(unit, TEditPos{1, 1});
    services->RaiseException("boom");
    services->SaveFile(unit);
    services->CloseFile(unit);
    std::vector<std::string> expected = {"opened " + unit, "current " + unit, "view " + unit,
                                         "changed " + unit, "exception boom",  "closed " + unit,
                                         "current "};
    EXPECT_EQ(events.log, expected);
    EXPECT_EQ(host.Exceptions(), (std::vector<std::string>{"boom"}));
    host.RemoveListener(&events);
}

TEST(RefHostEditor, CreateModuleOpensAddsAndShows)
{
    TempFolder folder;
    std::string project = folder.Write("P.dpr", "program P;\r\nbegin\r\nend.\r\n");
    std::string existing = folder.Write("Old.pas", "unit Old;\r\nend.\r\n");
    std::string fresh = folder / "New.pas";
    Host host;
    HostRef services(host.CreateToolServices());
    services->OpenProject(project);

    EXPECT_TRUE(services->CreateModule(existing, "", "", hostapi::cmAddToProject));
    EXPECT_EQ(services->GetCurrentFile(), "") << "shown only when asked";
    EXPECT_TRUE(services->IsFileOpen(existing));
    EXPECT_EQ(services->GetUnitName(1), existing);

    EXPECT_FALSE(services->CreateModule(folder / "Nothing.pas", "", "", hostapi::cmShowSource));
    EXPECT_TRUE(services->CreateModule(fresh, "unit New;\r\nend.\r\n", "", hostapi::cmShowSource));
    EXPECT_EQ(services->GetCurrentFile(), fresh);
    EXPECT_TRUE(host.IsModified(fresh));
    EXPECT_EQ(services->GetUnitCount(), 2);
}

}  // namespace
}  // namespace refhost::test
