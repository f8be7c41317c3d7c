#pragma once
// The component catalogue: installed packages, the classes each registers, and every class's
// published properties in declaration order, ancestors first. Read from catalogue files:
//
//   package NAME: TClass TClass ...
//   class TName: TParent
//     Property Code Type [= Default]      (the properties a class adds or gives a new default)
//   enum TType: value value ...
//
// Lines starting with '#' are comments. A later file may add packages, classes and enumerations.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "hostapi/ToolIntf.h"

namespace refhost {

struct PublishedProperty {
    std::string Name;
    hostapi::TPropertyType Type = hostapi::ptUnknown;
    std::string TypeName;
    std::string Default;  // as a form file would write it; empty when there is none
};

struct CataloguePackage {
    std::string Name;
    std::vector<std::string> Classes;
};

class Catalogue {
public:
    // The catalogue the host ships, then every "*.cat" file of folder (when given) in name order.
    static Catalogue Installed(const std::string& folder);

    // Adds the text of one catalogue file; false, with a line number in error, for a line it does not
    // understand (the lines before it stay added).
    bool Add(std::string_view text, std::string& error);

    const std::vector<CataloguePackage>& Packages() const { return packages_; }
    bool HasClass(const std::string& className) const;
    // Ancestors first; empty for a class the catalogue does not know.
    std::vector<PublishedProperty> Properties(const std::string& className) const;
    // Whether className is ancestor or descends from it.
    bool InheritsFrom(const std::string& className, const std::string& ancestor) const;
    // The values of an enumeration or of the enumeration a set is of, when known.
    const std::vector<std::string>* EnumValues(const std::string& typeName) const;

private:
    struct ClassEntry {
        std::string Name;
        std::string Parent;
        std::vector<PublishedProperty> Own;
    };
    const ClassEntry* Find(const std::string& className) const;

    std::vector<CataloguePackage> packages_;
    std::map<std::string, ClassEntry> classes_;                  // by upper-cased name
    std::map<std::string, std::vector<std::string>> enums_;      // by upper-cased name
};

}  // namespace refhost
