#pragma once
// The parts of the add-in's windows a front end answers them through: controls by name, the OK
// button of the form tools, list rows by text.

#include <stdexcept>
#include <string>

#include "platform/Cp932.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

namespace cli {

// A control of a window the add-in opened, by its name.
template <class T>
T& Part(tk::Form& form, const std::string& name)
{
    T* part = form.Find<T>(name);
    if (!part)
        throw std::runtime_error("the window " + form.Name() + " has no " + name);
    return *part;
}

// The form tools' windows are confirmed by their OK button, PanelEx2.
inline int Confirm(tk::Form& form)
{
    Part<tk::Button>(form, "PanelEx2").Click();
    return form.ModalResult();
}

// The row whose text equals text without regard to ASCII case, as names in the designer match.
inline int FindRow(const tk::ListBox& list, const std::string& text)
{
    for (int i = 0; i < list.Items().Count(); ++i) {
        if (platform::SameText(list.Items()[i], text))
            return i;
    }
    return -1;
}

}  // namespace cli
