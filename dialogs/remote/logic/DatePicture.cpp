#include "DatePicture.h"

#include <cstdio>

namespace vorlan {

namespace {

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : days[month - 1];
}

// 1 Sunday .. 7 Saturday (Sakamoto's method).
int WeekDay(int year, int month, int day) {
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) --year;
    return (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7 + 1;
}

std::string Number(int value, bool twoDigits) {
    char text[16];
    std::snprintf(text, sizeof text, twoDigits ? "%02d" : "%d", value);
    return text;
}

bool IsPictureLetter(char c) {
    switch (c) {
        case 'd': case 'M': case 'y': case 'h': case 'H': case 'm':
        case 's': case 't': case 'g': case 'q': case 'w':
            return true;
        default:
            return false;
    }
}

std::string Field(char letter, size_t count, const DateFields& date, const DateNames& names) {
    const bool valid = date.valid;
    auto number = [&](int value, bool twoDigits) { return Number(valid ? value : -1, twoDigits); };
    auto name = [&](const std::string& text) { return valid ? text : std::string(); };
    // Monday first in the names, Sunday first in the fields.
    const size_t dayName = valid ? static_cast<size_t>((date.dayOfWeek + 5) % 7) : 0;
    const size_t monthName = valid ? static_cast<size_t>(date.month - 1) : 0;
    switch (letter) {
        case 'd':
            if (count <= 2) return number(date.day, count == 2);
            if (count == 3) return name(names.shortDays[dayName]);
            if (count == 4) return name(names.days[dayName]);
            break;
        case 'M':
            if (count <= 2) return number(date.month, count == 2);
            if (count == 3) return name(names.shortMonths[monthName]);
            if (count == 4) return name(names.months[monthName]);
            break;
        case 'y':
            if (count == 1) return number(date.year, false);
            if (count == 2) return number(date.year % 100, true);
            if (count == 4) {
                char year[16];
                std::snprintf(year, sizeof year, "%04d", valid ? date.year : -1);
                return year;
            }
            break;
        case 'h':
            if (count <= 2) return number(date.hour % 12 == 0 ? 12 : date.hour % 12, count == 2);
            break;
        case 'H':
            if (count <= 2) return number(date.hour, count == 2);
            break;
        case 'm':
            if (count <= 2) return number(date.minute, count == 2);
            break;
        case 's':
            if (count <= 2) return number(date.second, count == 2);
            break;
        case 't': {
            if (count > 2) break;
            const std::string& half = date.hour < 12 ? names.am : names.pm;
            if (!valid) return {};
            return count == 1 ? half.substr(0, 1) : half;
        }
        case 'q':
            if (count == 1) return number((date.month - 1) / 3 + 1, false);
            break;
        case 'w':
            if (count <= 2)
                return number((date.dayOfYear + WeekDay(date.year, 1, 1)) / 7 + 1, count == 2);
            break;
        case 'g':
            if (count <= 2) return {};
            break;
        default:
            break;
    }
    return "???";
}

}  // namespace

DateFields MakeDateFields(int year, int month, int day, int hour, int minute, int second) {
    DateFields date;
    if (year < 1601 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return date;
    date.valid = true;
    date.year = year;
    date.month = month;
    date.day = day;
    date.hour = hour;
    date.minute = minute;
    date.second = second;
    date.dayOfWeek = WeekDay(year, month, day);
    date.dayOfYear = day;
    for (int m = 1; m < month; ++m) date.dayOfYear += DaysInMonth(year, m);
    return date;
}

std::string FormatDatePicture(std::string_view picture, const DateFields& date, const DateNames& names) {
    std::string out;
    for (size_t i = 0; i < picture.size();) {
        const char c = picture[i];
        if (c == '\'') {
            const size_t close = picture.find('\'', i + 1);
            const size_t end = close == std::string_view::npos ? picture.size() : close;
            out.append(picture.substr(i + 1, end - i - 1));
            i = close == std::string_view::npos ? end : close + 1;
        } else if (IsPictureLetter(c)) {
            size_t run = i;
            while (run < picture.size() && picture[run] == c) ++run;
            out += Field(c, run - i, date, names);
            i = run;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

}  // namespace vorlan
