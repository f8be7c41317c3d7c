#pragma once
// The widget of toolkit splitters.

#include <QMouseEvent>

#include "app/ControlWidgets.h"
#include "app/FormRenderer.h"
#include "toolkit/ExtCtrls.h"

namespace workbench {

class SplitterView : public QWidget, public ControlView {
public:
    SplitterView(FormRenderer& renderer, tk::Splitter& splitter, QWidget* parent)
        : QWidget(parent), ControlView(renderer, &splitter), splitter_(&splitter)
    {
    }
    void SyncFromControl() override
    {
        Qt::CursorShape shape = Vertical() ? Qt::SplitVCursor : Qt::SplitHCursor;
        if (cursor().shape() != shape) {
            setCursor(shape);
        }
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        last_ = event->globalPosition().toPoint();
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!(event->buttons() & Qt::LeftButton)) {
            return;
        }
        QPoint now = event->globalPosition().toPoint();
        int delta = Vertical() ? now.y() - last_.y() : now.x() - last_.x();
        last_ = now;
        if (delta != 0) {
            renderer_.Deliver([this, delta] { splitter_->DragBy(delta); });
        }
    }

private:
    bool Vertical() const
    {
        return splitter_->GetAlign() == tk::Align::Top || splitter_->GetAlign() == tk::Align::Bottom;
    }

    tk::Splitter* splitter_;
    QPoint last_;
};

}  // namespace workbench
