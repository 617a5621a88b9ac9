#include <gtest/gtest.h>

#include "DatePicture.h"

namespace vorlan {
namespace {

DateNames EnglishNames() {
    return {{"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"},
            {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"},
            {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
             "November", "December"},
            {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
            "AM",
            "PM"};
}

TEST(DatePictureTest, Pictures) {
    const DateFields may9 = MakeDateFields(2026, 5, 9, 13, 5, 7);
    const DateFields early = MakeDateFields(2026, 5, 9, 0, 5, 0);
    const DateFields noon = MakeDateFields(2026, 5, 9, 12, 0, 0);
    const DateFields invalid = MakeDateFields(2026, 2, 30);
    struct Case {
        const char* picture;
        const DateFields& date;
        const char* want;
    } const cases[] = {
        {"dd/MM/yyyy", may9, "09/05/2026"},
        {"d MMMM", may9, "9 May"},
        {"dddd, d. MMM yy", may9, "Saturday, 9. May 26"},
        {"d 'de' MMMM 'de' yyyy", may9, "9 de May de 2026"},
        {"yyy", may9, "???"},
        {"ddddd MMMMM", may9, "??? ???"},
        {"h:mm tt", may9, "1:05 PM"},
        {"h:mm tt", early, "12:05 AM"},
        {"hh:mm t", noon, "12:00 P"},
        {"HH:mm:ss", early, "00:05:00"},
        {"q", may9, "2"},
        {"w", MakeDateFields(2026, 1, 1), "1"},  // 1 January 2026 is a Thursday (5)
        {"gg yyyy", may9, " 2026"},
        {"d/M/y", invalid, "-1/-1/-1"},
        {"dddd MMMM tt|", invalid, "  |"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDatePicture(c.picture, c.date, EnglishNames()), c.want) << c.picture;
}

TEST(DatePictureTest, FieldsOfDates) {
    const DateFields may9 = MakeDateFields(2026, 5, 9);
    EXPECT_TRUE(may9.valid);
    EXPECT_EQ(may9.dayOfWeek, 7);  // Saturday
    EXPECT_EQ(may9.dayOfYear, 129);
    EXPECT_EQ(MakeDateFields(2024, 12, 31).dayOfYear, 366);
    EXPECT_TRUE(MakeDateFields(2024, 2, 29).valid);
    EXPECT_FALSE(MakeDateFields(2026, 2, 29).valid);
    EXPECT_FALSE(MakeDateFields(2026, 13, 1).valid);
    EXPECT_FALSE(MakeDateFields(2026, 5, 9, 24).valid);
}

}  // namespace
}  // namespace vorlan
