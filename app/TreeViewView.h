#pragma once
// The widget of toolkit tree views.

#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeWidget>

#include "app/ControlWidgets.h"
#include "app/FormRenderer.h"
#include "app/TextCodec.h"
#include "toolkit/ComCtrls.h"

namespace workbench {

// A tree whose labels are edited in place and whose nodes are dragged within it. Both go through
// the toolkit: a click on the selected label asks the toolkit to start editing, and the editor is
// open exactly while the toolkit has a node in editing; a drop point is handed over as the toolkit
// point of the same area (label, indent, button, right of the label, below the last row).
class TreeViewView : public QTreeWidget, public ControlView {
public:
    TreeViewView(FormRenderer& renderer, tk::TreeView& tree, QWidget* parent)
        : QTreeWidget(parent), ControlView(renderer, &tree), tree_(&tree)
    {
        setHeaderHidden(true);
        setColumnCount(1);
        setSelectionMode(QAbstractItemView::SingleSelection);
        setEditTriggers(QAbstractItemView::SelectedClicked);
        setDragEnabled(true);
        setDragDropMode(QAbstractItemView::DragDrop);
        connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { SetExpanded(item, true); });
        connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) { SetExpanded(item, false); });
    }

    void SyncFromControl() override
    {
        std::vector<Shape> shape;
        for (tk::TreeNode* node : tree_->AllNodes()) {
            shape.push_back({node, node->Level(), node->Text()});
        }
        if (shape != shownShape_) {
            CloseEditor();
            shownShape_ = shape;
            Rebuild();
        }
        for (auto& [node, item] : items_) {
            if (item->isExpanded() != node->Expanded()) {
                item->setExpanded(node->Expanded());
            }
        }
        QTreeWidgetItem* selected = nullptr;
        if (auto found = items_.find(tree_->Selected()); found != items_.end()) {
            selected = found->second;
        }
        if (currentItem() != selected) {
            setCurrentItem(selected);
        }
        tk::TreeNode* editing = tree_->EditingNode();
        if (editing != editingNode_) {
            CloseEditor();
            if (auto found = items_.find(editing); found != items_.end()) {
                editingNode_ = editing;
                opening_ = true;
                QTreeWidget::edit(indexFromItem(found->second), QAbstractItemView::AllEditTriggers, nullptr);
                opening_ = false;
            }
        }
    }

    // Keys the open label editor leaves (Return, the arrows) come on to the tree; they are still
    // the editor's, as with the platform's label editor: the toolkit must not take Return as the
    // tree's or the window's.
    bool EditsText(const QKeyEvent& event) const override
    {
        (void)event;
        return state() == QAbstractItemView::EditingState;
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (state() == QAbstractItemView::EditingState) {
            event->accept();
            return;
        }
        QTreeWidget::keyPressEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        QTreeWidget::mousePressEvent(event);
        tk::TreeNode* node = NodeOf(itemAt(event->position().toPoint()));
        if (node) {
            renderer_.Deliver([this, node] { tree_->SetSelected(node); });
        }
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (itemAt(event->position().toPoint())) {
            renderer_.Deliver([this] { tree_->DblClick(); });
        }
    }

    // Qt's own wish to edit (a click on the selected label) is the toolkit's to grant. Qt asks
    // in the middle of the mouse release, which then leaves the editing state: an editor opened
    // there would be one the view no longer knows of, so the toolkit is asked afterwards.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override
    {
        if (opening_) {
            return QTreeWidget::edit(index, trigger, event);
        }
        if (trigger != QAbstractItemView::SelectedClicked) {
            return false;
        }
        QTimer::singleShot(0, this, [this, clicked = QPersistentModelIndex(index)] {
            if (tk::TreeNode* node = NodeOf(itemFromIndex(clicked))) {
                renderer_.Deliver([this, node] { tree_->EditText(node); });
            }
        });
        return false;
    }
    // The editor's text goes to the toolkit, which decides what the label becomes.
    void commitData(QWidget* editor) override
    {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (closing_ || !line) {
            return;
        }
        committed_ = true;
        std::string text = ToCp932(line->text());
        QTimer::singleShot(0, this, [this, text] { renderer_.Deliver([this, text] { tree_->EndEdit(text); }); });
    }
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override
    {
        bool cancelled = !closing_ && !committed_;
        committed_ = false;
        editingNode_ = nullptr;
        QTreeWidget::closeEditor(editor, hint);
        if (cancelled) {
            QTimer::singleShot(0, this, [this] { renderer_.Deliver([this] { tree_->CancelEdit(); }); });
        }
    }

    void startDrag(Qt::DropActions) override
    {
        tk::TreeNode* node = NodeOf(currentItem());
        if (!node) {
            return;
        }
        renderer_.Deliver([this, node] { tree_->BeginDrag(node); });
        auto* drag = new QDrag(this);
        drag->setMimeData(mimeData(selectedItems()));
        drag->exec(Qt::MoveAction);
        renderer_.Deliver([this] { tree_->EndDrag(); });
    }
    void dragEnterEvent(QDragEnterEvent* event) override { DragOver(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { DragOver(event); }
    void dropEvent(QDropEvent* event) override
    {
        if (!Internal(event)) {
            event->ignore();
            return;
        }
        tk::Point at = ToolkitPoint(event->position().toPoint());
        renderer_.Deliver([this, at] { tree_->DragDrop(tree_, at.X, at.Y); });
        // The toolkit moved the node; Qt must not take the dragged item away as well.
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }

private:
    static constexpr int LabelMargin = 6;

    struct Shape {
        tk::TreeNode* Node;
        int Level;
        std::string Text;
        bool operator==(const Shape&) const = default;
    };

    // Only the tree's own nodes are dragged within it; dropped files go on to the window.
    bool Internal(const QDropEvent* event) const
    {
        return control_ && tree_->DraggedNode() && event->mimeData() &&
               event->mimeData()->hasFormat(mimeTypes().value(0));
    }

    void DragOver(QDragMoveEvent* event)
    {
        if (!Internal(event)) {
            event->ignore();
            return;
        }
        tk::Point at = ToolkitPoint(event->position().toPoint());
        if (tree_->DragOver(tree_, at.X, at.Y)) {
            event->setDropAction(Qt::MoveAction);
            event->accept();
        } else {
            event->ignore();
        }
    }

    // The toolkit point that lies in the same area of the same node as a point of the viewport.
    tk::Point ToolkitPoint(QPoint at) const
    {
        QTreeWidgetItem* item = itemAt(at);
        tk::TreeNode* node = NodeOf(item);
        if (!node) {
            bool below = at.x() >= 0 && at.x() < viewport()->width() && at.y() >= 0 && at.y() < viewport()->height();
            return below ? tree_->PointIn(nullptr, tk::htNowhere) : tk::Point{-1, -1};
        }
        QRect cell = visualItemRect(item);
        int labelEnd = cell.left() + fontMetrics().horizontalAdvance(item->text(0)) + LabelMargin;
        tk::HitTests area = at.x() < cell.left() - indentation() ? tk::htOnIndent
                            : at.x() < cell.left()                ? tk::htOnButton
                            : at.x() < labelEnd                   ? tk::htOnLabel
                                                                  : tk::htOnRight;
        return tree_->PointIn(node, area);
    }

    void CloseEditor()
    {
        if (state() != QAbstractItemView::EditingState) {
            editingNode_ = nullptr;
            return;
        }
        // The one editor there is, a child of the viewport.
        closing_ = true;
        if (auto* editor = viewport()->findChild<QLineEdit*>()) {
            QTreeWidget::closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
        }
        closing_ = false;
        editingNode_ = nullptr;
    }

    void Rebuild()
    {
        clear();
        items_.clear();
        for (const Shape& entry : shownShape_) {
            QTreeWidgetItem* parentItem = nullptr;
            if (tk::TreeNode* parent = entry.Node->Parent(); parent && items_.count(parent)) {
                parentItem = items_[parent];
            }
            auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(this);
            item->setText(0, FromCp932(entry.Text));
            item->setFlags(item->flags() | Qt::ItemIsEditable);
            items_[entry.Node] = item;
        }
    }

    // A node still in the tree, or nullptr.
    tk::TreeNode* NodeOf(QTreeWidgetItem* item) const
    {
        for (const auto& [node, shown] : items_) {
            if (shown == item && control_) {
                return node;
            }
        }
        return nullptr;
    }

    void SetExpanded(QTreeWidgetItem* item, bool expanded)
    {
        if (renderer_.Syncing()) {
            return;
        }
        if (tk::TreeNode* node = NodeOf(item)) {
            renderer_.Deliver([node, expanded] { node->SetExpanded(expanded); });
        }
    }

    tk::TreeView* tree_;
    std::vector<Shape> shownShape_;
    std::map<tk::TreeNode*, QTreeWidgetItem*> items_;
    tk::TreeNode* editingNode_ = nullptr;
    bool opening_ = false;
    bool closing_ = false;
    bool committed_ = false;
};

}  // namespace workbench
