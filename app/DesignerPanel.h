#pragma once
// The designer panel: the form of the unit in front as a tree of its components (name and class)
// and the properties of the selected one. Selecting in the tree is the designer's selection that
// the add-in's form tools read; a selection the add-in makes shows here.

#include <QLabel>
#include <QTableWidget>
#include <QTreeWidget>
#include <QWidget>

#include "refhost/RefHost.h"

namespace workbench {

class DesignerPanel : public QWidget, public refhost::HostListener {
    Q_OBJECT
public:
    explicit DesignerPanel(refhost::Host& host, QWidget* parent = nullptr);
    ~DesignerPanel() override;

    // The unit whose form is shown; empty when none.
    const std::string& Unit() const { return unit_; }
    QTreeWidget& Components() { return *tree_; }
    QTableWidget& Properties() { return *properties_; }
    QString Problem() const { return problem_->text(); }

    void CurrentFileChanged(const std::string& fileName) override;
    void BufferClosed(const std::string& fileName) override;
    void FormChanged(const std::string& unitFile) override;
    void SelectionChanged(const std::string& unitFile) override;

private:
    void ShowForm(const std::string& fileName);
    void ShowSelection();
    void ShowProperties();
    void TreeSelectionChanged();

    refhost::Host& host_;
    std::string unit_;
    QLabel* problem_;
    QTreeWidget* tree_;
    QTableWidget* properties_;
    bool updating_ = false;
};

}  // namespace workbench
