#pragma once

// Calendar dates and local clock times of the stand-in services, and the form guide's meeting
// codes, which carry their date.

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace selvane::standin {

struct Date {
    int year = 2026;
    int month = 1;
    int day = 1;
    friend bool operator==(const Date&, const Date&) = default;
    friend auto operator<=>(const Date&, const Date&) = default;
};

// Days since 1970-01-01 (proleptic Gregorian) and back.
long daysFromCivil(const Date& d);
Date civilFromDays(long days);
bool isValidDate(const Date& d);
Date addDays(const Date& d, long n);
int weekday(const Date& d);  // 0 = Sunday

// "yyyymmdd" or "yyyy-mm-dd"; nullopt when it is not a real date.
std::optional<Date> parseDate(std::string_view text);
std::string yyyymmdd(const Date& d);
std::string ddmmyyyy(const Date& d);  // "06/12/2026", as the meeting page's date list shows it

// A local wall-clock moment: the day and the minute of that day.
struct LocalTime {
    Date date;
    int minutes = 0;  // 0..1439
    int seconds = 0;
};
// "2026-12-06T14:00" or "2026-12-06T14:00:30"
std::optional<LocalTime> parseLocalTime(std::string_view text);
LocalTime systemLocalTime();
std::string formatLocalTime(const LocalTime& t);  // "2026-12-06T14:00"

// Form guide meeting codes carry their date, so a race page address (which has no date) names
// one day: three track letters and four letters for the day number.
std::string formCodeFor(std::string_view trackLetters, const Date& date);
std::optional<Date> dateOfFormCode(std::string_view code);

// Splits "ranbdfa7" into code and race number; nullopt when it is not letters then 1 or 2 digits.
std::optional<std::pair<std::string, int>> splitCodeAndRace(std::string_view text);

}  // namespace selvane::standin
