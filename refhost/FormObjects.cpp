// The form and component objects an add-in is given over a unit's form designer. Each holds the
// designer, so it stays safe after the unit was closed; it then answers empty results.

#include <cstdlib>
#include <optional>

#include "FormDesigner.h"
#include "HostObjects.h"
#include "RefCounted.h"
#include "platform/Cp932.h"
#include "platform/Utf16.h"

namespace refhost {

namespace {

using forms::FormValue;
using hostapi::TPropValue;

int EnumOrdinal(const std::vector<std::string>* values, const std::string& name)
{
    if (values) {
        for (size_t i = 0; i < values->size(); ++i) {
            if (platform::SameText((*values)[i], name))
                return static_cast<int>(i);
        }
    }
    return 0;
}

void FillValue(const FormValue& stored, const std::vector<std::string>* enumValues, TPropValue& value)
{
    using Kind = FormValue::Kind;
    switch (stored.Type) {
    case Kind::Integer:
    case Kind::Int64:
        value.Ordinal = stored.Int;
        value.Float = static_cast<double>(stored.Int);
        value.Text = std::to_string(stored.Int);
        break;
    case Kind::Currency:
        value.Float = static_cast<double>(stored.Int) / 10000.0;
        value.Text = std::to_string(value.Float);
        break;
    case Kind::Extended:
    case Kind::Single:
    case Kind::Double:
    case Kind::Date:
        value.Float = static_cast<double>(stored.Float);
        value.Text = std::to_string(value.Float);
        break;
    case Kind::String:
    case Kind::Binary:
        value.Text = stored.Text;
        break;
    case Kind::Utf8String:
        value.Text = platform::Utf8ToCp932(stored.Text);
        break;
    case Kind::WideString:
        value.Text = platform::Utf8ToCp932(platform::Utf16ToUtf8(stored.Wide));
        break;
    case Kind::Ident:
        value.Text = stored.Text;
        value.Ordinal = EnumOrdinal(enumValues, stored.Text);
        break;
    case Kind::False:
    case Kind::True:
        value.Ordinal = stored.Type == Kind::True;
        value.Text = value.Ordinal ? "True" : "False";
        break;
    case Kind::Set:
        value.Text = "[";
        for (size_t i = 0; i < stored.Names.size(); ++i) {
            value.Text += (i ? "," : "") + stored.Names[i];
            value.Ordinal |= int64_t(1) << (EnumOrdinal(enumValues, stored.Names[i]) & 63);
        }
        value.Text += "]";
        break;
    case Kind::List:
        for (size_t i = 0; i < stored.Elements.size(); ++i) {
            TPropValue element;
            FillValue(stored.Elements[i], nullptr, element);
            value.Text += (i ? "\r\n" : "") + element.Text;
        }
        value.Ordinal = static_cast<int64_t>(stored.Elements.size());
        break;
    case Kind::Collection:
        value.Ordinal = static_cast<int64_t>(stored.Items.size());
        break;
    case Kind::Nil:
    case Kind::Null:
        break;
    }
}

// A default as the catalogue writes it: a number, True/False, an enumeration value or a set.
void FillDefault(const DesignedProperty& property, const std::vector<std::string>* enumValues, TPropValue& value)
{
    const std::string& text = property.Default;
    if (property.Type == hostapi::ptSet) {
        value.Text = text.empty() ? "[]" : text;
        std::string inside = value.Text.substr(1, value.Text.size() - 2);
        for (size_t start = 0; start < inside.size();) {
            size_t comma = std::min(inside.find(',', start), inside.size());
            value.Ordinal |= int64_t(1) << (EnumOrdinal(enumValues, inside.substr(start, comma - start)) & 63);
            start = comma + 1;
        }
        return;
    }
    if (property.Type == hostapi::ptEnumeration) {
        bool boolean = platform::SameText(property.TypeName, "Boolean");
        if (text.empty())
            value.Text = boolean ? "False" : enumValues && !enumValues->empty() ? (*enumValues)[0] : std::string();
        else
            value.Text = text;
        value.Ordinal = boolean ? platform::SameText(value.Text, "True") : EnumOrdinal(enumValues, value.Text);
        return;
    }
    value.Text = text;
    if (property.Type == hostapi::ptInteger || property.Type == hostapi::ptFloat) {
        char* end = nullptr;
        value.Ordinal = std::strtoll(text.c_str(), &end, 10);
        if (end == text.c_str() || *end != '\0')
            value.Ordinal = 0;  // a named constant such as clDefault
        value.Float = std::strtod(text.c_str(), nullptr);
        if (text.empty())
            value.Text = "0";
    }
}

class Component : public RefCounted<hostapi::TIComponentInterface> {
public:
    Component(std::shared_ptr<HostLink> link, std::shared_ptr<FormDesigner> designer, int index,
              std::string prefix = std::string(), std::string className = std::string())
        : link_(std::move(link)), designer_(std::move(designer)), index_(index), prefix_(std::move(prefix)),
          className_(className.empty() ? designer_->CatalogueClass(index) : std::move(className))
    {
    }

    std::string GetComponentType() override
    {
        if (!Usable())
            return std::string();
        return prefix_.empty() ? designer_->Object(index_).ClassName : className_;
    }

    int GetPropCount() override { return Usable() ? static_cast<int>(Properties().size()) : 0; }

    std::string GetPropName(int index) override
    {
        auto properties = Usable() ? Properties() : std::vector<DesignedProperty>();
        return InRange(properties, index) ? properties[index].Name : std::string();
    }

    hostapi::TPropertyType GetPropType(int index) override
    {
        auto properties = Usable() ? Properties() : std::vector<DesignedProperty>();
        return InRange(properties, index) ? properties[index].Type : hostapi::ptUnknown;
    }

    bool GetPropValue(int index, TPropValue& value) override
    {
        auto properties = Usable() ? Properties() : std::vector<DesignedProperty>();
        return InRange(properties, index) && Value(properties[index], value);
    }

    bool GetPropValueByName(const std::string& name, TPropValue& value) override
    {
        if (!Usable())
            return false;
        size_t dot = name.find('.');
        for (const DesignedProperty& property : Properties()) {
            if (!platform::SameText(property.Name, name.substr(0, dot)))
                continue;
            if (dot == std::string::npos)
                return Value(property, value);
            TPropValue object;
            if (property.Type != hostapi::ptClass || !Value(property, object) || !object.Component)
                return false;
            bool found = object.Component->GetPropValueByName(name.substr(dot + 1), value);
            object.Component->Release();
            return found;
        }
        return false;
    }

    // Only the name can be set, as the designer's rename does.
    bool SetPropByName(const std::string& name, const TPropValue& value) override
    {
        return Usable() && prefix_.empty() && platform::SameText(name, "Name") && link_->host &&
               link_->host->RenameComponent(designer_, index_, value.Text);
    }

    int GetComponentCount() override
    {
        return Usable() && prefix_.empty() ? static_cast<int>(Owned().size()) : 0;
    }

    hostapi::TIComponentInterface* GetComponent(int index) override
    {
        if (!Usable() || !prefix_.empty())
            return nullptr;
        const std::vector<int>& owned = Owned();
        return index >= 0 && index < static_cast<int>(owned.size()) ? new Component(link_, designer_, owned[index])
                                                                     : nullptr;
    }

    bool Focus() override
    {
        if (!Usable() || !prefix_.empty() || !link_->host)
            return false;
        return link_->host->SelectComponents(designer_->UnitFileName(), {designer_->Object(index_).Name});
    }

private:
    bool Usable() const { return designer_->IsOpen() && index_ < designer_->ObjectCount(); }

    std::vector<DesignedProperty> Properties() const { return designer_->Properties(index_, prefix_, className_); }

    // Made once: callers walk the owned components by index, and a rename, the only change a
    // designer takes, keeps every object and its owner.
    const std::vector<int>& Owned()
    {
        if (!owned_)
            owned_ = designer_->Owned(index_);
        return *owned_;
    }

    static bool InRange(const std::vector<DesignedProperty>& properties, int index)
    {
        return index >= 0 && index < static_cast<int>(properties.size());
    }

    bool Value(const DesignedProperty& property, TPropValue& value)
    {
        value = TPropValue();
        const Catalogue& catalogue = designer_->Components();
        if (property.Type == hostapi::ptClass)
            return ClassValue(property, value);
        if (prefix_.empty() && platform::SameText(property.Name, "Name")) {
            value.Text = designer_->Object(index_).Name;
            return true;
        }
        const auto* enumValues = catalogue.EnumValues(property.TypeName);
        if (property.Stored)
            FillValue(*property.Stored, enumValues, value);
        else
            FillDefault(property, enumValues, value);
        return true;
    }

    // A component reference gives the component it names; a sub-object (a font, a string list)
    // gives itself with the properties stored under its dotted name.
    bool ClassValue(const DesignedProperty& property, TPropValue& value)
    {
        const Catalogue& catalogue = designer_->Components();
        bool reference = !property.TypeName.empty() && catalogue.InheritsFrom(property.TypeName, "TComponent");
        if (reference || (property.Stored && property.Stored->Type == FormValue::Kind::Ident)) {
            if (!property.Stored || property.Stored->Type != FormValue::Kind::Ident)
                return false;
            value.Text = property.Stored->Text;
            int target = designer_->Find(property.Stored->Text);
            if (target < 0)
                return false;
            value.Component = new Component(link_, designer_, target);
            return true;
        }
        if (property.Stored && property.Stored->Type == FormValue::Kind::Nil)
            return false;
        value.Text = property.TypeName;
        value.Component = new Component(link_, designer_, index_, prefix_ + property.Name + ".", property.TypeName);
        return true;
    }

    std::shared_ptr<HostLink> link_;
    std::shared_ptr<FormDesigner> designer_;
    int index_;
    std::string prefix_;
    std::string className_;
    std::optional<std::vector<int>> owned_;
};

class Form : public RefCounted<hostapi::TIFormInterface> {
public:
    Form(std::shared_ptr<HostLink> link, std::shared_ptr<FormDesigner> designer)
        : link_(std::move(link)), designer_(std::move(designer))
    {
    }

    std::string FileName() override { return designer_->IsOpen() ? designer_->FileName() : std::string(); }
    bool FormModified() override { return designer_->IsOpen() && designer_->Modified(); }
    bool MarkModified() override
    {
        if (!designer_->IsOpen())
            return false;
        designer_->SetModified(true);
        return true;
    }

    hostapi::TIComponentInterface* GetFormComponent() override
    {
        return designer_->IsOpen() ? new Component(link_, designer_, 0) : nullptr;
    }

    hostapi::TIComponentInterface* FindComponent(const std::string& name) override
    {
        int index = designer_->IsOpen() && !name.empty() ? designer_->Find(name) : -1;
        return index >= 0 ? new Component(link_, designer_, index) : nullptr;
    }

    int GetSelCount() override { return designer_->IsOpen() ? static_cast<int>(designer_->Selection().size()) : 0; }

    hostapi::TIComponentInterface* GetSelComponent(int index) override
    {
        if (!designer_->IsOpen() || index < 0 || index >= GetSelCount())
            return nullptr;
        return new Component(link_, designer_, designer_->Selection()[index]);
    }

private:
    std::shared_ptr<HostLink> link_;
    std::shared_ptr<FormDesigner> designer_;
};

}  // namespace

hostapi::TIFormInterface* NewForm(std::shared_ptr<HostLink> link, std::shared_ptr<FormDesigner> designer)
{
    return new Form(std::move(link), std::move(designer));
}

}  // namespace refhost
