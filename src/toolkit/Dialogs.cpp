#include "toolkit/Dialogs.h"

#include <algorithm>

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
    // Written as a pattern ("*.txt"), the extension is what follows the pattern's dot.
    std::string extension = DefaultExt.substr(std::min(DefaultExt.find_first_not_of("*."), DefaultExt.size()));
    if (!extension.empty() && !FileName.empty() && !HasExtension(FileName)) {
        FileName += "." + extension;
    }
}

OpenDialog::OpenDialog(Component* owner) : FileDialog(owner) {}

SaveDialog::SaveDialog(Component* owner) : FileDialog(owner) {}

}  // namespace tk
