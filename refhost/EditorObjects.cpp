// Module, editor, view, reader and writer over one buffer. Each holds the buffer itself, so it stays
// safe after the file was closed; it then answers empty results.

#include <algorithm>
#include <cstring>

#include "HostObjects.h"
#include "RefCounted.h"

namespace refhost {

namespace {

using hostapi::TEditPos;

class EditReader : public RefCounted<hostapi::TIEditReader> {
public:
    explicit EditReader(std::shared_ptr<EditBuffer> buffer) : buffer_(std::move(buffer)) {}

    int GetText(int32_t position, char* buffer, int count) override
    {
        if (!buffer_->IsOpen() || buffer == nullptr || position < 0 || count <= 0)
            return 0;
        return static_cast<int>(buffer_->CopyText(static_cast<size_t>(position), buffer,
                                                  static_cast<size_t>(count), cursor_));
    }

private:
    std::shared_ptr<EditBuffer> buffer_;
    CrLfCursor cursor_;
};

// Builds the new text from the text as it was when the writer was made; the buffer is replaced
// when the writer is released.
class EditWriter : public RefCounted<hostapi::TIEditWriter> {
public:
    EditWriter(std::shared_ptr<HostLink> link, std::shared_ptr<EditBuffer> buffer)
        : link_(std::move(link)), buffer_(std::move(buffer)), original_(buffer_->Text())
    {
    }

    ~EditWriter() override
    {
        if (!buffer_->IsOpen())
            return;
        result_.append(original_, position_, std::string::npos);
        if (buffer_->Replace(result_)) {
            buffer_->SetModified(true);
            if (link_->host)
                link_->host->BufferTextReplaced(*buffer_);
        }
    }

    bool CopyTo(int32_t position) override
    {
        size_t to;
        if (!Advance(position, to))
            return false;
        result_.append(original_, position_, to - position_);
        position_ = to;
        return true;
    }

    bool DeleteTo(int32_t position) override
    {
        size_t to;
        if (!Advance(position, to))
            return false;
        position_ = to;
        return true;
    }

    bool Insert(const std::string& text) override
    {
        if (!buffer_->IsOpen())
            return false;
        result_ += text;
        return true;
    }

    int32_t Position() override { return static_cast<int32_t>(position_); }

private:
    // Positions only move forward and stop at the end of the original text.
    bool Advance(int32_t position, size_t& to) const
    {
        if (!buffer_->IsOpen() || position < 0 || static_cast<size_t>(position) < position_)
            return false;
        to = std::min(static_cast<size_t>(position), original_.size());
        return true;
    }

    std::shared_ptr<HostLink> link_;
    std::shared_ptr<EditBuffer> buffer_;
    std::string original_;
    std::string result_;
    size_t position_ = 0;
};

class EditView : public RefCounted<hostapi::TIEditView> {
public:
    EditView(std::shared_ptr<HostLink> link, std::shared_ptr<EditBuffer> buffer)
        : link_(std::move(link)), buffer_(std::move(buffer))
    {
    }

    TEditPos GetPos(int index) override
    {
        if (!buffer_->IsOpen())
            return TEditPos{};
        return index == 1 ? buffer_->TopLine() : buffer_->Cursor();
    }

    void SetPos(int index, TEditPos value) override
    {
        if (!buffer_->IsOpen() || (index != 0 && index != 1))
            return;
        if (index == 0)
            buffer_->SetCursor(value);
        else
            buffer_->SetTopLine(value);
        if (link_->host)
            link_->host->ViewMoved(*buffer_);
    }

private:
    std::shared_ptr<HostLink> link_;
    std::shared_ptr<EditBuffer> buffer_;
};

class Editor : public RefCounted<hostapi::TIEditorInterface> {
public:
    Editor(std::shared_ptr<HostLink> link, std::shared_ptr<EditBuffer> buffer)
        : link_(std::move(link)), buffer_(std::move(buffer))
    {
    }

    hostapi::TIEditReader* CreateReader() override
    {
        return buffer_->IsOpen() ? new EditReader(buffer_) : nullptr;
    }
    hostapi::TIEditWriter* CreateWriter() override
    {
        return buffer_->IsOpen() ? new EditWriter(link_, buffer_) : nullptr;
    }
    std::string FileName() override { return buffer_->IsOpen() ? buffer_->FileName() : std::string(); }
    int32_t LinesInBuffer() override { return buffer_->IsOpen() ? buffer_->LineCount() : 0; }
    bool BufferModified() override { return buffer_->IsOpen() && buffer_->Modified(); }
    bool MarkModified() override
    {
        if (!buffer_->IsOpen())
            return false;
        buffer_->SetModified(true);
        return true;
    }
    int GetViewCount() override { return buffer_->IsOpen() ? 1 : 0; }
    hostapi::TIEditView* GetView(int index) override
    {
        return buffer_->IsOpen() && index == 0 ? new EditView(link_, buffer_) : nullptr;
    }
    TEditPos GetBlockStart() override { return buffer_->IsOpen() ? buffer_->BlockStart() : TEditPos{}; }
    TEditPos GetBlockAfter() override { return buffer_->IsOpen() ? buffer_->BlockAfter() : TEditPos{}; }
    void SetBlockStart(TEditPos value) override { SetBlock(value, &EditBuffer::SetBlockStart); }
    void SetBlockAfter(TEditPos value) override { SetBlock(value, &EditBuffer::SetBlockAfter); }

private:
    void SetBlock(TEditPos value, void (EditBuffer::*set)(TEditPos))
    {
        if (!buffer_->IsOpen())
            return;
        (buffer_.get()->*set)(value);
        if (link_->host)
            link_->host->ViewMoved(*buffer_);
    }

    std::shared_ptr<HostLink> link_;
    std::shared_ptr<EditBuffer> buffer_;
};

class Module : public RefCounted<hostapi::TIModuleInterface> {
public:
    Module(std::shared_ptr<HostLink> link, std::shared_ptr<EditBuffer> buffer)
        : link_(std::move(link)), buffer_(std::move(buffer))
    {
    }

    hostapi::TIEditorInterface* GetEditorInterface() override
    {
        return buffer_->IsOpen() ? new Editor(link_, buffer_) : nullptr;
    }
    hostapi::TIFormInterface* GetFormInterface() override { return nullptr; }
    bool ShowSource() override { return Usable() && link_->host->ShowFile(buffer_->FileName()); }
    bool ShowForm() override { return false; }
    bool Save(bool forceSave) override
    {
        if (!Usable())
            return false;
        if (!forceSave && !buffer_->Modified())
            return true;
        return link_->host->SaveFile(buffer_->FileName());
    }
    bool Close() override { return Usable() && link_->host->CloseFile(buffer_->FileName()); }

private:
    bool Usable() const { return buffer_->IsOpen() && link_->host != nullptr; }

    std::shared_ptr<HostLink> link_;
    std::shared_ptr<EditBuffer> buffer_;
};

}  // namespace

hostapi::TIModuleInterface* NewModule(std::shared_ptr<HostLink> link, std::shared_ptr<EditBuffer> buffer)
{
    return new Module(std::move(link), std::move(buffer));
}

}  // namespace refhost
