#include "app/ControlWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDrag>
#include <QDropEvent>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QListView>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTableWidget>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidget>
#include <utility>

#include "app/ComboItemDelegate.h"
#include "app/FormRenderer.h"
#include "app/TextCodec.h"
#include "toolkit/CheckLst.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Grids.h"
#include "toolkit/StdCtrls.h"

namespace workbench {

namespace {

// Items as one list, which a widget takes in one insertion instead of one change per item.
QStringList ToQStrings(const tk::Strings& items)
{
    QStringList texts;
    texts.reserve(items.Count());
    for (std::string_view item : items) {
        texts.append(FromCp932(item));
    }
    return texts;
}

// Keys that an edit widget handles itself; a multi-line one also keeps line moves and Enter.
bool IsEditingKey(const QKeyEvent& event, bool multiLine)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return event.matches(QKeySequence::Copy) || event.matches(QKeySequence::Paste) ||
               event.matches(QKeySequence::Cut) || event.matches(QKeySequence::Undo) ||
               event.matches(QKeySequence::SelectAll);
    }
    switch (event.key()) {
    case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Escape:
        return false;
    case Qt::Key_Backspace: case Qt::Key_Delete: case Qt::Key_Left: case Qt::Key_Right:
    case Qt::Key_Home: case Qt::Key_End:
        return true;
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_PageUp: case Qt::Key_PageDown:
    case Qt::Key_Return: case Qt::Key_Enter:
        return multiLine;
    default:
        return !event.text().isEmpty() && event.text()[0] >= ' ';
    }
}

// What an edit widget last showed of its control or handed over to it: the text as the widget
// holds it, and the selection in byte offsets of the control's text (CR LF line breaks in a memo).
struct ShownEdit {
    QString Text;
    int Start = -1;
    int Length = -1;
};

// Hands the widget's text, when the control does not have it yet, and its selection (Qt indices
// start to end) over together: Qt tells of the caret's move before the edit that moved it, and a
// selection given against the control's old text would be clamped and shown back.
void PushEditState(FormRenderer& renderer, tk::CustomEdit& edit, ShownEdit& shown, const QString& text,
                   int start, int end, bool multiLine)
{
    if (renderer.Syncing()) {
        return;
    }
    int byteStart = Cp932Offset(text, start, multiLine);
    int byteLength = Cp932Offset(text, end, multiLine) - byteStart;
    bool newText = text != shown.Text;
    if (!newText && byteStart == shown.Start && byteLength == shown.Length) {
        return;
    }
    shown = {text, byteStart, byteLength};
    renderer.Deliver([&edit, text, newText, multiLine, byteStart, byteLength] {
        if (newText) {
            edit.TypeText(ToCp932(multiLine ? QString(text).replace("\n", "\r\n") : text));
        }
        edit.SetSelStart(byteStart);
        edit.SetSelLength(byteLength);
    });
}

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

class EditView : public QLineEdit, public ControlView {
public:
    EditView(FormRenderer& renderer, tk::CustomEdit& edit, QWidget* parent)
        : QLineEdit(parent), ControlView(renderer, &edit), edit_(&edit)
    {
        // Typed and input-method text alike; the renderer's own updates are not delivered back.
        connect(this, &QLineEdit::textChanged, this, [this] { PushState(); });
        connect(this, &QLineEdit::cursorPositionChanged, this, [this] { PushState(); });
        connect(this, &QLineEdit::selectionChanged, this, [this] { PushState(); });
    }

    void SyncFromControl() override
    {
        QString text = FromCp932(edit_->Text());
        if (text != shown_.Text) {
            shown_.Text = text;
            setText(text);
            shown_.Start = -1;
        }
        if (isReadOnly() != edit_->ReadOnly()) {
            setReadOnly(edit_->ReadOnly());
        }
        if (edit_->SelStart() != shown_.Start || edit_->SelLength() != shown_.Length) {
            shown_.Start = edit_->SelStart();
            shown_.Length = edit_->SelLength();
            int start = QtIndex(text, shown_.Start);
            setSelection(start, QtIndex(text, shown_.Start + shown_.Length) - start);
        }
    }

    bool EditsText(const QKeyEvent& event) const override { return IsEditingKey(event, false); }

private:
    void PushState()
    {
        int start = hasSelectedText() ? selectionStart() : cursorPosition();
        int end = hasSelectedText() ? selectionEnd() : start;
        PushEditState(renderer_, *edit_, shown_, text(), start, end, false);
    }

    tk::CustomEdit* edit_;
    ShownEdit shown_;
};

class MemoView : public QPlainTextEdit, public ControlView {
public:
    MemoView(FormRenderer& renderer, tk::Memo& memo, QWidget* parent)
        : QPlainTextEdit(parent), ControlView(renderer, &memo), memo_(&memo)
    {
        // Like an edit control of the platform, it takes no drops; files dropped on it go on to
        // the window.
        setAcceptDrops(false);
        connect(this, &QPlainTextEdit::textChanged, this, [this] { PushState(); });
        connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { PushState(); });
    }

    void SyncFromControl() override
    {
        QString text = FromCp932Lines(memo_->Text());
        if (text != shown_.Text) {
            shown_.Text = text;
            setPlainText(text);
            shown_.Start = -1;
        }
        if (isReadOnly() != memo_->ReadOnly()) {
            setReadOnly(memo_->ReadOnly());
        }
        LineWrapMode wrap = memo_->WordWrap() ? WidgetWidth : NoWrap;
        if (lineWrapMode() != wrap) {
            setLineWrapMode(wrap);
        }
        if (memo_->SelStart() != shown_.Start || memo_->SelLength() != shown_.Length) {
            shown_.Start = memo_->SelStart();
            shown_.Length = memo_->SelLength();
            QTextCursor cursor = textCursor();
            cursor.setPosition(QtIndex(text, shown_.Start, true));
            cursor.setPosition(QtIndex(text, shown_.Start + shown_.Length, true), QTextCursor::KeepAnchor);
            setTextCursor(cursor);
        }
    }

    bool EditsText(const QKeyEvent& event) const override { return IsEditingKey(event, true); }

private:
    void PushState()
    {
        QTextCursor cursor = textCursor();
        PushEditState(renderer_, *memo_, shown_, toPlainText(), cursor.selectionStart(), cursor.selectionEnd(), true);
    }

    tk::Memo* memo_;
    ShownEdit shown_;
};

class ButtonView : public QPushButton, public ControlView {
public:
    ButtonView(FormRenderer& renderer, tk::Button& button, QWidget* parent)
        : QPushButton(parent), ControlView(renderer, &button), button_(&button)
    {
        connect(this, &QPushButton::clicked, this, [this] { renderer_.Deliver([this] { button_->Click(); }); });
    }
    void SyncFromControl() override
    {
        QString text = FromCp932(button_->Caption());
        if (text != this->text()) {
            setText(text);
        }
        if (isDefault() != button_->Default) {
            setDefault(button_->Default);
        }
    }

private:
    tk::Button* button_;
};

// Check boxes and radio buttons: the toolkit decides the mark, the widget only shows it.
template <class Widget>
class CheckView : public Widget, public ControlView {
public:
    CheckView(FormRenderer& renderer, tk::CheckBox& box, QWidget* parent)
        : Widget(parent), ControlView(renderer, &box), box_(&box)
    {
        this->setAutoExclusive(false);
        QObject::connect(this, &Widget::clicked, this, [this] { renderer_.Deliver([this] { box_->Click(); }); });
    }
    void SyncFromControl() override
    {
        QString text = FromCp932(box_->Caption());
        if (text != this->text()) {
            this->setText(text);
        }
        if (box_->Checked() != this->isChecked()) {
            this->setChecked(box_->Checked());
        }
    }

private:
    tk::CheckBox* box_;
};

class ListBoxView : public QListWidget, public ControlView {
public:
    ListBoxView(FormRenderer& renderer, tk::ListBox& list, QWidget* parent)
        : QListWidget(parent), ControlView(renderer, &list), list_(&list)
    {
        setSelectionMode(QAbstractItemView::NoSelection);
    }

    void SyncFromControl() override
    {
        if (list_->Items().Revision() != shownRevision_) {
            shownRevision_ = list_->Items().Revision();
            clear();
            addItems(ToQStrings(list_->Items()));
            shownSelection_.clear();
        }
        std::vector<bool> selection;
        for (int i = 0; i < count(); ++i) {
            selection.push_back(list_->MultiSelect() ? list_->Selected(i) : i == list_->ItemIndex());
        }
        if (selection != shownSelection_) {
            shownSelection_ = selection;
            QBrush highlight = palette().brush(QPalette::Highlight);
            QBrush highlightedText = palette().brush(QPalette::HighlightedText);
            for (int i = 0; i < count(); ++i) {
                item(i)->setBackground(selection[i] ? highlight : QBrush());
                item(i)->setForeground(selection[i] ? highlightedText : QBrush());
            }
            if (list_->ItemIndex() >= 0 && list_->ItemIndex() < count()) {
                scrollToItem(item(list_->ItemIndex()));
            }
        }
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        setFocus(Qt::MouseFocusReason);
        int row = indexAt(event->position().toPoint()).row();
        if (row >= 0 && event->button() == Qt::LeftButton) {
            tk::ShiftState shift = 0;
            if (event->modifiers() & Qt::ControlModifier) {
                shift |= tk::ssCtrl;
            }
            if (event->modifiers() & Qt::ShiftModifier) {
                shift |= tk::ssShift;
            }
            renderer_.Deliver([this, row, shift] { list_->ClickItem(row, shift); });
        }
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (indexAt(event->position().toPoint()).row() >= 0) {
            renderer_.Deliver([this] { list_->DblClick(); });
        }
    }

private:
    tk::ListBox* list_;
    uint64_t shownRevision_ = 0;
    std::vector<bool> shownSelection_;
};

// A combo box whose list follows the toolkit's dropped-down state, whose items are drawn with the
// control's own item text (the path ellipsis of the add-in's combo box) and whose choices go to
// ChooseItem.
class ComboView : public QComboBox, public ControlView {
public:
    ComboView(FormRenderer& renderer, tk::ComboBox& combo, QWidget* parent)
        : QComboBox(parent), ControlView(renderer, &combo), combo_(&combo)
    {
        setItemDelegate(new ComboItemDelegate(
            [this](int index, int width, const QFontMetrics& metrics) { return ItemText(index, width, metrics); },
            this));
        // Every entry is one line of one font: the list measures one, not each of many thousands.
        if (auto* list = qobject_cast<QListView*>(view())) {
            list->setUniformItemSizes(true);
        }
        connect(this, &QComboBox::activated, this, [this](int index) {
            renderer_.Deliver([this, index] { combo_->ChooseItem(index); });
        });
    }

    void SyncFromControl() override
    {
        bool editable = !combo_->IsListOnly();
        if (editable != isEditable()) {
            setEditable(editable);
            if (editable) {
                connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString& text) {
                    if (renderer_.Syncing() || ToCp932(text) == combo_->Text()) {
                        return;
                    }
                    renderer_.Deliver([this, text] { combo_->TypeText(ToCp932(text)); });
                });
            }
        }
        if (combo_->Items().Revision() != shownRevision_) {
            shownRevision_ = combo_->Items().Revision();
            clear();
            addItems(ToQStrings(combo_->Items()));
        }
        if (currentIndex() != combo_->ItemIndex()) {
            setCurrentIndex(combo_->ItemIndex());
        }
        if (editable && lineEdit()->text() != FromCp932(combo_->Text())) {
            lineEdit()->setText(FromCp932(combo_->Text()));
        }
        if (maxVisibleItems() != std::max(combo_->DropDownCount(), 1)) {
            setMaxVisibleItems(std::max(combo_->DropDownCount(), 1));
        }
        if (!closing_ && combo_->DroppedDown() != popupShown_) {
            combo_->DroppedDown() ? showPopup() : hidePopup();
        }
    }

    bool EditsText(const QKeyEvent& event) const override
    {
        if (!isEditable() || (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            return false;
        }
        switch (event.key()) {
        case Qt::Key_Backspace: case Qt::Key_Delete: case Qt::Key_Home: case Qt::Key_End:
            return true;
        default:
            return !event.text().isEmpty() && event.text()[0] >= ' ';
        }
    }

    void showPopup() override
    {
        popupShown_ = true;
        if (!renderer_.Syncing() && !combo_->DroppedDown()) {
            renderer_.Deliver([this] { combo_->SetDroppedDown(true); });
        }
        QComboBox::showPopup();
    }

    // The list closes before Qt reports a choice, so the toolkit hears of the closing only after
    // the choice had its chance to arrive.
    void hidePopup() override
    {
        popupShown_ = false;
        QComboBox::hidePopup();
        if (renderer_.Syncing()) {
            return;
        }
        closing_ = true;
        QTimer::singleShot(0, this, [this] {
            closing_ = false;
            if (control_ && combo_->DroppedDown()) {
                renderer_.Deliver([this] { combo_->SetDroppedDown(false); });
            }
        });
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        if (!isEditable() && currentIndex() >= 0) {
            QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
            option.currentText = ItemText(currentIndex(), field.width() - 4, fontMetrics());
        }
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }

private:
    QString ItemText(int index, int width, const QFontMetrics& metrics) const
    {
        if (!control_ || index < 0 || index >= combo_->Items().Count()) {
            return {};
        }
        auto measure = [&metrics](const std::string& text) { return metrics.horizontalAdvance(FromCp932(text)); };
        return FromCp932(combo_->DrawItemText(index, width, measure));
    }

    tk::ComboBox* combo_;
    uint64_t shownRevision_ = 0;
    bool popupShown_ = false;
    bool closing_ = false;
};

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

// A check-list box: a click on an item's box toggles its mark, other clicks select as in a list box.
class CheckListView : public ListBoxView {
public:
    CheckListView(FormRenderer& renderer, tk::CheckListBox& list, QWidget* parent)
        : ListBoxView(renderer, list, parent), checkList_(&list)
    {
    }

    void SyncFromControl() override
    {
        ListBoxView::SyncFromControl();
        for (int i = 0; i < count(); ++i) {
            Qt::CheckState state = checkList_->Checked(i) ? Qt::Checked : Qt::Unchecked;
            if (item(i)->checkState() != state || !(item(i)->flags() & Qt::ItemIsUserCheckable)) {
                item(i)->setFlags(item(i)->flags() | Qt::ItemIsUserCheckable);
                item(i)->setCheckState(state);
            }
        }
    }

    // The box of item row in viewport coordinates.
    QRect CheckRect(int row) const
    {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = visualItemRect(item(row));
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
        return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        QPoint at = event->position().toPoint();
        int row = indexAt(at).row();
        if (row >= 0 && event->button() == Qt::LeftButton && CheckRect(row).contains(at)) {
            setFocus(Qt::MouseFocusReason);
            renderer_.Deliver([this, row] { checkList_->ClickCheck(row); });
            return;
        }
        ListBoxView::mousePressEvent(event);
    }

private:
    tk::CheckListBox* checkList_;
};

// The in-place editor of a grid cell: a box that drops down the column's pick list, or a line edit.
// Every change goes to the toolkit at once, so the cell always holds what is typed.
class GridCellDelegate : public QStyledItemDelegate {
public:
    // grid answers the grid, or nullptr once it is gone.
    GridCellDelegate(FormRenderer& renderer, std::function<tk::StringGrid*()> grid, QObject* parent)
        : QStyledItemDelegate(parent), renderer_(renderer), grid_(std::move(grid))
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        (void)option;
        tk::StringGrid* grid = grid_();
        if (!grid) {
            return nullptr;
        }
        auto [col, row] = Cell(index);
        std::vector<std::string> pickList = grid->PickList(col);
        if (pickList.empty()) {
            auto* edit = new QLineEdit(parent);
            edit->setFrame(false);
            connect(edit, &QLineEdit::textEdited, edit, [this, col, row](const QString& text) { Deliver(col, row, text); });
            return edit;
        }
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        for (const std::string& item : pickList) {
            combo->addItem(FromCp932(item));
        }
        connect(combo, &QComboBox::currentTextChanged, combo, [this, col, row](const QString& text) {
            Deliver(col, row, text);
        });
        return combo;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        QString text = index.data(Qt::EditRole).toString();
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            if (combo->currentText() != text) {
                combo->setCurrentText(text);
            }
        } else if (auto* edit = qobject_cast<QLineEdit*>(editor); edit && edit->text() != text) {
            edit->setText(text);
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        (void)model;
        auto [col, row] = Cell(index);
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            Deliver(col, row, combo->currentText());
        } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            Deliver(col, row, edit->text());
        }
    }

private:
    std::pair<int, int> Cell(const QModelIndex& index) const
    {
        tk::StringGrid* grid = grid_();
        int col = index.column() + (grid && grid->FixedCols() > 0 ? 1 : 0);
        int row = index.row() + (grid && grid->FixedRows() > 0 ? 1 : 0);
        return {col, row};
    }

    void Deliver(int col, int row, const QString& text) const
    {
        tk::StringGrid* grid = grid_();
        if (renderer_.Syncing() || !grid) {
            return;
        }
        std::string bytes = ToCp932(text);
        renderer_.Deliver([grid, col, row, bytes] { grid->EnterCellText(col, row, bytes); });
    }

    FormRenderer& renderer_;
    std::function<tk::StringGrid*()> grid_;
};

// A string grid as a table: the first fixed row is the title header, the first fixed column the
// row header, further fixed cells are not editable. The arrow keys go to the toolkit, which moves
// the current cell and adds or removes rows; typing, F2 and Enter open Qt's in-place editor.
class GridView : public QTableWidget, public ControlView {
public:
    GridView(FormRenderer& renderer, tk::StringGrid& grid, QWidget* parent)
        : QTableWidget(parent), ControlView(renderer, &grid), grid_(&grid)
    {
        setItemDelegate(new GridCellDelegate(renderer, [this] { return control_ ? grid_ : nullptr; }, this));
        setSelectionMode(QAbstractItemView::SingleSelection);
        setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                        QAbstractItemView::AnyKeyPressed);
        verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        verticalHeader()->setMinimumSectionSize(1);
        horizontalHeader()->setMinimumSectionSize(1);
        connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int col) {
            if (renderer_.Syncing() || !control_ || row < 0 || col < 0) {
                return;
            }
            int gridCol = col + HeaderCols();
            int gridRow = row + HeaderRows();
            renderer_.Deliver([this, gridCol, gridRow] { grid_->SelectCell(gridCol, gridRow); });
        });
    }

    void SyncFromControl() override
    {
        int headerRows = HeaderRows();
        int headerCols = HeaderCols();
        int rows = std::max(grid_->RowCount() - headerRows, 0);
        int cols = std::max(grid_->ColCount() - headerCols, 0);
        if (rowCount() != rows) {
            setRowCount(rows);
        }
        if (columnCount() != cols) {
            setColumnCount(cols);
        }
        horizontalHeader()->setVisible(headerRows > 0);
        verticalHeader()->setVisible(headerCols > 0);
        if (headerCols > 0 && verticalHeader()->width() != grid_->ColWidths(0)) {
            verticalHeader()->setFixedWidth(grid_->ColWidths(0));
        }
        if (verticalHeader()->defaultSectionSize() != grid_->DefaultRowHeight()) {
            verticalHeader()->setDefaultSectionSize(grid_->DefaultRowHeight());
        }
        for (int col = 0; col < cols; ++col) {
            if (columnWidth(col) != grid_->ColWidths(col + headerCols)) {
                setColumnWidth(col, grid_->ColWidths(col + headerCols));
            }
            QString title = headerRows > 0 ? FromCp932(grid_->Cells(col + headerCols, 0)) : QString();
            QTableWidgetItem* header = horizontalHeaderItem(col);
            if (!header || header->text() != title) {
                setHorizontalHeaderItem(col, new QTableWidgetItem(title));
            }
        }
        for (int row = 0; row < rows; ++row) {
            QString label = headerCols > 0 ? FromCp932(grid_->Cells(0, row + headerRows)) : QString();
            QTableWidgetItem* header = verticalHeaderItem(row);
            if (!header || header->text() != label) {
                setVerticalHeaderItem(row, new QTableWidgetItem(label));
            }
            for (int col = 0; col < cols; ++col) {
                SyncCell(row, col);
            }
        }
        int currentRow = grid_->Row() - headerRows;
        int currentCol = grid_->Col() - headerCols;
        if (currentRow >= 0 && currentCol >= 0 && (this->currentRow() != currentRow || currentColumn() != currentCol)) {
            setCurrentCell(currentRow, currentCol);
        }
    }

    bool EditsText(const QKeyEvent& event) const override
    {
        if (state() == QAbstractItemView::EditingState) {
            return event.key() != Qt::Key_Up && event.key() != Qt::Key_Down;
        }
        if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
            return false;
        }
        switch (event.key()) {
        case Qt::Key_F2:
            return true;
        case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Escape:
            return false;
        default:
            return control_ && grid_->Editing() && !event.text().isEmpty() && event.text()[0] >= ' ';
        }
    }

private:
    int HeaderRows() const { return control_ && grid_->FixedRows() > 0 ? 1 : 0; }
    int HeaderCols() const { return control_ && grid_->FixedCols() > 0 ? 1 : 0; }

    void SyncCell(int row, int col)
    {
        int gridCol = col + HeaderCols();
        int gridRow = row + HeaderRows();
        QString text = FromCp932(grid_->Cells(gridCol, gridRow));
        bool editable = grid_->Editing() && gridCol >= grid_->FixedCols() && gridRow >= grid_->FixedRows();
        QTableWidgetItem* cell = item(row, col);
        if (!cell) {
            cell = new QTableWidgetItem(text);
            setItem(row, col, cell);
        } else if (cell->text() != text) {
            cell->setText(text);
        }
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (editable) {
            flags |= Qt::ItemIsEditable;
        }
        if (cell->flags() != flags) {
            cell->setFlags(flags);
        }
        if (!editable && cell->background() != palette().brush(QPalette::Button)) {
            cell->setBackground(palette().brush(QPalette::Button));
        }
    }

    tk::StringGrid* grid_;
};

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

class SplitterView : public QWidget, public ControlView {
public:
    SplitterView(FormRenderer& renderer, tk::Splitter& splitter, QWidget* parent)
        : QWidget(parent), ControlView(renderer, &splitter), splitter_(&splitter)
    {
    }
    void SyncFromControl() override
    {
        Qt::CursorShape shape = Vertical() ? Qt::SplitVCursor : Qt::SplitHCursor;
        if (cursor().shape() != shape) {
            setCursor(shape);
        }
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        last_ = event->globalPosition().toPoint();
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!(event->buttons() & Qt::LeftButton)) {
            return;
        }
        QPoint now = event->globalPosition().toPoint();
        int delta = Vertical() ? now.y() - last_.y() : now.x() - last_.x();
        last_ = now;
        if (delta != 0) {
            renderer_.Deliver([this, delta] { splitter_->DragBy(delta); });
        }
    }

private:
    bool Vertical() const
    {
        return splitter_->GetAlign() == tk::Align::Top || splitter_->GetAlign() == tk::Align::Bottom;
    }

    tk::Splitter* splitter_;
    QPoint last_;
};

}  // namespace

QColor ToQColor(tk::Color color, const QPalette& palette)
{
    if (color & tk::clSystemColor) {
        switch (color) {
        case tk::clWindow: return palette.color(QPalette::Base);
        case tk::clWindowText: return palette.color(QPalette::Text);
        case tk::clActiveCaption: return QColor(0, 0, 128);
        case tk::clInactiveCaption: return QColor(128, 128, 128);
        case tk::clCaptionText: return Qt::white;
        case tk::clInactiveCaptionText: return QColor(212, 208, 200);
        default: return palette.color(QPalette::Button);
        }
    }
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

std::pair<QWidget*, ControlView*> CreateControlView(FormRenderer& renderer, tk::Control& control, QWidget* parent)
{
    auto make = [](auto* view) { return std::pair<QWidget*, ControlView*>(view, view); };
    if (auto* memo = dynamic_cast<tk::Memo*>(&control)) {
        return make(new MemoView(renderer, *memo, parent));
    }
    if (auto* edit = dynamic_cast<tk::CustomEdit*>(&control)) {
        return make(new EditView(renderer, *edit, parent));
    }
    if (auto* combo = dynamic_cast<tk::ComboBox*>(&control)) {
        return make(new ComboView(renderer, *combo, parent));
    }
    if (auto* checkList = dynamic_cast<tk::CheckListBox*>(&control)) {
        return make(new CheckListView(renderer, *checkList, parent));
    }
    if (auto* list = dynamic_cast<tk::ListBox*>(&control)) {
        return make(new ListBoxView(renderer, *list, parent));
    }
    if (auto* grid = dynamic_cast<tk::StringGrid*>(&control)) {
        return make(new GridView(renderer, *grid, parent));
    }
    if (auto* pages = dynamic_cast<tk::PageControl*>(&control)) {
        return make(new PageControlView(renderer, *pages, parent));
    }
    if (auto* tree = dynamic_cast<tk::TreeView*>(&control)) {
        return make(new TreeViewView(renderer, *tree, parent));
    }
    if (auto* radio = dynamic_cast<tk::RadioButton*>(&control)) {
        return make(new CheckView<QRadioButton>(renderer, *radio, parent));
    }
    if (auto* check = dynamic_cast<tk::CheckBox*>(&control)) {
        return make(new CheckView<QCheckBox>(renderer, *check, parent));
    }
    if (auto* button = dynamic_cast<tk::Button*>(&control)) {
        return make(new ButtonView(renderer, *button, parent));
    }
    if (auto* splitter = dynamic_cast<tk::Splitter*>(&control)) {
        return make(new SplitterView(renderer, *splitter, parent));
    }
    if (dynamic_cast<tk::Label*>(&control)) {
        return make(new LabelView(renderer, control, parent));
    }
    return make(new PanelView(renderer, control, parent));
}

}  // namespace workbench
