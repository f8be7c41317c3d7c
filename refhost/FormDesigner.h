#pragma once
// The designer of one unit's form: the form file read, its objects in stream order, the designer's
// selection and renames written back into the form file and the unit's class declaration.

#include <memory>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "forms/FormFile.h"

namespace refhost {

// A property of a designed object as the designer shows it.
struct DesignedProperty {
    std::string Name;
    hostapi::TPropertyType Type = hostapi::ptUnknown;
    std::string TypeName;
    const forms::FormValue* Stored = nullptr;  // the value in the form file, if it has one
    std::string Default;                       // the catalogue's default otherwise
};

class FormDesigner {
public:
    // Reads formFile; on failure null, with problem naming the file and the offset.
    static std::shared_ptr<FormDesigner> Load(const std::string& formFile, const std::string& unitFile,
                                              const Catalogue& catalogue, std::string& problem);

    const std::string& FileName() const { return formFile_; }
    const std::string& UnitFileName() const { return unitFile_; }
    const forms::FormFile& File() const { return file_; }
    bool IsOpen() const { return open_; }
    void MarkClosed() { open_ = false; }
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // Every object of the form in stream order; the form itself first.
    int ObjectCount() const { return static_cast<int>(objects_.size()); }
    const forms::FormObject& Object(int index) const { return *objects_[index].Object; }
    int Parent(int index) const { return objects_[index].Parent; }
    int Depth(int index) const { return objects_[index].Depth; }
    // The objects index owns: the form owns all but the inside of inline frames, a frame its inside.
    std::vector<int> Owned(int index) const;
    // The first object of that name (without regard to case), or -1.
    int Find(const std::string& name) const;

    // The published properties of object index, or of its sub-object at the dotted prefix ("Font.")
    // with the sub-object's class; class names the catalogue does not know list what the file stores.
    std::vector<DesignedProperty> Properties(int index, const std::string& prefix, const std::string& className) const;
    // The class the catalogue describes an object by: its own, or for the form the ancestor the unit
    // declares (TForm when none is found).
    std::string CatalogueClass(int index) const;
    const Catalogue& Components() const { return catalogue_; }

    const std::vector<int>& Selection() const { return selection_; }
    void Select(std::vector<int> selection) { selection_ = std::move(selection); }

    // Renames object index in the form file (kept in memory until saved) and answers the unit's
    // source with the class declaration renamed; false when the name is refused: an inherited
    // object's, or one that is not a component name, names another object or the form class
    // already uses.
    bool Rename(int index, const std::string& newName, std::string& unitSource);

private:
    struct Entry {
        const forms::FormObject* Object;
        int Parent;
        int Depth;
        bool InFrame;  // inside an inline object: owned by the frame, not the form
    };
    FormDesigner(std::string formFile, std::string unitFile, forms::FormFile file, const Catalogue& catalogue);
    void Index();
    void AddObjects(const forms::FormObject& object, int parent, int depth, bool inFrame);
    // Whether a component field may take name: the form class's own name, a member its declaration
    // in the unit names (but the field of oldName) and a property it publishes would clash with it.
    bool FreeInFormClass(const std::string& name, const std::string& oldName, const std::string& unitSource) const;

    std::string formFile_;
    std::string unitFile_;
    forms::FormFile file_;
    const Catalogue& catalogue_;
    std::vector<Entry> objects_;
    std::vector<int> selection_;
    std::string formAncestor_;
    bool open_ = true;
    bool modified_ = false;
};

// A property's value as a property table shows it: the stored value, or the default.
std::string PropertyText(const DesignedProperty& property);

// The form file beside a unit (.dfm in either case), or empty.
std::string FormFileOf(const std::string& unitFile);

}  // namespace refhost
