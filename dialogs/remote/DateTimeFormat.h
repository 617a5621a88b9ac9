#pragma once
// A date and time written after a locale picture, with the day and month
// names of the system's default locale (DatePicture.h has the letters).
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "DatePicture.h"

namespace vorlan {

class CDateTimeFormat {
public:
    // An automation date; one that does not convert is invalid.
    void SetDateTime(DATE value);
    void SetDateTime(const SYSTEMTIME& time);
    // The text, kept in the object's buffer of 256 characters (cut there).
    const char* Format(const std::string& picture);

    // The names of the system's default locale, read once.
    static const DateNames& SystemNames();

private:
    DateFields fields_;
    char buffer_[256] = {};
};

// The user's short-date picture ("M/d/yyyy" and the like).
std::string UserShortDatePicture();

// A device file time shown in the local time zone after picture; "" when
// the time does not convert.
std::string DeviceFileDateText(const FILETIME& time, const std::string& picture);

}  // namespace vorlan
