#pragma once
// A form class's declaration in its unit's source, as the designer reads and changes it: the
// ancestor, the names of its members, and a component's field renamed.

#include <string>
#include <vector>

namespace refhost {

// The unit's source with every identifier oldName inside the declaration of className renamed;
// comments and strings are left alone. Unchanged when there is no such declaration.
std::string RenameInClassDeclaration(const std::string& source, const std::string& className,
                                     const std::string& oldName, const std::string& newName);
// The ancestor in the unit's "className = class(Ancestor)", or empty.
std::string DeclaredAncestor(const std::string& source, const std::string& className);
// The fields, methods and properties the declaration of className names, in their order; empty
// when there is no such declaration.
std::vector<std::string> DeclaredMembers(const std::string& source, const std::string& className);

}  // namespace refhost
