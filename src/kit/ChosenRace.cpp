#include "kit/ChosenRace.h"

#include "kit/MainWindow.h"

namespace selvane {
namespace {

// Blanks only, as the labels' texts are trimmed everywhere else.
std::string trimBlanks(std::string_view s) {
    const std::size_t a = s.find_first_not_of(' ');
    if (a == std::string_view::npos) return {};
    return std::string(s.substr(a, s.find_last_not_of(' ') - a + 1));
}

}  // namespace

bool ChosenRace::chosen() const {
    return number.find_first_not_of(' ') != std::string::npos;
}

std::string ChosenRace::raceNumber() const {
    return trimBlanks(number);
}

std::string ChosenRace::trackCaption() const {
    return "TrackName: " + escapeAmpersands(track);
}

std::string ChosenRace::trackText() const {
    const std::string name = escapeAmpersands(track);
    return trimBlanks(std::string_view(name).substr(0, name.empty() ? 0 : name.size() - 1));
}

std::string escapeAmpersands(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '&') out += '&';
    }
    return out;
}

void showChosenRace(MainWindow& w, const ChosenRace& race) {
    w.setRaceLabels(race.trackCaption(), "Time: " + race.time, "Length: " + race.length, race.number);
}

}  // namespace selvane
