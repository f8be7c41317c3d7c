#pragma once
// Date and time texts of the add-in. Every date text uses ShortDateFormat, which the tool window
// sets when it is created. (<chrono> cannot be used here: its unit texts do not exist in code
// page 932, the add-in's execution character set.)

#include <string>

namespace quorlin {

struct DateTime {
    int Year = 1970;
    int Month = 1;  // 1..12
    int Day = 1;    // 1..31
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};

extern std::string ShortDateFormat;
extern std::string LongTimeFormat;

// The local date and time now.
DateTime Now();
// 0 for Sunday up to 6 for Saturday.
int DayOfWeek(const DateTime& value);
// Formats with the tokens yyyy, mm, dd, hh, nn and ss; other characters are copied.
std::string FormatDateTime(const std::string& format, const DateTime& value);
// The date in ShortDateFormat, then a blank and the time in LongTimeFormat unless it is midnight.
std::string DateTimeToStr(const DateTime& value);

}  // namespace quorlin
