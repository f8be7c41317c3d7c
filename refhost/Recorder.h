#pragma once
// A recording wrapper around tool services, for tests that check the order of host calls and
// releases. Every object handed out through the wrapper is wrapped in turn.
//
// Log format, one line per call:
//   <Kind>[(<label>)].<Method>[(<arguments>)]     a call, e.g. "MenuItem(EditMenu).GetItemCount"
//   Release <Kind>[(<label>)]                     a Release, e.g. "Release Editor(Unit1.pas)"
//   AddRef <Kind>[(<label>)]
// Kinds and labels: ToolServices and MainMenu have no label; MenuItem(<item name>, empty for the
// root); Module, Editor, Reader, Writer, View (<file name without folder>); Form(<form file name
// without folder>); Component(<component type>). Arguments are comma-separated without blanks:
// numbers in decimal, names as given, editor positions as <col>:<line>; InsertItem logs its index
// and name, Insert the number of bytes inserted, GetText its offset and count.

#include <memory>
#include <string>
#include <vector>

#include "hostapi/ToolIntf.h"

namespace refhost {

class Recorder {
public:
    Recorder();

    // Takes over the caller's reference to services; the wrapper starts with a count of 1 and its
    // last Release releases services.
    hostapi::TIToolServices* Wrap(hostapi::TIToolServices* services);

    const std::vector<std::string>& Log() const;
    void Clear();

private:
    std::shared_ptr<std::vector<std::string>> log_;
};

}  // namespace refhost
