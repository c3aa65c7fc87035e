#include "PunterJson.h"

#include <charconv>
#include <cstdio>

#include "Cli.h"
#include "net/PageText.h"

namespace selvane::cli {
namespace {

using nlohmann::json;

std::optional<int> digitsAt(std::string_view text, std::size_t& at, std::size_t maxDigits) {
    int value = 0;
    const std::size_t start = at;
    while (at < text.size() && at - start < maxDigits && text[at] >= '0' && text[at] <= '9')
        value = value * 10 + (text[at++] - '0');
    if (at == start) return std::nullopt;
    return value;
}

// "18,17,1" as its runner numbers; empty when the text is anything else.
std::vector<int> placings(std::string_view text, char separator) {
    std::vector<int> out;
    std::size_t at = 0;
    text = text::trimSpaces(text);
    while (at < text.size()) {
        while (at < text.size() && text[at] == ' ') ++at;
        const std::optional<int> n = digitsAt(text, at, 3);
        if (!n) return {};
        out.push_back(*n);
        while (at < text.size() && text[at] == ' ') ++at;
        if (at == text.size()) break;
        if (text[at++] != separator) return {};
    }
    return out;
}

}  // namespace

json punterDocument(json data, const std::vector<std::string>& warnings, const std::string& error) {
    if (!data.is_object()) data = json::object();
    data["error"] = error.empty() ? json(nullptr) : json(toUtf8(error));
    json list = json::array();
    for (const std::string& w : warnings) list.push_back(toUtf8(w));
    data["warnings"] = list;
    return data;
}

json isoDate(std::string_view text) {
    if (!isCalendarDate(text)) return nullptr;
    return std::string(text.substr(6, 4)) + "-" + std::string(text.substr(3, 2)) + "-" + std::string(text.substr(0, 2));
}

json isoTime(std::string_view text) {
    text = text::trimSpaces(text);
    std::size_t at = 0;
    std::optional<int> hour = digitsAt(text, at, 2);
    if (!hour || at >= text.size() || text[at++] != ':') return nullptr;
    const std::size_t minuteAt = at;
    const std::optional<int> minute = digitsAt(text, at, 2);
    if (!minute || at - minuteAt != 2 || *minute > 59) return nullptr;
    const std::string_view rest = text.substr(at);
    if (rest == "PM" || rest == "AM") {
        if (*hour < 1 || *hour > 12) return nullptr;
        hour = *hour % 12 + (rest == "PM" ? 12 : 0);
    } else if (!rest.empty() || *hour > 23) {
        return nullptr;
    }
    char buffer[24];  // room for any two ints, though the checks above keep them to two digits
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", *hour, *minute);
    return buffer;
}

json leadingWhole(std::string_view text) {
    text = text::trimSpaces(text);
    std::size_t at = 0;
    const std::optional<int> n = digitsAt(text, at, 9);
    return n ? json(*n) : json(nullptr);
}

json decimalOrNull(std::string_view text) {
    text = text::trimSpaces(text);
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !(value > 0)) return nullptr;
    return value;
}

json trimmedText(std::string_view text) { return toUtf8(text::trimSpaces(text)); }

std::vector<std::string> messageWarnings(const std::vector<ShownMessage>& messages) {
    std::vector<std::string> out;
    for (const ShownMessage& m : messages) {
        std::string line = m.title + ": ";
        // One line: the box's line breaks become blanks.
        for (const char c : m.text) {
            if (c == '\r') continue;
            if (c != '\n' || (!line.empty() && line.back() != ' ')) line += c == '\n' ? ' ' : c;
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out.push_back(line);
    }
    return out;
}

json chosenRaceJson(const MainWindow& w) {
    const ReportList& races = w.lstRaceName;
    const int i = races.selectedIndex();
    if (i < 0) return nullptr;
    return {{"number", leadingWhole(races.subItem(i, 1))},
            {"time", isoTime(races.subItem(i, 2))},
            {"name", trimmedText(races.subItem(i, 3))},
            {"length", leadingWhole(races.subItem(i, 4))}};
}

json resultsDataJson(const MainWindow& w) {
    json list = json::array();
    for (const ReportRow& row : w.lstResults.rows()) {
        const std::string& text = row.subItems.at(2);
        const std::vector<int> placed = placings(text, ',');
        const json time = isoTime(text);
        const std::string state =
            !placed.empty() ? "result" : !time.is_null() ? "upcoming" : text::lower(text::trimSpaces(text));
        list.push_back({{"race", leadingWhole(row.subItems.at(0))},
                        {"state", toUtf8(state)},
                        {"placings", placed},
                        {"time", time}});
    }
    json result = nullptr;
    const std::vector<int> placed = placings(w.txtResults.text(), '-');
    if (!placed.empty()) {
        const json race = chosenRaceJson(w);
        result = {{"race", race.is_object() ? race["number"] : json(nullptr)}, {"placings", placed}};
    }
    return {{"results", list}, {"result", result}};
}

}  // namespace selvane::cli
