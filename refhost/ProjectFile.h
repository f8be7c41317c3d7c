#pragma once
// Reading a project file (.dpr): the files its uses clause names with "in '...'".

#include <string>
#include <vector>

namespace refhost {

// The unit files of a project source, in order, each resolved against projectFolder (which ends
// with a separator) and normalised. Comments, units without a file and text after the clause's
// ';' are ignored.
std::vector<std::string> ParseProjectUnits(const std::string& source, const std::string& projectFolder);

}  // namespace refhost
