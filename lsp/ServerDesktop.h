#pragma once
// The desktop of the language server: as the command's (messages to standard error, every dialog
// cancelled), with the add-in's warnings and its latest message kept for the client as well.

#include <string>
#include <utility>
#include <vector>

#include "cli/ConsoleDesktop.h"

namespace lsp {

class ServerDesktop : public cli::ConsoleDesktop {
public:
    ServerDesktop() : cli::ConsoleDesktop(false) {}

    void Notice(const std::string& text) override { notices_.push_back(text); }
    // The warnings since the last call, as the add-in wrote them (code page 932).
    std::vector<std::string> TakeNotices() { return std::exchange(notices_, {}); }

    int MessageBox(const std::string& text, const std::string& caption, int flags) override
    {
        lastMessage_ = text;
        return cli::ConsoleDesktop::MessageBox(text, caption, flags);
    }
    // The text of the latest message box (code page 932); MessageCount tells whether one came.
    const std::string& LastMessage() const { return lastMessage_; }

private:
    std::vector<std::string> notices_;
    std::string lastMessage_;
};

}  // namespace lsp
