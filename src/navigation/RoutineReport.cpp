// The routine list of the current unit written to a text file.

#include <cerrno>
#include <cstring>
#include <fstream>

#include "controls/ComboBoxEx.h"
#include "host/Globals.h"
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

// Writes the lines CR LF; answers an empty text, or what went wrong.
std::string WriteReport(const std::string& fileName, const std::vector<std::string>& lines)
{
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    if (!file)
        return fileName + ": " + std::strerror(errno);
    for (const std::string& line : lines)
        file << line << "\r\n";
    file.close();
    if (!file)
        return fileName + ": " + std::strerror(errno);
    return {};
}

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
    for (const std::string& entry : MethodCombo->Items())
        lines.push_back(entry);
    std::string error = WriteReport(SaveDialog1->FileName, lines);
    if (!error.empty())
        tk::ShowMessage(error);
}

}  // namespace quorlin
