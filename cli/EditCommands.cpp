// The commands that edit a unit through the tool window's insert menu: swapping the sides of the
// assignments in a block, and inserting text from the memo.

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "Commands.h"
#include "GeneratorWindows.h"
#include "platform/Cp932.h"
#include "platform/FilePath.h"
#include "platform/RegularFile.h"
#include "toolkit/Form.h"

namespace cli {

namespace {

// The text with every line break made CR LF, as a memo holds its text.
std::string WithCrLf(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            result += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

}  // namespace

int Commands::Swap()
{
    const std::string& file = options_.Operands[0];
    std::string path = refhost::Host::NormalizeFileName(file);
    int status = 0;
    if (!OpenForEdit(file, path, status))
        return status;
    refhost::Host& host = session_.Host();
    // The block ends at the start of the line after LAST, which therefore has to exist.
    if (options_.BlockLast + 1 > host.LineCount(path) || options_.CursorLine > host.LineCount(path)) {
        Fail(file + ": " + (options_.CursorLine > host.LineCount(path) ? "--cursor" : "--block") +
             " goes past the end of the file");
        return 2;
    }
    host.SetBlock(path, {1, options_.BlockFirst}, {1, options_.BlockLast + 1});
    host.SetCursor(path, {1, options_.CursorLine});
    std::string separator = options_.Raw ? options_.Separator : platform::Utf8ToCp932(options_.Separator);
    bool asked = false;
    AnswerSeparatorWindow(desktop_, separator, asked);
    int messages = desktop_.MessageCount();
    if (!ClickMenuItem("ExchangeMenuItem") || desktop_.MessageCount() != messages)
        return 1;
    if (!asked) {
        Fail(file + ": the tool window asked for no separator");
        return 1;
    }
    return FinishEdit(file, path);
}

int Commands::Insert()
{
    const std::string& file = options_.Operands[0];
    std::string path = refhost::Host::NormalizeFileName(file);
    if (!CheckReadable(options_.TextFile))
        return 1;
    std::string text;
    if (!platform::ReadWholeFile(options_.TextFile, text)) {
        Fail(options_.TextFile + ": " + platform::UnreadableReason(options_.TextFile));
        return 1;
    }
    int status = 0;
    if (!OpenForEdit(file, path, status))
        return status;
    if (options_.CursorLine > session_.Host().LineCount(path)) {
        Fail(file + ": --cursor goes past the end of the file");
        return 2;
    }
    session_.Host().SetCursor(path, {1, options_.CursorLine});
    tk::Memo& memo = Memo("Memo1");
    memo.SetText(WithCrLf(text));
    if (options_.Selected)
        memo.SelectAll();
    else
        memo.SetSelStart(0);
    int messages = desktop_.MessageCount();
    if (!ClickMenuItem("K8") || desktop_.MessageCount() != messages)
        return 1;
    return FinishEdit(file, path);
}

bool Commands::OpenForEdit(const std::string& file, const std::string& path, int& status)
{
    status = 1;
    if (!CheckReadable(file))
        return false;
    if (!options_.DryRun && access(file.c_str(), W_OK) != 0) {
        Fail(file + ": " + std::strerror(errno));
        return false;
    }
    if (!session_.Host().OpenFile(path)) {
        Fail(file + ": the host cannot open this file");
        return false;
    }
    return true;
}

int Commands::FinishEdit(const std::string& file, const std::string& path)
{
    if (options_.DryRun) {
        std::string text = Shown(session_.Host().Text(path));
        std::fwrite(text.data(), 1, text.size(), out_);
        return 0;
    }
    if (!session_.Host().SaveFile(path)) {
        Fail(file + ": cannot be written");
        return 1;
    }
    return 0;
}

}  // namespace cli
