#pragma once
// A desktop for tests and scripts: answers come from queues that the caller fills in advance, and
// every message box, modal run, dialog and pop-up is recorded.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/Desktop.h"

namespace tk {

class ScriptedDesktop : public Desktop {
public:
    struct MessageRecord {
        std::string Text;
        std::string Caption;
        int Flags = 0;
    };

    // Answer for the next message box; without one a box answers IDOK (IDYES for yes/no boxes).
    void QueueMessageAnswer(int answer);
    // What a person does in the next modal run: the action may set the modal result, click buttons
    // or close the form. A run whose action leaves no result ends with mrCancel, as does a run with
    // nothing queued.
    void QueueModal(std::function<void(Form&)> action);
    void QueueModalResult(int result);
    // The next file dialog's answer, typed as a person types it (the default extension follows);
    // nullopt cancels. Without one a dialog is cancelled.
    void QueueDialog(std::optional<std::string> fileName);
    // The next pop-up's choice: the item to click by name, or nothing.
    void QueuePopupChoice(std::optional<std::string> itemName);

    void SetScreen(Rect screen) { screen_ = screen; }
    void SetWorkArea(Rect workArea) { workArea_ = workArea; }

    const std::vector<MessageRecord>& Messages() const { return messages_; }
    const std::vector<std::string>& Notices() const { return notices_; }
    const std::vector<std::string>& ModalRuns() const { return modalRuns_; }   // form names
    const std::vector<std::string>& Dialogs() const { return dialogs_; }       // filters used
    const std::vector<std::string>& Popups() const { return popups_; }         // menu names
    const std::vector<Point>& PopupPositions() const { return popupPositions_; }
    const std::vector<Cursor>& Cursors() const { return cursors_; }
    int Beeps() const { return beeps_; }
    void ClearRecords();

    int MessageBox(const std::string& text, const std::string& caption, int flags) override;
    int RunModal(Form& form) override;
    bool ExecuteDialog(FileDialog& dialog) override;
    void Popup(PopupMenu& menu, Point screen) override;
    Rect ScreenRect() override { return screen_; }
    Rect WorkArea() override { return workArea_; }
    void Beep(int type) override;
    void Notice(const std::string& text) override { notices_.push_back(text); }
    void CursorChanged(Cursor cursor) override { cursors_.push_back(cursor); }

private:
    std::deque<int> messageAnswers_;
    std::deque<std::function<void(Form&)>> modalActions_;
    std::deque<std::optional<std::string>> dialogAnswers_;
    std::deque<std::optional<std::string>> popupChoices_;
    std::vector<MessageRecord> messages_;
    std::vector<std::string> notices_;
    std::vector<std::string> modalRuns_;
    std::vector<std::string> dialogs_;
    std::vector<std::string> popups_;
    std::vector<Point> popupPositions_;
    std::vector<Cursor> cursors_;
    int beeps_ = 0;
    Rect screen_{0, 0, 1280, 1024};
    Rect workArea_{0, 0, 1280, 984};
};

}  // namespace tk
