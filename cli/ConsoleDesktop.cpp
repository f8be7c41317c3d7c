#include "ConsoleDesktop.h"

#include <cstdio>
#include <utility>

#include "platform/Cp932.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"

namespace cli {

namespace {

// The answer that does least when nobody can be asked: no to a question, cancel when offered.
int UnattendedAnswer(int flags)
{
    switch (flags & 0x0F) {
    case tk::MB_YESNO:
        return tk::IDNO;
    case tk::MB_OKCANCEL:
    case tk::MB_YESNOCANCEL:
        return tk::IDCANCEL;
    default:
        return tk::IDOK;
    }
}

}  // namespace

int ConsoleDesktop::MessageBox(const std::string& text, const std::string& /*caption*/, int flags)
{
    ++messageCount_;
    std::string shown = raw_ ? text : platform::Cp932ToUtf8(text);
    std::fprintf(stderr, "quorlin: %s\n", shown.c_str());
    return UnattendedAnswer(flags);
}

void ConsoleDesktop::Notice(const std::string& text)
{
    std::string shown = raw_ ? text : platform::Cp932ToUtf8(text);
    std::fprintf(stderr, "quorlin: warning: %s\n", shown.c_str());
}

int ConsoleDesktop::RunModal(tk::Form& form)
{
    std::function<int(tk::Form&)> answer = std::move(modalAnswer_);
    modalAnswer_ = nullptr;
    int result = answer ? answer(form) : tk::mrCancel;
    form.SetModalResult(result);
    return result;
}

bool ConsoleDesktop::ExecuteDialog(tk::FileDialog& dialog)
{
    ++dialogCount_;
    std::optional<std::string>& answer = dialog.IsSave() ? saveAnswer_ : openAnswer_;
    if (!answer)
        return false;
    dialog.FileName = *std::exchange(answer, std::nullopt);
    return true;
}

void ConsoleDesktop::Popup(tk::PopupMenu& /*menu*/, tk::Point /*screen*/) {}

tk::Rect ConsoleDesktop::ScreenRect() { return {0, 0, 1280, 1024}; }

tk::Rect ConsoleDesktop::WorkArea() { return {0, 0, 1280, 984}; }

void ConsoleDesktop::Beep(int /*type*/) {}

}  // namespace cli
