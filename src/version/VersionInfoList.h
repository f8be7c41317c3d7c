#pragma once
// The string values of a file's version resource as the version reader keeps them: eight
// standard values in a fixed order, read through the platform's version-information functions.

#include <string>
#include <vector>

namespace quorlin {

// The keys of the eight entries, in entry order.
extern const char* const VersionInfoKeys[8];

// Reads the version resource of fileName into list:
// - none: "No Version Info" is appended (the list is not cleared first);
// - no translation table: the list is left as it is;
// - else the list is cleared and gets the eight values of the string table of the first
//   translation, "None" for each that is missing or empty. Texts are in code page 932.
void ReadVersionInfoList(const std::string& fileName, std::vector<std::string>& list);

}  // namespace quorlin
