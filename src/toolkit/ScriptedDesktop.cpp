#include "toolkit/ScriptedDesktop.h"

#include <stdexcept>

#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"

namespace tk {

namespace {

MenuItem* FindItem(MenuItem* parent, const std::string& name)
{
    for (int i = 0; i < parent->Count(); ++i) {
        MenuItem* item = parent->Items(i);
        if (item->Name() == name) {
            return item;
        }
        if (MenuItem* found = FindItem(item, name)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace

void ScriptedDesktop::QueueMessageAnswer(int answer)
{
    messageAnswers_.push_back(answer);
}

void ScriptedDesktop::QueueModal(std::function<void(Form&)> action)
{
    modalActions_.push_back(std::move(action));
}

void ScriptedDesktop::QueueModalResult(int result)
{
    QueueModal([result](Form& form) { form.SetModalResult(result); });
}

void ScriptedDesktop::QueueDialog(std::optional<std::string> fileName)
{
    dialogAnswers_.push_back(std::move(fileName));
}

void ScriptedDesktop::QueuePopupChoice(std::optional<std::string> itemName)
{
    popupChoices_.push_back(std::move(itemName));
}

void ScriptedDesktop::ClearRecords()
{
    messages_.clear();
    modalRuns_.clear();
    dialogs_.clear();
    popups_.clear();
    popupPositions_.clear();
    cursors_.clear();
    beeps_ = 0;
}

int ScriptedDesktop::MessageBox(const std::string& text, const std::string& caption, int flags)
{
    messages_.push_back({text, caption, flags});
    if (!messageAnswers_.empty()) {
        int answer = messageAnswers_.front();
        messageAnswers_.pop_front();
        return answer;
    }
    int buttons = flags & 0x0F;
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}

int ScriptedDesktop::RunModal(Form& form)
{
    modalRuns_.push_back(form.Name());
    if (!modalActions_.empty()) {
        std::function<void(Form&)> action = std::move(modalActions_.front());
        modalActions_.pop_front();
        action(form);
    }
    return form.ModalResult() == mrNone ? mrCancel : form.ModalResult();
}

bool ScriptedDesktop::ExecuteDialog(FileDialog& dialog)
{
    dialogs_.push_back(dialog.Filter);
    if (dialogAnswers_.empty()) {
        return false;
    }
    std::optional<std::string> answer = std::move(dialogAnswers_.front());
    dialogAnswers_.pop_front();
    if (!answer) {
        return false;
    }
    dialog.FileName = *answer;
    dialog.ApplyDefaultExt();
    return true;
}

void ScriptedDesktop::Popup(PopupMenu& menu, Point screen)
{
    popups_.push_back(menu.Name());
    popupPositions_.push_back(screen);
    if (popupChoices_.empty()) {
        return;
    }
    std::optional<std::string> choice = std::move(popupChoices_.front());
    popupChoices_.pop_front();
    if (!choice) {
        return;
    }
    MenuItem* item = FindItem(menu.Items(), *choice);
    if (!item) {
        // A script that names an item the menu does not have is a broken test, not a choice.
        throw std::invalid_argument("ScriptedDesktop: no menu item " + *choice + " in " + menu.Name());
    }
    item->Click();
}

void ScriptedDesktop::Beep(int type)
{
    (void)type;
    ++beeps_;
}

}  // namespace tk
