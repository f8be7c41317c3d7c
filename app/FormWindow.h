#pragma once
// The window of one toolkit form. It draws its own frame and caption bar with the toolkit's window
// metrics, so the window's outer size is the form's size, the caption date is drawn where the form
// asks, and the caption's double click and right-button press reach the form's hooks. Files
// dropped from the desktop reach a form that accepts them as the platform's files-dropped message.

#include <QPointer>
#include <QWidget>
#include <memory>

#include "toolkit/Types.h"

class QMenuBar;
class QMimeData;

namespace tk {
class Form;
}

namespace workbench {

class FormRenderer;
class MenuBinding;

class FormWindow : public QWidget {
    Q_OBJECT
public:
    FormWindow(FormRenderer& renderer, tk::Form& form, QWidget* owner);
    ~FormWindow() override;

    tk::Form* Form() const { return form_; }
    void Detach();
    // The area the form's controls are placed in.
    QWidget* Client() const { return client_; }
    QMenuBar* MenuBar() const { return menuBar_; }

    // Geometry, caption, menu bar and client area from the form.
    void SyncFromForm();
    void SetCaptionText(tk::Point at, const QString& text, bool active);
    const QString& CaptionText() const { return captionText_; }
    QRect CaptionRect() const;
    QRect CloseButtonRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UserMovedOrResized();
    // Local files dragged over a form that accepts dropped files.
    bool TakesFiles(const QMimeData* data) const;
    Qt::Edges EdgesAt(QPoint at) const;

    FormRenderer& renderer_;
    tk::Form* form_;
    QMenuBar* menuBar_;
    QWidget* client_;
    MenuBinding* menuBinding_;
    QString caption_;
    QString captionText_;
    tk::Point captionTextAt_;
    bool active_ = false;
    bool pressedClose_ = false;
};

}  // namespace workbench
