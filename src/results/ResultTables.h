#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace selvane {

// One meeting's row of the results site's meeting page. Slots 1..50; a slot never written
// reads as empty, so a meeting costs only what its row holds.
struct ResultRecord {
    static constexpr int kSlots = 50;

    const std::string& result(int slot) const { return get(results, slot); }
    const std::string& code(int slot) const { return get(codes, slot); }
    // Slots outside 1..50 are not stored.
    bool setResult(int slot, std::string text) { return put(results, slot, std::move(text)); }
    bool setCode(int slot, std::string text) { return put(codes, slot, std::move(text)); }

    std::vector<std::string> results;  // index slot - 1
    std::vector<std::string> codes;

private:
    static const std::string& get(const std::vector<std::string>& v, int slot) {
        static const std::string empty;
        return slot >= 1 && slot <= static_cast<int>(v.size()) ? v[slot - 1] : empty;
    }
    static bool put(std::vector<std::string>& v, int slot, std::string text) {
        if (slot < 1 || slot > kSlots) return false;
        if (static_cast<int>(v.size()) < slot) v.resize(slot);
        v[slot - 1] = std::move(text);
        return true;
    }
};

// The results site's meetings as the last parse left them. The three arrays have one entry
// per meeting started in the current parse; entry 0 is unused so indexes read as meeting numbers.
struct ResultTables {
    std::vector<std::string> resultMeetingNames{1};
    std::vector<std::int16_t> resultRaceCounts = std::vector<std::int16_t>(1, 0);
    std::vector<ResultRecord> resultRecords{1};
    std::int16_t resultMeetingCount = 0;

    // Parse state.
    std::int16_t resultMeetingIndex = 0;
    std::int16_t resultRaceSlot = 1;

    // Meetings the arrays hold (not resultMeetingCount, which only a finished parse sets).
    int storedMeetings() const { return static_cast<int>(resultMeetingNames.size()) - 1; }
};

}  // namespace selvane
