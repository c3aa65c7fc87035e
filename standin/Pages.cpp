#include "standin/Pages.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cstdio>

#include "standin/Decimal.h"
#include "standin/RaceModel.h"

namespace selvane::standin {
namespace {

const char* const kWeekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

std::string longDate(const Date& d) { return std::string(kWeekdays[weekday(d)]) + " " + ddmmyyyy(d); }

std::string escape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

// With the latin1 style a name's first E becomes E-acute as one ISO-8859-1 byte.
std::string spell(const PageStyle& style, std::string_view name) {
    std::string out(name);
    if (style.latin1) {
        const auto e = out.find('E');
        if (e != std::string::npos) out[e] = '\xC9';
    }
    return out;
}

std::string copyright(const PageStyle& style, const char* who) {
    return std::string(style.latin1 ? "Copyright \xA9 " : "Copyright (c) ") + who;
}

std::string twoDigits(int n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

std::string clockText(int minutes) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d:%02d", minutes / 60 % 24, minutes % 60);
    return buf;
}

std::string upperText(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool isNumber(const std::string& s) { return !s.empty() && (std::isdigit(static_cast<unsigned char>(s[0])) != 0); }

}  // namespace

std::string meetingPage(const RaceDay& day, const PageStyle& style) {
    std::string p;
    p += "<HTML>\n<HEAD>\n<TITLE>Form Guide Delivery - " + ddmmyyyy(day.date) + "</TITLE>\n";
    // No angle brackets in the script: the page's readers take every "<" for a tag.
    p += "<SCRIPT LANGUAGE=\"JavaScript\">\n";
    p += "function NEWDATE(list) { location.href = \"/cgi-bin/tvf/access.pl?\" + "
         "list.options[list.selectedIndex].value; }\n";
    p += "</SCRIPT>\n</HEAD>\n<BODY BGCOLOR=\"#FFFFFF\">\n";
    p += "<CENTER><H2>Form Guide Delivery</H2></CENTER>\n";
    p += "<FORM NAME=\"DELIVER\" METHOD=\"GET\" ACTION=\"/cgi-bin/tvf/memdeliver.pl\">\n";
    p += "<TABLE BORDER=\"0\" CELLPADDING=\"4\">\n";
    p += "<TR><TD><B>1. Select the race day.</B></TD></TR>\n";
    p += "<TR><TD><SELECT NAME=\"DATE\" ONCHANGE=\"NEWDATE(THIS);\" SIZE=\"1\">\n";
    for (int offset = -7; offset <= 2; ++offset) {
        const Date d = addDays(day.date, offset);
        p += offset == 0 ? "<OPTION SELECTED VALUE=\"" : "<OPTION VALUE=\"";
        p += yyyymmdd(d) + "\">" + ddmmyyyy(d) + "\n";
    }
    p += "</SELECT></TD></TR>\n";
    p += "<TR><TD><B>2. Select a meeting, then a race.</B></TD></TR>\n";
    p += "<TR><TD><B>3. Click GO to have your data delivered to you.</B></TD></TR>\n";
    p += "</TABLE>\n";
    if (day.meetings.empty()) {
        p += "<P>There are no race meetings for " + longDate(day.date) + ".</P>\n";
    } else {
        p += "<TABLE BORDER=\"1\" CELLPADDING=\"3\">\n";
        for (const Meeting& m : day.meetings) {
            const std::string code = upperText(m.formCode);
            p += "<TR><TD><SELECT NAME=\"M" + code + "\" SIZE=\"1\">\n";
            p += "<OPTION VALUE=\"\">" + m.name + "\n";
            p += "</SELECT></TD>\n";
            p += "<TD><SELECT NAME=\"N" + code + "\" SIZE=\"1\">\n";
            // Track words go out as they are: a bare "&" stays a bare "&" on this page.
            for (const Race& r : m.races)
                p += "<OPTION VALUE=\"" + std::to_string(r.number) + "\">R" + std::to_string(r.number) + " " +
                     r.startTime() + " " + r.trackWords + " " + r.lengthText() + "\n";
            p += "</SELECT></TD>\n";
            p += "<TD><INPUT TYPE=\"SUBMIT\" VALUE=\"GO\"></TD></TR>\n";
        }
        p += "</TABLE>\n";
    }
    p += "</FORM>\n";
    p += "<P><FONT SIZE=\"1\">" + copyright(style, "Form Guide Delivery Service") + "</FONT></P>\n";
    p += "</BODY>\n</HTML>\n";
    return p;
}

std::string racePage(const RaceDay& day, const Meeting& m, const Race& race, const PageStyle& style) {
    const std::string title = m.name + " Race " + std::to_string(race.number);
    std::string p;
    p += "<html>\n<head>\n<title>" + escape(title) + "</title>\n</head>\n<body bgcolor=\"#ffffff\">\n";
    p += "<h2>" + escape(m.name) + " - " + longDate(day.date) + "</h2>\n";
    p += "<p>Track " + m.going + ", rail " + escape(m.rail) + "</p>\n";
    p += "<hr>\n";
    // Race details; the third cell is the distance as a bare number.
    p += "<table width=\"100%\" border=\"0\" cellpadding=\"2\"><tr>";
    p += "<td><b>Race " + std::to_string(race.number) + "</b></td>";
    p += "<td>" + race.startTime() + "</td>";
    p += "<td>" + std::to_string(race.distance) + "</td>";
    p += "<td>metres</td>";
    p += "<td>" + escape(race.trackWords) + "</td>";
    p += "<td>" + race.prizemoney + "</td>";
    p += "</tr></table>\n";
    p += "<table width=\"100%\" border=\"1\" cellpadding=\"2\" cellspacing=\"0\">\n";
    p += "<tr><th>No.</th><th>Form</th><th>Horse Name (Barrier)</th><th>Jockey</th><th>Wgt.</th><th>API</th>"
         "<th>Win</th><th>Pl.</th><th>Stakes</th></tr>\n";
    int horseId = static_cast<int>(daysFromCivil(day.date) % 1000) * 100000 + race.number * 100;
    for (const Runner& r : race.runners) {
        p += "<tr>";
        p += "<td>" + r.number + "</td>";
        p += "<td>" + (r.form.empty() ? std::string("&nbsp;") : r.form) + "</td>";
        p += "<td><a href=\"/cgi-bin/tvf/horse.pl?" + std::to_string(horseId + r.num) + "\">" +
             escape(spell(style, r.name)) + "</a> (" + std::to_string(r.barrier) + ")</td>";
        p += "<td>" + escape(spell(style, r.jockey)) + "</td>";
        p += "<td>" + r.weight + "</td>";
        p += "<td>" + r.api + "</td>";
        p += "<td>" + std::to_string(r.wins) + "</td>";
        p += "<td>" + std::to_string(r.places) + "</td>";
        p += "<td>" + r.stakes + "</td>";
        p += "</tr>\n";
    }
    p += "</table>\n<hr>\n";
    std::string scratched, emergencies;
    for (const Runner& r : race.runners) {
        if (r.scratched) scratched += (scratched.empty() ? "" : ", ") + r.number;
        if (r.emergency) emergencies += (emergencies.empty() ? "" : ", ") + r.number;
    }
    p += "<table border=\"0\"><tr><td>Scratchings</td><td>" + (scratched.empty() ? "Nil" : scratched) +
         "</td></tr><tr><td>Emergencies</td><td>" + (emergencies.empty() ? "Nil" : emergencies) + "</td></tr></table>\n";
    p += "<p><font size=\"1\">" + copyright(style, "Form Guide Delivery Service") + "</font></p>\n";
    p += "</body>\n</html>\n";
    return p;
}

std::string pricePage(const RaceDay& day, const Meeting& m, const Race& race, const LocalTime& now,
                      const PageStyle& style) {
    const LocalTime opening{day.date, 9 * 60, 0};
    const std::vector<const Runner*> starters = race.starters();
    std::vector<RunnerPrices> prices, opened;
    for (const Runner* r : starters) {
        prices.push_back(pricesAt(day, m, race, *r, now));
        opened.push_back(pricesAt(day, m, race, *r, opening));
    }
    auto value = [](const std::string& s) {
        double v = 0;
        if (isNumber(s)) std::from_chars(s.data(), s.data() + s.size(), v);
        return v;
    };
    // The favourite of each column is marked; so are prices that firmed or drifted since the opening.
    std::array<double, 7> favourite{};
    for (std::size_t c = 0; c < 7; ++c)
        for (const RunnerPrices& rp : prices)
            if (isNumber(rp.tote[c]) && (favourite[c] == 0 || value(rp.tote[c]) < favourite[c]))
                favourite[c] = value(rp.tote[c]);

    int asAt = day.date < now.date ? race.startMinutes : (now.date < day.date ? 9 * 60 : now.minutes);
    asAt = std::min(asAt, race.startMinutes);

    std::string p;
    p += "<html>\n<head>\n<title>" + escape(m.name) + " Race " + std::to_string(race.number) +
         " Tote Odds</title>\n</head>\n<body bgcolor=\"#ffffff\">\n";
    p += "<table width=\"100%\" border=\"0\"><tr><td><b>" + escape(m.name) + "</b></td><td>Race " +
         std::to_string(race.number) + "</td><td>" + race.startTime() + "</td></tr></table>\n";
    p += "<table width=\"100%\" border=\"1\" cellpadding=\"2\" cellspacing=\"0\">\n";
    p += "<tr><td colspan=\"12\" bgcolor=\"#87cefa\"><b>Race " + std::to_string(race.number) + " - " +
         escape(race.trackWords) + " - " + race.lengthText() + "</b></td></tr>\n";
    p += "<tr><td colspan=\"12\">Prices at " + clockText(asAt) + " " + longDate(day.date) + "</td></tr>\n";
    p += "<tr><td colspan=\"4\">Runner</td><td colspan=\"4\" bgcolor=\"#80ff80\">Win</td>"
         "<td colspan=\"4\" bgcolor=\"#80ff80\">Place</td></tr>\n";
    p += "<tr><td>#</td><td>Name</td><td>Bar</td><td>Wgt</td>";
    for (std::size_t c = 0; c < 4; ++c) p += std::string("<td>") + kToteColumns[c] + "</td>";
    p += "<td>AUS PLC</td>";
    for (std::size_t c = 4; c < 7; ++c) p += std::string("<td>") + kToteColumns[c] + "</td>";
    p += "</tr>\n";
    std::array<double, 7> percentages{};
    for (std::size_t i = 0; i < starters.size(); ++i) {
        const Runner& r = *starters[i];
        const RunnerPrices& rp = prices[i];
        if (r.scratched) p += "<tr bgcolor=\"#ffb6c1\">";
        else if (i % 2 == 1) p += "<tr bgcolor=\"#fffacd\">";
        else p += "<tr>";
        p += "<td>" + r.number + "</td><td>" + escape(spell(style, r.name)) + "</td><td>" +
             std::to_string(r.barrier) + "</td><td>" + r.weight + "</td>";
        auto cell = [&](std::size_t c) {
            const std::string& text = rp.tote[c];
            std::string colour;
            if (isNumber(text)) {
                percentages[c] += 100.0 / value(text);
                const double was = value(opened[i].tote[c]);
                if (value(text) == favourite[c]) colour = "#ffd700";
                else if (was > 0 && value(text) < was * 0.9) colour = "#00ff00";
                else if (was > 0 && value(text) > was * 1.1) colour = "#ff0000";
            }
            p += colour.empty() ? "<td>" : "<td bgcolor=\"" + colour + "\">";
            p += text + "</td>";
        };
        for (std::size_t c = 0; c < 4; ++c) cell(c);
        p += "<td>" + rp.allPlace + "</td>";
        for (std::size_t c = 4; c < 7; ++c) cell(c);
        p += "</tr>\n";
    }
    p += "<tr><td colspan=\"4\"><b>PERCENTAGES</b></td>";
    for (std::size_t c = 0; c < 7; ++c) {
        p += "<td>" + (percentages[c] > 0 ? fixed(percentages[c], 1) : std::string("n/a")) + "</td>";
        if (c == 3) p += "<td>n/a</td>";
    }
    p += "</tr>\n</table>\n";
    p += "<p><font size=\"1\">" + copyright(style, "Form Guide Delivery Service") + "</font></p>\n";
    p += "</body>\n</html>\n";
    return p;
}

namespace {

// Placings and a start time for a trots or greyhound race, which only the meeting list shows.
std::string otherStateText(const OtherMeeting& o, std::size_t race, const Date& date, const LocalTime& now) {
    Race r;
    r.number = static_cast<int>(race) + 1;
    r.startMinutes = o.startMinutes[race];
    const int a = static_cast<int>((static_cast<unsigned>(o.toteCode[0]) + race * 7u) % 8u) + 1;
    const int b = a % 8 + 1;
    const int c = (a + 3) % 8 + 1;
    r.placings = {a, b, c};
    return resultsStateText(r, date, now);
}

void meetingRows(std::string& p, const std::string& heading, const std::vector<std::string>& names,
                 const std::vector<std::string>& codes, const std::vector<std::vector<std::string>>& states) {
    p += "<tr><td class=\"section\" colspan=\"13\"><b>" + heading + "</b></td></tr>\n";
    p += "<tr><th class=\"ROWHDR\">Meeting</th>";
    for (int i = 1; i <= 11; ++i) p += "<th class=\"ROWHDR\">" + std::to_string(i) + "</th>";
    p += "<th class=\"ROWHDR\">Fields</th></tr>\n";
    for (std::size_t m = 0; m < names.size(); ++m) {
        // The name cell: the location class, one blank, then the link.
        p += "<tr><td class='location'> <a href=\"" + codes[m] + "01.html\">" + names[m] + "</a></td>";
        for (std::size_t r = 0; r < 11; ++r) {
            if (r < states[m].size())
                p += "<td class=\"result\"><a href=\"" + codes[m] + twoDigits(static_cast<int>(r) + 1) + ".html\">" +
                     states[m][r] + "</a></td>";
            else
                p += "<td>&nbsp;</td>";
        }
        p += "<td><a href=\"" + codes[m] + "F.html\">Fields</a></td></tr>\n";
    }
}

}  // namespace

std::string resultsMeetingPage(const RaceDay& day, const LocalTime& now, const PageStyle& style) {
    std::string p;
    p += "<html>\n<head>\n<title>Tote Results - " + longDate(day.date) + "</title>\n</head>\n";
    p += "<body bgcolor=\"#ffffff\">\n<h2>Tote Results</h2>\n<p>" + longDate(day.date) + "</p>\n";
    p += "<table class=\"meetings\" width=\"100%\" border=\"0\" cellpadding=\"2\">\n";
    std::vector<std::string> names, codes;
    std::vector<std::vector<std::string>> states;
    for (const Meeting& m : day.meetings) {
        names.push_back(m.resultsName);
        codes.push_back(m.toteCode);
        std::vector<std::string> s;
        for (const Race& r : m.races) s.push_back(resultsStateText(r, day.date, now));
        states.push_back(std::move(s));
    }
    meetingRows(p, "RACES", names, codes, states);
    auto others = [&](const std::string& heading, const std::vector<OtherMeeting>& list) {
        names.clear();
        codes.clear();
        states.clear();
        for (const OtherMeeting& o : list) {
            names.push_back(o.resultsName);
            codes.push_back(o.toteCode);
            std::vector<std::string> s;
            for (std::size_t r = 0; r < o.startMinutes.size() && r < 11; ++r)
                s.push_back(otherStateText(o, r, day.date, now));
            states.push_back(std::move(s));
        }
        meetingRows(p, heading, names, codes, states);
    };
    others("TROTS", day.trots);
    others("GREYHOUNDS", day.greyhounds);
    p += "</table>\n";
    p += "<p><font size=\"1\">" + copyright(style, "Tote Results") + "</font></p>\n";
    p += "</body>\n</html>\n";
    return p;
}

std::string resultPage(const RaceDay& day, const Meeting& m, const Race& race, const LocalTime& now,
                       const PageStyle& style) {
    const RaceState state = raceStateAt(race, day.date, now);
    if (state == RaceState::NotRun) return {};
    const std::string tableTag = "<table width=\"100%\" border=1 cellpadding=0>";
    const char* status = state == RaceState::Closed      ? "CLOSED"
                         : state == RaceState::Interim   ? "INTERIM"
                         : state == RaceState::Abandoned ? "ABANDONED"
                                                         : "OFFICIAL";
    std::string p;
    p += "<html>\n<head>\n<title>" + m.resultsName + " Race " + std::to_string(race.number) + " Results</title>\n";
    p += "</head>\n<body bgcolor=\"#000000\" text=\"#ffffff\">\n";
    p += "<h3>" + m.resultsName + " - Race " + std::to_string(race.number) + "</h3>\n";

    p += tableTag + "\n<tr><td>Race " + std::to_string(race.number) + "</td><td>" + escape(race.trackWords) +
         "</td><td>" + race.lengthText() + "</td><td>" + race.toteTime() + "</td><td>" + status + "</td></tr>\n</table>\n";

    auto runnerOf = [&](int num) -> const Runner* {
        for (const Runner& r : race.runners)
            if (!r.emergency && r.num == num) return &r;
        return nullptr;
    };
    const bool placed = state == RaceState::Interim || state == RaceState::Final;
    const OfficialDividends dividends = officialDividends(race);
    auto amount = [](std::int64_t cents) { return cents > 0 ? "$" + dollarsText(cents) : std::string("&nbsp;"); };
    p += tableTag + "\n<tr><th>Place</th><th>No.</th><th>Horse</th><th>Jockey</th><th>Win</th><th>Place</th></tr>\n";
    if (placed) {
        static const char* const kPlaces[] = {"1st", "2nd", "3rd", "4th"};
        for (std::size_t i = 0; i < dividends.order.size(); ++i) {
            const Runner* r = runnerOf(dividends.order[i]);
            if (!r) continue;
            p += "<tr><td>" + std::string(kPlaces[i]) + "</td><td>" + r->number + "</td><td>" +
                 escape(spell(style, r->name)) + "</td><td>" + escape(spell(style, r->jockey)) + "</td><td>" +
                 amount(i == 0 ? dividends.win : 0) + "</td><td>" + amount(dividends.place[i]) + "</td></tr>\n";
        }
    } else {
        p += "<tr><td colspan=\"6\">" +
             std::string(state == RaceState::Abandoned ? "Race abandoned - all bets refunded" : "Betting closed") +
             "</td></tr>\n";
    }
    p += "</table>\n";

    p += tableTag + "\n<tr><th>Dividend</th><th>Runners</th><th>Amount</th></tr>\n";
    if (state == RaceState::Final && dividends.order.size() >= 2) {
        const std::vector<int>& o = dividends.order;
        auto runners = [&](std::size_t n, const char* separator) {
            std::string out;
            for (std::size_t i = 0; i < n; ++i) out += (i ? separator : "") + std::to_string(o[i]);
            return out;
        };
        auto row = [&](const char* pool, const std::string& combination, std::int64_t cents) {
            if (cents > 0)
                p += std::string("<tr><td>") + pool + "</td><td>" + combination + "</td><td>" + amount(cents) +
                     "</td></tr>\n";
        };
        row("Quinella", runners(2, "-"), dividends.quinella);
        row("Exacta", runners(2, "/"), dividends.exacta);
        if (o.size() >= 3) row("Trifecta", runners(3, "/"), dividends.trifecta);
        if (o.size() >= 4) row("First Four", runners(4, "/"), dividends.firstFour);
    } else {
        p += "<tr><td colspan=\"3\">Dividends to come</td></tr>\n";
    }
    p += "</table>\n";

    std::string scratched;
    for (const Runner& r : race.runners)
        if (r.scratched) scratched += (scratched.empty() ? "" : ", ") + r.number;
    p += tableTag + "\n<tr><td>Scratchings</td><td>" + (scratched.empty() ? "Nil" : scratched) + "</td></tr>\n</table>\n";

    p += tableTag + "\n<tr><td>Track</td><td>" + m.going + "</td><td>Rail</td><td>" + escape(m.rail) + "</td></tr>\n";
    if (state == RaceState::Final) {
        const int hundredths = race.distance * 6 + race.number * 37 % 100;
        p += "<tr><td>Time</td><td>" + std::to_string(hundredths / 6000) + ":" + twoDigits(hundredths / 100 % 60) + "." +
             twoDigits(hundredths % 100) + "</td><td>Margins</td><td>" + fixed(0.1 + race.number % 4 * 0.6, 1) + "L, " +
             fixed(0.2 + race.distance % 7 * 0.3, 1) + "L</td></tr>\n";
    }
    p += "</table>\n";

    p += tableTag + "\n<tr><td>" + copyright(style, "Tote Results") + "</td></tr>\n</table>\n";
    p += "</body>\n</html>\n";
    return p;
}

std::string advertPage(const std::string& makerUrl, const PageStyle& style) {
    // Blank lines and every kind of line end on purpose; the last line has none.
    std::string p;
    p += "<html>\r\n<head>\r\n<title>Selvane</title>\n\n";
    p += "<style>body { margin: 0; background: #ECE9D8; font-family: Tahoma, sans-serif; font-size: 12px; }</style>\r";
    p += "\r</head>\n<body>\r\n\r\n";
    p += "<div style=\"width: 456px; height: 56px; border: 1px solid #888; text-align: center\">\n";
    p += "<b>" + spell(style, "Box Five &amp; Each Way Selvane") + "</b><br>\r";
    p += "Free tips, live odds and live results for every race. <a href=\"" + makerUrl +
         "\" target=\"_top\">Get the latest version</a>\r\n";
    p += "</div>\n\n\r\n</body>\r</html>\n";
    p += "<!-- adsbase -->";
    return p;
}

std::string makerHomePage(const std::string& makerUrl, const PageStyle& style) {
    std::string p;
    p += "<html>\n<head>\n<title>Box Five &amp; Each Way Selvane</title>\n</head>\n<body bgcolor=\"#ECE9D8\">\n";
    p += "<h1>" + spell(style, "Box Five &amp; Each Way Selvane") + "</h1>\n";
    p += "<p>Five tips for a box five bet and one each-way best bet for every Australian horse race, with live "
         "odds and live results.</p>\n";
    p += "<p>It is free to use. There is no spyware, no addware, no viruses.</p>\n";
    p += "<p><a href=\"" + makerUrl + "adsbase.html\">Our advert</a></p>\n";
    p += "</body>\n</html>\n";
    return p;
}

std::string notFoundPage(const std::string& target) {
    return "<html><head><title>404 Not Found</title></head><body><h1>Not Found</h1><p>The requested URL " +
           escape(target) + " was not found on this server.</p></body></html>\n";
}

std::string serverErrorPage() {
    return "<html><head><title>500 Internal Server Error</title></head><body><h1>Internal Server Error</h1>"
           "<p>The server encountered an internal error and was unable to complete your request.</p></body></html>\n";
}

std::string indexPage(const std::string& formGuideUrl, const std::string& resultsRoot, const std::string& makerUrl,
                      const LocalTime& now) {
    const std::string date = yyyymmdd(now.date);
    const std::string path = date.substr(0, 4) + "/" + date.substr(4, 2) + "/" + date.substr(6, 2) + "/";
    std::string p = "<html><head><title>Stand-in services</title></head><body>\n<h1>Stand-in services</h1>\n";
    p += "<p>Clock: " + formatLocalTime(now) + "</p>\n<ul>\n";
    p += "<li><a href=\"" + formGuideUrl + "/cgi-bin/tvf/access.pl\">Form guide: today's meetings</a></li>\n";
    p += "<li><a href=\"" + resultsRoot + path + "mtgraces.html\">Tote results: today's meetings</a></li>\n";
    p += "<li><a href=\"" + makerUrl + "\">Maker's site</a> (<a href=\"" + makerUrl + "adsbase.html\">advert</a>)</li>\n";
    p += "</ul>\n</body></html>\n";
    return p;
}

}  // namespace selvane::standin
