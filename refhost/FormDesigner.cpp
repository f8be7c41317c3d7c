#include "FormDesigner.h"

#include <algorithm>

#include "ClassDeclaration.h"
#include "EditBuffer.h"
#include "platform/Cp932.h"
#include "platform/FilePath.h"
#include "platform/Utf16.h"

namespace refhost {

namespace {

using forms::FormObject;
using forms::FormProperty;
using forms::FormValue;

hostapi::TPropertyType InferredType(const std::string& name, const FormValue& value)
{
    using Kind = FormValue::Kind;
    switch (value.Type) {
    case Kind::Integer:
    case Kind::Int64:
        return hostapi::ptInteger;
    case Kind::Extended:
    case Kind::Single:
    case Kind::Double:
    case Kind::Currency:
    case Kind::Date:
        return hostapi::ptFloat;
    case Kind::String:
    case Kind::Utf8String:
        return hostapi::ptLString;
    case Kind::WideString:
        return hostapi::ptLWString;
    case Kind::Ident:
        return name.size() > 2 && platform::SameText(name.substr(0, 2), "On") ? hostapi::ptMethod
                                                                               : hostapi::ptEnumeration;
    case Kind::False:
    case Kind::True:
        return hostapi::ptEnumeration;
    case Kind::Set:
        return hostapi::ptSet;
    default:
        return hostapi::ptClass;
    }
}

const FormValue* StoredValue(const FormObject& object, const std::string& name)
{
    for (const FormProperty& property : object.Properties) {
        if (platform::SameText(property.Name, name))
            return &property.Value;
    }
    return nullptr;
}

std::string ValueText(const FormValue& value)
{
    using Kind = FormValue::Kind;
    switch (value.Type) {
    case Kind::Integer:
    case Kind::Int64:
        return std::to_string(value.Int);
    case Kind::Currency:
        return std::to_string(static_cast<double>(value.Int) / 10000.0);
    case Kind::Extended:
    case Kind::Single:
    case Kind::Double:
    case Kind::Date:
        return std::to_string(static_cast<double>(value.Float));
    case Kind::String:
    case Kind::Ident:
        return value.Text;
    case Kind::Utf8String:
        return platform::Utf8ToCp932(value.Text);
    case Kind::WideString:
        return platform::Utf8ToCp932(platform::Utf16ToUtf8(value.Wide));
    case Kind::False:
        return "False";
    case Kind::True:
        return "True";
    case Kind::Nil:
    case Kind::Null:
        return "nil";
    case Kind::Set: {
        std::string text = "[";
        for (size_t i = 0; i < value.Names.size(); ++i)
            text += (i ? ", " : "") + value.Names[i];
        return text + "]";
    }
    case Kind::List:
        return "(" + std::to_string(value.Elements.size()) + ")";
    case Kind::Collection:
        return "<" + std::to_string(value.Items.size()) + ">";
    case Kind::Binary:
        return "{" + std::to_string(value.Text.size()) + "}";
    }
    return std::string();
}

}  // namespace

std::string PropertyText(const DesignedProperty& property)
{
    if (property.Stored)
        return ValueText(*property.Stored);
    if (property.Type == hostapi::ptClass)
        return property.TypeName.empty() ? std::string() : "(" + property.TypeName + ")";
    return property.Default;
}

std::string FormFileOf(const std::string& unitFile)
{
    for (const char* extension : {".dfm", ".DFM"}) {
        std::string form = platform::ChangeFileExt(unitFile, extension);
        if (platform::FileExists(form))
            return form;
    }
    return std::string();
}

FormDesigner::FormDesigner(std::string formFile, std::string unitFile, forms::FormFile file, const Catalogue& catalogue)
    : formFile_(std::move(formFile)), unitFile_(std::move(unitFile)), file_(std::move(file)), catalogue_(catalogue)
{
    Index();
}

std::shared_ptr<FormDesigner> FormDesigner::Load(const std::string& formFile, const std::string& unitFile,
                                                 const Catalogue& catalogue, std::string& problem)
{
    std::string bytes;
    if (!platform::ReadWholeFile(formFile, bytes)) {
        problem = formFile + ": cannot be read";
        return nullptr;
    }
    forms::FormFile file;
    forms::FormError error;
    if (!forms::ReadFormFile(std::move(bytes), file, error)) {
        problem = forms::DescribeFormError(formFile, error);
        return nullptr;
    }
    std::shared_ptr<FormDesigner> designer(new FormDesigner(formFile, unitFile, std::move(file), catalogue));
    std::string source;
    if (platform::ReadWholeFile(unitFile, source))
        designer->formAncestor_ = DeclaredAncestor(source, designer->file_.Root.ClassName);
    designer->selection_ = {0};
    return designer;
}

void FormDesigner::Index()
{
    objects_.clear();
    AddObjects(file_.Root, -1, 0, false);
}

void FormDesigner::AddObjects(const FormObject& object, int parent, int depth, bool inFrame)
{
    int index = static_cast<int>(objects_.size());
    objects_.push_back({&object, parent, depth, inFrame});
    bool frame = index > 0 && object.Kind == FormObject::Header::Inline;
    for (const FormObject& child : object.Children)
        AddObjects(child, index, depth + 1, inFrame || frame);
}

std::vector<int> FormDesigner::Owned(int index) const
{
    std::vector<int> owned;
    if (index == 0) {
        for (int i = 1; i < ObjectCount(); ++i) {
            if (!objects_[i].InFrame)
                owned.push_back(i);
        }
        return owned;
    }
    if (Object(index).Kind != FormObject::Header::Inline)
        return owned;
    // The frame owns the objects inside it, but not the inside of frames nested in it.
    for (int i = index + 1; i < ObjectCount() && Depth(i) > Depth(index); ++i) {
        int frame = -1;
        for (int up = Parent(i); up > 0 && up != index; up = Parent(up)) {
            if (Object(up).Kind == FormObject::Header::Inline)
                frame = up;
        }
        if (frame < 0)
            owned.push_back(i);
    }
    return owned;
}

int FormDesigner::Find(const std::string& name) const
{
    for (int i = 0; i < ObjectCount(); ++i) {
        if (!Object(i).Name.empty() && platform::SameText(Object(i).Name, name))
            return i;
    }
    return -1;
}

std::string FormDesigner::CatalogueClass(int index) const
{
    const FormObject& object = Object(index);
    if (catalogue_.HasClass(object.ClassName))
        return object.ClassName;
    if (index == 0)
        return catalogue_.HasClass(formAncestor_) ? formAncestor_ : "TForm";
    if (object.Kind == FormObject::Header::Inline)
        return "TFrame";
    return object.ClassName;
}

std::vector<DesignedProperty> FormDesigner::Properties(int index, const std::string& prefix,
                                                       const std::string& className) const
{
    const FormObject& object = Object(index);
    std::vector<DesignedProperty> properties;
    if (catalogue_.HasClass(className)) {
        for (const PublishedProperty& published : catalogue_.Properties(className)) {
            DesignedProperty property{published.Name, published.Type, published.TypeName, nullptr, published.Default};
            property.Stored = StoredValue(object, prefix + published.Name);
            if (prefix.empty() && platform::SameText(published.Name, "Name"))
                property.Default = object.Name;
            properties.push_back(std::move(property));
        }
        return properties;
    }
    // A class the catalogue does not know: its name, as every component has one, then what the file
    // stores, sub-objects as class properties.
    if (prefix.empty())
        properties.push_back({"Name", hostapi::ptLString, "TComponentName", nullptr, object.Name});
    for (const FormProperty& stored : object.Properties) {
        if (stored.Name.size() <= prefix.size() || !platform::SameText(stored.Name.substr(0, prefix.size()), prefix))
            continue;
        std::string rest = stored.Name.substr(prefix.size());
        size_t dot = rest.find('.');
        std::string name = rest.substr(0, dot);
        if (std::any_of(properties.begin(), properties.end(),
                        [&](const DesignedProperty& p) { return platform::SameText(p.Name, name); }))
            continue;
        if (dot != std::string::npos)
            properties.push_back({name, hostapi::ptClass, std::string(), nullptr, std::string()});
        else
            properties.push_back({name, InferredType(name, stored.Value), std::string(), &stored.Value, std::string()});
    }
    return properties;
}

bool FormDesigner::Rename(int index, const std::string& newName, std::string& unitSource)
{
    if (index <= 0 || index >= ObjectCount())
        return false;
    std::string oldName = Object(index).Name;
    if (oldName.empty())
        return false;
    if (oldName == newName)
        return true;
    // An inherited object keeps the name its ancestor gives it; a field must not clash with the class.
    if (Object(index).Kind == FormObject::Header::Inherited || !FreeInFormClass(newName, oldName, unitSource))
        return false;
    // An identifier value is renamed where it refers to a component: a class property, or in classes
    // the catalogue does not know any value but an event handler's name.
    auto isReference = [this](const std::string& className, const std::string& propertyName) {
        if (propertyName.find('.') == std::string::npos && catalogue_.HasClass(className)) {
            for (const PublishedProperty& property : catalogue_.Properties(className)) {
                if (platform::SameText(property.Name, propertyName))
                    return property.Type == hostapi::ptClass;
            }
            return false;
        }
        std::string last = propertyName.substr(propertyName.rfind('.') + 1);
        return !(last.size() > 2 && platform::SameText(last.substr(0, 2), "On"));
    };
    std::string rootClass = file_.Root.ClassName;
    if (!forms::RenameFormObject(file_, Object(index), newName, isReference))
        return false;
    Index();
    modified_ = true;
    unitSource = RenameInClassDeclaration(unitSource, rootClass, oldName, newName);
    return true;
}

bool FormDesigner::FreeInFormClass(const std::string& name, const std::string& oldName, const std::string& unitSource) const
{
    const std::string& formClass = file_.Root.ClassName;
    if (platform::SameText(name, formClass))
        return false;
    for (const std::string& member : DeclaredMembers(unitSource, formClass)) {
        if (platform::SameText(member, name) && !platform::SameText(member, oldName))
            return false;
    }
    for (const DesignedProperty& property : Properties(0, std::string(), CatalogueClass(0))) {
        if (platform::SameText(property.Name, name))
            return false;
    }
    return true;
}

}  // namespace refhost
