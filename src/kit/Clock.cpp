#include "kit/Clock.h"

#include <cstdio>
#include <ctime>

namespace selvane {

namespace {

const SystemClock kSystemClock;
const Clock* installed = nullptr;

}  // namespace

CivilDate Clock::today() const {
    const std::time_t t = std::chrono::system_clock::to_time_t(now());
    std::tm local{};
    localtime_r(&t, &local);
    return CivilDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

const Clock& Clock::instance() { return installed ? *installed : kSystemClock; }

void Clock::setInstance(const Clock* clock) { installed = clock; }

MockClock::MockClock(CivilDate date, int hour, int minute) {
    std::tm local{};
    local.tm_year = date.year - 1900;
    local.tm_mon = date.month - 1;
    local.tm_mday = date.day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_isdst = -1;
    now_ = std::chrono::system_clock::from_time_t(std::mktime(&local));
}

ScopedClock::ScopedClock(const Clock& clock) : previous_(installed) { Clock::setInstance(&clock); }

ScopedClock::~ScopedClock() { Clock::setInstance(previous_); }

std::string shortDate(CivilDate date) {
    char text[40];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", date.day, date.month, date.year);
    return text;
}

}  // namespace selvane
