#pragma once
// The project panel: the open project file and its units; a double click opens a unit's source.

#include <QTreeWidget>

#include "refhost/RefHost.h"

namespace workbench {

class ProjectPanel : public QTreeWidget, public refhost::HostListener {
    Q_OBJECT
public:
    explicit ProjectPanel(refhost::Host& host, QWidget* parent = nullptr);
    ~ProjectPanel() override;

    void ProjectChanged() override;
    // The unit files shown, in the project's order.
    std::vector<std::string> ShownUnits() const;

private:
    refhost::Host& host_;
};

}  // namespace workbench
