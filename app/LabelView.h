#pragma once
// The widget of toolkit labels.

#include <QLabel>

#include "app/ControlWidgets.h"
#include "app/FormRenderer.h"
#include "app/TextCodec.h"
#include "toolkit/Control.h"

namespace workbench {

class LabelView : public QLabel, public ControlView {
public:
    LabelView(FormRenderer& renderer, tk::Control& control, QWidget* parent)
        : QLabel(parent), ControlView(renderer, &control)
    {
        setTextFormat(Qt::PlainText);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    void SyncFromControl() override
    {
        QString text = FromCp932(control_->Caption()).remove('&');
        if (text != this->text()) {
            setText(text);
        }
    }
    bool ClickedByRenderer() const override { return true; }
};

}  // namespace workbench
