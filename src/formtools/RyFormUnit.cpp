#include "formtools/RyFormUnit.h"

#include "host/Globals.h"
#include "platform/FilePath.h"
#include "toolkit/Application.h"

namespace quorlin {

hostapi::HostRef<hostapi::TIFormInterface> TRyFormInt::OpenFormInterface()
{
    using Form = hostapi::HostRef<hostapi::TIFormInterface>;
    if (!ToolServices)
        return Form();
    FileName = platform::ChangeFileExt(ToolServices->GetCurrentFile(), ".pas");
    if (!ToolServices->IsFileOpen(FileName) && !ToolServices->OpenFile(FileName)) {
        tk::ShowMessage("ファイルを開くことができません。:" + FileName);
        return Form();
    }
    ModuleInterface.Reset(ToolServices->GetModuleInterface(FileName));
    if (!ModuleInterface) {
        tk::ShowMessage("Error of FormModuleInt :" + FileName);
        return Form();
    }
    return Form(ModuleInterface->GetFormInterface());
}

std::string PropTypeText(int code)
{
    switch (code) {
    case hostapi::ptInteger:
    case hostapi::ptEnumeration:
        return "Integer";
    case hostapi::ptFloat:
        return "Float";
    case hostapi::ptString:
    case hostapi::ptLString:
    case hostapi::ptLWString:
        return "String";
    case hostapi::ptVariant:
        return "Variant";
    default:
        return "UnKnown";
    }
}

}  // namespace quorlin
