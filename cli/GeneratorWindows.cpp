#include "GeneratorWindows.h"

#include "AddinSession.h"
#include "WindowParts.h"
#include "toolkit/StdCtrls.h"

namespace cli {

namespace {

// Loads the table, lets fill take the window's names, and presses OK.
void AnswerWithTable(ConsoleDesktop& desktop, const std::string& table, std::function<void(tk::Form&)> fill)
{
    desktop.SetOpenAnswer(table);
    desktop.SetModalAnswer([fill = std::move(fill)](tk::Form& window) {
        Part<tk::Button>(window, "OpenButton").Click();
        fill(window);
        Part<tk::Button>(window, "InsertToUnitButton").Click();
        return window.ModalResult() == tk::mrNone ? tk::mrCancel : window.ModalResult();
    });
}

}  // namespace

void AnswerClassWindow(ConsoleDesktop& desktop, const ClassWindowInput& input,
                       const std::function<void(tk::Form&)>& fill)
{
    AnswerWithTable(desktop, input.Table, [input, fill](tk::Form& window) {
        Part<tk::ComboBox>(window, "ClassName").TypeText(input.ClassName);
        Part<tk::ComboBox>(window, "InheritFrom").TypeText(input.BaseName);
        if (input.CommentStyle >= 0) {
            Part<tk::CheckBox>(window, "ComentCheck").SetChecked(true);
            Part<tk::ComboBox>(window, "ComentCombo").ChooseItem(input.CommentStyle);
        }
        if (fill)
            fill(window);
    });
}

void AnswerMethodWindow(ConsoleDesktop& desktop, const std::string& table, const std::string& className)
{
    AnswerWithTable(desktop, table, [className](tk::Form& window) {
        Part<tk::ComboBox>(window, "ClassNameList").TypeText(className);
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
