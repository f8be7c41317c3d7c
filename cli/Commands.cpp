#include "Commands.h"

#include <algorithm>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "JsonOutput.h"
#include "RoutineRecords.h"
#include "platform/Cp932.h"
#include "platform/RegularFile.h"
#include "toolkit/Application.h"
#include "toolkit/Menus.h"

namespace cli {

namespace {

// Notes whether an add-in moved the cursor or top line of one file's view.
class ViewWatch : public refhost::HostListener {
public:
    ViewWatch(refhost::Host& host, std::string fileName) : host_(host), fileName_(std::move(fileName))
    {
        host_.AddListener(this);
    }
    ~ViewWatch() override { host_.RemoveListener(this); }
    ViewWatch(const ViewWatch&) = delete;
    ViewWatch& operator=(const ViewWatch&) = delete;

    void ViewChanged(const std::string& fileName) override
    {
        if (fileName == fileName_)
            moved_ = true;
    }
    bool Moved() const { return moved_; }

private:
    refhost::Host& host_;
    std::string fileName_;
    bool moved_ = false;
};

}  // namespace

tk::Component* FindOwned(const tk::Component& owner, const std::string& name)
{
    if (tk::Component* found = owner.FindComponent(name))
        return found;
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        if (tk::Component* found = FindOwned(*owner.Components(i), name))
            return found;
    }
    return nullptr;
}

Commands::Commands(AddinSession& session, ConsoleDesktop& desktop, tk::Form& toolWindow,
                   const CliOptions& options, std::FILE* out)
    : session_(session), desktop_(desktop), toolWindow_(toolWindow), options_(options), out_(out)
{
}

int Commands::Run()
{
    switch (options_.Cmd) {
    case Command::Units:
        return Units();
    case Command::Routines:
        return Routines();
    case Command::Jump:
        return Jump();
    case Command::Report:
        return Report();
    case Command::ClassUnit:
        return ClassUnit();
    case Command::ClassDef:
        return ClassDef();
    case Command::Methods:
        return Methods();
    case Command::VersionInfo:
        return VersionInfo();
    case Command::Version:
        return Version();
    case Command::Tasks:
        return Tasks();
    case Command::Components:
        return Components();
    case Command::Properties:
        return Properties();
    case Command::Rename:
        return Rename();
    case Command::Palette:
        return Palette();
    case Command::DbAccess:
        return DbAccess();
    case Command::Swap:
        return Swap();
    case Command::Insert:
        return Insert();
    case Command::Send:
    case Command::Listen:
    case Command::Form:
    case Command::Help:
    case Command::Completion:
        break;
    }
    return 0;
}

int Commands::Units()
{
    int messages = desktop_.MessageCount();
    if (!OpenProject(options_.Operands[0]))
        return 1;
    // Unit names are file names: printed as the file system has them, like any other path.
    const tk::Strings& units = Combo("UnitCombo").Items();
    if (options_.Json) {
        PrintJson(out_, {{"project", options_.Operands[0]}, {"units", units.Items()}});
    } else {
        for (std::string_view unit : units)
            Print(unit);
    }
    return desktop_.MessageCount() == messages ? 0 : 1;
}

int Commands::Routines()
{
    if (options_.Unsorted && !ClickMenuItem("MethodNoSort"))
        return 1;
    int status = 0;
    for (const std::string& file : options_.Operands) {
        std::string path = refhost::Host::NormalizeFileName(file);
        bool wasOpen = session_.Host().IsFileOpen(path);
        if (!OpenInHost(file, path)) {
            status = 1;
            continue;
        }
        if (!ChooseUnit(path))
            status = 1;
        if (options_.Json) {
            PrintRoutineRecords(file, path);
        } else {
            if (options_.Headers)
                Print("==> " + file + " <==");
            for (std::string_view entry : Combo("MethodCombo").Items())
                Print(Shown(entry));
        }
        if (!wasOpen)
            session_.Host().CloseFile(path);
        tk::Application::Instance().ProcessMessages();
    }
    return status;
}

int Commands::Jump()
{
    const std::string& file = options_.Operands[0];
    std::string text = options_.Raw ? options_.Operands[1] : platform::Utf8ToCp932(options_.Operands[1]);
    std::string path = refhost::Host::NormalizeFileName(file);
    if (!OpenInHost(file, path) || !ChooseUnit(path))
        return 1;
    tk::ComboBox& methods = Combo("MethodCombo");
    // The routine list has no edit field: only a listed routine can be chosen.
    int index = methods.Items().IndexOf(text);
    if (index < 0)
        return 1;
    methods.SetItemIndex(index);
    ViewWatch watch(session_.Host(), path);
    int messages = desktop_.MessageCount();
    if (!ClickMenuItem("JumpMethodMenu") || !watch.Moved() || desktop_.MessageCount() != messages)
        return 1;
    int line = session_.Host().Cursor(path).Line;
    if (options_.Json)
        PrintJson(out_, {{"file", file}, {"routine", Shown(text)}, {"line", line}});
    else
        Print(std::to_string(line));
    return 0;
}

void Commands::PrintRoutineRecords(const std::string& file, const std::string& path)
{
    nlohmann::ordered_json routines = nlohmann::ordered_json::array();
    for (const RoutineRecord& record :
         FindRoutineRecords(session_.Host().Text(path), Combo("MethodCombo").Items().Items())) {
        nlohmann::ordered_json routine = {{"name", Shown(RoutineName(record.Entry))}, {"entry", Shown(record.Entry)}};
        routine["keyword"] = record.Keyword.empty() ? nullptr : nlohmann::ordered_json(record.Keyword);
        routine["line"] = record.Line == 0 ? nullptr : nlohmann::ordered_json(record.Line);
        routines.push_back(std::move(routine));
    }
    PrintJson(out_, {{"file", file}, {"routines", std::move(routines)}});
}

int Commands::Report()
{
    const std::string& file = options_.Operands[0];
    std::string path = refhost::Host::NormalizeFileName(file);
    if (!OpenInHost(file, path))
        return 1;
    if (options_.Unsorted && !ClickMenuItem("MethodNoSort"))
        return 1;
    if (!ChooseUnit(path))
        return 1;
    desktop_.SetSaveAnswer(options_.Output);
    int dialogs = desktop_.DialogCount();
    int messages = desktop_.MessageCount();
    if (!ClickMenuItem("K5"))
        return 1;
    if (desktop_.DialogCount() == dialogs) {
        Fail(file + ": no routines to report");
        return 1;
    }
    return desktop_.MessageCount() == messages ? 0 : 1;
}

bool Commands::ChooseUnit(const std::string& path)
{
    int messages = desktop_.MessageCount();
    tk::ComboBox& units = Combo("UnitCombo");
    units.Items().Clear();
    units.ChooseItem(units.Items().Add(path));
    tk::Application::Instance().ProcessMessages();
    return desktop_.MessageCount() == messages;
}

bool Commands::OpenInHost(const std::string& file, const std::string& path)
{
    std::string reason;
    if (session_.Host().OpenFile(path, reason))
        return true;
    Fail(file + ": " + reason);
    return false;
}

bool Commands::CheckReadable(const std::string& fileName)
{
    std::string reason = platform::UnreadableReason(fileName);
    if (!reason.empty())
        Fail(fileName + ": " + reason);
    return reason.empty();
}

bool Commands::OpenProject(const std::string& project)
{
    if (!CheckReadable(project))
        return false;
    if (!session_.Host().OpenProject(project)) {
        Fail(project + ": the host cannot open this project");
        return false;
    }
    tk::Application::Instance().ProcessMessages();
    return true;
}

bool Commands::ClickMenuItem(const std::string& name)
{
    auto* item = dynamic_cast<tk::MenuItem*>(FindOwned(toolWindow_, name));
    if (!item) {
        Fail("the tool window has no menu item " + name);
        return false;
    }
    item->Click();
    tk::Application::Instance().ProcessMessages();
    return true;
}

tk::ComboBox& Commands::Combo(const std::string& name)
{
    auto* combo = dynamic_cast<tk::ComboBox*>(FindOwned(toolWindow_, name));
    if (!combo)
        throw std::runtime_error("the tool window has no combo box " + name);
    return *combo;
}

tk::Memo& Commands::Memo(const std::string& name)
{
    auto* memo = dynamic_cast<tk::Memo*>(FindOwned(toolWindow_, name));
    if (!memo)
        throw std::runtime_error("the tool window has no memo " + name);
    return *memo;
}

std::string Commands::Shown(std::string_view text) const
{
    // Most entries are plain ASCII, which both code pages write alike.
    bool ascii = std::all_of(text.begin(), text.end(),
                             [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return (options_.Raw && !options_.Json) || ascii ? std::string(text) : platform::Cp932ToUtf8(text);
}

void Commands::Print(std::string_view line)
{
    std::fwrite(line.data(), 1, line.size(), out_);
    std::fputc('\n', out_);
}

void Commands::Fail(const std::string& message)
{
    std::fflush(out_);
    std::fprintf(stderr, "quorlin: %s\n", message.c_str());
}

}  // namespace cli
