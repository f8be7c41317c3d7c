#pragma once
// Object Pascal source for a class described by a property table: a whole unit file, or the class
// definition (declaration and method bodies) that the tool window's memo collects. Both are
// templates the user completes: the lines follow fixed patterns, placeholders included.

#include <string>
#include <vector>

#include "controls/RyCtrlGrid.h"

namespace quorlin {

// The columns of a property table: name, type, read and write kinds, class kind and comment.
std::vector<TRyGridColumn> PropertyColumns();

struct ClassDescription {
    std::string ClassName;
    std::string BaseName;
    // Each field declaration followed by its row's comment.
    bool Comments = false;
    // 0 "//", 1 "(* *)", 2 "{ }"; a comment whose text would end its style early goes in "//".
    int CommentStyle = 0;
};

// The lines of the unit file unitName (no folder, no extension); comment lines go to its head.
std::vector<std::string> ClassUnitLines(const std::string& unitName, const TRyCtrlGrid& table,
                                        const ClassDescription& description,
                                        const std::vector<std::string>& unitComment);

// The class definition, from the class heading to "end.".
std::vector<std::string> ClassDefinitionLines(const TRyCtrlGrid& table, const ClassDescription& description);

}  // namespace quorlin
