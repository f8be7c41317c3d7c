#pragma once
// The insert menu's windows answered as a person fills them in, for the command and the language
// server alike: the generator windows load their table through the open button, take the names and
// press OK; the swap's window takes the separator. Texts are code page 932, as the add-in holds them.

#include <functional>
#include <string>

#include "ConsoleDesktop.h"
#include "toolkit/Form.h"

namespace cli {

struct ClassWindowInput {
    std::string Table;  // the .prp file
    std::string ClassName;
    std::string BaseName;
    int CommentStyle = -1;  // the item of the comment style box; -1 leaves the comments out
};

// The answers to the next class window; fill does what else the caller wants before OK.
void AnswerClassWindow(ConsoleDesktop& desktop, const ClassWindowInput& input,
                       const std::function<void(tk::Form&)>& fill = {});
// The answers to the next method window, with its table from the .met file.
void AnswerMethodWindow(ConsoleDesktop& desktop, const std::string& table, const std::string& className);
// The answer to the next separator window; asked is set when the window came and took it, so it
// has to outlive the command that shows the window.
void AnswerSeparatorWindow(ConsoleDesktop& desktop, const std::string& separator, bool& asked);

}  // namespace cli
