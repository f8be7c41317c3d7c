#include <gtest/gtest.h>

#include "refhost/ClassDeclaration.h"

namespace refhost::test {
namespace {

const char* const Unit =
    "unit Orders;\r\n"
    "interface\r\n"
    "type\r\n"
    "  TOrderForm = class(TForm) { Hidden: TLabel; }\r\n"
    "    Grid, Summary: TPanel;\r\n"
    "    Totals: record Net, Tax: Currency; end;\r\n"
    "    Kind: (okNew, okOld);\r\n"
    "    procedure FormCreate(Sender: TObject; var Value: Integer); virtual;\r\n"
    "    procedure IFoo.Bar = FormCreate;\r\n"
    "  strict private\r\n"
    "    FTotal: Integer; // Comment: TLabel;\r\n"
    "    class function Make(const Title: string = 'x;y'): TOrderForm;\r\n"
    "    function Line(I: Integer): string; message 5;\r\n"
    "  public\r\n"
    "    property Items[Index: Integer; Name: string]: string read Line; default;\r\n"
    "    property Total: Integer read FTotal;\r\n"
    "  end;\r\n"
    "  TOther = class(TObject)\r\n"
    "    Elsewhere: Integer;\r\n"
    "  end;\r\n"
    "implementation\r\n"
    "end.\r\n";

// Members are what the class declares: not parameters, record fields, enumeration values, method
// resolutions or what comments and strings hold.
TEST(RefHostClassDeclaration, MembersOfTheClassOnly)
{
    EXPECT_EQ(DeclaredMembers(Unit, "torderform"),
              (std::vector<std::string>{"Grid", "Summary", "Totals", "Kind", "FormCreate", "FTotal", "Make", "Line",
                                        "Items", "Total"}));
    EXPECT_EQ(DeclaredMembers(Unit, "TOther"), std::vector<std::string>{"Elsewhere"});
    EXPECT_TRUE(DeclaredMembers(Unit, "TMissing").empty());
    EXPECT_EQ(DeclaredAncestor(Unit, "TOrderForm"), "TForm");
}

}  // namespace
}  // namespace refhost::test
