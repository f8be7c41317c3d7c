#pragma once
// The standard controls: label, single- and multi-line edits, buttons, check box, list box and
// combo box.

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Control.h"
#include "toolkit/Strings.h"

namespace tk {

class Label : public Control {
public:
    explicit Label(Component* owner);
    Control* FocusControl = nullptr;

protected:
    // Clears FocusControl when that control, owned by the label's owner, is destroyed.
    void Notification(Component* component, Operation operation) override;
};

// Text a person can type into: caret, selection, change event.
class CustomEdit : public Control {
public:
    explicit CustomEdit(Component* owner);

    int SelStart() const { return selStart_; }
    int SelLength() const { return selLength_; }
    void SetSelStart(int start);
    void SetSelLength(int length);
    std::string SelText() const;
    // Replaces the selection with text and puts the caret after it.
    void SetSelText(const std::string& text);
    void SelectAll();
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length) { maxLength_ = length; }
    // Set when a person changes the text; the program clears it after it replaces the content.
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    // A person changed the whole text to text (a front end's editor did the typing).
    void TypeText(std::string text);

    NotifyEvent OnChange;

protected:
    void TextChanged() override;
    virtual void Change();
    void DefaultKeyPress(char key) override;
    void DefaultKeyDown(uint16_t key, ShiftState shift) override;
    bool WantsKey(uint16_t key, ShiftState shift) const override;
    // Byte offsets of the character before and after an offset; CR LF and two-byte characters
    // count as one character.
    int PreviousCharStart(int offset) const;
    int NextCharEnd(int offset) const;

private:
    int selStart_ = 0;
    int selLength_ = 0;
    bool readOnly_ = false;
    int maxLength_ = 0;
    bool modified_ = false;
};

class Edit : public CustomEdit {
public:
    explicit Edit(Component* owner);
};

enum class ScrollStyle { None, Horizontal, Vertical, Both };

// A multi-line edit; Lines and Text are two views of the same content.
class Memo : public CustomEdit {
public:
    explicit Memo(Component* owner);

    Strings& Lines() { return lines_; }
    const Strings& Lines() const { return lines_; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap) { wordWrap_ = wrap; }
    ScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(ScrollStyle style) { scrollBars_ = style; }
    // The caret's line (0-based) and the byte offset within that line.
    int CaretLine() const;
    int CaretColumn() const;

protected:
    void TextChanged() override;
    void DefaultKeyPress(char key) override;
    void DefaultKeyDown(uint16_t key, ShiftState shift) override;
    bool WantsKey(uint16_t key, ShiftState shift) const override;

private:
    int LineStart(int offset) const;
    int LineEnd(int offset) const;

    Strings lines_;
    bool wordWrap_ = true;
    ScrollStyle scrollBars_ = ScrollStyle::None;
    bool syncing_ = false;
};

class Button : public Control {
public:
    explicit Button(Component* owner);
    // Runs OnClick, then hands a non-zero ModalResult to the form.
    void Click() override;
    int ModalResult = mrNone;
    bool Default = false;  // Enter in the form presses it
    bool Cancel = false;   // Esc in the form presses it

protected:
    void DefaultKeyDown(uint16_t key, ShiftState shift) override;
    bool WantsKey(uint16_t key, ShiftState shift) const override;
};

class CheckBox : public Control {
public:
    explicit CheckBox(Component* owner);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    // A person's click toggles the mark, then OnClick.
    void Click() override;

protected:
    void DefaultKeyDown(uint16_t key, ShiftState shift) override;
    bool WantsKey(uint16_t key, ShiftState shift) const override;
    // Clears the other radio buttons of the same parent.
    void UncheckSiblings();

private:
    bool checked_ = false;
};

class RadioButton : public CheckBox {
public:
    explicit RadioButton(Component* owner);
    // Checking one clears the other radio buttons of the same parent.
    void Click() override;
};

class ListBox : public Control {
public:
    explicit ListBox(Component* owner);

    Strings& Items() { return items_; }
    const Strings& Items() const { return items_; }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool multiSelect);
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int SelCount() const;
    bool Sorted() const { return items_.Sorted(); }
    void SetSorted(bool sorted) { items_.SetSorted(sorted); }
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height) { itemHeight_ = height; }
    // A person's click on an item: selects it (toggles it in a multi-select list), then OnClick.
    void ClickItem(int index, ShiftState shift = 0);

protected:
    void DefaultKeyDown(uint16_t key, ShiftState shift) override;
    bool WantsKey(uint16_t key, ShiftState shift) const override;

private:
    void ItemsChanged();

    Strings items_;
    std::vector<bool> selected_;
    int itemIndex_ = -1;
    bool multiSelect_ = false;
    int itemHeight_ = 13;
};

enum class ComboStyle { DropDown, Simple, DropDownList, OwnerDrawFixed, OwnerDrawVariable };

// A combo box. Selection changes raise Change (OnChange) and then Click (OnClick), as a person's
// choice from the list does.
class ComboBox : public Control {
public:
    explicit ComboBox(Component* owner);

    ComboStyle Style() const { return style_; }
    void SetStyle(ComboStyle style) { style_ = style; }
    // True when the box has no edit field of its own (drop-down list and owner-drawn styles).
    bool IsListOnly() const;
    Strings& Items() { return items_; }
    const Strings& Items() const { return items_; }
    int ItemIndex() const { return itemIndex_; }
    // Selects an item (-1 for none) and shows its text; raises no events.
    void SetItemIndex(int index);
    bool Sorted() const { return items_.Sorted(); }
    void SetSorted(bool sorted);
    bool DroppedDown() const { return droppedDown_; }
    void SetDroppedDown(bool dropped);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int count) { dropDownCount_ = count; }
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height) { itemHeight_ = height; }
    // Caret position in the edit field.
    int SelStart() const { return selStart_; }
    void SetSelStart(int start) { selStart_ = start; }

    // A person chose item index from the open list (or the list of a simple box): it is selected,
    // Change and Click follow, and the list closes.
    virtual void ChooseItem(int index);
    // A person typed into the edit field: the text changes and Change follows.
    void TypeText(const std::string& text);

    // The text to draw for an item in the given width, where measure answers the width of a text.
    // Owner-drawn boxes override it.
    virtual std::string DrawItemText(int index, int width,
                                     const std::function<int(const std::string&)>& measure) const;

    NotifyEvent OnChange;
    NotifyEvent OnDropDown;
    NotifyEvent OnCloseUp;

protected:
    virtual void Change();
    void DefaultKeyDown(uint16_t key, ShiftState shift) override;
    bool WantsKey(uint16_t key, ShiftState shift) const override;
    // Typing edits the text at the caret (editable styles) or picks an item by its first letter.
    void DefaultKeyPress(char key) override;
    void TextChanged() override;

private:
    void ItemsChanged();
    void MoveSelection(int delta);
    void ShowText(std::string text);

    ComboStyle style_ = ComboStyle::DropDown;
    Strings items_;
    int itemIndex_ = -1;
    bool droppedDown_ = false;
    int dropDownCount_ = 8;
    int itemHeight_ = 16;
    int selStart_ = 0;
    bool settingText_ = false;
};

}  // namespace tk
