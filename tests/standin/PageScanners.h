#pragma once

// Test-side readers of the stand-in's pages that walk them exactly the way the program's scanners
// do (find "<", find ">", upper-case the tag, test it, take the text up to the next "<"), so the
// tests see the values the program would take out of each page, and every step that would make
// the program's scan fail.

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace selvane::standin::test {

inline std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

inline std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

inline std::string trimSpaces(std::string_view s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return std::string(s.substr(b, s.find_last_not_of(' ') - b + 1));
}

inline void replaceAll(std::string& s, std::string_view from, std::string_view to) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

inline bool has(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

// The tag and text normalisation every scanner starts with.
inline std::string scannerText(std::string s, bool nbspToMark = true) {
    replaceAll(s, "<STRONG>", "<B>");
    replaceAll(s, "</STRONG>", "</B>");
    replaceAll(s, "<EM>", "<I>");
    replaceAll(s, "</EM>", "</I>");
    replaceAll(s, "\r\n", "");
    if (nbspToMark) replaceAll(s, "&nbsp;", "\\~");
    return s;
}

// The meeting page as the meeting list parser fills its tables.
struct MeetingScan {
    std::vector<std::string> dates;
    int selectedDateIndex = 0;
    std::map<int, std::string> names;  // slot -> meeting name
    std::map<int, std::string> links;  // slot -> link key
    std::map<int, int> lastRace;
    std::map<std::pair<int, int>, std::array<std::string, 4>> races;  // (slot, race) -> number, time, track, length
    int meetingCounter = 1;
    bool sawFormEnd = false;
    std::string failure;  // the step at which the program's parse would have ended early
};

inline MeetingScan scanMeetingPage(const std::string& stored) {
    MeetingScan out;
    const std::string text = scannerText(stored);
    const std::string dateTag = "<SELECT NAME=\"DATE\" ONCHANGE=\"NEWDATE(THIS);\" SIZE=\"1\">";
    bool afterGo = false, inRaceList = false, collecting = false;
    int current = 0, lastSeen = 0;
    std::size_t pos = 0;
    while (true) {
        const auto lt = text.find('<', pos);
        if (lt == std::string::npos) break;
        const auto gt = text.find('>', lt);
        if (gt == std::string::npos) {
            out.failure = "a < without >";
            break;
        }
        const std::string tag = upper(std::string_view(text).substr(lt, gt - lt + 1));
        if (has(tag, dateTag)) {
            collecting = true;
        } else if (has(tag, "<SELECT>") || has(tag, "<SELECT ")) {
        } else if (has(tag, "</SELECT>")) {
            if (afterGo && inRaceList) {
                out.lastRace[out.meetingCounter] = lastSeen;
                lastSeen = 0;
                inRaceList = false;
                ++out.meetingCounter;
            }
        } else if (has(tag, "</FORM>")) {
            out.sawFormEnd = true;
            break;
        }
        if (afterGo) {
            const auto p = tag.find("NAME=");
            if (p != std::string::npos) {
                const auto q = tag.find('"', p + 6);
                if (q != std::string::npos && q > p + 6) {
                    const std::string value = tag.substr(p + 6, q - p - 6);
                    if (value[0] == 'M') {
                        out.links[out.meetingCounter] = lower(value);
                        current = out.meetingCounter;
                    } else if (value[0] == 'N') {
                        inRaceList = true;
                    }
                }
            }
        }
        const auto next = text.find('<', gt + 1);
        if (next == std::string::npos) break;
        const std::string piece = text.substr(gt + 1, next - gt - 1);
        if (!piece.empty()) {
            if (collecting) {
                out.dates.push_back(piece);
                if (out.dates.size() > 31) {
                    out.failure = "more than 31 dates";
                    break;
                }
                if (tag.rfind("<OPTION SELECTED", 0) == 0) {
                    collecting = false;
                    out.selectedDateIndex = static_cast<int>(out.dates.size()) - 1;
                }
            }
            if (has(piece, "3. Click GO to have your data delivered to you.")) afterGo = true;
            if (afterGo && inRaceList && has(tag, "<OPTION VALUE")) {
                const std::string words = trimSpaces(piece);
                if (piece[0] == ' ') {
                    out.failure = "a race text with a leading space";
                    break;
                }
                std::vector<std::string> w;
                for (std::size_t s = 0; s <= words.size();) {
                    const auto e = std::min(words.find(' ', s), words.size());
                    w.push_back(words.substr(s, e - s));
                    s = e + 1;
                }
                if (w.size() < 3 || current == 0) {
                    out.failure = "a race text of fewer than three words, or before a meeting";
                    break;
                }
                const int race = std::atoi(w[0].substr(1).c_str());
                if (race < 1 || race > 50) {
                    out.failure = "a race number outside 1-50";
                    break;
                }
                const std::string length = piece.substr(piece.rfind(' ') + 1);
                const std::size_t start = w[0].size() + w[1].size() + 2;
                const std::size_t count = piece.size() - w[0].size() - w[1].size() - length.size() - 2;
                out.races[{current, race}] = {w[0].substr(1), w[1], piece.substr(start, count), length};
                lastSeen = race;
            }
            if (afterGo && !inRaceList && has(tag, "<OPTION VALUE=\"\">")) {
                if (current == 0) {
                    out.failure = "a meeting name before a meeting";
                    break;
                }
                out.names[current] = trimSpaces(piece);
            }
        }
        pos = next;
    }
    return out;
}

// The race page's runners table as the race field parser files it.
struct RunnerRow {
    std::array<std::string, 9> cells;  // number, form, horse, jockey, weight, api, win, place, stakes
};
struct RaceFieldScan {
    std::vector<RunnerRow> rows;  // runner rows 1.. (slot 0, the header, left out)
    bool headerSeen = false;
    int rules = 0;
    std::string failure;
};

inline RaceFieldScan scanRacePage(const std::string& stored) {
    RaceFieldScan out;
    const std::string text = scannerText(stored);
    int rowCount = 0, tables = 0, column = 0;
    bool inLink = false;
    std::string linkText;
    std::vector<RunnerRow> rows(101);
    auto storeCell = [&](int table, const std::string& s, int c) {
        if (c == 0) return true;
        if (table == 1 && c == 3) {
            // The program converts this cell to a 16-bit whole number.
            if (s.empty() || !std::all_of(s.begin(), s.end(), [](char ch) { return std::isdigit(static_cast<unsigned char>(ch)); }) ||
                std::atol(s.c_str()) > 32767) {
                out.failure = "race details cell 3 is not a 16-bit number: " + s;
                return false;
            }
        }
        if (table == 1 && c > 11) {
            out.failure = "race details cell beyond 11";
            return false;
        }
        if (table != 2 || c > 9) return true;
        if (rowCount > 100) {
            out.failure = "more than 100 rows";
            return false;
        }
        rows[static_cast<std::size_t>(rowCount)].cells[static_cast<std::size_t>(c - 1)] = s;
        return true;
    };
    std::size_t pos = 0;
    bool ok = true;
    while (ok) {
        const auto lt = text.find('<', pos);
        if (lt == std::string::npos) break;
        const auto gt = text.find('>', lt);
        if (gt == std::string::npos) break;
        const std::string tag = upper(std::string_view(text).substr(lt, gt - lt + 1));
        if (has(tag, "<HR>") || has(tag, "<HR ")) {
            if (out.rules <= 1) ++out.rules;
            if (!out.headerSeen) column = 1;
        } else if (has(tag, "<TABLE ") || has(tag, "<TABLE>")) {
            ++tables;
        } else if (has(tag, "</TABLE>") || has(tag, "<TR>") || has(tag, "<TR ")) {
        } else if (has(tag, "</TR>")) {
            if (out.headerSeen) {
                ++rowCount;
                column = 1;
            }
        } else if (has(tag, "<TD>") || has(tag, "<TD ")) {
        } else if (has(tag, "</TD>")) {
            if (out.headerSeen) {
                ++column;
                inLink = false;
            }
        } else if (has(tag, "</A>")) {
            inLink = true;
        }
        const auto next = text.find('<', gt + 1);
        if (next == std::string::npos) break;
        const std::string piece = text.substr(gt + 1, next - gt - 1);
        if (!piece.empty()) {
            linkText = inLink ? linkText + " " + piece : piece;
            if (tag == "</A>" && inLink) {
                ok = storeCell(tables, trimSpaces(linkText), column);
                linkText.clear();
                inLink = false;
            } else {
                ok = storeCell(tables, trimSpaces(piece), column);
            }
            if (!out.headerSeen && out.rules <= 1 && column <= 11) ++column;
            if (has(upper(piece), "STAKES")) out.headerSeen = true;
        }
        if (out.rules == 2) break;
        pos = next;
    }
    for (int i = 1; i < rowCount && i <= 100; ++i) out.rows.push_back(rows[static_cast<std::size_t>(i)]);
    return out;
}

// The live odds filter: the price page's table as "realodds.html" lines, then read back into the
// twelve odds columns. A re-opened page (a second "</TABLE>") is reported as a failure.
struct OddsScan {
    std::vector<std::string> lines;             // between the page head and its end
    std::vector<std::array<std::string, 12>> rows;  // oddsColumns, rows 1..runnerCount
    bool finishedByCount = false;
    bool finishedByPercentages = false;
    std::string failure;
};

inline OddsScan scanPricePage(const std::string& stored, int runnerCount) {
    OddsScan out;
    std::string text = scannerText(stored, false);
    static const std::pair<const char*, const char*> kColours[] = {
        {"#ffd700", "#ff0000"}, {"#00ff00", "#CCCCFF"}, {"#ff0000", "#ffb6c1"}, {"#fffacd", "#CCFFCC"},
        {"#ffb6c1", "#3399CC"}, {"#80ff80", "#33CC33"}, {"#87cefa", "#FFCCCC"}};
    for (const auto& [from, to] : kColours) replaceAll(text, from, to);
    bool headerSeen = false, copying = false, started = false;
    int rowCount = 0;
    std::size_t pos = 0;
    auto writeTag = [&](const std::string& tag) {
        if (!has(tag, "<A ") && !has(tag, "</A>")) out.lines.push_back(lower(tag));
    };
    while (true) {
        const auto lt = text.find('<', pos);
        if (lt == std::string::npos) break;
        const auto gt = text.find('>', lt);
        if (gt == std::string::npos) break;
        const std::string tag = upper(std::string_view(text).substr(lt, gt - lt + 1));
        if (has(tag, "</TABLE>")) {
            if (started) {
                out.failure = "a second </TABLE> while realodds.html is open";
                return out;
            }
            started = true;
        }
        if (has(tag, "</TR>")) {
            if (rowCount <= runnerCount + 5) ++rowCount;
            if (rowCount >= 3 && started) copying = true;
            if (headerSeen && rowCount == runnerCount + 5) {
                writeTag(tag);
                out.lines.push_back("</table>");
                out.finishedByCount = true;
                break;
            }
        }
        if (rowCount >= 4 && copying && !(has(tag, "</TR>") && rowCount == 4)) writeTag(tag);
        if (has(tag, "<TABLE ") && started) writeTag(tag);
        const auto next = text.find('<', gt + 1);
        if (next == std::string::npos) break;
        const std::string piece = text.substr(gt + 1, next - gt - 1);
        pos = next;
        if (piece.empty()) continue;
        if (has(upper(piece), "PERCENTAGES")) {
            out.lines.push_back("&nbsp;");
            out.finishedByPercentages = true;
            break;
        }
        if (has(piece, "#")) headerSeen = true;
        if (rowCount >= 3 && headerSeen) out.lines.push_back(piece);
    }
    if (!out.finishedByCount && !out.finishedByPercentages) {
        out.failure = "the odds table never ended";
        return out;
    }
    // readOddsPage over the written lines.
    std::string page;
    for (const std::string& l : out.lines) page += l + "\r\n";
    page = scannerText(page, false);
    replaceAll(page, "&nbsp;", "");
    out.rows.assign(static_cast<std::size_t>(std::max(0, runnerCount)), {});
    bool header = false;
    int afterHeader = 0, row = 1, column = 0;
    pos = 0;
    while (true) {
        const auto lt = page.find('<', pos);
        if (lt == std::string::npos) break;
        const auto gt = page.find('>', lt);
        if (gt == std::string::npos) break;
        if (has(upper(page.substr(lt, gt - lt + 1)), "</TR>") && header) ++afterHeader;
        const auto next = page.find('<', gt + 1);
        if (next == std::string::npos) break;
        const std::string piece = page.substr(gt + 1, next - gt - 1);
        pos = next;
        if (piece.empty()) continue;
        if (has(upper(piece), "QLD PLC")) header = true;
        if (!header || afterHeader < 1) continue;
        if (column <= 11) {
            ++column;
        } else {
            column = 1;
            ++row;
        }
        if (row > runnerCount) break;
        out.rows[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column - 1)] = trimSpaces(piece);
    }
    return out;
}

// The results site's meeting page as the results parser fills its tables.
struct ResultsMeeting {
    std::string name;
    std::string code;
    std::vector<std::string> results;
};
struct ResultsScan {
    std::vector<ResultsMeeting> meetings;
    int meetingCount = -1;  // set at the trots heading
    int headerCount = 0;
};

inline ResultsScan scanResultsMeetingPage(const std::string& stored) {
    ResultsScan out;
    const std::string text = scannerText(stored);
    bool section = false;
    std::string currentCode;
    std::size_t pos = 0;
    while (true) {
        const auto lt = text.find('<', pos);
        if (lt == std::string::npos) break;
        const auto gt = text.find('>', lt);
        if (gt == std::string::npos) break;
        const std::string tag = upper(std::string_view(text).substr(lt, gt - lt + 1));
        const auto next = text.find('<', gt + 1);
        if (next == std::string::npos) break;
        pos = next;
        const std::string cell = text.substr(gt + 1, next - gt - 1);
        if (cell.empty()) continue;
        const std::string cellUpper = upper(cell);
        if (has(cellUpper, "RACES")) {
            section = true;
        } else if (has(cellUpper, "TROTS")) {
            out.meetingCount = static_cast<int>(out.meetings.size());
            break;
        }
        if (section && out.headerCount <= 13) {
            if (has(tag, "<TH CLASS=\"ROWHDR\"")) {
                ++out.headerCount;
            } else if (has(tag, " CLASS='LOCATION")) {
                if (out.headerCount < 13) ++out.headerCount;
                out.meetings.push_back({});
            }
        }
        if (section && out.headerCount >= 13 && !out.meetings.empty()) {
            const std::string t = trimSpaces(cell);
            if (upper(t) == "FIELDS" || t == "\\~" || t == std::string(1, '\0')) continue;
            const auto a = tag.find("<A HREF=");
            if (a == std::string::npos) continue;
            const auto q = tag.find('"', a + 9);
            if (q == std::string::npos || q == a + 9) continue;
            const std::string address = tag.substr(a + 9, q - a - 9);
            ResultsMeeting& m = out.meetings.back();
            if (address.substr(0, 2) != currentCode) {
                currentCode = cell.size() >= 3 ? cell.substr(cell.size() - 3, 2) : "";
                m.name = cell;
                if (m.results.empty()) m.code = currentCode;
            } else {
                m.results.push_back(cell);
            }
        }
    }
    return out;
}

// "results.html" of the live results command: the copied tags and texts, one a line. A second
// table start while the page is open keeps the page open (it is not started again).
struct ResultPageScan {
    std::vector<std::string> lines;
    int tableStarts = 0;
    bool ended = false;  // the fifth </table> was reached
};

inline ResultPageScan scanResultPage(const std::string& stored) {
    ResultPageScan out;
    const std::string text = scannerText(stored, false);
    static const char* const kStarts[] = {"<TABLE WIDTH=\"100%\" BORDER=1 CELLPADDING=0>",
                                          "<TABLE WIDTH=\"100%\" BORDER=\"1\" CELLPADDING=0>",
                                          "<TABLE WIDTH=\"100%\" BORDER=\"1\" CELLPADDING=\"0\">",
                                          "<TABLE WIDTH=100% BORDER=1 CELLPADDING=0>", " BORDER=1"};
    bool copying = false;
    int ends = 0;
    std::size_t pos = 0;
    while (true) {
        const auto lt = text.find('<', pos);
        if (lt == std::string::npos) break;
        const auto gt = text.find('>', lt);
        if (gt == std::string::npos) break;
        const std::string tag = upper(std::string_view(text).substr(lt, gt - lt + 1));
        if (std::any_of(std::begin(kStarts), std::end(kStarts), [&](const char* s) { return has(tag, s); })) {
            copying = true;
            ++out.tableStarts;
        }
        if (has(tag, "</TABLE>") && copying && ends < 5) ++ends;
        if (copying) {
            out.lines.push_back(lower(tag));
            if (ends == 5) {
                out.ended = true;
                break;
            }
        }
        const auto next = text.find('<', gt + 1);
        if (next == std::string::npos) break;
        const std::string piece = text.substr(gt + 1, next - gt - 1);
        if (!piece.empty() && copying) out.lines.push_back(piece);
        pos = next;
    }
    return out;
}

}  // namespace selvane::standin::test
