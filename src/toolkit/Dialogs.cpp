#include "toolkit/Dialogs.h"

#include "platform/Cp932.h"
#include "toolkit/Application.h"
#include "toolkit/Desktop.h"

namespace tk {

namespace {

// True when the last part of the path has a dot; a '\' that is the trail byte of a two-byte
// character is not a separator.
bool HasExtension(const std::string& path)
{
    bool dot = false;
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (platform::IsLeadByte(c)) {
            ++i;
        } else if (c == '\\' || c == '/') {
            dot = false;
        } else if (c == '.') {
            dot = true;
        }
    }
    return dot;
}

}  // namespace

FileDialog::FileDialog(Component* owner) : Component(owner) {}

bool FileDialog::Execute()
{
    return Application::Instance().GetDesktop().ExecuteDialog(*this);
}

void FileDialog::ApplyDefaultExt()
{
    if (!DefaultExt.empty() && !FileName.empty() && !HasExtension(FileName)) {
        FileName += "." + DefaultExt;
    }
}

OpenDialog::OpenDialog(Component* owner) : FileDialog(owner) {}

SaveDialog::SaveDialog(Component* owner) : FileDialog(owner) {}

}  // namespace tk
