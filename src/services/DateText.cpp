#include "services/DateText.h"

#include <cstdio>
#include <ctime>
#include <string_view>

namespace quorlin {

std::string ShortDateFormat = "yyyy/mm/dd";
std::string LongTimeFormat = "hh:nn:ss";

namespace {

std::string Digits(int value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

}  // namespace

DateTime Now()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

int DayOfWeek(const DateTime& value)
{
    // Days since 1970-01-01 (a Thursday) by the proleptic Gregorian calendar.
    int year = value.Year - (value.Month <= 2 ? 1 : 0);
    int era = (year >= 0 ? year : year - 399) / 400;
    int yearOfEra = year - era * 400;
    int dayOfYear = (153 * (value.Month + (value.Month > 2 ? -3 : 9)) + 2) / 5 + value.Day - 1;
    int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    long days = static_cast<long>(era) * 146097 + dayOfEra - 719468;
    return static_cast<int>((days % 7 + 7 + 4) % 7);
}

std::string FormatDateTime(const std::string& format, const DateTime& value)
{
    struct Token {
        std::string_view Text;
        int Value;
        int Width;
    };
    const Token tokens[] = {
        {"yyyy", value.Year, 4}, {"mm", value.Month, 2},  {"dd", value.Day, 2},
        {"hh", value.Hour, 2},   {"nn", value.Minute, 2}, {"ss", value.Second, 2},
    };
    std::string result;
    size_t i = 0;
    while (i < format.size()) {
        const Token* match = nullptr;
        for (const Token& token : tokens) {
            if (format.compare(i, token.Text.size(), token.Text) == 0) {
                match = &token;
                break;
            }
        }
        if (match) {
            result += Digits(match->Value, match->Width);
            i += match->Text.size();
        } else {
            result += format[i++];
        }
    }
    return result;
}

std::string DateTimeToStr(const DateTime& value)
{
    std::string result = FormatDateTime(ShortDateFormat, value);
    if (value.Hour != 0 || value.Minute != 0 || value.Second != 0)
        result += " " + FormatDateTime(LongTimeFormat, value);
    return result;
}

}  // namespace quorlin
