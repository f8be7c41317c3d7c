#pragma once
// The widget of toolkit panels, and of controls of kinds the renderer does not know.

#include <QFrame>
#include <QPainter>

#include "app/ControlWidgets.h"
#include "app/FormRenderer.h"
#include "app/TextCodec.h"
#include "toolkit/ExtCtrls.h"

namespace workbench {

// Panels, and controls of kinds the renderer does not know, as a filled rectangle.
class PanelView : public QFrame, public ControlView {
public:
    PanelView(FormRenderer& renderer, tk::Control& control, QWidget* parent)
        : QFrame(parent), ControlView(renderer, &control), panel_(dynamic_cast<tk::Panel*>(&control))
    {
    }

    void SyncFromControl() override
    {
        QString caption = FromCp932(control_->Caption());
        tk::Color color = control_->GetColor();
        if (caption != caption_ || color != color_) {
            caption_ = caption;
            color_ = color;
            update();
        }
    }
    bool ClickedByRenderer() const override { return true; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), ToQColor(color_, palette()));
        if (panel_ && panel_->BevelOuter != tk::Bevel::None) {
            bool raised = panel_->BevelOuter == tk::Bevel::Raised;
            QColor light = palette().color(QPalette::Light);
            QColor dark = palette().color(QPalette::Dark);
            QRect r = rect().adjusted(0, 0, -1, -1);
            painter.setPen(raised ? light : dark);
            painter.drawLine(r.topLeft(), r.topRight());
            painter.drawLine(r.topLeft(), r.bottomLeft());
            painter.setPen(raised ? dark : light);
            painter.drawLine(r.bottomLeft(), r.bottomRight());
            painter.drawLine(r.topRight(), r.bottomRight());
        }
        if (!caption_.isEmpty() && control_) {
            Qt::Alignment alignment = Qt::AlignCenter;
            if (panel_ && panel_->CaptionAlignment == tk::Alignment::LeftJustify) {
                alignment = Qt::AlignLeft | Qt::AlignVCenter;
            } else if (panel_ && panel_->CaptionAlignment == tk::Alignment::RightJustify) {
                alignment = Qt::AlignRight | Qt::AlignVCenter;
            }
            painter.setPen(ToQColor(control_->GetFont().FontColor, palette()));
            painter.drawText(rect().adjusted(2, 0, -2, 0), alignment, caption_);
        }
    }

private:
    tk::Panel* panel_;
    QString caption_;
    tk::Color color_ = tk::clBtnFace;
};

}  // namespace workbench
