#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "TestNotifier.h"
#include "hostapi/HostRef.h"
#include "refhost/ProjectFile.h"
#include "refhost/RefHost.h"

namespace refhost::test {
namespace {

using hostapi::HostRef;
using Call = TestNotifier::Call;

const char* const ProjectSource =
    "program Demo;\r\n"
    "\r\n"
    "uses\r\n"
    "  Forms, First in 'First.pas' {Form1}, Second in 'sub\\Second.pas',\r\n"
    "  { Hidden in 'Hidden.pas', } Third in\r\n"
    "    'Third.pas' (* a comment *), // Old in 'Old.pas'\r\n"
    "  Fourth in '../Fourth.pas';\r\n"
    "\r\n"
    "uses Later in 'Later.pas';\r\n"
    "begin\r\n"
    "end.\r\n";

TEST(RefHostProject, FileNamesAreMadeAbsoluteAndNormal)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/p/Unit1.pas", "/p/Unit1.pas"},
        {"/p/", "/p/"},
        {"/", "/"},
        {"/p//Unit1.pas", "/p/Unit1.pas"},
        {"/p/./Unit1.pas", "/p/Unit1.pas"},
        {"/p/sub/../Unit1.pas", "/p/Unit1.pas"},
        {"/p/sub/..", "/p/"},
        {"\\p\\sub\\Unit1.pas", "/p/sub/Unit1.pas"},
        {"/p/.hidden/..x", "/p/.hidden/..x"},
    };
    for (const auto& [given, normal] : cases)
        EXPECT_EQ(Host::NormalizeFileName(given), normal) << given;
    std::string relative = Host::NormalizeFileName("Unit1.pas");
    EXPECT_EQ(relative.front(), '/');
    EXPECT_EQ(relative.substr(relative.size() - 10), "/Unit1.pas");
}

TEST(RefHostProject, UnitsComeFromTheUsesClause)
{
    TempFolder folder;
    std::string project = folder.Write("prj/Demo.dpr", ProjectSource);
    folder.Write("prj/First.dfm", "object Form1: TForm1\r\nend\r\n");
    Host host;
    HostRef services(host.CreateToolServices());

    EXPECT_EQ(services->GetUnitCount(), 0);
    EXPECT_EQ(services->GetUnitName(0), "");
    ASSERT_TRUE(services->OpenProject(project));

    EXPECT_EQ(services->GetProjectName(), project);
    ASSERT_EQ(services->GetUnitCount(), 5);
    EXPECT_EQ(services->GetUnitName(0), project);
    EXPECT_EQ(services->GetUnitName(1), folder / "prj/First.pas");
    EXPECT_EQ(services->GetUnitName(2), folder / "prj/sub/Second.pas");
    EXPECT_EQ(services->GetUnitName(3), folder / "prj/Third.pas");
    EXPECT_EQ(services->GetUnitName(4), folder / "Fourth.pas");
    EXPECT_EQ(services->GetUnitName(5), "");
    EXPECT_EQ(services->GetUnitName(-1), "");

    ASSERT_EQ(services->GetFormCount(), 1);
    EXPECT_EQ(services->GetFormName(0), folder / "prj/First.dfm");
    EXPECT_EQ(services->GetFormName(1), "");
    // The names stay those the count was given until the next count or a change of the units.
    folder.Write("prj/Third.DFM", "object Form3: TForm3\r\nend\r\n");
    EXPECT_EQ(services->GetFormName(1), "");
    ASSERT_EQ(services->GetFormCount(), 2);
    EXPECT_EQ(services->GetFormName(1), folder / "prj/Third.DFM");
    std::string added = folder.Write("prj/Added.pas", "unit Added;\r\nend.\r\n");
    folder.Write("prj/Added.dfm", "object Form4: TForm4\r\nend\r\n");
    ASSERT_TRUE(host.AddToProject(added));
    EXPECT_EQ(services->GetFormName(2), folder / "prj/Added.dfm");

    EXPECT_FALSE(services->OpenProject(folder / "prj/Missing.dpr"));
    EXPECT_EQ(services->GetProjectName(), project);
}

TEST(RefHostProject, NotificationsInOrder)
{
    TempFolder folder;
    std::string first = folder.Write("One.dpr", "program One;\r\nuses A in 'A.pas';\r\nbegin\r\nend.\r\n");
    std::string second = folder.Write("Two.dpr", "program Two;\r\nbegin\r\nend.\r\n");
    std::string added = folder.Write("B.pas", "unit B;\r\nend.\r\n");
    Host host;
    HostRef services(host.CreateToolServices());
    TestNotifier notifier;
    ASSERT_TRUE(services->AddNotifier(&notifier));
    EXPECT_EQ(notifier.count, 2);
    EXPECT_FALSE(services->AddNotifier(&notifier));

    ASSERT_TRUE(services->OpenProject(first));
    EXPECT_TRUE(services->CreateModule(added, "", "", hostapi::cmAddToProject));
    EXPECT_EQ(services->GetUnitCount(), 3);
    EXPECT_FALSE(host.AddToProject(added));
    ASSERT_TRUE(services->OpenProject(second));
    EXPECT_TRUE(services->CloseProject());
    EXPECT_FALSE(services->CloseProject());

    std::vector<Call> expected = {{hostapi::fnProjectOpened, first},   {hostapi::fnAddedToProject, added},
                                  {hostapi::fnProjectClosing, first},  {hostapi::fnProjectOpened, second},
                                  {hostapi::fnProjectClosing, second}};
    EXPECT_EQ(notifier.calls, expected);
    EXPECT_EQ(services->GetProjectName(), "");
    EXPECT_EQ(services->GetUnitCount(), 0);

    EXPECT_TRUE(services->RemoveNotifier(&notifier));
    EXPECT_EQ(notifier.count, 1);
    EXPECT_FALSE(services->RemoveNotifier(&notifier));
}

// The closing notification must come while the project is still there to be asked about.
TEST(RefHostProject, ClosingIsSentBeforeTheProjectCloses)
{
    TempFolder folder;
    std::string project = folder.Write("One.dpr", "program One;\r\nuses A in 'A.pas';\r\nbegin\r\nend.\r\n");
    Host host;
    HostRef services(host.CreateToolServices());

    struct Asking : TestNotifier {
        void FileNotification(int code, const std::string& fileName, bool& cancel) override
        {
            TestNotifier::FileNotification(code, fileName, cancel);
            unitCounts.push_back(services->GetUnitCount());
        }
        std::vector<int> unitCounts;
    } notifier;
    notifier.services = services.Get();
    services->AddNotifier(&notifier);
    services->OpenProject(project);
    services->CloseProject();
    EXPECT_EQ(notifier.unitCounts, (std::vector<int>{2, 2}));
    services->RemoveNotifier(&notifier);
}

TEST(RefHostProject, NotifierMayRemoveItselfDuringTheCall)
{
    TempFolder folder;
    std::string project = folder.Write("One.dpr", "program One;\r\nbegin\r\nend.\r\n");
    Host host;
    HostRef services(host.CreateToolServices());
    TestNotifier leaving;
    TestNotifier staying;
    leaving.services = services.Get();
    leaving.removeSelfOnCall = true;
    services->AddNotifier(&leaving);
    services->AddNotifier(&staying);

    services->OpenProject(project);
    services->CloseProject();

    EXPECT_EQ(leaving.calls.size(), 1u);
    EXPECT_EQ(leaving.countDuringCall, 2) << "the host holds the notifier until the call returns";
    EXPECT_EQ(leaving.count, 1);
    EXPECT_EQ(staying.calls.size(), 2u);
    EXPECT_EQ(host.NotifierCount(), 1);
    services->RemoveNotifier(&staying);
}

TEST(RefHostProject, ObjectsOutliveTheHost)
{
    TempFolder folder;
    std::string unit = folder.Write("A.pas", "unit A;\r\nend.\r\n");
    hostapi::TIToolServices* services = nullptr;
    HostRef<hostapi::TIModuleInterface> module;
    HostRef<hostapi::TIMenuItemIntf> item;
    HostRef<hostapi::TIEditReader> reader;
    TestNotifier notifier;
    {
        Host host;
        services = host.CreateToolServices();
        services->AddNotifier(&notifier);
        ASSERT_TRUE(services->OpenFile(unit));
        module.Reset(services->GetModuleInterface(unit));
        HostRef<hostapi::TIEditorInterface> editor(module->GetEditorInterface());
        reader.Reset(editor->CreateReader());
        HostRef<hostapi::TIMainMenuIntf> mainMenu(services->GetMainMenu());
        item.Reset(mainMenu->FindMenuItem("EditMenu"));
    }
    char c;
    EXPECT_EQ(reader->GetText(0, &c, 1), 0);
    EXPECT_EQ(module->GetEditorInterface(), nullptr);
    EXPECT_FALSE(module->ShowSource());
    EXPECT_EQ(item->GetItemCount(), 0);
    EXPECT_EQ(item->InsertItem(0, "x", "x", "", 0, 0, 0, 0, nullptr), nullptr);
    EXPECT_EQ(notifier.count, 1) << "the host releases its notifiers";
    EXPECT_FALSE(services->IsFileOpen(unit));
    EXPECT_EQ(services->GetModuleInterface(unit), nullptr);
    EXPECT_EQ(services->GetMainMenu(), nullptr);
    EXPECT_EQ(services->Release(), 0);
}

}  // namespace
}  // namespace refhost::test

namespace refhost::test {
namespace {

TEST(RefHostProject, AddedUnitsAreNamedInTheProjectSourcesUsesClause)
{
    TempFolder folder;
    std::string project = folder.Write("Demo.dpr", ProjectSource);
    std::string bare = folder.Write("Bare.dpr", "program Bare;\r\n{ no units }\r\nbegin\r\nend.\r\n");
    Host host;
    ASSERT_TRUE(host.OpenProject(project));
    std::string added = folder.Write("sub/Added.pas", "unit Added;\r\nend.\r\n");
    std::string outside = "/elsewhere/Bob's/Far.pas";
    ASSERT_TRUE(host.AddToProject(added));
    ASSERT_TRUE(host.AddToProject(outside));

    std::string source = host.Text(project);
    EXPECT_NE(source.find("  Fourth in '../Fourth.pas',\r\n  Added in 'sub\\Added.pas',\r\n"
                          "  Far in '/elsewhere/Bob''s/Far.pas';\r\n\r\nuses Later"),
              std::string::npos)
        << source;
    EXPECT_TRUE(host.IsModified(project)) << "saved with the project, not behind the user's back";
    EXPECT_EQ(TempFolder::Read(project), ProjectSource);
    std::vector<std::string> units = host.UnitNames();
    units.erase(units.begin());
    EXPECT_EQ(ParseProjectUnits(source, folder.Path() + "/"), units);

    ASSERT_TRUE(host.SaveProject());
    host.SetQuerySave([](const std::string&) { return SaveAnswer::Discard; });
    ASSERT_TRUE(host.OpenProject(bare));
    ASSERT_TRUE(host.AddToProject(added));
    EXPECT_EQ(host.Text(bare), "program Bare;\r\n\r\nuses\r\n  Added in 'sub\\Added.pas';\r\n{ no units }\r\nbegin\r\nend.\r\n");
    ASSERT_TRUE(host.OpenProject(project));
    EXPECT_EQ(host.UnitNames().size(), 7u) << "the saved project keeps the added units";
}

}  // namespace
}  // namespace refhost::test
