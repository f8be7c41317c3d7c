#pragma once
// Reading a project file (.dpr): the files its uses clause names with "in '...'".

#include <string>
#include <vector>

namespace refhost {

// The unit files of a project source, in order, each resolved against projectFolder (which ends
// with a separator) and normalised. Comments, units without a file and text after the clause's
// ';' are ignored.
std::vector<std::string> ParseProjectUnits(const std::string& source, const std::string& projectFolder);

// The source with "unitName in 'path'" added at the end of its uses clause, or in a new uses clause
// after the program heading when it has none.
std::string AddProjectUnit(const std::string& source, const std::string& unitName, const std::string& path);

}  // namespace refhost
