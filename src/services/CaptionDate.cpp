// Today's date drawn over the tool window's caption bar, kept fresh on idle and deactivation.

#include "services/DateText.h"
#include "services/QuorlinUnit.h"
#include "toolkit/Application.h"
#include "toolkit/Desktop.h"

namespace quorlin {

std::string CaptionDateText(const DateTime& date)
{
    static const char* const WeekdayNames[] = {"日", "月", "火", "水", "木", "金", "土"};
    return FormatDateTime(ShortDateFormat, date) + " (" + WeekdayNames[DayOfWeek(date)] + ") ";
}

void TCodeForm::DrawCaptionDate()
{
    using Metrics = tk::WindowMetrics;
    tk::Point at{Width() - Metrics::FrameWidth - 4 * Metrics::CaptionButtonWidth - 120, Metrics::FrameHeight + 2};
    tk::Application::Instance().GetDesktop().DrawCaptionText(*this, at, CaptionDateText(Now()), Active());
}

void TCodeForm::PaintCaption()
{
    DrawCaptionDate();
}

void TCodeForm::TextChanged()
{
    tk::Form::TextChanged();
    DrawCaptionDate();
}

void TCodeForm::ApplicationHooks::Install(TCodeForm* form)
{
    if (installed_)
        return;
    tk::Application& application = tk::Application::Instance();
    previousIdle_ = application.OnIdle;
    previousDeactivate_ = application.OnDeactivate;
    application.OnIdle = [form, previous = previousIdle_](tk::Component* sender) {
        form->DrawCaptionDate();
        if (previous)
            previous(sender);
    };
    application.OnDeactivate = [form, previous = previousDeactivate_](tk::Component* sender) {
        form->LabelEditing = false;
        form->DrawCaptionDate();
        if (previous)
            previous(sender);
    };
    installed_ = true;
}

TCodeForm::ApplicationHooks::~ApplicationHooks()
{
    if (!installed_)
        return;
    tk::Application& application = tk::Application::Instance();
    application.OnIdle = previousIdle_;
    application.OnDeactivate = previousDeactivate_;
}

}  // namespace quorlin
