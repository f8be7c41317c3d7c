#pragma once
// The widget of toolkit page controls.

#include <QTabBar>
#include <algorithm>

#include "app/ControlWidgets.h"
#include "app/FormRenderer.h"
#include "app/TextCodec.h"
#include "toolkit/ComCtrls.h"

namespace workbench {

// A page control: a tab bar above the pages, whose widgets the renderer places by their bounds.
class PageControlView : public QWidget, public ControlView {
public:
    PageControlView(FormRenderer& renderer, tk::PageControl& pages, QWidget* parent)
        : QWidget(parent), ControlView(renderer, &pages), pages_(&pages), tabs_(new QTabBar(this))
    {
        tabs_->setDrawBase(true);
        tabs_->setExpanding(false);
        connect(tabs_, &QTabBar::currentChanged, this, [this](int tab) {
            if (renderer_.Syncing() || !control_ || tab < 0 || tab >= static_cast<int>(shownPages_.size())) {
                return;
            }
            tk::TabSheet* page = shownPages_[tab];
            renderer_.Deliver([this, page] { pages_->ChooseTab(page->PageIndex()); });
        });
    }

    QTabBar* Tabs() const { return tabs_; }

    void SyncFromControl() override
    {
        std::vector<tk::TabSheet*> shown;
        std::vector<std::string> captions;
        for (int i = 0; i < pages_->PageCount(); ++i) {
            if (pages_->Pages(i)->TabVisible()) {
                shown.push_back(pages_->Pages(i));
                captions.push_back(pages_->Pages(i)->Caption());
            }
        }
        if (shown != shownPages_ || captions != shownCaptions_) {
            shownPages_ = shown;
            shownCaptions_ = captions;
            while (tabs_->count() > 0) {
                tabs_->removeTab(0);
            }
            for (const std::string& caption : captions) {
                tabs_->addTab(FromCp932(caption).remove('&'));
            }
        }
        auto active = std::find(shown.begin(), shown.end(), pages_->ActivePage());
        int current = active == shown.end() ? -1 : static_cast<int>(active - shown.begin());
        if (tabs_->currentIndex() != current) {
            tabs_->setCurrentIndex(current);
        }
        QRect bar(0, 0, width(), pages_->TabHeight());
        if (tabs_->geometry() != bar) {
            tabs_->setGeometry(bar);
        }
    }

private:
    tk::PageControl* pages_;
    QTabBar* tabs_;
    std::vector<tk::TabSheet*> shownPages_;
    std::vector<std::string> shownCaptions_;
};

}  // namespace workbench
