#include "review/ReviewRunner.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <tuple>

#include "form/RaceFieldParser.h"
#include "form/RaceSelection.h"
#include "form/RunnerList.h"
#include "form/Tipping.h"
#include "meetings/MeetingCommands.h"
#include "meetings/MeetingParser.h"
#include "net/HtmlEngine.h"
#include "net/PageText.h"
#include "record/Record.h"
#include "results/CheckResults.h"
#include "results/DividendParser.h"
#include "results/LiveResults.h"
#include "results/ResultParser.h"
#include "results/ResultTables.h"
#include "review/FetchPool.h"
#include "review/TippedRace.h"

namespace selvane {
namespace {

std::string trimmed(std::string_view s) { return std::string(text::trimSpaces(s)); }

std::string utcStamp() {
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    gmtime_r(&t, &tm);
    char s[32];
    std::strftime(s, sizeof s, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return s;
}

// The record's texts of a result page back as the settlement reads them: placings in finishing
// order with their places (shared in a dead heat), and the declared amounts.
RaceDividends dividendsOfRecord(const record::Result& result, const record::Dividends& d) {
    RaceDividends r;
    if (text::containsNoCase(result.state, "ABANDONED")) r.status = ResultStatus::Abandoned;
    else if (result.placings) r.status = ResultStatus::Official;
    if (result.placings) {
        const std::vector<int>& order = *result.placings;
        const bool shared = result.places.size() == order.size();
        for (std::size_t i = 0; i < order.size(); ++i)
            r.placings.push_back({shared ? result.places[i] : static_cast<int>(i) + 1, order[i], {}, {}});
    }
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
        bool deadHeat = false;
        for (const Placing& p : r.placings) {
            order.push_back(p.runner);
            result.places.push_back(p.place);
            deadHeat = deadHeat || p.place != static_cast<int>(order.size());
        }
        if (!deadHeat) result.places.clear();
        for (int n : order) result.state += (result.state.empty() ? "" : ",") + std::to_string(n);
        result.placings = order;
    } else {
        result.state = r.status == ResultStatus::Interim ? "INTERIM" : "CLOSED";
    }
    batch.results.push_back(result);
    // A page with a row the reader could not take is not kept: the next run fetches it again
    // rather than settle from what is left of it.
    if (!r.issues.empty()) return;
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

std::string cleanName(const std::string& m) { return std::string(record::cleanName(m)); }

// The track a meeting answers to: its name's first word.
std::string firstWord(const std::string& meeting) {
    const std::string name = cleanName(meeting);
    return name.substr(0, name.find(' '));
}

ReviewedRace settle(record::RaceKey key, const std::vector<RunnerEntry>& field, RaceDividends result, Cents stake) {
    const std::vector<TipInput> inputs = tipInputsOf(field);
    const TipOutcome tips = computeTips(inputs);
    key.meeting = cleanName(key.meeting);
    ReviewedRace r{std::move(key), betsOnTips(inputs, tips, result, stake), std::move(result), {}};
    r.settled = settleRace(r.bets, r.result);
    return r;
}

using KnownRaces = std::map<std::pair<std::string, int>, record::RaceDetail>;

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

// A day the record does not settle: its meeting page and results list, then its races' jobs.
struct DayToFetch {
    std::string date;
    KnownRaces known;
    std::string at, meetingUrl;
    FetchResult meetingPage, resultsPage;
    std::unique_ptr<MeetingTables> tables;
    ResultTables results;
    record::Batch batch;
    std::vector<RaceJob> jobs;
    std::vector<std::string> failures;  // in the order the pages were asked for
    int pending = 0;
    bool planned = false;  // its pages came in and its jobs are made
};

class Runner {
public:
    Runner(const ReviewRequest& request, const ReviewProgress& progress, std::stop_token stop)
        : rq_(request), progress_(progress), stop_(stop) {}

    ReviewResult run() {
        std::vector<std::unique_ptr<DayToFetch>> toFetch;
        for (const std::string& date : datesFromTo(rq_.from, rq_.to)) {
            if (stop_.stop_requested()) break;
            auto day = std::make_unique<DayToFetch>();
            day->date = date;
            if (readDay(*day)) toFetch.push_back(std::move(day));
        }
        if (!toFetch.empty()) fetchDays(toFetch);
        for (const auto& day : toFetch) {
            out_.failures.insert(out_.failures.end(), day->failures.begin(), day->failures.end());
            out_.pendingRaces += day->pending;
        }
        out_.cancelled = stop_.stop_requested();
        // Totals run in date, meeting, race order whatever order the races were read in.
        std::sort(out_.races.begin(), out_.races.end(), [](const ReviewedRace& a, const ReviewedRace& b) {
            return std::tie(a.key.date, a.key.meeting, a.key.race) < std::tie(b.key.date, b.key.meeting, b.key.race);
        });
        for (const ReviewedRace& r : out_.races) {
            out_.totals.add(r.settled);
            out_.tracks[r.key.meeting].add(r.settled);
        }
        return std::move(out_);
    }

private:
    bool trackChosen(const std::string& meeting) const {
        if (rq_.track.empty()) return true;
        const std::string first = firstWord(meeting);
        return text::containsNoCase(first, rq_.track) && first.size() == rq_.track.size();
    }

    record::Record* store() {
        if (!store_ && !rq_.recordFile.empty()) store_ = std::make_unique<record::Record>(rq_.recordFile);
        return store_.get();
    }

    // The races of one day from the record where it settles them; true when the day is to be
    // fetched.
    bool readDay(DayToFetch& day) {
        bool missing = false;
        if (store()) {
            try {
                for (const record::RaceSummary& s : store()->races({day.date, day.date, "", 0})) {
                    if (!trackChosen(s.key.meeting)) continue;
                    record::RaceDetail d = store()->detail(s);
                    if (!settled(d)) missing = true;
                    day.known.emplace(std::make_pair(cleanName(s.key.meeting), s.key.race), std::move(d));
                }
            } catch (const record::RecordError& e) {
                if (rq_.offline) throw ReviewError(e.what());
                missing = true;
            }
        }
        if (day.known.empty()) missing = true;
        if (!rq_.offline && missing) return true;
        for (auto& [k, d] : day.known)
            if (!settled(d)) ++out_.pendingRaces;
            else out_.races.push_back(settle(d.summary.key, entriesOfRecord(*d.field), dividendsOfRecord(d), rq_.stake));
        return false;
    }

    // Each day's meeting page and results list, then every race's pages, over one pool; each day
    // is settled and recorded once its last race is in.
    void fetchDays(std::vector<std::unique_ptr<DayToFetch>>& days) {
        FetchPool pool(rq_.jobs, rq_.limits, stop_);
        pool.run(
            days.size(), [&](std::size_t i) { fetchDayPages(pool, *days[i]); },
            [&](std::size_t i, bool whole) {
                if (whole) planDay(*days[i]);
            },
            static_cast<std::size_t>(2 * rq_.jobs));
        // The races of every day in one run, so the pool stays full from one day to the next.
        std::vector<std::pair<DayToFetch*, std::size_t>> order;
        int toDo = static_cast<int>(out_.races.size()), done = toDo;
        for (const auto& day : days) {
            if (!day->planned) continue;
            for (std::size_t j = 0; j < day->jobs.size(); ++j) order.push_back({day.get(), j});
            toDo += static_cast<int>(day->jobs.size());
        }
        if (progress_) progress_(done, toDo);
        std::vector<bool> handled(order.size(), false);
        pool.run(
            order.size(),
            [&](std::size_t i) { fetchRacePages(pool, order[i].first->jobs[order[i].second]); },
            [&](std::size_t i, bool whole) {
                DayToFetch& day = *order[i].first;
                takeRace(day, day.jobs[order[i].second], whole);
                handled[i] = true;
                if (progress_) progress_(++done, toDo);
                if (i + 1 == order.size() || order[i + 1].first != &day) saveDay(day);
            },
            static_cast<std::size_t>(8 * rq_.jobs));
        // A stop leaves the day it came in unfinished: what it got is recorded all the same.
        for (std::size_t i = 0; i < order.size(); ++i)
            if (!handled[i]) {
                if (i > 0 && handled[i - 1] && order[i - 1].first == order[i].first) saveDay(*order[i].first);
                break;
            }
        for (const auto& day : days)
            if (day->planned && day->jobs.empty()) saveDay(*day);
    }

    // On a worker: the day's meeting page, and the results list when a chosen meeting runs.
    void fetchDayPages(FetchPool& pool, DayToFetch& day) {
        day.at = utcStamp();
        const std::string compact = day.date.substr(0, 4) + day.date.substr(5, 2) + day.date.substr(8, 2);
        day.meetingUrl = meetingPageUrl(rq_.services) + "?" + compact;
        day.meetingPage = pool.fetch(day.meetingUrl);
        if (!day.meetingPage.ok) return;
        day.tables = std::make_unique<MeetingTables>();
        parseMeetingsOnly(day.meetingPage.body, *day.tables);
        day.meetingPage.body.clear();
        const MeetingTables& t = *day.tables;
        bool chosen = false;
        for (int m = 1; m < t.meetingCounter && m <= MeetingTables::kMeetings && !chosen; ++m)
            chosen = trackChosen(t.meetingNames[m]);
        if (!chosen) return;
        day.resultsPage = pool.fetch(rq_.services.resultsSiteRoot + datePath(day.date) + "/mtgraces.html");
        if (!day.resultsPage.ok) return;
        day.results.resultMeetingIndex = 0;
        day.results.resultRaceSlot = 1;
        parseResultMeetings(day.results, day.resultsPage.body);
        day.resultsPage.body.clear();
    }

    static std::string datePath(const std::string& date) {
        return date.substr(0, 4) + "/" + date.substr(5, 2) + "/" + date.substr(8, 2);
    }

    // On this thread, in date order: the day's meetings for the record and its races' jobs.
    void planDay(DayToFetch& day) {
        if (!day.meetingPage.ok) {
            day.failures.push_back(day.meetingPage.error);
            return;
        }
        const MeetingTables& t = *day.tables;
        record::MeetingDay meetingDay{day.date, {day.at, day.meetingUrl}, {}};
        bool resultsAsked = false;
        for (int m = 1; m < t.meetingCounter && m <= MeetingTables::kMeetings; ++m) {
            const std::string& name = t.meetingNames[m];
            record::Meeting meeting{name, t.meetingLinks[m], "", {}};
            std::vector<std::pair<int, std::string>> raceNumbers;
            for (int k = 1; k <= MeetingTables::kRaces && k <= t.meetingLastRace[m]; ++k) {
                const RaceRow& r = t.raceTable[m][k];
                const int number = static_cast<int>(text::leadingNumber(r.number));
                if (number <= 0) continue;
                meeting.races.push_back({number, r.time, r.track, r.length});
                raceNumbers.push_back({number, r.number});
            }
            if (!trackChosen(name)) {
                meetingDay.meetings.push_back(std::move(meeting));
                continue;
            }
            if (!resultsAsked) {
                resultsAsked = true;
                if (!day.resultsPage.ok) day.failures.push_back(day.resultsPage.error);
            }
            const ResultTables& results = day.results;
            const int rm = findResultMeeting(results, firstWord(name));
            const std::string code = rm > 0 ? results.resultRecords[rm].code(1) : std::string();
            meeting.toteCode = code;
            for (const auto& [number, numberText] : raceNumbers) {
                const record::RaceKey key{day.date, name, number};
                const auto hit = day.known.find({cleanName(name), number});
                if (hit != day.known.end() && settled(hit->second)) {
                    const record::RaceDetail& d = hit->second;
                    day.jobs.push_back({key, {}, {}, {}, entriesOfRecord(*d.field), dividendsOfRecord(d), true, {}, {}});
                    continue;
                }
                // A race not yet run has no result page: it waits for a later review.
                const std::string state = trimmed(results.resultRecords[rm > 0 ? rm : 0].result(number));
                if (code.empty() || state.empty() || !raceIsFinal(state)) {
                    ++day.pending;
                    continue;
                }
                RaceJob job{key, code, {}, {}, {}, {}, false, {}, {}};
                if (hit != day.known.end() && hit->second.field) job.field = entriesOfRecord(*hit->second.field);
                else job.raceUrl = racePageAddress(rq_.services.formGuide, meeting.link, numberText);
                job.resultUrl = resultPageAddress(rq_.services.resultsSiteRoot, datePath(day.date),
                                                  code + text::paddedRaceNumber(std::to_string(number)) + ".html");
                day.jobs.push_back(std::move(job));
            }
            meetingDay.meetings.push_back(std::move(meeting));
        }
        day.batch.meetingDays.push_back(std::move(meetingDay));
        day.known.clear();
        day.tables.reset();
        day.results = {};
        day.planned = true;
    }

    // On a worker: the pages a race still needs.
    static void fetchRacePages(FetchPool& pool, RaceJob& job) {
        if (job.fromRecord) return;
        if (!job.raceUrl.empty()) {
            job.racePage = pool.fetch(job.raceUrl);
            if (!job.racePage.ok) return;
        }
        job.resultPage = pool.fetch(job.resultUrl);
    }

    // On this thread, in race order: the race's field and result for the record, and its bets.
    void takeRace(DayToFetch& day, RaceJob& job, bool whole) {
        if (job.fromRecord) {
            out_.races.push_back(settle(job.key, job.field, std::move(job.result), rq_.stake));
            return;
        }
        if (!job.raceUrl.empty()) {
            if (!job.racePage.ok) {
                if (whole) day.failures.push_back(job.racePage.error);
                return;
            }
            std::string markup =
                normalisePage(job.racePage.body, charsetOf(job.racePage.contentType)).markup;
            job.racePage = {};
            RunnerTable table;
            parseRaceField(table, markup);
            job.field = runnerEntries(table);
            record::Field f{job.key, {day.at, job.raceUrl}, {}};
            for (const RunnerEntry& e : job.field) {
                const std::string n = trimmed(e.number);
                f.runners.push_back({e.number, e.form, e.name, e.jockey, e.weight, e.barrier,
                                     !n.empty() && (n.back() == 'e' || n.back() == 'E')});
            }
            day.batch.fields.push_back(std::move(f));
        }
        if (!job.resultPage.ok) {
            if (whole) day.failures.push_back(job.resultPage.error);
            return;
        }
        RaceDividends result = parseDividends(job.resultPage.body);
        job.resultPage = {};
        addResultPage(day.batch, job.key, {day.at, job.resultUrl}, job.code, result);
        if (result.status != ResultStatus::Official && result.status != ResultStatus::Abandoned) {
            ++day.pending;
            return;
        }
        out_.races.push_back(settle(job.key, job.field, std::move(result), rq_.stake));
    }

    void saveDay(DayToFetch& day) {
        record::Batch batch = std::move(day.batch);
        day.batch = {};
        day.jobs.clear();
        day.jobs.shrink_to_fit();
        if (batch.empty() || !store()) return;
        const record::Record::Saved saved = store()->save(batch);
        if (!saved.notice.empty()) out_.recordNotices.push_back(saved.notice);
        if (!saved.ok && out_.recordFailure.empty()) out_.recordFailure = saved.cause;
    }

    const ReviewRequest& rq_;
    const ReviewProgress& progress_;
    std::stop_token stop_;
    std::unique_ptr<record::Record> store_;
    ReviewResult out_;
};

}  // namespace

ReviewResult runReview(const ReviewRequest& request, const ReviewProgress& progress, std::stop_token stop) {
    return Runner(request, progress, std::move(stop)).run();
}

std::vector<std::string> datesFromTo(const std::string& from, const std::string& to) {
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

std::vector<Cents> runningProfit(const std::vector<ReviewedRace>& races, BetType type) {
    std::vector<Cents> curve;
    curve.reserve(races.size());
    Cents profit = 0;
    for (const ReviewedRace& r : races) {
        profit += r.settled[type].returned - r.settled[type].staked;
        curve.push_back(profit);
    }
    return curve;
}

std::vector<int> resultOrder(const RaceDividends& result) {
    std::vector<int> order;
    if (result.status == ResultStatus::Official)
        for (const Placing& p : result.placings) order.push_back(p.runner);
    return order;
}

std::vector<std::vector<std::string>> raceRecords(const std::vector<ReviewedRace>& races) {
    const auto numbers = [](const std::vector<int>& v) {
        std::string s;
        for (int n : v) s += (s.empty() ? "" : " ") + std::to_string(n);
        return s;
    };
    std::vector<std::vector<std::string>> records{{"date", "track", "race", "tips", "bestBet", "result", "void"}};
    for (BetType b : kAllBetTypes) {
        records.back().push_back(std::string(betKey(b)) + "Staked");
        records.back().push_back(std::string(betKey(b)) + "Returned");
    }
    for (const ReviewedRace& r : races) {
        records.push_back({r.key.date, text::toUtf8(r.key.meeting), std::to_string(r.key.race), numbers(r.bets.tips),
                           r.bets.bestBet ? std::to_string(r.bets.bestBet) : "", numbers(resultOrder(r.result)),
                           r.settled.isVoid ? "yes" : ""});
        for (BetType b : kAllBetTypes) {
            records.back().push_back(twoDecimals(r.settled[b].staked));
            records.back().push_back(twoDecimals(r.settled[b].returned));
        }
    }
    return records;
}

}  // namespace selvane
