#include "app/QtDesktop.h"

#include <QApplication>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QStringList>

#include "app/FormRenderer.h"
#include "app/TextCodec.h"
#include "toolkit/Dialogs.h"

namespace workbench {

namespace {

tk::Rect ToRect(const QRect& rect)
{
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

QWidget* DialogParent()
{
    return QApplication::activeWindow();
}

}  // namespace

QtDesktop::~QtDesktop()
{
    if (hourGlass_) {
        QApplication::restoreOverrideCursor();
    }
}

int QtDesktop::MessageBox(const std::string& text, const std::string& caption, int flags)
{
    QMessageBox box(DialogParent());
    box.setWindowTitle(FromCp932(caption));
    box.setText(FromCp932(text));
    switch (flags & 0xF0) {
    case tk::MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case tk::MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case tk::MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case tk::MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    switch (flags & 0x0F) {
    case tk::MB_OKCANCEL: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case tk::MB_YESNOCANCEL: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
    case tk::MB_YESNO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    default: box.setStandardButtons(QMessageBox::Ok); break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return tk::IDYES;
    case QMessageBox::No: return tk::IDNO;
    case QMessageBox::Cancel: return tk::IDCANCEL;
    default: return (flags & 0x0F) == tk::MB_YESNO ? tk::IDNO : tk::IDOK;
    }
}

void QtDesktop::Notice(const std::string& text)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<QMainWindow*>(widget)) {
            window->statusBar()->showMessage(FromCp932(text));
            return;
        }
    }
}

int QtDesktop::RunModal(tk::Form& form)
{
    return renderer_.RunModal(form);
}

QString QtDesktop::NameFilters(const std::string& filter)
{
    QStringList parts = FromCp932(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        filters << QString("%1 (%2)").arg(parts[i], patterns);
    }
    return filters.join(";;");
}

bool QtDesktop::ExecuteDialog(tk::FileDialog& dialog)
{
    QFileDialog chooser(DialogParent(), FromCp932(dialog.Title));
    chooser.setAcceptMode(dialog.IsSave() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    chooser.setFileMode(dialog.IsSave() ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters = NameFilters(dialog.Filter).split(";;", Qt::SkipEmptyParts);
    if (!filters.isEmpty()) {
        chooser.setNameFilters(filters);
        if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size()) {
            chooser.selectNameFilter(filters[dialog.FilterIndex - 1]);
        }
    }
    if (!dialog.InitialDir.empty()) {
        chooser.setDirectory(FromCp932(dialog.InitialDir));
    }
    if (!dialog.FileName.empty()) {
        chooser.selectFile(FromCp932(dialog.FileName));
    }
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return false;
    }
    dialog.FileName = ToCp932(chooser.selectedFiles().first());
    dialog.ApplyDefaultExt();
    dialog.FilterIndex = static_cast<int>(filters.indexOf(chooser.selectedNameFilter())) + 1;
    return true;
}

void QtDesktop::Popup(tk::PopupMenu& menu, tk::Point screen)
{
    renderer_.Popup(menu, screen);
}

tk::Rect QtDesktop::ScreenRect()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? ToRect(screen->geometry()) : tk::Rect{0, 0, 1280, 1024};
}

tk::Rect QtDesktop::WorkArea()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? ToRect(screen->availableGeometry()) : tk::Rect{0, 0, 1280, 1024};
}

void QtDesktop::Beep(int type)
{
    (void)type;
    QApplication::beep();
}

void QtDesktop::CursorChanged(tk::Cursor cursor)
{
    bool hourGlass = cursor == tk::Cursor::HourGlass;
    if (hourGlass == hourGlass_) {
        return;
    }
    hourGlass_ = hourGlass;
    if (hourGlass) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void QtDesktop::FormShown(tk::Form& form)
{
    renderer_.FormShown(form);
}

void QtDesktop::FormHidden(tk::Form& form)
{
    renderer_.FormHidden(form);
}

void QtDesktop::FormDestroyed(tk::Form& form)
{
    renderer_.FormDestroyed(form);
}

void QtDesktop::BringToFront(tk::Form& form)
{
    renderer_.BringToFront(form);
}

void QtDesktop::Repaint(tk::Control& control)
{
    (void)control;
    renderer_.Sync();
}

void QtDesktop::DrawCaptionText(tk::Form& form, tk::Point at, const std::string& text, bool active)
{
    renderer_.DrawCaptionText(form, at, FromCp932(text), active);
}

}  // namespace workbench
