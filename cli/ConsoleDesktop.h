#pragma once
// The desktop of the command line: nobody sits in front of it. Message boxes go to standard error,
// file dialogs take the answer the command's options gave, modal windows are cancelled unless the
// command fills them in.

#include <functional>
#include <optional>
#include <string>

#include "toolkit/Desktop.h"

namespace cli {

class ConsoleDesktop : public tk::Desktop {
public:
    // raw: write message texts as the add-in holds them (code page 932) instead of UTF-8.
    explicit ConsoleDesktop(bool raw) : raw_(raw) {}

    // The name the next save dialog answers with; used once. Without one a dialog is cancelled.
    void SetSaveAnswer(std::string fileName) { saveAnswer_ = std::move(fileName); }
    // The same for the next open dialog.
    void SetOpenAnswer(std::string fileName) { openAnswer_ = std::move(fileName); }
    // What the next modal window is answered with: answer fills it in and gives its result; used
    // once. Without one a modal window is cancelled.
    void SetModalAnswer(std::function<int(tk::Form&)> answer) { modalAnswer_ = std::move(answer); }
    // Forgets the answers no window took, so none is given to a later, unrelated one.
    void ClearAnswers()
    {
        saveAnswer_.reset();
        openAnswer_.reset();
        modalAnswer_ = nullptr;
    }
    int MessageCount() const { return messageCount_; }
    int DialogCount() const { return dialogCount_; }

    int MessageBox(const std::string& text, const std::string& caption, int flags) override;
    // A warning on standard error; not counted as a message.
    void Notice(const std::string& text) override;
    int RunModal(tk::Form& form) override;
    bool ExecuteDialog(tk::FileDialog& dialog) override;
    void Popup(tk::PopupMenu& menu, tk::Point screen) override;
    tk::Rect ScreenRect() override;
    tk::Rect WorkArea() override;
    void Beep(int type) override;

private:
    bool raw_;
    std::optional<std::string> saveAnswer_;
    std::optional<std::string> openAnswer_;
    std::function<int(tk::Form&)> modalAnswer_;
    int messageCount_ = 0;
    int dialogCount_ = 0;
};

}  // namespace cli
