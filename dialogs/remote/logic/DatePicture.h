#pragma once
// Dates and times written after a locale's picture ("dd/MM/yyyy",
// "d MMMM", "h:mm tt"): runs of the picture letters become the date's
// fields, text between single quotes and every other character is copied.
#include <array>
#include <string>
#include <string_view>

namespace vorlan {

struct DateFields {
    bool valid = false;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    int dayOfWeek = 0;  // 1 Sunday .. 7 Saturday
    int dayOfYear = 0;  // 1 .. 366
};

// The names a locale gives days, months and the halves of the day.
struct DateNames {
    std::array<std::string, 7> days, shortDays;  // Monday first
    std::array<std::string, 12> months, shortMonths;
    std::string am, pm;
};

// The fields of a date given by year, month, day and time; invalid when the
// date does not exist (or lies before 1601).
DateFields MakeDateFields(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// d dd ddd dddd, M MM MMM MMMM, y yy yyyy, h hh (12-hour clock, 12 for
// hours 0 and 12), H HH, m mm, s ss, t tt (first letter or all of the AM or
// PM text), q (quarter), w ww (week of the year), g gg (nothing); another
// run length gives "???". Every number of an invalid date is -1 and its
// names are empty.
std::string FormatDatePicture(std::string_view picture, const DateFields& date, const DateNames& names);

}  // namespace vorlan
