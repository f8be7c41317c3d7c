#include "app/ProjectPanel.h"

#include <QFileInfo>

#include "app/TextCodec.h"

namespace workbench {

namespace {

constexpr int FileRole = Qt::UserRole;

}  // namespace

ProjectPanel::ProjectPanel(refhost::Host& host, QWidget* parent) : QTreeWidget(parent), host_(host)
{
    setHeaderHidden(true);
    setColumnCount(1);
    host_.AddListener(this);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        std::string fileName = item->data(0, FileRole).toByteArray().toStdString();
        if (!fileName.empty() && host_.OpenFile(fileName)) {
            host_.ShowFile(fileName);
        }
    });
    ProjectChanged();
}

ProjectPanel::~ProjectPanel()
{
    host_.RemoveListener(this);
}

void ProjectPanel::ProjectChanged()
{
    clear();
    std::vector<std::string> units = host_.UnitNames();
    if (units.empty()) {
        return;
    }
    auto* project = new QTreeWidgetItem(this, {QFileInfo(FromCp932(units.front())).fileName()});
    project->setData(0, FileRole, QByteArray::fromStdString(units.front()));
    project->setToolTip(0, FromCp932(units.front()));
    for (size_t i = 1; i < units.size(); ++i) {
        auto* unit = new QTreeWidgetItem(project, {QFileInfo(FromCp932(units[i])).fileName()});
        unit->setData(0, FileRole, QByteArray::fromStdString(units[i]));
        unit->setToolTip(0, FromCp932(units[i]));
    }
    project->setExpanded(true);
}

std::vector<std::string> ProjectPanel::ShownUnits() const
{
    std::vector<std::string> units;
    if (QTreeWidgetItem* project = topLevelItem(0)) {
        for (int i = 0; i < project->childCount(); ++i) {
            units.push_back(project->child(i)->data(0, FileRole).toByteArray().toStdString());
        }
    }
    return units;
}

}  // namespace workbench
