#pragma once

#include <string>
#include <string_view>

namespace selvane {

struct MainWindow;

// The race the punter chose in the race list, as its row and the boxes gave it; all empty while
// no race is chosen. The race detail labels are written from it, and the live odds and live
// results commands take it rather than reading the labels back.
struct ChosenRace {
    std::string date{};     // the date box text, dd/mm/yyyy
    std::string meeting{};  // the track box text
    std::string link{};     // the race list key: "m" and the form guide's meeting code
    std::string number{};   // "Race #." as the race list holds it
    std::string time{};
    std::string track{};  // "Track Name" as the race list holds it: the name and one closing blank
    std::string length{};

    // A number of blanks only is no race.
    bool chosen() const;
    // The number without the blanks around it.
    std::string raceNumber() const;
    // lblTrackName's caption.
    std::string trackCaption() const;
    // The track as the odds and results windows head it: the name without its closing blank,
    // trimmed, an "&" doubled as the label holds it.
    std::string trackText() const;
};

// text with every "&" doubled, so that a label shows the ampersand instead of taking it as an
// access-key mark.
std::string escapeAmpersands(std::string_view text);

// The four race detail labels from race.
void showChosenRace(MainWindow& w, const ChosenRace& race);

}  // namespace selvane
