#pragma once
// The routines that copy an object's properties to and from a storage, as lines of Object Pascal:
// a data set addressed field by field, or a control grid addressed column by column. Entry i of
// typeWords is the type word of the property named by entry i of propNames; each property gives
// one line in each routine. The class and item types are left as Txxxx and T for the user.

#include <string>
#include <vector>

namespace quorlin {

std::vector<std::string> DataSetAccessCode(const std::vector<std::string>& typeWords,
                                           const std::vector<std::string>& propNames);
std::vector<std::string> CtrlGridAccessCode(const std::vector<std::string>& typeWords,
                                            const std::vector<std::string>& propNames);

}  // namespace quorlin
