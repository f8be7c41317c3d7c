#pragma once
// The toolkit's desktop on Qt: message boxes, modal runs, file dialogs, pop-up menus, the hourglass
// cursor, screen geometry, and the form windows through the renderer.

#include <QString>

#include "toolkit/Desktop.h"

namespace workbench {

class FormRenderer;

class QtDesktop : public tk::Desktop {
public:
    explicit QtDesktop(FormRenderer& renderer) : renderer_(renderer) {}
    ~QtDesktop() override;

    int MessageBox(const std::string& text, const std::string& caption, int flags) override;
    int RunModal(tk::Form& form) override;
    bool ExecuteDialog(tk::FileDialog& dialog) override;
    void Popup(tk::PopupMenu& menu, tk::Point screen) override;
    tk::Rect ScreenRect() override;
    tk::Rect WorkArea() override;
    void Beep(int type) override;

    // Shown in the status bar of the workbench's main window.
    void Notice(const std::string& text) override;
    void CursorChanged(tk::Cursor cursor) override;
    void FormShown(tk::Form& form) override;
    void FormHidden(tk::Form& form) override;
    void FormDestroyed(tk::Form& form) override;
    void BringToFront(tk::Form& form) override;
    void Repaint(tk::Control& control) override;
    void DrawCaptionText(tk::Form& form, tk::Point at, const std::string& text, bool active) override;

    // "desc|pattern|desc|pattern" as Qt's "desc (pattern);;desc (pattern)".
    static QString NameFilters(const std::string& filter);

private:
    FormRenderer& renderer_;
    bool hourGlass_ = false;
};

}  // namespace workbench
