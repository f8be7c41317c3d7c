// The published properties of the component selected in the designer, as the form tools list them.

#include "formtools/RyFormUnit.h"
#include "host/Globals.h"
#include "services/QuorlinUnit.h"

namespace quorlin {

void TCodeForm::ListSelectedProperties(tk::Strings& typeWords, tk::Strings& propNames)
{
    if (!ToolServices)
        return;
    TRyFormInt formInt;
    hostapi::HostRef<hostapi::TIFormInterface> form = formInt.OpenFormInterface();
    if (!form)
        return;
    hostapi::HostRef<hostapi::TIComponentInterface> selected(form->GetSelComponent(0));
    if (!selected)
        return;
    hostapi::HostRef<hostapi::TIComponentInterface> expanded;
    for (int i = 0; i < selected->GetPropCount(); ++i) {
        hostapi::TPropertyType type = selected->GetPropType(i);
        if (type == hostapi::ptMethod)
            continue;
        if (type != hostapi::ptClass) {
            propNames.Add(selected->GetPropName(i));
            typeWords.Add(PropTypeText(type));
            continue;
        }
        // Only the first class property whose object the host delivers is listed, by that object's
        // own properties, events included.
        if (expanded)
            continue;
        hostapi::TPropValue value;
        bool delivered = selected->GetPropValue(i, value);
        hostapi::HostRef<hostapi::TIComponentInterface> object(value.Component);
        if (!delivered || !object)
            continue;
        expanded = std::move(object);
        for (int j = 0; j < expanded->GetPropCount(); ++j) {
            propNames.Add(expanded->GetPropName(j));
            typeWords.Add(PropTypeText(expanded->GetPropType(j)));
        }
    }
}

}  // namespace quorlin
