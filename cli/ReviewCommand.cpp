#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <thread>

#include "Cli.h"
#include "Csv.h"
#include "PunterJson.h"
#include "Recording.h"
#include "TipsOutput.h"
#include "form/RaceFieldParser.h"
#include "form/RaceSelection.h"
#include "form/RunnerList.h"
#include "form/Tipping.h"
#include "meetings/MeetingCommands.h"
#include "meetings/MeetingParser.h"
#include "net/Fetcher.h"
#include "net/HtmlEngine.h"
#include "net/PageText.h"
#include "results/CheckResults.h"
#include "results/DividendParser.h"
#include "results/LiveResults.h"
#include "results/ResultParser.h"
#include "review/ReviewTotals.h"
#include "review/TippedRace.h"

namespace selvane::cli {
namespace {

using nlohmann::json;

// One race of the range as the review settles it.
struct ReviewedRace {
    record::RaceKey key;
    RaceBets bets;
    RaceDividends result;
    SettledRace settled;
};

std::string trimmed(std::string_view s) { return std::string(text::trimSpaces(s)); }

std::string utcStamp() {
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    gmtime_r(&t, &tm);
    char s[32];
    std::strftime(s, sizeof s, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return s;
}

// Days of an ISO date range, both ends included.
std::vector<std::string> daysOf(const std::string& from, const std::string& to) {
    using namespace std::chrono;
    auto ymd = [](const std::string& iso) {
        return year_month_day{year{std::stoi(iso.substr(0, 4))}, month{unsigned(std::stoi(iso.substr(5, 2)))},
                              day{unsigned(std::stoi(iso.substr(8, 2)))}};
    };
    std::vector<std::string> out;
    for (sys_days d{ymd(from)}, end{ymd(to)}; d <= end; d += std::chrono::days{1}) {
        const year_month_day x{d};
        char s[16];
        std::snprintf(s, sizeof s, "%04d-%02u-%02u", int(x.year()), unsigned(x.month()), unsigned(x.day()));
        out.push_back(s);
    }
    return out;
}

std::string isoOption(const Context& ctx, const char* name) {
    const std::optional<std::string> d = ctx.args.option(name);
    if (!d) throw UsageError(std::string(name) + " is needed: DD/MM/YYYY");
    if (!isCalendarDate(*d)) throw UsageError(std::string(name) + " takes DD/MM/YYYY");
    return isoDate(*d);
}

// The record's texts of a result page back as the settlement reads them: placings in finishing
// order, one place each (a dead heat is never kept), and the declared amounts.
RaceDividends dividendsOfRecord(const record::Result& result, const record::Dividends& d) {
    RaceDividends r;
    if (text::containsNoCase(result.state, "ABANDONED")) r.status = ResultStatus::Abandoned;
    else if (result.placings) r.status = ResultStatus::Official;
    if (result.placings)
        for (std::size_t i = 0; i < result.placings->size(); ++i)
            r.placings.push_back({static_cast<int>(i) + 1, (*result.placings)[i], {}, {}});
    for (const record::Dividend& x : d.dividends) {
        if (x.runners.empty()) continue;
        if (x.bet == "win" || x.bet == "place") {
            auto it = std::find_if(r.placings.begin(), r.placings.end(),
                                   [&](const Placing& p) { return p.runner == x.runners[0]; });
            if (it == r.placings.end()) continue;
            (x.bet == "win" ? it->winDividend : it->placeDividend) = x.cents;
            continue;
        }
        const Pool pool = x.bet == "quinella" ? Pool::Quinella
                          : x.bet == "exacta" ? Pool::Exacta
                          : x.bet == "trifecta" ? Pool::Trifecta
                                                : Pool::FirstFour;
        r.exotics[static_cast<std::size_t>(pool)].push_back({x.runners, x.cents});
    }
    r.scratchings = d.scratched;
    return r;
}

const char* poolBet(Pool p) {
    switch (p) {
    case Pool::Quinella: return "quinella";
    case Pool::Exacta: return "exacta";
    case Pool::Trifecta: return "trifecta";
    case Pool::FirstFour: return "firstFour";
    }
    return "";
}

// What the review keeps of a result page: the state and placings, and every dividend.
void addResultPage(record::Batch& batch, const record::RaceKey& key, const record::Fetch& fetch,
                   const std::string& code, const RaceDividends& r) {
    record::Result result{key, fetch, code, {}, {}};
    if (r.status == ResultStatus::Abandoned) {
        result.state = "ABANDONED";
    } else if (r.status == ResultStatus::Official) {
        std::vector<int> order;
        for (const Placing& p : r.placings) order.push_back(p.runner);
        for (int n : order) result.state += (result.state.empty() ? "" : ",") + std::to_string(n);
        result.placings = order;
    } else {
        result.state = r.status == ResultStatus::Interim ? "INTERIM" : "CLOSED";
    }
    batch.results.push_back(result);
    // A page with a row the reader could not take is not kept: the next run fetches it again
    // rather than settle from what is left of it. Nor is a dead heat: the record keeps the
    // finishing order, not the places runners share.
    bool deadHeat = false;
    for (std::size_t i = 0; i < r.placings.size(); ++i)
        deadHeat = deadHeat || r.placings[i].place != static_cast<int>(i) + 1;
    if (!r.issues.empty() || deadHeat) return;
    record::Dividends d{key, fetch, {}, r.scratchings};
    for (const Placing& p : r.placings) {
        if (p.winDividend) d.dividends.push_back({"win", {p.runner}, *p.winDividend});
        if (p.placeDividend) d.dividends.push_back({"place", {p.runner}, *p.placeDividend});
    }
    for (std::size_t k = 0; k < kPools; ++k)
        for (const ExoticDividend& x : r.exotics[k])
            d.dividends.push_back({poolBet(static_cast<Pool>(k)), x.runners, x.amount});
    batch.dividends.push_back(std::move(d));
}

std::vector<RunnerEntry> entriesOfRecord(const record::Field& f) {
    std::vector<RunnerEntry> entries;
    for (const record::Runner& r : f.runners)
        entries.push_back({r.number, r.form, r.name, r.jockey, r.weight, r.barrier});
    return entries;
}

// An abandoned race declares nothing, so the record may hold no dividends for it.
bool settled(const record::RaceDetail& d) {
    if (!d.field || !d.result) return false;
    return (d.result->placings && d.dividends) || text::containsNoCase(d.result->state, "ABANDONED");
}

RaceDividends dividendsOfRecord(const record::RaceDetail& d) {
    return dividendsOfRecord(*d.result, d.dividends.value_or(record::Dividends{}));
}

// A meeting's name without the blanks and line breaks the page leaves around it.
std::string cleanName(const std::string& m) {
    const std::size_t first = m.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return m.substr(first, m.find_last_not_of(" \t\r\n") - first + 1);
}

// The track a meeting answers to: its name's first word.
std::string firstWord(const std::string& meeting) {
    const std::string name = cleanName(meeting);
    return name.substr(0, name.find(' '));
}

std::string meetingName(const record::RaceKey& k) { return toUtf8(cleanName(k.meeting)); }

ReviewedRace settle(const record::RaceKey& key, const std::vector<RunnerEntry>& field, RaceDividends result,
                    Cents stake) {
    const std::vector<TipInput> inputs = tipInputsOf(field);
    const TipOutcome tips = computeTips(inputs);
    ReviewedRace r{key, betsOnTips(inputs, tips, result, stake), std::move(result), {}};
    r.settled = settleRace(r.bets, r.result);
    return r;
}

class Review {
public:
    Review(Context& ctx, Cents stake, std::string track, bool offline, int jobs)
        : ctx_(ctx), stake_(stake), track_(std::move(track)), offline_(offline), jobs_(jobs) {}

    // The races of one day, from the record where it settles them, else from the services.
    void day(const std::string& date) {
        std::map<std::pair<std::string, int>, record::RaceDetail> known;
        bool missing = false;
        if (ctx_.record.file.empty() == false) {
            try {
                if (!ctx_.record.store) ctx_.record.store = std::make_unique<record::Record>(ctx_.record.file);
                // The record matches a track on the name as the page wrote it, line break and all.
                for (const record::RaceSummary& s : ctx_.record.store->races({date, date, "", 0})) {
                    if (!trackChosen(s.key.meeting)) continue;
                    record::RaceDetail d = ctx_.record.store->detail(s);
                    if (!settled(d)) missing = true;
                    known.emplace(std::make_pair(s.key.meeting, s.key.race), std::move(d));
                }
            } catch (const record::RecordError& e) {
                if (offline_) throw InputError(e.what());
                missing = true;
            }
        }
        if (known.empty()) missing = true;
        if (offline_ || !missing) {
            for (auto& [k, d] : known)
                if (!settled(d)) ++pending_;
                else races_.push_back(settle(d.summary.key, entriesOfRecord(*d.field),
                                            dividendsOfRecord(d), stake_));
            return;
        }
        fetchDay(date, known);
    }

    std::vector<ReviewedRace> races_;
    std::vector<std::string> failures_;
    int pending_ = 0;  // races fetched without an official result

private:
    // One race of a fetched day: the pages it still needs, then what they gave.
    struct RaceJob {
        record::RaceKey key;
        std::string code;
        std::string raceUrl;    // empty: the field is in the record
        std::string resultUrl;  // empty: settled from the record
        std::vector<RunnerEntry> field;
        RaceDividends result;
        bool fromRecord = false;
        FetchResult racePage, resultPage;
    };

    // The jobs' pages over jobs_ threads, each with its own fetches; every job writes only its own
    // pages, so nothing but the next job's index is shared.
    void fetchAll(std::vector<RaceJob>& jobs) {
        std::atomic<std::size_t> next{0};
        auto work = [&] {
            DeadServices dead;
            for (std::size_t i = next++; i < jobs.size(); i = next++) {
                RaceJob& job = jobs[i];
                if (job.fromRecord) continue;
                if (!job.raceUrl.empty()) {
                    job.racePage = fetchUrl(job.raceUrl, ctx_.limits, &dead);
                    if (!job.racePage.ok) continue;
                }
                job.resultPage = fetchUrl(job.resultUrl, ctx_.limits, &dead);
            }
        };
        std::vector<std::thread> threads;
        for (int t = 1; t < jobs_ && static_cast<std::size_t>(t) < jobs.size(); ++t) threads.emplace_back(work);
        work();
        for (std::thread& t : threads) t.join();
    }

    std::optional<FetchResult> fetch(const std::string& url) {
        FetchResult f = fetchUrl(url, ctx_.limits, &dead_);
        if (f.ok) return f;
        failures_.push_back(f.error);
        return std::nullopt;
    }

    bool trackChosen(const std::string& meeting) const {
        if (track_.empty()) return true;
        const std::string first = firstWord(meeting);
        return text::containsNoCase(first, track_) && first.size() == track_.size();
    }

    void fetchDay(const std::string& date, std::map<std::pair<std::string, int>, record::RaceDetail>& known) {
        const std::string at = utcStamp();
        const std::string compact = date.substr(0, 4) + date.substr(5, 2) + date.substr(8, 2);
        const std::string meetingUrl = meetingPageUrl(ctx_.services) + "?" + compact;
        const auto meetingPage = fetch(meetingUrl);
        if (!meetingPage) return;
        auto tables = std::make_unique<MeetingTables>();
        parseMeetingsOnly(meetingPage->body, *tables);
        const std::string datePath = date.substr(0, 4) + "/" + date.substr(5, 2) + "/" + date.substr(8, 2);
        ResultTables results;
        bool resultsRead = false;

        record::Batch batch;
        record::MeetingDay day{date, {at, meetingUrl}, {}};
        std::vector<RaceJob> jobs;
        for (int m = 1; m < tables->meetingCounter && m <= MeetingTables::kMeetings; ++m) {
            const std::string& name = tables->meetingNames[m];
            record::Meeting meeting{name, tables->meetingLinks[m], "", {}};
            std::vector<std::pair<int, std::string>> raceNumbers;
            for (int k = 1; k <= MeetingTables::kRaces && k <= tables->meetingLastRace[m]; ++k) {
                const RaceRow& r = tables->raceTable[m][k];
                const int number = static_cast<int>(text::leadingNumber(r.number));
                if (number <= 0) continue;
                meeting.races.push_back({number, r.time, r.track, r.length});
                raceNumbers.push_back({number, r.number});
            }
            if (!trackChosen(name)) {
                day.meetings.push_back(std::move(meeting));
                continue;
            }
            if (!resultsRead) {
                resultsRead = true;
                if (auto page = fetch(ctx_.services.resultsSiteRoot + datePath + "/mtgraces.html")) {
                    std::string text = page->body;
                    results.resultMeetingIndex = 0;
                    results.resultRaceSlot = 1;
                    parseResultMeetings(results, text);
                }
            }
            const int rm = findResultMeeting(results, firstWord(name));
            const std::string code = rm > 0 ? results.resultRecords[rm].code(1) : std::string();
            meeting.toteCode = code;
            for (const auto& [number, numberText] : raceNumbers) {
                const record::RaceKey key{date, name, number};
                const auto hit = known.find({name, number});
                if (hit != known.end() && settled(hit->second)) {
                    const record::RaceDetail& d = hit->second;
                    jobs.push_back({key, {}, {}, {}, entriesOfRecord(*d.field), dividendsOfRecord(d), true, {}, {}});
                    continue;
                }
                // A race not yet run has no result page: it waits for a later review.
                const std::string state = trimmed(results.resultRecords[rm > 0 ? rm : 0].result(number));
                if (code.empty() || state.empty() || !raceIsFinal(state)) {
                    ++pending_;
                    continue;
                }
                RaceJob job{key, code, {}, {}, {}, {}, false, {}, {}};
                if (hit != known.end() && hit->second.field) job.field = entriesOfRecord(*hit->second.field);
                else job.raceUrl = racePageAddress(ctx_.services.formGuide, meeting.link, numberText);
                job.resultUrl = resultPageAddress(ctx_.services.resultsSiteRoot, datePath,
                                                  code + text::paddedRaceNumber(std::to_string(number)) + ".html");
                jobs.push_back(std::move(job));
            }
            day.meetings.push_back(std::move(meeting));
        }
        batch.meetingDays.push_back(std::move(day));
        fetchAll(jobs);
        // In race order, whatever order the pages came in.
        for (RaceJob& job : jobs) {
            if (job.fromRecord) {
                races_.push_back(settle(job.key, job.field, std::move(job.result), stake_));
                continue;
            }
            if (!job.raceUrl.empty()) {
                if (!job.racePage.ok) {
                    failures_.push_back(job.racePage.error);
                    continue;
                }
                std::string markup = normalisePage(job.racePage.body, charsetOf(job.racePage.contentType)).markup;
                RunnerTable table;
                parseRaceField(table, markup);
                job.field = runnerEntries(table);
                record::Field f{job.key, {at, job.raceUrl}, {}};
                for (const RunnerEntry& e : job.field) {
                    const std::string n = trimmed(e.number);
                    f.runners.push_back({e.number, e.form, e.name, e.jockey, e.weight, e.barrier,
                                         !n.empty() && (n.back() == 'e' || n.back() == 'E')});
                }
                batch.fields.push_back(std::move(f));
            }
            if (!job.resultPage.ok) {
                failures_.push_back(job.resultPage.error);
                continue;
            }
            RaceDividends result = parseDividends(job.resultPage.body);
            addResultPage(batch, job.key, {at, job.resultUrl}, job.code, result);
            if (result.status != ResultStatus::Official && result.status != ResultStatus::Abandoned) {
                ++pending_;
                continue;
            }
            races_.push_back(settle(job.key, job.field, std::move(result), stake_));
        }
        saveToRecord(ctx_, batch);
    }

    Context& ctx_;
    Cents stake_;
    std::string track_;
    bool offline_;
    int jobs_;
    DeadServices dead_;
};

json numbersJson(const std::vector<int>& v) { return v; }

std::vector<int> resultOrder(const RaceDividends& r) {
    std::vector<int> order;
    if (r.status == ResultStatus::Official)
        for (const Placing& p : r.placings) order.push_back(p.runner);
    return order;
}

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

const char* betLabel(BetType b) {
    switch (b) {
    case BetType::Win: return "Win";
    case BetType::EachWay: return "Each way";
    case BetType::Quinella: return "Quinella";
    case BetType::Exacta: return "Exacta";
    case BetType::Trifecta: return "Trifecta";
    case BetType::FirstFour: return "First four";
    }
    return "";
}

std::vector<std::vector<std::string>> totalsRows(const ReviewTotals& t) {
    std::vector<std::vector<std::string>> rows{{"Bet", "Bets", "Hits", "Strike %", "Staked", "Returned", "Profit",
                                                "ROI %", "Losing run", "Drawdown"}};
    for (BetType b : kAllBetTypes) {
        const BetTotals& x = t[b];
        rows.push_back({betLabel(b), std::to_string(x.bets), std::to_string(x.hits), twoDecimals(x.strikeHundredths()),
                        twoDecimals(x.staked), twoDecimals(x.returned), twoDecimals(x.profit()),
                        twoDecimals(x.roiHundredths()), std::to_string(x.longestLosingRun),
                        twoDecimals(x.maxDrawdown)});
    }
    return rows;
}

void printRows(std::ostream& out, const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (widths.size() <= c) widths.push_back(0);
            widths[c] = std::max(widths[c], codePoints(row[c]));
        }
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

int runReview(Context& ctx) {
    ctx.args.expect(0, 0, {"--from", "--to", "--track", "--stake", "--jobs", "--offline", "--races", "--by-track", "--csv"});
    const bool csv = csvWanted(ctx);
    const std::string from = isoOption(ctx, "--from"), to = isoOption(ctx, "--to");
    if (from > to) throw UsageError("--from is after --to");
    if (daysOf(from, to).size() > 366) throw UsageError("a review covers at most 366 days");
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
    Review review(ctx, stake, ctx.args.option("--track").value_or(""), offline, jobs);
    for (const std::string& d : daysOf(from, to)) review.day(d);
    std::vector<ReviewedRace>& races = review.races_;
    // Totals run in date, meeting, race order whatever order the races were read in.
    std::sort(races.begin(), races.end(), [](const ReviewedRace& a, const ReviewedRace& b) {
        return std::tie(a.key.date, a.key.meeting, a.key.race) < std::tie(b.key.date, b.key.meeting, b.key.race);
    });
    ReviewTotals totals;
    std::map<std::string, ReviewTotals> tracks;
    for (const ReviewedRace& r : races) {
        totals.add(r.settled);
        tracks[meetingName(r.key)].add(r.settled);
    }

    if (csv) {
        std::vector<std::vector<std::string>> records;
        if (byRace) {
            records.push_back({"date", "track", "race", "tips", "bestBet", "result", "void"});
            for (BetType b : kAllBetTypes) {
                records.back().push_back(std::string(betKey(b)) + "Staked");
                records.back().push_back(std::string(betKey(b)) + "Returned");
            }
            for (const ReviewedRace& r : races) {
                records.push_back({r.key.date, meetingName(r.key), std::to_string(r.key.race), joined(r.bets.tips, " "),
                                   r.bets.bestBet ? std::to_string(r.bets.bestBet) : "", joined(resultOrder(r.result), " "),
                                   r.settled.isVoid ? "yes" : ""});
                for (BetType b : kAllBetTypes) {
                    records.back().push_back(twoDecimals(r.settled[b].staked));
                    records.back().push_back(twoDecimals(r.settled[b].returned));
                }
            }
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
                            {"pendingRaces", review.pending_}};
                if (byTrack) {
                    json t = json::object();
                    for (const auto& [name, x] : tracks) t[name] = totalsJson(x);
                    doc["byTrack"] = t;
                }
                std::vector<std::string> warnings = ctx.warnings;
                warnings.insert(warnings.end(), review.failures_.begin(), review.failures_.end());
                return punterDocument(doc, warnings, failureLine(review.failures_));
            },
            [&](std::ostream& out) {
                out << "Review " << from << " to " << to << ", stake " << twoDecimals(stake) << " a bet type: "
                    << totals.races << " races settled, " << totals.voidRaces << " void";
                if (review.pending_ > 0) out << ", " << review.pending_ << " without an official result yet";
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
    for (const std::string& f : review.failures_) ctx.err << "selvane-cli review: " << terminalLine(f) << "\n";
    return review.failures_.empty() ? kOk : kInputError;
}

const Registrar registrar{Command{
    "review",
    "review --from DD/MM/YYYY --to DD/MM/YYYY [--track T] [--stake S] [--jobs N] [--offline] [--races] [--by-track] [--csv]",
    "tip every race of a date range with the engine and settle its bets at the declared dividends",
    "For each date: the meeting page, then each race's page and result page. Each race is tipped\n"
    "from its parsed field and laid six bets of --stake (default 1.00) each: win on the first tip,\n"
    "each way on the best bet, boxes of the tips in quinella, exacta, trifecta and first four,\n"
    "settled by the README's settlement rules. Prints per bet type: bets, hits, strike %, staked,\n"
    "returned, profit, ROI %, longest losing run and largest drawdown. The record is read first:\n"
    "a day whose races it settles is not fetched again; what is fetched is recorded, dividends\n"
    "included. --offline reads the record alone. --by-track adds the table of each track, --races\n"
    "one line per race. --csv prints the totals (or with --races the races) as CSV.\n"
    "--jobs N (1 to 16, default 4) fetches a day's race and result pages N at a time; the output\n"
    "is the same whatever order they come in.\n"
    "Exit status 1 when a page could not be fetched (what could be settled is still printed).\n"
    "JSON: {from, to, stake, races: [{date, track, race, tips, bestBet, result, void, bets: {win,\n"
    "eachWay, quinella, exacta, trifecta, firstFour: {staked, returned}}}], totals: {<bet>: {bets,\n"
    "hits, staked, returned, profit, roi, longestLosingRun, maxDrawdown}}, voidRaces, pendingRaces, error,\n"
    "warnings} (every page that could not be fetched is a warning, the first one the error);\n"
    "--by-track adds byTrack: {<track>: totals}.",
    {"--from", "--to", "--track", "--stake", "--jobs"},
    runReview,
    {"--offline", "--races", "--by-track", "--csv"},
    true}};

}  // namespace
}  // namespace selvane::cli
