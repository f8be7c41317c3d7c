// Every case folder of tests/data/forms (see the README there): the form read, its text form, round
// trips through both forms, damaged files reported with their offset, and renames written back.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "refhost/forms/BinaryForm.h"
#include "refhost/forms/FormFile.h"
#include "platform/Cp932.h"

namespace fs = std::filesystem;

namespace {

const fs::path casesFolder = fs::path(QUORLIN_SOURCE_DIR) / "tests/data/forms";

std::string ReadFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// With QUORLIN_UPDATE_GOLDEN set, missing expected files are written for review instead.
void ExpectGolden(const fs::path& file, const std::string& actual)
{
    if (!fs::exists(file) && std::getenv("QUORLIN_UPDATE_GOLDEN")) {
        std::ofstream(file, std::ios::binary) << actual;
        return;
    }
    EXPECT_EQ(actual, ReadFile(file)) << file;
}

fs::path InputOf(const fs::path& folder)
{
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().stem() == "input")
            return entry.path();
    }
    return fs::path();
}

const forms::FormObject* FindNamed(const forms::FormObject& object, const std::string& name)
{
    if (platform::SameText(object.Name, name))
        return &object;
    for (const forms::FormObject& child : object.Children) {
        if (const forms::FormObject* found = FindNamed(child, name))
            return found;
    }
    return nullptr;
}

bool HasKindsTextMerges(const std::vector<forms::FormProperty>& properties);

bool HasKindsTextMerges(const forms::FormValue& value)
{
    using Kind = forms::FormValue::Kind;
    if (value.Type == Kind::Utf8String || value.Type == Kind::Double)
        return true;
    for (const forms::FormValue& element : value.Elements) {
        if (HasKindsTextMerges(element))
            return true;
    }
    for (const forms::FormItem& item : value.Items) {
        if (HasKindsTextMerges(item.Properties))
            return true;
    }
    return false;
}

bool HasKindsTextMerges(const std::vector<forms::FormProperty>& properties)
{
    for (const forms::FormProperty& property : properties) {
        if (HasKindsTextMerges(property.Value))
            return true;
    }
    return false;
}

bool HasKindsTextMerges(const forms::FormObject& object)
{
    if (HasKindsTextMerges(object.Properties))
        return true;
    for (const forms::FormObject& child : object.Children) {
        if (HasKindsTextMerges(child))
            return true;
    }
    return false;
}

void CheckRoundTrips(const forms::FormFile& form)
{
    std::string text = forms::FormFileAsText(form);
    forms::FormObject again;
    forms::FormError error;
    ASSERT_TRUE(forms::ReadTextForm(text, false, again, error)) << error.Message;
    EXPECT_EQ(forms::WriteTextForm(again), text);
    // binary -> text -> binary gives the same stream, but for the kinds the text form does not
    // tell apart (UTF-8 strings read back as wide ones, doubles as extended values).
    std::string stream = forms::FormFileAsBinary(form);
    if (!HasKindsTextMerges(form.Root))
        EXPECT_EQ(forms::WriteBinaryForm(again), stream);
    ASSERT_TRUE(forms::ReadBinaryForm(stream, 0, stream.size(), again, error)) << error.Message;
    EXPECT_EQ(forms::WriteTextForm(again), text);
    std::string throughText = forms::WriteBinaryForm(again);
    ASSERT_TRUE(forms::ReadBinaryForm(throughText, 0, throughText.size(), again, error)) << error.Message;
    EXPECT_EQ(forms::WriteTextForm(again), text);
    // The text written for people is ASCII and reads back to the same objects but for string kinds.
    std::string ascii = forms::FormFileAsText(form, forms::TextStyle::Ascii);
    EXPECT_EQ(ascii.find_first_of(std::string("\x80\xff", 1) + "\x81\x82\x83\x88\x89\x8a\x8b\x8c\x8d\x8e\x8f\x90"),
              std::string::npos);
    ASSERT_TRUE(forms::ReadTextForm(ascii, false, again, error)) << error.Message;
    EXPECT_EQ(forms::WriteTextForm(again, forms::TextStyle::Ascii), ascii);
    if (form.Format != forms::FormFormat::Text)  // binary -> objects -> binary keeps every byte
        EXPECT_EQ(stream, form.Bytes.substr(form.StreamStart, form.StreamEnd - form.StreamStart));
}

void CheckRename(const fs::path& folder, forms::FormFile form)
{
    std::istringstream names(ReadFile(folder / "rename"));
    std::string oldName, newName;
    names >> oldName >> newName;
    const forms::FormObject* object = FindNamed(form.Root, oldName);
    ASSERT_TRUE(object);
    auto notEvents = [](const std::string&, const std::string& property) { return property.rfind("On", 0) != 0; };
    std::string before = form.Bytes;
    ASSERT_TRUE(forms::RenameFormObject(form, *object, newName, notEvents));
    ExpectGolden(folder / "expected-renamed", form.Bytes);
    ASSERT_TRUE(FindNamed(form.Root, newName));
    // Refused: names that are not identifiers, reserved words and names of other objects.
    object = FindNamed(form.Root, newName);
    for (const char* refused : {"", "9Lives", "two words", "begin", "END", "Label1", "form1"})
        EXPECT_FALSE(forms::RenameFormObject(form, *object, refused, notEvents)) << refused;
}

TEST(FormFiles, EveryCaseFolder)
{
    int cases = 0;
    for (const auto& entry : fs::directory_iterator(casesFolder)) {
        if (!entry.is_directory())
            continue;
        const fs::path& folder = entry.path();
        SCOPED_TRACE(folder.filename().string());
        ++cases;
        fs::path input = InputOf(folder);
        ASSERT_FALSE(input.empty());
        forms::FormFile form;
        forms::FormError error;
        bool read = forms::ReadFormFile(ReadFile(input), form, error);
        if (fs::exists(folder / "expected-error") || folder.filename().string().find("damaged") != std::string::npos) {
            ASSERT_FALSE(read);
            ExpectGolden(folder / "expected-error", forms::DescribeFormError(input.filename().string(), error) + "\n");
            continue;
        }
        ASSERT_TRUE(read) << forms::DescribeFormError(input.string(), error);
        ExpectGolden(folder / "expected.txt", forms::FormFileAsText(form));
        CheckRoundTrips(form);
        if (fs::exists(folder / "rename"))
            CheckRename(folder, form);
    }
    EXPECT_GT(cases, 20);
}

// Encodings a stream may hold that no writer produces: identifiers spelling True, False or nil in any
// case, an extended denormal with its integer bit set and a normal without it. Each reads as the value
// it stands for, so that the text form shows it as it would show that value and reads back the same.
TEST(FormFiles, UnusualBinaryEncodingsReadAsTheirValues)
{
    auto extended = [](uint64_t mantissa, uint16_t exponent) {
        std::string bytes = "\x05";
        for (int i = 0; i < 8; ++i)
            bytes += static_cast<char>(mantissa >> (8 * i));
        return bytes + static_cast<char>(exponent) + static_cast<char>(exponent >> 8);
    };
    auto form = [](const std::string& properties) {
        return std::string("TPF0\x06TForm1\x05" "Form1") + properties + std::string("\0\0", 2);
    };
    std::string unusual = form(std::string("\x05Shown\x07\x04TRUE\x06Hidden\x07\x05" "false\x04Menu\x07\x03NIL") +
                               "\x04Tiny" + extended(0x8000000000000000, 0) + "\x04Half" + extended(0x4000000000000000, 0x3FFF));
    std::string usual = form(std::string("\x05Shown\x09\x06Hidden\x08\x04Menu\x0D") + "\x04Tiny" +
                             extended(0x8000000000000000, 1) + "\x04Half" + extended(0x8000000000000000, 0x3FFE));
    forms::FormObject read;
    forms::FormError error;
    ASSERT_TRUE(forms::ReadBinaryForm(unusual, 0, unusual.size(), read, error)) << error.Message;
    EXPECT_EQ(forms::WriteBinaryForm(read), usual);
    std::string text = forms::WriteTextForm(read);
    EXPECT_NE(text.find("  Shown = True\r\n  Hidden = False\r\n  Menu = nil\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  Half = 0.5\r\n"), std::string::npos) << text;
    forms::FormObject again;
    ASSERT_TRUE(forms::ReadTextForm(text, false, again, error)) << error.Message;
    EXPECT_EQ(forms::WriteTextForm(again), text);
    EXPECT_EQ(forms::WriteBinaryForm(again), usual);
}

}  // namespace
