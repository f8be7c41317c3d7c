#include <gtest/gtest.h>

#include "support/ToolWindowFixture.h"
#include "codegen/DataAccessCode.h"
#include "controls/MemoEx.h"

namespace {

using Lines = std::vector<std::string>;

class DataAccessCommandTest : public ToolWindowFixture {
protected:
    static Lines MemoLines(const quorlin::TCodeForm& form) { return form.Memo1->Lines().Items(); }
};

TEST_F(DataAccessCommandTest, WithoutAFormBothRoutinesAreAppendedEmpty)
{
    quorlin::TCodeForm& form = FormWithSample();
    ASSERT_TRUE(host.OpenFile(Sample("Shapes.pas")));
    form.Memo1->Lines().Add("kept");
    form.N10->Click();
    Lines expected{"kept"};
    for (const std::string& line : quorlin::DataSetAccessCode({}, {}))
        expected.push_back(line);
    EXPECT_EQ(MemoLines(form), expected);

    form.RyCtrlGridMenuItem->Click();
    for (const std::string& line : quorlin::CtrlGridAccessCode({}, {}))
        expected.push_back(line);
    EXPECT_EQ(MemoLines(form), expected);

    form.TRyDimItemMenu->Click();
    EXPECT_EQ(MemoLines(form), expected);
    EXPECT_TRUE(desktop.Messages().empty());
}

}  // namespace
