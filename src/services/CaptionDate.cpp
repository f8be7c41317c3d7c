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

// The hooks as the chains hold them: they name their owner, so that a chain can be walked.
struct TCodeForm::ApplicationHooks::IdleHook {
    ApplicationHooks* Owner;
    void operator()(tk::Component* sender) const
    {
        Owner->form_->DrawCaptionDate();
        if (Owner->previousIdle_)
            Owner->previousIdle_(sender);
    }
};

struct TCodeForm::ApplicationHooks::DeactivateHook {
    ApplicationHooks* Owner;
    void operator()(tk::Component* sender) const
    {
        Owner->form_->LabelEditing = false;
        Owner->form_->DrawCaptionDate();
        if (Owner->previousDeactivate_)
            Owner->previousDeactivate_(sender);
    }
};

namespace {

// Puts previous in the place of owner's hook in the chain that starts at first: putting back the
// hook noted at installation would drop a later window's hook or bring back a closed one's.
template <typename Hook, typename Owner>
void Unlink(tk::NotifyEvent& first, Owner* owner, tk::NotifyEvent Owner::*previous)
{
    tk::NotifyEvent* link = &first;
    while (const Hook* hook = link->template target<Hook>()) {
        if (hook->Owner == owner) {
            *link = std::move(owner->*previous);
            return;
        }
        link = &(hook->Owner->*previous);
    }
}

}  // namespace

void TCodeForm::ApplicationHooks::Install(TCodeForm* form)
{
    if (form_)
        return;
    form_ = form;
    tk::Application& application = tk::Application::Instance();
    previousIdle_ = std::move(application.OnIdle);
    previousDeactivate_ = std::move(application.OnDeactivate);
    application.OnIdle = IdleHook{this};
    application.OnDeactivate = DeactivateHook{this};
}

TCodeForm::ApplicationHooks::~ApplicationHooks()
{
    if (!form_)
        return;
    tk::Application& application = tk::Application::Instance();
    Unlink<IdleHook>(application.OnIdle, this, &ApplicationHooks::previousIdle_);
    Unlink<DeactivateHook>(application.OnDeactivate, this, &ApplicationHooks::previousDeactivate_);
}

}  // namespace quorlin
