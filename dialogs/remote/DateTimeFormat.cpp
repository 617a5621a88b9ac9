#include "DateTimeFormat.h"

#include <oleauto.h>

#include <cstring>

namespace vorlan {

namespace {

std::string LocaleText(LCID locale, LCTYPE kind) {
    char text[128] = {};
    if (!GetLocaleInfoA(locale, kind, text, sizeof text)) return {};
    return text;
}

bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}

}  // namespace

const DateNames& CDateTimeFormat::SystemNames() {
    static const DateNames names = [] {
        DateNames n;
        for (int i = 0; i < 7; ++i) {
            n.days[i] = LocaleText(LOCALE_SYSTEM_DEFAULT, LOCALE_SDAYNAME1 + i);
            n.shortDays[i] = LocaleText(LOCALE_SYSTEM_DEFAULT, LOCALE_SABBREVDAYNAME1 + i);
        }
        for (int i = 0; i < 12; ++i) {
            n.months[i] = LocaleText(LOCALE_SYSTEM_DEFAULT, LOCALE_SMONTHNAME1 + i);
            n.shortMonths[i] = LocaleText(LOCALE_SYSTEM_DEFAULT, LOCALE_SABBREVMONTHNAME1 + i);
        }
        n.am = LocaleText(LOCALE_SYSTEM_DEFAULT, LOCALE_S1159);
        n.pm = LocaleText(LOCALE_SYSTEM_DEFAULT, LOCALE_S2359);
        return n;
    }();
    return names;
}

void CDateTimeFormat::SetDateTime(DATE value) {
    SYSTEMTIME time = {};
    if (!VariantTimeToSystemTime(value, &time)) {
        fields_ = DateFields();
        return;
    }
    fields_ = MakeDateFields(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
}

void CDateTimeFormat::SetDateTime(const SYSTEMTIME& time) {
    // Kept only when the date converts there and back unchanged.
    DATE value = 0;
    SYSTEMTIME back = {};
    if (!SystemTimeToVariantTime(const_cast<SYSTEMTIME*>(&time), &value) || !VariantTimeToSystemTime(value, &back) ||
        !SameTime(time, back)) {
        fields_ = DateFields();
        return;
    }
    fields_ = MakeDateFields(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
}

const char* CDateTimeFormat::Format(const std::string& picture) {
    const std::string text = FormatDatePicture(picture, fields_, SystemNames());
    const size_t length = text.size() < sizeof buffer_ - 1 ? text.size() : sizeof buffer_ - 1;
    std::memcpy(buffer_, text.data(), length);
    buffer_[length] = '\0';
    return buffer_;
}

std::string UserShortDatePicture() { return LocaleText(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE); }

std::string DeviceFileDateText(const FILETIME& time, const std::string& picture) {
    FILETIME local = {};
    SYSTEMTIME fields = {};
    if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &fields)) return {};
    CDateTimeFormat format;
    format.SetDateTime(fields);
    return format.Format(picture);
}

}  // namespace vorlan
