#include "BigUnit.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "host/Globals.h"
#include "platform/HostFolder.h"
#include "refhost/RefHost.h"
#include "services/QuorlinUnit.h"
#include "toolkit/Application.h"

namespace bench {

namespace {

constexpr size_t targetBytes = 10u << 20;

// Routine names in no particular order, as a real unit has them.
std::string RoutineName(int i)
{
    return "Step" + std::to_string((static_cast<unsigned>(i) * 2654435761u) % 1000003u) + "_" +
           std::to_string(i);
}

std::string MakeSource(int& routineCount)
{
    std::string declarations;
    std::string bodies;
    int i = 0;
    while (declarations.size() + bodies.size() < targetBytes) {
        std::string name = RoutineName(i);
        declarations += "    procedure " + name + "(Sender: TObject; Count: Integer);\r\n";
        bodies += "// \x8F\x88\x97\x9D " + std::to_string(i) + "\r\n"  // "処理"
                  "procedure TBigForm." + name + "(Sender: TObject; Count: Integer);\r\n"
                  "var\r\n  I: Integer;\r\nbegin\r\n"
                  "  for I := 0 to Count - 1 do\r\n    Total := Total + I * " + std::to_string(i) + ";\r\n"
                  "  if Total > 1000 then\r\n    Total := 0;\r\nend;\r\n\r\n";
        ++i;
    }
    routineCount = i;
    return "unit Big;\r\n\r\ninterface\r\n\r\nuses\r\n  Classes;\r\n\r\ntype\r\n"
           "  TBigForm = class(TObject)\r\n  public\r\n    Total: Integer;\r\n" +
           declarations + "  end;\r\n\r\nimplementation\r\n\r\n" + bodies + "end.\r\n";
}

std::string WithoutCr(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != '\r')
            out += c;
    }
    return out;
}

}  // namespace

const std::string& ScratchFolder()
{
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorlin-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchFolder(), ignored);
        });
        return pattern;
    }();
    return folder;
}

BigUnit& BigUnit::Instance(bool lf)
{
    static BigUnit* crLfUnit = new BigUnit(false);
    static BigUnit* lfUnit = new BigUnit(true);
    return lf ? *lfUnit : *crLfUnit;
}

BigUnit::BigUnit(bool lf)
{
    // One host for both scenes; it lives as long as the process, like the host of a running add-in.
    if (!quorlin::ToolServices) {
        platform::SetHostFolder(ScratchFolder());
        auto* host = new refhost::Host();
        quorlin::ToolServices = host->CreateToolServices();
        quorlin::CodeForm = new quorlin::TCodeForm(&tk::Application::Instance());
    }
    std::string fileName = ScratchFolder() + (lf ? "/BigLf.pas" : "/Big.pas");
    std::string source = MakeSource(routineCount_);
    if (lf)
        source = WithoutCr(source);
    bytes_ = source.size();
    interfaceBytes_ = source.find(lf ? "\nimplementation\n" : "\r\nimplementation\r\n") + (lf ? 1 : 2);
    std::ofstream(fileName, std::ios::binary) << source;

    if (!quorlin::ToolServices->OpenFile(fileName))
        throw std::runtime_error("cannot open " + fileName);
    module_.Reset(quorlin::ToolServices->GetModuleInterface(fileName));
    editor_.Reset(module_ ? module_->GetEditorInterface() : nullptr);
    if (!editor_)
        throw std::runtime_error("no editor for " + fileName);
}

}  // namespace bench
