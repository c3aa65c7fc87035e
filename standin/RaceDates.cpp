#include "standin/RaceDates.h"

#include <cctype>
#include <cstdio>
#include <ctime>

namespace selvane::standin {

long daysFromCivil(const Date& d) {
    const long y = d.year - (d.month <= 2 ? 1 : 0);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long mp = (d.month + 9) % 12;
    const long doy = (153 * mp + 2) / 5 + d.day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Date civilFromDays(long z) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

bool isValidDate(const Date& d) {
    if (d.year < 1900 || d.year > 2999 || d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31) return false;
    return civilFromDays(daysFromCivil(d)) == d;
}

Date addDays(const Date& d, long n) { return civilFromDays(daysFromCivil(d) + n); }

int weekday(const Date& d) {
    const long z = daysFromCivil(d);
    return static_cast<int>(((z % 7) + 7 + 4) % 7);
}

namespace {
bool digitsAt(std::string_view s, std::size_t pos, std::size_t n, int& out) {
    if (pos + n > s.size()) return false;
    int v = 0;
    for (std::size_t i = pos; i < pos + n; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
    }
    out = v;
    return true;
}
}  // namespace

std::optional<Date> parseDate(std::string_view text) {
    Date d;
    if (text.size() == 8) {
        if (!digitsAt(text, 0, 4, d.year) || !digitsAt(text, 4, 2, d.month) || !digitsAt(text, 6, 2, d.day))
            return std::nullopt;
    } else if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        if (!digitsAt(text, 0, 4, d.year) || !digitsAt(text, 5, 2, d.month) || !digitsAt(text, 8, 2, d.day))
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    if (!isValidDate(d)) return std::nullopt;
    return d;
}

std::string yyyymmdd(const Date& d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", d.year, d.month, d.day);
    return buf;
}

std::string ddmmyyyy(const Date& d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.day, d.month, d.year);
    return buf;
}

std::optional<LocalTime> parseLocalTime(std::string_view text) {
    if (text.size() != 16 && text.size() != 19) return std::nullopt;
    if (text[10] != 'T' && text[10] != ' ') return std::nullopt;
    const auto date = parseDate(text.substr(0, 10));
    int h = 0, m = 0, s = 0;
    if (!date || text[13] != ':' || !digitsAt(text, 11, 2, h) || !digitsAt(text, 14, 2, m)) return std::nullopt;
    if (text.size() == 19 && (text[16] != ':' || !digitsAt(text, 17, 2, s))) return std::nullopt;
    if (h > 23 || m > 59 || s > 59) return std::nullopt;
    return LocalTime{*date, h * 60 + m, s};
}

LocalTime systemLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return LocalTime{{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday}, tm.tm_hour * 60 + tm.tm_min, tm.tm_sec};
}

std::string formatLocalTime(const LocalTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d", t.date.year, t.date.month, t.date.day, t.minutes / 60,
                  t.minutes % 60);
    return buf;
}

namespace {
constexpr long kCodeDayOffset = 200'000;  // keeps day numbers of 1452..3700 positive
}

std::string formCodeFor(std::string_view trackLetters, const Date& date) {
    long v = daysFromCivil(date) + kCodeDayOffset;
    std::string day(4, 'a');
    for (int i = 3; i >= 0; --i) {
        day[static_cast<std::size_t>(i)] = static_cast<char>('a' + v % 26);
        v /= 26;
    }
    return std::string(trackLetters) + day;
}

std::optional<Date> dateOfFormCode(std::string_view code) {
    if (code.size() != 7) return std::nullopt;
    long v = 0;
    for (std::size_t i = 3; i < 7; ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(code[i])));
        if (c < 'a' || c > 'z') return std::nullopt;
        v = v * 26 + (c - 'a');
    }
    const Date d = civilFromDays(v - kCodeDayOffset);
    if (!isValidDate(d)) return std::nullopt;
    return d;
}

std::optional<std::pair<std::string, int>> splitCodeAndRace(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) ++i;
    const std::size_t digits = text.size() - i;
    if (i == 0 || digits < 1 || digits > 2) return std::nullopt;
    int race = 0;
    if (!digitsAt(text, i, digits, race) || race < 1) return std::nullopt;
    return std::make_pair(std::string(text.substr(0, i)), race);
}

}  // namespace selvane::standin
