// The tool window's part in the messages between running programs and its notification-area icon.

#include "controls/MemoEx.h"
#include "host/Globals.h"
#include "services/QuorlinUnit.h"
#include "toolkit/Application.h"
#include "toolkit/Desktop.h"

namespace quorlin {

void TCodeForm::MessageCtrl1ReceiveMessage(const std::string& from, const std::string& command, const std::string& kind)
{
    (void)kind;
    if (!CodeForm)
        return;
    Memo1->Lines().Add("Receive Message From : " + from + "(" + command + ")");
    if (command == "Version")
        Memo1->Lines().Add("Ver1.1");
}

void TCodeForm::TrayFace1Click(tk::Component*, tk::MouseButton, tk::ShiftState, int, int)
{
    if (!CodeForm)
        return;
    tk::Rect workArea = tk::Application::Instance().GetDesktop().WorkArea();
    CtrlMenu->Popup(workArea.Right(), workArea.Bottom());
}

}  // namespace quorlin
