#pragma once

#include <array>
#include <string>

namespace selvane {

// One row of the race page's runners table, in page column order.
struct RunnerRow {
    std::string number;
    std::string form;
    std::string horse;  // "NAME  (5)": name and bracketed barrier
    std::string jockey;
    std::string weight;
    std::string api;
    std::string win;
    std::string place;
    std::string stakes;

    static constexpr int kFields = 9;
    // Field 1 (number) .. 9 (stakes); nullptr for any other column.
    std::string* field(int column);
    const std::string* field(int column) const;
};

// The runner rows of the race on screen and the state of the parse that filled them.
// Every parse overwrites the slots it files into and leaves the rest as they were.
struct RunnerTable {
    static constexpr int kLastSlot = 100;  // slot 0 takes the header, 1..100 the runners

    std::array<RunnerRow, kLastSlot + 1> runnerRows;
    // The current row slot; after a parse the number of runner rows plus 1.
    int runnerRowCount = 0;

    int tableCounter = 0;
    int ruleCounter = 0;
    int cellColumn = 0;
    bool headerSeen = false;
    bool inLink = false;
    std::string linkText;  // not reset by a parse: always assigned before it is read

    // The first table's cells 1..11 (the race's own details); kept, never read.
    std::array<std::string, 12> raceDetails;

    // Runner rows a parse filled (slots 1..count), never more than the table holds.
    int runnerCount() const;
    // Empties the nine texts of slots 1..count before the next race is parsed.
    void clearRows(int count);
};

}  // namespace selvane
