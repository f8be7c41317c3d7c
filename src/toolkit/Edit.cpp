#include <algorithm>

#include "platform/Cp932.h"
#include "toolkit/StdCtrls.h"

namespace tk {

CustomEdit::CustomEdit(Component* owner) : Control(owner)
{
    SetTabStop(true);
    SetColor(clWindow);
}

void CustomEdit::SetSelStart(int start)
{
    selStart_ = std::clamp(start, 0, static_cast<int>(Text().size()));
    selLength_ = 0;
}

void CustomEdit::SetSelLength(int length)
{
    selLength_ = std::clamp(length, 0, static_cast<int>(Text().size()) - selStart_);
}

std::string CustomEdit::SelText() const
{
    return Text().substr(selStart_, selLength_);
}

void CustomEdit::SetSelText(const std::string& text)
{
    const std::string& old = Text();
    std::string next = old.substr(0, selStart_) + text + old.substr(selStart_ + selLength_);
    selStart_ += static_cast<int>(text.size());
    selLength_ = 0;
    SetText(std::move(next));
}

void CustomEdit::TypeText(std::string text)
{
    SetText(std::move(text));
    modified_ = true;
}

void CustomEdit::SelectAll()
{
    selStart_ = 0;
    selLength_ = static_cast<int>(Text().size());
}

void CustomEdit::TextChanged()
{
    int size = static_cast<int>(Text().size());
    selStart_ = std::min(selStart_, size);
    selLength_ = std::min(selLength_, size - selStart_);
    Change();
}

void CustomEdit::Change()
{
    if (OnChange) {
        OnChange(this);
    }
}

void CustomEdit::DefaultKeyPress(char key)
{
    if (readOnly_) {
        return;
    }
    if (key == '\b') {
        if (selLength_ == 0 && selStart_ > 0) {
            int start = PreviousCharStart(selStart_);
            selLength_ = selStart_ - start;
            selStart_ = start;
        }
        SetSelText({});
        modified_ = true;
        return;
    }
    if (static_cast<unsigned char>(key) < 0x20 || key == 0x7F) {
        return;
    }
    int kept = static_cast<int>(Text().size()) - selLength_;
    if (maxLength_ > 0 && kept >= maxLength_) {
        return;
    }
    SetSelText(std::string(1, key));
    modified_ = true;
}

void CustomEdit::DefaultKeyDown(uint16_t key, ShiftState shift)
{
    (void)shift;
    int size = static_cast<int>(Text().size());
    switch (key) {
    case VK_LEFT:
        SetSelStart(selLength_ > 0 ? selStart_ : PreviousCharStart(selStart_));
        break;
    case VK_RIGHT:
        SetSelStart(selLength_ > 0 ? selStart_ + selLength_ : NextCharEnd(selStart_));
        break;
    case VK_HOME:
        SetSelStart(0);
        break;
    case VK_END:
        SetSelStart(size);
        break;
    case VK_DELETE:
        if (readOnly_) {
            break;
        }
        if (selLength_ == 0) {
            selLength_ = NextCharEnd(selStart_) - selStart_;
        }
        if (selLength_ > 0) {
            SetSelText({});
            modified_ = true;
        }
        break;
    default:
        break;
    }
}

bool CustomEdit::WantsKey(uint16_t key, ShiftState shift) const
{
    (void)shift;
    return key == VK_LEFT || key == VK_RIGHT || key == VK_HOME || key == VK_END || key == VK_DELETE;
}

int CustomEdit::PreviousCharStart(int offset) const
{
    const std::string& text = Text();
    offset = std::clamp(offset, 0, static_cast<int>(text.size()));
    int previous = 0;
    for (int i = 0; i < offset;) {
        previous = i;
        i = NextCharEnd(i);
    }
    return previous;
}

int CustomEdit::NextCharEnd(int offset) const
{
    const std::string& text = Text();
    int size = static_cast<int>(text.size());
    if (offset >= size) {
        return size;
    }
    bool pair = (text[offset] == '\r' && offset + 1 < size && text[offset + 1] == '\n') ||
                (platform::IsLeadByte(static_cast<unsigned char>(text[offset])) && offset + 1 < size);
    return offset + (pair ? 2 : 1);
}

Edit::Edit(Component* owner) : CustomEdit(owner)
{
    SetBounds(0, 0, 121, 21);
}

Memo::Memo(Component* owner) : CustomEdit(owner)
{
    SetBounds(0, 0, 185, 89);
    lines_.OnChange = [this] {
        if (syncing_) {
            return;
        }
        syncing_ = true;
        SetText(lines_.Text());
        syncing_ = false;
    };
}

int Memo::CaretLine() const
{
    const std::string& text = Text();
    int line = 0;
    for (int i = 0; i < SelStart(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= static_cast<int>(text.size()) || text[i + 1] != '\n'))) {
            ++line;
        }
    }
    return line;
}

int Memo::CaretColumn() const
{
    return SelStart() - LineStart(SelStart());
}

int Memo::LineStart(int offset) const
{
    const std::string& text = Text();
    while (offset > 0 && text[offset - 1] != '\n' && text[offset - 1] != '\r') {
        --offset;
    }
    return offset;
}

int Memo::LineEnd(int offset) const
{
    const std::string& text = Text();
    int size = static_cast<int>(text.size());
    while (offset < size && text[offset] != '\n' && text[offset] != '\r') {
        ++offset;
    }
    return offset;
}

void Memo::TextChanged()
{
    if (!syncing_) {
        syncing_ = true;
        lines_.SetText(Text());
        syncing_ = false;
    }
    CustomEdit::TextChanged();
}

void Memo::DefaultKeyPress(char key)
{
    if (key == '\r' || key == '\n') {
        if (!ReadOnly()) {
            SetSelText("\r\n");
            SetModified(true);
        }
        return;
    }
    CustomEdit::DefaultKeyPress(key);
}

void Memo::DefaultKeyDown(uint16_t key, ShiftState shift)
{
    int caret = SelStart();
    switch (key) {
    case VK_HOME:
        SetSelStart(LineStart(caret));
        break;
    case VK_END:
        SetSelStart(LineEnd(caret));
        break;
    case VK_UP:
    case VK_DOWN: {
        int column = caret - LineStart(caret);
        int target;
        if (key == VK_UP) {
            int start = LineStart(caret);
            if (start == 0) {
                break;
            }
            target = LineStart(PreviousCharStart(start));
        } else {
            int end = LineEnd(caret);
            if (end >= static_cast<int>(Text().size())) {
                break;
            }
            target = NextCharEnd(end);
        }
        SetSelStart(std::min(target + column, LineEnd(target)));
        break;
    }
    default:
        CustomEdit::DefaultKeyDown(key, shift);
        break;
    }
}

bool Memo::WantsKey(uint16_t key, ShiftState shift) const
{
    return key == VK_UP || key == VK_DOWN || key == VK_RETURN || CustomEdit::WantsKey(key, shift);
}

}  // namespace tk
