#include "app/DesignerPanel.h"

#include <QHeaderView>
#include <QSplitter>
#include <QVBoxLayout>

#include "app/TextCodec.h"
#include "refhost/FormDesigner.h"

namespace workbench {

namespace {

constexpr int IndexRole = Qt::UserRole;

const char* TypeWord(hostapi::TPropertyType type)
{
    static const char* const words[] = {"Unknown", "Integer", "Char",     "Enumeration", "Float",      "String", "Set",
                                        "Class",   "Method",  "WideChar", "LongString",  "WideString", "Variant"};
    return type >= 0 && type <= hostapi::ptVariant ? words[type] : "Unknown";
}

}  // namespace

DesignerPanel::DesignerPanel(refhost::Host& host, QWidget* parent) : QWidget(parent), host_(host)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    problem_ = new QLabel(this);
    problem_->setWordWrap(true);
    problem_->hide();
    auto* splitter = new QSplitter(Qt::Vertical, this);
    tree_ = new QTreeWidget(splitter);
    tree_->setObjectName("DesignerComponents");
    tree_->setHeaderLabels({tr("Name"), tr("Class")});
    tree_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    properties_ = new QTableWidget(0, 3, splitter);
    properties_->setObjectName("DesignerProperties");
    properties_->setHorizontalHeaderLabels({tr("Property"), tr("Type"), tr("Value")});
    properties_->horizontalHeader()->setStretchLastSection(true);
    properties_->verticalHeader()->hide();
    properties_->verticalHeader()->setDefaultSectionSize(properties_->fontMetrics().height() + 6);
    properties_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(problem_);
    layout->addWidget(splitter);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, [this] { TreeSelectionChanged(); });
    host_.AddListener(this);
    ShowForm(host_.CurrentFile());
}

DesignerPanel::~DesignerPanel()
{
    host_.RemoveListener(this);
}

void DesignerPanel::CurrentFileChanged(const std::string& fileName)
{
    ShowForm(fileName);
}

void DesignerPanel::BufferClosed(const std::string& fileName)
{
    if (fileName == unit_)
        ShowForm(std::string());
}

void DesignerPanel::FormChanged(const std::string& unitFile)
{
    if (unitFile == unit_)
        ShowForm(unit_);
}

void DesignerPanel::SelectionChanged(const std::string& unitFile)
{
    if (unitFile == unit_)
        ShowSelection();
}

// Opening a unit opens its form; a unit without one empties the panel.
void DesignerPanel::ShowForm(const std::string& fileName)
{
    updating_ = true;
    tree_->clear();
    properties_->setRowCount(0);
    auto designer = fileName.empty() ? nullptr : host_.Designer(fileName);
    std::string problem = fileName.empty() ? std::string() : host_.FormProblem(fileName);
    problem_->setText(FromCp932(problem));
    problem_->setVisible(!problem.empty());
    unit_ = designer ? designer->UnitFileName() : std::string();
    if (designer) {
        std::vector<QTreeWidgetItem*> items;
        for (int i = 0; i < designer->ObjectCount(); ++i) {
            const forms::FormObject& object = designer->Object(i);
            QStringList texts{FromCp932(object.Name), FromCp932(object.ClassName)};
            int parent = designer->Parent(i);
            auto* item = parent < 0 ? new QTreeWidgetItem(tree_, texts) : new QTreeWidgetItem(items[parent], texts);
            item->setData(0, IndexRole, i);
            items.push_back(item);
        }
        tree_->expandAll();
        tree_->resizeColumnToContents(0);
    }
    updating_ = false;
    ShowSelection();
}

void DesignerPanel::ShowSelection()
{
    auto designer = unit_.empty() ? nullptr : host_.Designer(unit_);
    updating_ = true;
    tree_->clearSelection();
    if (designer) {
        for (QTreeWidgetItemIterator it(tree_); *it; ++it) {
            int index = (*it)->data(0, IndexRole).toInt();
            const auto& selection = designer->Selection();
            if (std::find(selection.begin(), selection.end(), index) != selection.end()) {
                (*it)->setSelected(true);
                if (index == selection.front())
                    tree_->setCurrentItem(*it, 0, QItemSelectionModel::NoUpdate);
            }
        }
    }
    updating_ = false;
    ShowProperties();
}

void DesignerPanel::ShowProperties()
{
    properties_->setRowCount(0);
    auto designer = unit_.empty() ? nullptr : host_.Designer(unit_);
    if (!designer || designer->Selection().empty())
        return;
    int index = designer->Selection().front();
    auto rows = designer->Properties(index, std::string(), designer->CatalogueClass(index));
    properties_->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const refhost::DesignedProperty& property = rows[row];
        properties_->setItem(row, 0, new QTableWidgetItem(FromCp932(property.Name)));
        properties_->setItem(row, 1, new QTableWidgetItem(TypeWord(property.Type)));
        auto* value = new QTableWidgetItem(FromCp932(refhost::PropertyText(property)));
        if (property.Stored) {
            QFont bold = value->font();
            bold.setBold(true);
            value->setFont(bold);
        }
        properties_->setItem(row, 2, value);
    }
    properties_->resizeColumnToContents(0);
    properties_->resizeColumnToContents(1);
}

// The components chosen here become the designer's selection, in the tree's order.
void DesignerPanel::TreeSelectionChanged()
{
    if (updating_ || unit_.empty())
        return;
    std::vector<std::string> names;
    for (QTreeWidgetItemIterator it(tree_, QTreeWidgetItemIterator::Selected); *it; ++it)
        names.push_back(ToCp932((*it)->text(0)));
    if (QTreeWidgetItem* current = tree_->currentItem(); current && current->isSelected()) {
        std::string first = ToCp932(current->text(0));
        std::erase(names, first);
        names.insert(names.begin(), first);
    }
    if (names.empty() || std::find(names.begin(), names.end(), std::string()) != names.end()) {
        ShowProperties();
        return;
    }
    host_.SelectComponents(unit_, names);
}

}  // namespace workbench
