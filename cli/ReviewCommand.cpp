#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>
#include <mutex>
#include <stop_token>

#include "Cli.h"
#include "Csv.h"
#include "PunterJson.h"
#include "ReviewChart.h"
#include "Recording.h"
#include "TipsOutput.h"
#include "net/PageText.h"
#include "review/ReviewRunner.h"
#include "review/ReviewTotals.h"

namespace selvane::cli {
namespace {

using nlohmann::json;

std::string isoOption(const Context& ctx, const char* name) {
    const std::optional<std::string> d = ctx.args.option(name);
    if (!d) throw UsageError(std::string(name) + " is needed: DD/MM/YYYY");
    if (!isCalendarDate(*d)) throw UsageError(std::string(name) + " takes DD/MM/YYYY");
    return isoDate(*d);
}

std::string meetingName(const record::RaceKey& k) { return toUtf8(k.meeting); }

// The review Ctrl-C stops: the signal thread asks it through stopRunningReview.
std::mutex runningMutex;
std::stop_source* running = nullptr;

struct RunningReview {
    std::stop_source stop;
    RunningReview() {
        std::lock_guard lock(runningMutex);
        running = &stop;
    }
    ~RunningReview() {
        std::lock_guard lock(runningMutex);
        running = nullptr;
    }
};

std::string minutesSeconds(double seconds) {
    const long s = static_cast<long>(seconds + 0.5);
    char text[32];
    if (s >= 3600) std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    else std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

// "[#######-------------]  120/1650 races  34.2 a second  0:44 left" on one line of a terminal,
// redrawn a few times a second and wiped at the end.
class ProgressBar {
public:
    explicit ProgressBar(std::ostream& err) : err_(err) {}
    ~ProgressBar() {
        if (drawn_) err_ << "\r\x1b[K" << std::flush;
    }
    void operator()(int done, int toDo) {
        const auto now = std::chrono::steady_clock::now();
        if (!started_) {
            started_ = true;
            start_ = now;
            firstDone_ = done;
        }
        if (drawn_ && done < toDo && now - last_ < std::chrono::milliseconds(200)) return;
        last_ = now;
        constexpr int kWidth = 20;
        const int filled = toDo > 0 ? static_cast<int>(static_cast<long long>(kWidth) * done / toDo) : 0;
        std::string line = "\r[" + std::string(static_cast<std::size_t>(filled), '#') +
                           std::string(static_cast<std::size_t>(kWidth - filled), '-') + "]  " +
                           std::to_string(done) + "/" + std::to_string(toDo) + " races";
        const double seconds = std::chrono::duration<double>(now - start_).count();
        if (seconds > 0.5 && done > firstDone_) {
            const double rate = (done - firstDone_) / seconds;
            char text[32];
            std::snprintf(text, sizeof text, "%.1f", rate);
            line += std::string("  ") + text + " a second  " + minutesSeconds((toDo - done) / rate) + " left";
        }
        err_ << line << "\x1b[K" << std::flush;
        drawn_ = true;
    }

private:
    std::ostream& err_;
    bool started_ = false, drawn_ = false;
    int firstDone_ = 0;
    std::chrono::steady_clock::time_point start_, last_;
};

bool stderrIsTerminal(const Context& ctx) {
    const char* term = std::getenv("TERM");
    return &ctx.err == &std::cerr && isatty(STDERR_FILENO) && !(term && std::string_view(term) == "dumb");
}

json numbersJson(const std::vector<int>& v) { return v; }

json totalsJson(const ReviewTotals& t) {
    json doc = json::object();
    for (BetType b : kAllBetTypes) {
        const BetTotals& x = t[b];
        doc[betKey(b)] = {{"bets", x.bets},
                          {"hits", x.hits},
                          {"staked", x.staked / 100.0},
                          {"returned", x.returned / 100.0},
                          {"profit", x.profit() / 100.0},
                          {"roi", x.roiHundredths() / 100.0},
                          {"longestLosingRun", x.longestLosingRun},
                          {"maxDrawdown", x.maxDrawdown / 100.0}};
    }
    return doc;
}

std::vector<std::vector<std::string>> totalsRows(const ReviewTotals& t) {
    std::vector<std::vector<std::string>> rows{{"Bet", "Bets", "Hits", "Strike %", "Staked", "Returned", "Profit",
                                                "ROI %", "Losing run", "Drawdown"}};
    for (BetType b : kAllBetTypes) {
        const BetTotals& x = t[b];
        rows.push_back({betName(b), std::to_string(x.bets), std::to_string(x.hits), twoDecimals(x.strikeHundredths()),
                        twoDecimals(x.staked), twoDecimals(x.returned), twoDecimals(x.profit()),
                        twoDecimals(x.roiHundredths()), std::to_string(x.longestLosingRun),
                        twoDecimals(x.maxDrawdown)});
    }
    return rows;
}

void printRows(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
    const std::vector<std::size_t> widths = columnWidths(rows);
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c)
            line += c == 0 ? leftAligned(row[c], widths[c]) : "  " + rightAligned(row[c], widths[c]);
        out << line << "\n";
    }
}

std::string joined(const std::vector<int>& v, const char* sep) {
    std::string s;
    for (int n : v) s += (s.empty() ? "" : sep) + std::to_string(n);
    return s;
}

// The error of a review that could not fetch everything: the first page that failed.
std::string failureLine(const std::vector<std::string>& failures) {
    if (failures.empty()) return {};
    if (failures.size() == 1) return failures.front();
    return failures.front() + " and " + std::to_string(failures.size() - 1) + " more pages could not be fetched";
}

int reviewCommand(Context& ctx) {
    ctx.args.expect(0, 0, {"--from", "--to", "--track", "--stake", "--jobs", "--offline", "--races", "--by-track", "--csv",
                           "--chart"});
    const std::optional<std::string> chart = ctx.args.option("--chart");
    if (chart && !isChartName(*chart)) throw UsageError("--chart takes FILE.svg or FILE.png");
    const bool csv = csvWanted(ctx);
    const std::string from = isoOption(ctx, "--from"), to = isoOption(ctx, "--to");
    if (from > to) throw UsageError("--from is after --to");
    if (datesFromTo(from, to).size() > 366) throw UsageError("a review covers at most 366 days");
    const Cents stake = stakeOption(ctx.args.option("--stake")).value_or(100);
    const bool offline = ctx.args.flag("--offline"), byRace = ctx.args.flag("--races"),
               byTrack = ctx.args.flag("--by-track");
    if (offline && ctx.record.file.empty()) throw UsageError("--offline reads the record: not with --no-record");

    int jobs = 4;
    if (const auto j = ctx.args.option("--jobs")) {
        const std::optional<int> n = digitsNumber(*j, 2);
        if (!n || *n < 1 || *n > 16) throw UsageError("--jobs takes 1 to 16");
        jobs = *n;
    }
    ReviewRequest request{from, to, ctx.args.option("--track").value_or(""), stake, jobs, offline,
                          ctx.services, ctx.limits, ctx.record.file};
    ReviewResult review;
    int done = 0, toDo = 0;
    {
        RunningReview runningReview;
        std::optional<ProgressBar> bar;
        if (stderrIsTerminal(ctx)) bar.emplace(ctx.err);
        const ReviewProgress progress = [&](int d, int t) {
            done = d;
            toDo = t;
            if (bar) (*bar)(d, t);
        };
        try {
            review = runReview(request, progress, runningReview.stop.get_token());
        } catch (const ReviewError& e) {
            throw InputError(e.what());
        }
    }
    for (const std::string& notice : review.recordNotices) ctx.err << "selvane-cli: " << notice << "\n";
    if (!review.recordFailure.empty()) ctx.err << "selvane-cli: not recorded: " << review.recordFailure << "\n";
    if (review.cancelled) {
        const std::string line = "stopped after " + std::to_string(done) + " of " + std::to_string(toDo) +
                                 " races; run it again to go on from what the record keeps";
        ctx.print([&] { return punterDocument({{"from", from}, {"to", to}, {"stake", stake / 100.0}}, ctx.warnings, line); },
                  [](std::ostream&) {});
        ctx.err << "selvane-cli review: " << line << "\n";
        return kStopped;
    }
    const std::string chartFailure = chart ? writeReviewChart(*chart, review, from, to) : std::string();
    const std::vector<ReviewedRace>& races = review.races;
    const ReviewTotals& totals = review.totals;
    std::map<std::string, ReviewTotals> tracks;
    for (const auto& [name, t] : review.tracks) tracks[toUtf8(name)] = t;

    if (csv) {
        std::vector<std::vector<std::string>> records;
        if (byRace) {
            records = raceRecords(races);
        } else {
            records.push_back({"track", "bet", "bets", "hits", "strike", "staked", "returned", "profit", "roi",
                               "longestLosingRun", "maxDrawdown"});
            auto add = [&](const std::string& track, const ReviewTotals& t) {
                const auto rows = totalsRows(t);
                for (std::size_t i = 0; i < kBetTypes; ++i) {
                    records.push_back({track, betKey(kAllBetTypes[i])});
                    records.back().insert(records.back().end(), rows[i + 1].begin() + 1, rows[i + 1].end());
                }
            };
            if (byTrack)
                for (const auto& [name, t] : tracks) add(name, t);
            add("", totals);
        }
        writeCsv(ctx.out, records);
    } else {
        ctx.print(
            [&] {
                json list = json::array();
                for (const ReviewedRace& r : races) {
                    json bets = json::object();
                    for (BetType b : kAllBetTypes)
                        bets[betKey(b)] = {{"staked", r.settled[b].staked / 100.0},
                                           {"returned", r.settled[b].returned / 100.0}};
                    list.push_back({{"date", r.key.date},
                                    {"track", meetingName(r.key)},
                                    {"race", r.key.race},
                                    {"tips", numbersJson(r.bets.tips)},
                                    {"bestBet", r.bets.bestBet ? json(r.bets.bestBet) : json(nullptr)},
                                    {"result", numbersJson(resultOrder(r.result))},
                                    {"void", r.settled.isVoid},
                                    {"bets", bets}});
                }
                json doc = {{"from", from},        {"to", to},
                            {"stake", stake / 100.0}, {"races", list},
                            {"totals", totalsJson(totals)}, {"voidRaces", totals.voidRaces},
                            {"pendingRaces", review.pendingRaces}};
                if (byTrack) {
                    json t = json::object();
                    for (const auto& [name, x] : tracks) t[name] = totalsJson(x);
                    doc["byTrack"] = t;
                }
                std::vector<std::string> warnings = ctx.warnings;
                warnings.insert(warnings.end(), review.failures.begin(), review.failures.end());
                if (!chartFailure.empty()) warnings.push_back(chartFailure);
                const std::string failure = failureLine(review.failures);
                return punterDocument(doc, warnings, failure.empty() ? chartFailure : failure);
            },
            [&](std::ostream& out) {
                out << "Review " << from << " to " << to << ", stake " << twoDecimals(stake) << " a bet type: "
                    << totals.races << " races settled, " << totals.voidRaces << " void";
                if (review.pendingRaces > 0) out << ", " << review.pendingRaces << " without an official result yet";
                out << "\n\n";
                printRows(out, totalsRows(totals));
                if (byTrack)
                    for (const auto& [name, t] : tracks) {
                        out << "\n" << name << ": " << t.races << " races, " << t.voidRaces << " void\n";
                        printRows(out, totalsRows(t));
                    }
                if (byRace) {
                    out << "\n";
                    std::vector<std::vector<std::string>> rows{{"Date", "Track", "Race", "Tips", "Best", "Result", "Profit"}};
                    for (const ReviewedRace& r : races) {
                        Cents profit = 0;
                        for (const BetResult& b : r.settled.bets) profit += b.returned - b.staked;
                        rows.push_back({r.key.date, meetingName(r.key), std::to_string(r.key.race),
                                        joined(r.bets.tips, ","), r.bets.bestBet ? std::to_string(r.bets.bestBet) : "",
                                        r.settled.isVoid ? "void" : joined(resultOrder(r.result), ","),
                                        twoDecimals(profit)});
                    }
                    printRows(out, rows);
                }
            });
    }
    for (const std::string& f : review.failures) ctx.err << "selvane-cli review: " << terminalLine(f) << "\n";
    if (!chartFailure.empty()) ctx.err << "selvane-cli review: " << terminalLine(chartFailure) << "\n";
    return review.failures.empty() && chartFailure.empty() ? kOk : kInputError;
}

const Registrar registrar{Command{
    "review",
    "review --from DD/MM/YYYY --to DD/MM/YYYY [--track T] [--stake S] [--jobs N] [--offline] [--races] [--by-track] [--csv] [--chart FILE.svg|FILE.png]",
    "tip every race of a date range with the engine and settle its bets at the declared dividends",
    "For each date: the meeting page, then each race's page and result page. Each race is tipped\n"
    "from its parsed field and laid six bets of --stake (default 1.00) each: win on the first tip,\n"
    "each way on the best bet, boxes of the tips in quinella, exacta, trifecta and first four,\n"
    "settled by the README's settlement rules. Prints per bet type: bets, hits, strike %, staked,\n"
    "returned, profit, ROI %, longest losing run and largest drawdown. The record is read first:\n"
    "only what it lacks is fetched, and what is fetched is recorded, dividends included, a day at a\n"
    "time. --offline reads the record alone. --by-track adds the table of each track, --races\n"
    "one line per race. --csv prints the totals (or with --races the races) as CSV. --chart draws\n"
    "the running profit of each bet type over the races as an SVG or PNG picture.\n"
    "--jobs N (1 to 16, default 4) fetches N pages at a time over kept-alive connections, at most\n"
    "N to a service; the output is the same whatever order they come in.\n"
    "On a terminal, stderr shows a progress bar. Ctrl-C stops between pages: what was fetched is\n"
    "recorded, the command says how far it got and exits 130; running it again goes on from there.\n"
    "Exit status 1 when a page could not be fetched (what could be settled is still printed) or\n"
    "the chart could not be written.\n"
    "JSON: {from, to, stake, races: [{date, track, race, tips, bestBet, result, void, bets: {win,\n"
    "eachWay, quinella, exacta, trifecta, firstFour: {staked, returned}}}], totals: {<bet>: {bets,\n"
    "hits, staked, returned, profit, roi, longestLosingRun, maxDrawdown}}, voidRaces, pendingRaces, error,\n"
    "warnings} (every page that could not be fetched is a warning, the first one the error);\n"
    "--by-track adds byTrack: {<track>: totals}. Stopped by Ctrl-C: {from, to, stake, error, warnings}.",
    {"--from", "--to", "--track", "--stake", "--jobs", "--chart"},
    reviewCommand,
    {"--offline", "--races", "--by-track", "--csv"},
    true,
    true}};

}  // namespace

bool stopRunningReview() {
    std::lock_guard lock(runningMutex);
    if (!running || running->stop_requested()) return false;
    running->request_stop();
    return true;
}

}  // namespace selvane::cli
