// The routine list of the current unit written to a text file.

#include <string>

#include "controls/ComboBoxEx.h"
#include "host/Globals.h"
#include "platform/FileWrite.h"
#include "services/DateText.h"
#include "services/QuorlinUnit.h"
#include "toolkit/Application.h"

namespace quorlin {

namespace {

constexpr const char* TaskFileFilter = "タスクファイル|*.Ini";

// Puts the task file filter back on the dialog however the command ends.
class FilterRestorer {
public:
    explicit FilterRestorer(tk::SaveDialog& dialog) : dialog_(dialog) {}
    ~FilterRestorer() { dialog_.Filter = TaskFileFilter; }
    FilterRestorer(const FilterRestorer&) = delete;
    FilterRestorer& operator=(const FilterRestorer&) = delete;

private:
    tk::SaveDialog& dialog_;
};

}  // namespace

void TCodeForm::K5Click(tk::Component*)
{
    if (!CodeForm || MethodCombo->Items().Empty())
        return;
    FilterRestorer restorer(*SaveDialog1);
    SaveDialog1->Filter = "*.*";
    if (!SaveDialog1->Execute())
        return;
    std::vector<std::string> lines;
    lines.push_back("関数一覧（作成：" + DateTimeToStr(Now()) + "）");
    lines.push_back("ユニット ：" + UnitCombo->Text());
    lines.push_back("");
    for (std::string_view entry : MethodCombo->Items())
        lines.emplace_back(entry);
    if (longLineStop_ > 0)
        lines.push_back("※" + std::to_string(longLineStop_) + "行目が長すぎるため、一覧はその前の行までです。");
    std::string error = platform::WriteCrLfLines(SaveDialog1->FileName, lines);
    if (!error.empty())
        tk::ShowMessage(error);
}

}  // namespace quorlin
