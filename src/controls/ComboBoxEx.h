#pragma once
// The control library's combo box: a selection event for the user's choices, focus navigation to
// neighbouring controls, numeric-only input, drop-down on focus, mouse enter/leave events and file
// paths drawn with an ellipsis in the middle.

#include <memory>
#include <string>

#include "controls/NextCtrl.h"
#include "toolkit/StdCtrls.h"

namespace quorlin {

enum class TDispStyle { dsNormal, dsFilePath };

class TComboBoxEx : public tk::ComboBox {
public:
    explicit TComboBoxEx(tk::Component* owner);
    ~TComboBoxEx() override;

    bool AutoDropDown() const { return autoDropDown_; }
    void SetAutoDropDown(bool value) { autoDropDown_ = value; }
    // A related control, cleared when it is destroyed.
    tk::Control* Control() const { return control_; }
    void SetControl(tk::Control* control);
    bool AddToLinkList() const { return addToLinkList_; }
    void SetAddToLinkList(bool value) { addToLinkList_ = value; }
    TDispStyle DispStyle() const { return dispStyle_; }
    void SetDispStyle(TDispStyle style) { dispStyle_ = style; }
    TXKeyNextControl* NextFocus() const { return nextFocus_.get(); }
    const std::string& LabelCaption() const { return labelCaption_; }
    void SetLabelCaption(std::string caption) { labelCaption_ = std::move(caption); }
    bool DataCheck() const { return dataCheck_; }
    void SetDataCheck(bool value) { dataCheck_ = value; }
    tk::Strings& LinkList() { return linkList_; }
    const tk::Strings& LinkList() const { return linkList_; }
    void SetLinkList(const tk::Strings& lines) { linkList_.Assign(lines.Items()); }
    bool NumOnly() const { return numOnly_; }
    void SetNumOnly(bool value) { numOnly_ = value; }
    bool AllowSign() const { return allowSign_; }
    void SetAllowSign(bool value) { allowSign_ = value; }
    bool AllowFloatPoint() const { return allowFloatPoint_; }
    void SetAllowFloatPoint(bool value) { allowFloatPoint_ = value; }
    bool MouseInside() const { return mouseInside_; }

    // A drop-down list selects the item with text s (none when absent); other styles take s as text.
    void SetItemText(const std::string& s);

    std::string DrawItemText(int index, int width,
                             const std::function<int(const std::string&)>& measure) const override;
    void MouseEnter() override;
    void MouseLeave() override;
    // A choice in the open list is a choice, however the keys moved through it before.
    void ChooseItem(int index) override;

    // The user chose an item or changed the text; not raised while moving through the open list.
    tk::NotifyEvent OnSelect;
    tk::NotifyEvent OnMouseEnter;
    tk::NotifyEvent OnMouseLeave;

protected:
    void KeyDown(uint16_t& key, tk::ShiftState shift) override;
    void KeyPress(char& key) override;
    void Change() override;
    void Notification(tk::Component* component, tk::Operation operation) override;

private:
    void DoEnter() override;
    // Moves the focus to target when it is set and navigation is enabled; answers whether it moved.
    bool MoveFocus(tk::Control* target);

    bool autoDropDown_ = false;
    tk::Control* control_ = nullptr;
    bool addToLinkList_ = false;
    TDispStyle dispStyle_ = TDispStyle::dsNormal;
    std::unique_ptr<TXKeyNextControl> nextFocus_;
    std::string labelCaption_;
    bool dataCheck_ = true;
    tk::Strings linkList_;
    bool numOnly_ = false;
    bool allowSign_ = true;
    bool allowFloatPoint_ = true;
    bool listMoving_ = false;
    bool mouseInside_ = false;
};

}  // namespace quorlin
