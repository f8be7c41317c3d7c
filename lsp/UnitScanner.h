#pragma once
// The tool window's routine list of one unit, taken as the routines command takes it: the unit is
// chosen in the unit list with the list unsorted, and the list's entries are read.

#include <string>
#include <vector>

#include "ServerDesktop.h"
#include "refhost/RefHost.h"
#include "toolkit/Form.h"

namespace lsp {

class UnitScanner {
public:
    UnitScanner(refhost::Host& host, tk::Form& toolWindow, ServerDesktop& desktop);

    // Switches the routine list to source order; false with the reason when the window cannot.
    bool Prepare(std::string& error);

    struct Result {
        std::vector<std::string> Entries;  // code page 932 or UTF-8, as the unit's bytes are
        std::string Text;                  // the buffer's text, CR LF line breaks
        std::vector<std::string> Notices;  // the add-in's warnings while it scanned
    };
    // The unit is taken from its open buffer, else read from disk for the scan; false with the
    // reason when it cannot be read.
    bool Scan(const std::string& path, Result& result, std::string& reason);

private:
    refhost::Host& host_;
    tk::Form& toolWindow_;
    ServerDesktop& desktop_;
};

}  // namespace lsp
