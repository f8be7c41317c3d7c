#pragma once
// Files dropped onto a window from the desktop. A window registers as a target; the front end puts
// the names of a drop into a drop handle and sends the window the files-dropped message carrying
// it; whoever handles the message reads the names and releases the handle.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

constexpr uint32_t WM_DROPFILES = 0x0233;
using HDROP = uintptr_t;

void DragAcceptFiles(uintptr_t window, bool accept);
bool AcceptsDroppedFiles(uintptr_t window);

// A new drop handle holding the names, in the order the desktop listed them.
HDROP CreateDrop(std::vector<std::string> fileNames);
// The number of files of a live handle; 0 for any other value.
unsigned DragQueryFileCount(HDROP drop);
// File index of the drop, cut to bufferSize - 1 bytes as a fixed buffer would; empty when the
// handle or index is not valid.
std::string DragQueryFile(HDROP drop, unsigned index, size_t bufferSize);
// Releases the handle; a released or unknown handle is left alone.
void DragFinish(HDROP drop);
// Handles made and not yet released.
size_t LiveDropCount();

}  // namespace platform
