// The generator commands of quorlin: the class and method windows filled from the options, their
// table loaded through the open button, and OK pressed, as a person does in the tool window.

#include "Commands.h"
#include "GeneratorWindows.h"
#include "WindowParts.h"
#include "platform/FilePath.h"
#include "toolkit/Form.h"

namespace cli {

int Commands::ClassUnit()
{
    std::string comment;
    if (!CheckReadable(options_.Operands[0]))
        return 1;
    if (!options_.UnitComment.empty() &&
        (!CheckReadable(options_.UnitComment) || !platform::ReadWholeFile(options_.UnitComment, comment))) {
        return 1;
    }
    desktop_.SetSaveAnswer(options_.Output);
    AnswerGeneratorWindow([&](tk::Form& window) {
        Part<tk::CheckBox>(window, "unitCheckBox").SetChecked(true);
        Part<tk::Memo>(window, "UnitMemo").Lines().SetText(Given(comment));
    });
    tk::Memo& memo = Memo("Memo1");
    int lines = memo.Lines().Count();
    int messages = desktop_.MessageCount();
    if (!ClickMenuItem("InsertClass"))
        return 1;
    // Without a unit written the definition would have gone to the memo.
    return desktop_.MessageCount() == messages && memo.Lines().Count() == lines ? 0 : 1;
}

int Commands::ClassDef()
{
    if (!CheckReadable(options_.Operands[0]))
        return 1;
    AnswerGeneratorWindow({});
    return PrintMemoLinesOf("InsertClass");
}

int Commands::Methods()
{
    if (!CheckReadable(options_.Operands[0]))
        return 1;
    AnswerGeneratorWindow({});
    return PrintMemoLinesOf("MethodMenuItem");
}

void Commands::AnswerGeneratorWindow(const std::function<void(tk::Form&)>& fill)
{
    if (options_.Cmd == Command::Methods) {
        AnswerMethodWindow(desktop_, options_.Operands[0], Given(options_.ClassName));
        return;
    }
    ClassWindowInput input;
    input.Table = options_.Operands[0];
    input.ClassName = Given(options_.ClassName);
    input.BaseName = Given(options_.BaseName);
    if (!options_.Comments.empty())
        input.CommentStyle = std::stoi(options_.Comments);
    AnswerClassWindow(desktop_, input, fill);
}

}  // namespace cli
