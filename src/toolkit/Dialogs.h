#pragma once
// The common open and save dialogs. A filter is "description|pattern|description|pattern...".

#include <string>

#include "toolkit/Component.h"

namespace tk {

class FileDialog : public Component {
public:
    explicit FileDialog(Component* owner);
    std::string FileName;
    std::string Filter;
    std::string DefaultExt;  // "txt" or "*.txt"; appended to a chosen name that has no extension
    std::string InitialDir;
    std::string Title;
    int FilterIndex = 1;
    virtual bool IsSave() const = 0;
    // Asks the desktop; on true FileName holds the choice.
    bool Execute();
    // What a dialog does to a name typed without extension: DefaultExt is appended. Desktops that
    // show a dialog apply it; a name given on a command line is taken as it is.
    void ApplyDefaultExt();
};

class OpenDialog : public FileDialog {
public:
    explicit OpenDialog(Component* owner);
    bool IsSave() const override { return false; }
};

class SaveDialog : public FileDialog {
public:
    explicit SaveDialog(Component* owner);
    bool IsSave() const override { return true; }
};

}  // namespace tk
