#include "GeneratorWindows.h"

#include <stdexcept>

#include "AddinSession.h"
#include "toolkit/StdCtrls.h"

namespace cli {

namespace {

template <class T>
T& Find(const tk::Component& owner, const std::string& name)
{
    auto* found = dynamic_cast<T*>(FindOwned(owner, name));
    if (!found)
        throw std::runtime_error("the add-in's window " + owner.Name() + " has no " + name);
    return *found;
}

// Loads the table, lets fill take the window's names, and presses OK.
void AnswerWithTable(ConsoleDesktop& desktop, const std::string& table, std::function<void(tk::Form&)> fill)
{
    desktop.SetOpenAnswer(table);
    desktop.SetModalAnswer([fill = std::move(fill)](tk::Form& window) {
        Find<tk::Button>(window, "OpenButton").Click();
        fill(window);
        Find<tk::Button>(window, "InsertToUnitButton").Click();
        return window.ModalResult() == tk::mrNone ? tk::mrCancel : window.ModalResult();
    });
}

}  // namespace

void AnswerClassWindow(ConsoleDesktop& desktop, const ClassWindowInput& input,
                       const std::function<void(tk::Form&)>& fill)
{
    AnswerWithTable(desktop, input.Table, [input, fill](tk::Form& window) {
        Find<tk::ComboBox>(window, "ClassName").TypeText(input.ClassName);
        Find<tk::ComboBox>(window, "InheritFrom").TypeText(input.BaseName);
        if (input.CommentStyle >= 0) {
            Find<tk::CheckBox>(window, "ComentCheck").SetChecked(true);
            Find<tk::ComboBox>(window, "ComentCombo").ChooseItem(input.CommentStyle);
        }
        if (fill)
            fill(window);
    });
}

void AnswerMethodWindow(ConsoleDesktop& desktop, const std::string& table, const std::string& className)
{
    AnswerWithTable(desktop, table, [className](tk::Form& window) {
        Find<tk::ComboBox>(window, "ClassNameList").TypeText(className);
    });
}

void AnswerSeparatorWindow(ConsoleDesktop& desktop, const std::string& separator, bool& asked)
{
    desktop.SetModalAnswer([separator, &asked](tk::Form& form) {
        auto* edit = dynamic_cast<tk::Edit*>(form.FindComponent("SeparatorEdit"));
        if (!edit)
            return tk::mrCancel;
        edit->SetText(separator);
        asked = true;
        return tk::mrOk;
    });
}

}  // namespace cli
