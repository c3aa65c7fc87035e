#pragma once

#include <chrono>
#include <string>

namespace selvane {

struct CivilDate {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    bool operator==(const CivilDate&) const = default;
};

// Where "now" comes from. The program uses the system clock; tests install a MockClock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::system_clock::time_point now() const = 0;
    // The calendar date of now() in the local time zone.
    CivilDate today() const;

    static const Clock& instance();
    // nullptr puts the system clock back. The caller keeps the clock alive while installed.
    static void setInstance(const Clock* clock);
};

class SystemClock : public Clock {
public:
    std::chrono::system_clock::time_point now() const override { return std::chrono::system_clock::now(); }
};

class MockClock : public Clock {
public:
    // A local date and time.
    MockClock(CivilDate date, int hour = 12, int minute = 0);
    std::chrono::system_clock::time_point now() const override { return now_; }

private:
    std::chrono::system_clock::time_point now_;
};

// Installs a clock for the life of the object, then puts the previous one back.
class ScopedClock {
public:
    explicit ScopedClock(const Clock& clock);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    const Clock* previous_;
};

// The short date form of an Australian desktop: dd/mm/yyyy.
std::string shortDate(CivilDate date);

}  // namespace selvane
