// The insert menu's data-access commands: the generated routines for the properties of the
// component selected in the designer, appended to the memo.

#include "codegen/DataAccessCode.h"
#include "controls/MemoEx.h"
#include "host/Globals.h"
#include "services/QuorlinUnit.h"

namespace quorlin {

void TCodeForm::N10Click(tk::Component*)
{
    if (!CodeForm)
        return;
    tk::Strings typeWords;
    tk::Strings propNames;
    ListSelectedProperties(typeWords, propNames);
    Memo1->Lines().AddStrings(DataSetAccessCode(typeWords.Items(), propNames.Items()));
}

void TCodeForm::RyCtrlGridMenuItemClick(tk::Component*)
{
    if (!CodeForm)
        return;
    tk::Strings typeWords;
    tk::Strings propNames;
    ListSelectedProperties(typeWords, propNames);
    Memo1->Lines().AddStrings(CtrlGridAccessCode(typeWords.Items(), propNames.Items()));
}

void TCodeForm::TRyDimItemMenuClick(tk::Component*) {}

}  // namespace quorlin
