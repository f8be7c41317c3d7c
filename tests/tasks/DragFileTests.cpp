#include "tasks/DragFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/DropFiles.h"
#include "toolkit/Form.h"

namespace {

using Lines = std::vector<std::string>;

// A window that takes dropped files and notes their names.
struct DropWindow {
    DropWindow() : Window(std::make_unique<tk::Form>(nullptr))
    {
        auto* accept = new quorlin::TAcceptFile(Window.get());
        accept->OnDropFile = [this](const std::string& name) {
            Dropped.push_back(name);
            return true;
        };
    }
    void Drop(const Lines& names)
    {
        tk::Message message{Window->Handle(), platform::WM_DROPFILES, platform::CreateDrop(names), 0};
        tk::Application::Instance().DispatchMessage(message);
    }
    std::unique_ptr<tk::Form> Window;
    Lines Dropped;
};

// Windows closed in another order than the reverse of their opening, as a window closed and opened
// again while an older one waits for its release: the windows still open get their drops and no
// drop reaches the hook of a window gone.
TEST(AcceptFileTest, WindowsCloseInAnyOrderAndTheOthersStillTakeDrops)
{
    auto first = std::make_unique<DropWindow>();
    auto second = std::make_unique<DropWindow>();
    first.reset();
    second->Drop({"/a/One.txt"});
    EXPECT_EQ(second->Dropped, Lines{"/a/One.txt"});

    auto third = std::make_unique<DropWindow>();
    second.reset();
    third->Drop({"/a/Two.txt", "/a/Three"});
    EXPECT_EQ(third->Dropped, (Lines{"/a/Two.txt", "/a/Three"}));
    EXPECT_EQ(platform::LiveDropCount(), 0u);

    // The newest window goes first: the older one's hook is the application's again.
    auto fourth = std::make_unique<DropWindow>();
    fourth.reset();
    third->Drop({"/a/Four"});
    EXPECT_EQ(third->Dropped.back(), "/a/Four");
    third.reset();
    EXPECT_FALSE(tk::Application::Instance().OnMessage);
}

}  // namespace
