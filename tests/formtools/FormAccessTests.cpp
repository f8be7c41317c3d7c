#include <gtest/gtest.h>

#include "support/ToolWindowFixture.h"
#include "formtools/RyFormUnit.h"

namespace {

using Lines = std::vector<std::string>;

class FormAccessTest : public ToolWindowFixture {};

TEST_F(FormAccessTest, TheProjectFileInFrontMeansAUnitSourceThatDoesNotExist)
{
    quorlin::TCodeForm& form = FormWithSample();
    ASSERT_TRUE(host.OpenFile(Sample("Sample.dpr")));
    quorlin::TRyFormInt formInt;
    EXPECT_FALSE(formInt.OpenFormInterface());
    EXPECT_EQ(formInt.FileName, Sample("Sample.pas"));
    EXPECT_FALSE(formInt.ModuleInterface);
    EXPECT_EQ(MessageTexts(), (Lines{"ファイルを開くことができません。:" + Sample("Sample.pas")}));

    tk::Strings types;
    tk::Strings names;
    form.ListSelectedProperties(types, names);
    EXPECT_TRUE(types.Empty());
    EXPECT_TRUE(names.Empty());
    EXPECT_EQ(desktop.Messages().size(), 2u);
}

TEST_F(FormAccessTest, AUnitWithoutAFormGivesNoFormAndNoMessage)
{
    FormWithSample();
    ASSERT_TRUE(host.OpenFile(Sample("Lib/Utils.pas")));
    quorlin::TRyFormInt formInt;
    EXPECT_FALSE(formInt.OpenFormInterface());
    EXPECT_TRUE(formInt.ModuleInterface);
    EXPECT_EQ(formInt.FileName, Sample("Lib/Utils.pas"));
    EXPECT_TRUE(desktop.Messages().empty());
}

}  // namespace
