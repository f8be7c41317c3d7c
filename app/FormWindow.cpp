#include "app/FormWindow.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "app/FormRenderer.h"
#include "app/MenuBinding.h"
#include "app/TextCodec.h"
#include "platform/DropFiles.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"

namespace workbench {

namespace {

using Metrics = tk::WindowMetrics;

const QColor ActiveCaption(0, 0, 128);
const QColor InactiveCaption(128, 128, 128);
const QColor InactiveCaptionText(212, 208, 200);

}  // namespace

FormWindow::FormWindow(FormRenderer& renderer, tk::Form& form, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint), renderer_(renderer), form_(&form)
{
    setObjectName(FromCp932(form.Name()));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    menuBar_ = new QMenuBar(this);
    menuBar_->setNativeMenuBar(false);
    menuBar_->installEventFilter(this);
    menuBar_->hide();
    menuBinding_ = new MenuBinding(renderer, menuBar_);
    client_ = new QWidget(this);
    client_->setObjectName("client");
}

FormWindow::~FormWindow() = default;

void FormWindow::Detach()
{
    form_ = nullptr;
    menuBinding_->Detach();
}

QRect FormWindow::CaptionRect() const
{
    return {Metrics::FrameWidth, Metrics::FrameHeight, width() - 2 * Metrics::FrameWidth, Metrics::CaptionHeight};
}

QRect FormWindow::CloseButtonRect() const
{
    QRect caption = CaptionRect();
    int size = Metrics::CaptionHeight - 4;
    return {caption.right() - size - 1, caption.top() + 2, size, size};
}

void FormWindow::SyncFromForm()
{
    if (!form_) {
        return;
    }
    QRect bounds(form_->Left(), form_->Top(), form_->Width(), form_->Height());
    if (geometry() != bounds) {
        setGeometry(bounds);
    }
    if (bool accepts = platform::AcceptsDroppedFiles(form_->Handle()); acceptDrops() != accepts) {
        setAcceptDrops(accepts);
    }
    QString caption = FromCp932(form_->Caption());
    QString title = captionText_.isEmpty() ? caption : caption + "  " + captionText_;
    if (windowTitle() != title) {
        setWindowTitle(title);
    }
    if (caption != caption_ || active_ != form_->Active()) {
        caption_ = caption;
        active_ = form_->Active();
        update();
    }
    tk::MainMenu* menu = form_->Menu();
    menuBinding_->Sync(menu ? menu->Items() : nullptr);
    int top = Metrics::FrameHeight + Metrics::CaptionHeight;
    int inner = std::max(width() - 2 * Metrics::FrameWidth, 0);
    if (form_->HasMenuBar()) {
        menuBar_->setGeometry(Metrics::FrameWidth, top, inner, Metrics::MenuBarHeight);
        menuBar_->show();
        top += Metrics::MenuBarHeight;
    } else {
        menuBar_->hide();
    }
    tk::Rect client = form_->ClientRect();
    QRect clientBounds(Metrics::FrameWidth, top, client.Width, client.Height);
    if (client_->geometry() != clientBounds) {
        client_->setGeometry(clientBounds);
    }
}

void FormWindow::SetCaptionText(tk::Point at, const QString& text, bool active)
{
    if (text == captionText_ && at == captionTextAt_ && active == active_) {
        return;
    }
    captionText_ = text;
    captionTextAt_ = at;
    active_ = active;
    update(CaptionRect());
}

void FormWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(frame.topLeft(), frame.topRight());
    painter.drawLine(frame.topLeft(), frame.bottomLeft());
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawLine(frame.bottomLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomRight());

    QRect caption = CaptionRect();
    QColor textColor = active_ ? QColor(Qt::white) : InactiveCaptionText;
    painter.fillRect(caption, active_ ? ActiveCaption : InactiveCaption);
    QFont font = painter.font();
    font.setPixelSize(Metrics::CaptionHeight - 7);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(textColor);
    painter.drawText(caption.adjusted(4, 0, -Metrics::CaptionButtonWidth, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption_);
    if (!captionText_.isEmpty()) {
        font.setBold(false);
        painter.setFont(font);
        QRect textRect(captionTextAt_.X, captionTextAt_.Y, caption.right() - captionTextAt_.X,
                       caption.bottom() - captionTextAt_.Y);
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, captionText_);
    }
    if (form_ && (form_->GetBorderIcons() & tk::biSystemMenu)) {
        QRect button = CloseButtonRect();
        painter.fillRect(button, palette().color(QPalette::Button));
        painter.setPen(palette().color(QPalette::ButtonText));
        QRect cross = button.adjusted(4, 4, -4, -4);
        painter.drawLine(cross.topLeft(), cross.bottomRight());
        painter.drawLine(cross.bottomLeft(), cross.topRight());
    }
}

Qt::Edges FormWindow::EdgesAt(QPoint at) const
{
    Qt::Edges edges;
    if (!form_ || !form_->Sizeable()) {
        return edges;
    }
    if (at.x() < Metrics::FrameWidth) {
        edges |= Qt::LeftEdge;
    }
    if (at.x() >= width() - Metrics::FrameWidth) {
        edges |= Qt::RightEdge;
    }
    if (at.y() < Metrics::FrameHeight) {
        edges |= Qt::TopEdge;
    }
    if (at.y() >= height() - Metrics::FrameHeight) {
        edges |= Qt::BottomEdge;
    }
    return edges;
}

void FormWindow::mousePressEvent(QMouseEvent* event)
{
    QPoint at = event->position().toPoint();
    if (!form_) {
        return;
    }
    if (event->button() == Qt::RightButton && CaptionRect().contains(at)) {
        QPoint global = event->globalPosition().toPoint();
        renderer_.Deliver([this, global] { form_->CaptionRightButtonDown({global.x(), global.y()}); });
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (CloseButtonRect().contains(at) && (form_->GetBorderIcons() & tk::biSystemMenu)) {
        pressedClose_ = true;
        return;
    }
    if (Qt::Edges edges = EdgesAt(at); edges && windowHandle()) {
        windowHandle()->startSystemResize(edges);
    } else if (CaptionRect().contains(at) && windowHandle()) {
        windowHandle()->startSystemMove();
    }
}

void FormWindow::mouseReleaseEvent(QMouseEvent* event)
{
    bool close = pressedClose_ && CloseButtonRect().contains(event->position().toPoint());
    pressedClose_ = false;
    if (close && form_) {
        renderer_.Deliver([this] { form_->Close(); });
    }
}

void FormWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    QPoint at = event->position().toPoint();
    if (form_ && event->button() == Qt::LeftButton && CaptionRect().contains(at) && !CloseButtonRect().contains(at)) {
        renderer_.Deliver([this] { form_->CaptionDoubleClick(); });
    }
}

void FormWindow::keyPressEvent(QKeyEvent* event)
{
    if (!form_ || !renderer_.HandleWidgetEvent(form_, this, event)) {
        QWidget::keyPressEvent(event);
    }
}

void FormWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (form_) {
        renderer_.Deliver([this] { form_->Close(); });
    }
}

void FormWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !form_ || renderer_.Syncing()) {
        return;
    }
    bool active = isActiveWindow();
    renderer_.Deliver([this, active] {
        form_->SetActive(active);
        form_->PaintCaption();
    });
}

void FormWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    UserMovedOrResized();
}

void FormWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    UserMovedOrResized();
}

void FormWindow::UserMovedOrResized()
{
    if (!form_ || renderer_.Syncing() || !isVisible()) {
        return;
    }
    QRect now = geometry();
    if (now == QRect(form_->Left(), form_->Top(), form_->Width(), form_->Height())) {
        return;
    }
    renderer_.Deliver([this, now] { form_->SetBounds(now.x(), now.y(), now.width(), now.height()); });
}

bool FormWindow::TakesFiles(const QMimeData* data) const
{
    if (!form_ || !data || !platform::AcceptsDroppedFiles(form_->Handle())) {
        return false;
    }
    const QList<QUrl> urls = data->urls();
    return !urls.isEmpty() && std::all_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

void FormWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (TakesFiles(event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void FormWindow::dragMoveEvent(QDragMoveEvent* event)
{
    if (TakesFiles(event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void FormWindow::dropEvent(QDropEvent* event)
{
    if (!TakesFiles(event->mimeData())) {
        return;
    }
    std::vector<std::string> names;
    for (const QUrl& url : event->mimeData()->urls()) {
        names.push_back(ToCp932(url.toLocalFile()));
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The drop ends first: the form may ask questions, which must not hold the desktop's drag.
    uintptr_t window = form_->Handle();
    QTimer::singleShot(0, this, [this, window, names = std::move(names)]() mutable {
        renderer_.Deliver([window, &names] {
            platform::HDROP drop = platform::CreateDrop(std::move(names));
            tk::Message message{window, platform::WM_DROPFILES, drop, 0};
            tk::Application::Instance().DispatchMessage(message);
            // Released here too when no hook took the message; a second release is harmless.
            platform::DragFinish(drop);
        });
    });
}

// The menu bar stands in for the caption where a person might look for the caption's menu.
bool FormWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != menuBar_ || !form_) {
        return QWidget::eventFilter(watched, event);
    }
    auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (!mouse) {
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::RightButton) {
        QPoint global = mouse->globalPosition().toPoint();
        renderer_.Deliver([this, global] { form_->CaptionRightButtonDown({global.x(), global.y()}); });
        return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton &&
        !menuBar_->actionAt(mouse->position().toPoint())) {
        renderer_.Deliver([this] { form_->CaptionDoubleClick(); });
        return true;
    }
    return false;
}

}  // namespace workbench
