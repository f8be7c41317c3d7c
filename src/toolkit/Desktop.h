#pragma once
// Everything that needs a person or a screen. Hosts install one: the Qt workbench its own, the
// command-line tool a console one, tests a ScriptedDesktop.

#include <string>

#include "toolkit/Types.h"

namespace tk {

class Control;
class FileDialog;
class Form;
class PopupMenu;

class Desktop {
public:
    virtual ~Desktop() = default;

    // A modal message box; answers IDOK, IDYES, IDNO or IDCANCEL.
    virtual int MessageBox(const std::string& text, const std::string& caption, int flags) = 0;
    // Runs the form until its modal result is set (or it is closed) and answers that result.
    virtual int RunModal(Form& form) = 0;
    // An open or save dialog; on true, the dialog's FileName holds the choice.
    virtual bool ExecuteDialog(FileDialog& dialog) = 0;
    // Shows the menu at a screen position; a chosen item's Click runs before this returns.
    virtual void Popup(PopupMenu& menu, Point screen) = 0;
    virtual Rect ScreenRect() = 0;
    virtual Rect WorkArea() = 0;
    virtual void Beep(int type) = 0;

    // A remark that asks nothing and stops nothing, such as a list that ends early.
    virtual void Notice(const std::string& text) { (void)text; }
    virtual void CursorChanged(Cursor cursor) { (void)cursor; }
    virtual void FormShown(Form& form) { (void)form; }
    virtual void FormHidden(Form& form) { (void)form; }
    virtual void FormDestroyed(Form& form) { (void)form; }
    virtual void BringToFront(Form& form) { (void)form; }
    virtual void Repaint(Control& control) { (void)control; }
    // Text a form draws over its own caption bar at a point of the window (not client) area.
    virtual void DrawCaptionText(Form& form, Point at, const std::string& text, bool active)
    {
        (void)form; (void)at; (void)text; (void)active;
    }
};

}  // namespace tk
