#include <gtest/gtest.h>

#include "hostapi/HostRef.h"
#include "refhost/RefHost.h"

namespace refhost::test {
namespace {

using hostapi::HostRef;

const std::string SampleFolder = std::string(QUORLIN_SOURCE_DIR) + "/examples/Sample/";

TEST(RefHostSample, ProjectUnitsAndForms)
{
    Host host;
    HostRef services(host.CreateToolServices());
    ASSERT_TRUE(services->OpenProject(SampleFolder + "Sample.dpr"));
    std::vector<std::string> units;
    for (int i = 0; i < services->GetUnitCount(); ++i)
        units.push_back(services->GetUnitName(i));
    std::vector<std::string> expected = {SampleFolder + "Sample.dpr", SampleFolder + "MainForm.pas",
                                         SampleFolder + "Lib/Utils.pas", SampleFolder + "Shapes.pas",
                                         SampleFolder + "Consts.pas", SampleFolder + "ViewOptions.pas"};
    EXPECT_EQ(units, expected);
    ASSERT_EQ(services->GetFormCount(), 2);
    EXPECT_EQ(services->GetFormName(0), SampleFolder + "MainForm.dfm");
    EXPECT_EQ(services->GetFormName(1), SampleFolder + "ViewOptions.dfm");
}

// Every file of the sample is CR LF throughout and ends in "end."; opening changes nothing.
TEST(RefHostSample, FilesAreCrLfAndEndWithEnd)
{
    Host host;
    HostRef services(host.CreateToolServices());
    ASSERT_TRUE(services->OpenProject(SampleFolder + "Sample.dpr"));
    for (int i = 0; i < services->GetUnitCount(); ++i) {
        std::string name = services->GetUnitName(i);
        ASSERT_TRUE(services->OpenFile(name)) << name;
        EXPECT_EQ(host.LineBreakStyle(name), LineBreak::CrLf) << name;
        EXPECT_FALSE(host.IsModified(name)) << name;
        std::string text = host.Text(name);
        EXPECT_TRUE(text.ends_with("end.\r\n")) << name;
        EXPECT_EQ(text.find("\r\r"), std::string::npos) << name;
        EXPECT_LT(host.LineCount(name), 120) << name;
        EXPECT_NE(text.find_first_of("\x81\x82\x83\x88\x89\x8a\x8b\x8c\x8d\x8e\x8f"), std::string::npos)
            << name << " has Japanese comments";
    }
    EXPECT_EQ(host.Text(SampleFolder + "Consts.pas").find("implementation"), std::string::npos);
}

}  // namespace
}  // namespace refhost::test
