#include "Recording.h"

#include <chrono>
#include <cstdlib>
#include <ctime>

#include "Cli.h"
#include "form/RaceSelection.h"
#include "form/TipWarning.h"
#include "form/Tipping.h"
#include "kit/Clock.h"
#include "meetings/MeetingCommands.h"
#include "net/PageText.h"
#include "results/LiveResults.h"

namespace selvane::cli {
namespace {

std::string trimmed(std::string_view s) { return std::string(text::trimSpaces(s)); }

std::string utcNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(Clock::instance().now());
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

// The placings of an official result: numbers between commas ("18,17,1"); none for a start time,
// a status word or an abandoned race.
std::optional<std::vector<int>> placingsOf(const std::string& state) {
    if (state.empty() || !raceIsFinal(state)) return std::nullopt;
    std::vector<int> placings;
    std::size_t start = 0;
    while (start <= state.size()) {
        std::size_t end = state.find(',', start);
        if (end == std::string::npos) end = state.size();
        const std::string part = trimmed(std::string_view(state).substr(start, end - start));
        if (part.empty() || part.size() > 3 || part.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        placings.push_back(std::stoi(part));
        start = end + 1;
    }
    return placings;
}

// The meeting the track box has chosen (entry k is slot k + 1); 0 when none.
int chosenMeeting(const App& app) {
    const int slot = app.window.cmbTrackName.selectedIndex() + 1;
    return slot >= 1 && slot < app.meetings.meetingCounter && slot <= MeetingTables::kMeetings ? slot : 0;
}

std::string datePath(const std::string& iso) { return iso.substr(0, 4) + iso.substr(5, 2) + iso.substr(8, 2); }

void addMeetings(record::Batch& batch, const App& app, const std::string& date, const std::string& at) {
    const MeetingTables& t = app.meetings;
    if (t.meetingCounter <= 1) return;
    record::MeetingDay day{date, {at, meetingPageUrl(app.services) + "?" + datePath(date)}, {}};
    for (int m = 1; m < t.meetingCounter && m <= MeetingTables::kMeetings; ++m) {
        record::Meeting meeting{t.meetingNames[m], t.meetingLinks[m], "", {}};
        for (int k = 1; k <= MeetingTables::kRaces && k <= t.meetingLastRace[m]; ++k) {
            const RaceRow& r = t.raceTable[m][k];
            const int number = static_cast<int>(text::leadingNumber(r.number));
            if (number > 0) meeting.races.push_back({number, r.time, r.track, r.length});
        }
        day.meetings.push_back(std::move(meeting));
    }
    batch.meetingDays.push_back(std::move(day));
}

std::string warningOf(const std::vector<ShownMessage>& messages) {
    for (const ShownMessage& m : messages)
        for (TipWarning w : {TipWarning::DataError, TipWarning::InsufficientForm})
            if (m.title == warningTitle(w)) return m.title;
    return {};
}

// The chosen race's field as the runner list holds it and the tips the engine gives it.
void addField(record::Batch& batch, const App& app, const record::RaceKey& key, const std::string& at,
              const std::vector<ShownMessage>& messages) {
    const MainWindow& w = app.window;
    const int row = w.lstRaceName.selectedIndex();
    if (w.lstRaces.count() == 0 || row < 0) return;
    record::Field field{key, {at, racePageAddress(app.services.formGuide, w.lstRaceName.row(row).text,
                                                  w.lstRaceName.subItem(row, 1))}, {}};
    for (int i = 0; i < w.lstRaces.count(); ++i) {
        const std::string number = trimmed(w.lstRaces.row(i).text);
        field.runners.push_back({number, w.lstRaces.subItem(i, 1), w.lstRaces.subItem(i, 2), w.lstRaces.subItem(i, 3),
                                 w.lstRaces.subItem(i, 4), w.lstRaces.subItem(i, 5),
                                 !number.empty() && (number.back() == 'e' || number.back() == 'E')});
    }

    const std::vector<TipInput> inputs = tipInputs(w);
    const TipOutcome o = computeTips(inputs);
    record::TipRun run{key, at, kTippingEngineVersion, {}, "", warningOf(messages), o.error, {}};
    for (const TipInput& in : inputs)
        if (in.ticked) run.ticked.push_back(trimmed(in.number));
    if (o.stop == TipStop::None) {
        for (std::size_t k = 0; k < o.tips.size() && k < o.tipOrder.size(); ++k) {
            const std::size_t i = static_cast<std::size_t>(o.tipOrder[k] - 1);
            if (i >= field.runners.size()) continue;
            run.tips.push_back({static_cast<int>(k) + 1, field.runners[i].number, field.runners[i].name,
                                std::atoi(trimmed(o.tips[k].win).c_str()),
                                i < o.rankValue.size() ? static_cast<double>(o.rankValue[i]) : 0.0,
                                o.ranked ? explainLine(o, i) : std::string()});
        }
        if (o.bestBetRow > 0 && o.bestBetRow < static_cast<int>(o.gridOrder.size())) {
            const std::size_t i = static_cast<std::size_t>(o.tipOrder[o.gridOrder[o.bestBetRow] - 1] - 1);
            if (i < field.runners.size()) run.bestBet = field.runners[i].number;
        }
    }
    batch.fields.push_back(std::move(field));
    if (o.stop != TipStop::EmptyField) batch.tipRuns.push_back(std::move(run));
}

// The result states of the chosen meeting's races, as the results list holds them.
void addResults(record::Batch& batch, const App& app, const std::string& date, const std::string& meeting,
                const std::string& at) {
    const MainWindow& w = app.window;
    const record::Fetch fetch{at, app.services.resultsSiteRoot + date.substr(0, 4) + "/" + date.substr(5, 2) + "/" +
                                      date.substr(8, 2) + "/mtgraces.html"};
    for (const ReportRow& row : w.lstResults.rows()) {
        const int race = static_cast<int>(text::leadingNumber(row.subItems.at(0)));
        const std::string& state = row.subItems.at(2);
        if (race <= 0 || trimmed(state).empty()) continue;
        batch.results.push_back({{date, meeting, race}, fetch, trimmed(row.text), trimmed(state), placingsOf(trimmed(state))});
    }
}

}  // namespace

std::string isoDate(const std::string& d) {
    if (d.size() != 10 || d[2] != '/' || d[5] != '/') return {};
    return d.substr(6, 4) + "-" + d.substr(3, 2) + "-" + d.substr(0, 2);
}

std::filesystem::path recordFileOption(const std::optional<std::string>& file, bool noRecord) {
    if (noRecord && file) throw UsageError("--record and --no-record cannot be used together");
    if (noRecord) return {};
    if (file) {
        if (file->empty()) throw UsageError("--record takes a file");
        return *file;
    }
    return record::defaultRecordFile();
}

record::Batch fetchedBatch(const App& app, const std::vector<ShownMessage>& messages, const LiveOddsRun* odds) {
    record::Batch batch;
    const std::string date = isoDate(app.window.cmbDateRaces.text());
    if (date.empty()) return batch;
    const std::string at = utcNow();
    addMeetings(batch, app, date, at);
    const int meeting = chosenMeeting(app);
    if (meeting == 0) return batch;
    const std::string& name = app.meetings.meetingNames[meeting];
    const MainWindow& w = app.window;
    const int row = w.lstRaceName.selectedIndex();
    const int race = row >= 0 ? static_cast<int>(text::leadingNumber(w.lstRaceName.subItem(row, 1))) : 0;
    const record::RaceKey key{date, name, race};
    if (race > 0) addField(batch, app, key, at, messages);
    if (race > 0 && odds && odds->end == LiveOddsRun::End::Shown) {
        record::PriceFetch prices{key, {at, odds->address}, {}};
        // An emergency's row is in the window but not on the price page: nothing was fetched for it.
        for (const OddsRow& r : odds->rows)
            if (!trimmed(r.number).empty()) prices.rows.push_back({r.number, r.name, r.best, r.prices});
        batch.prices.push_back(std::move(prices));
    }
    addResults(batch, app, date, name, at);
    return batch;
}

void openRecordAhead(Context& ctx) {
    RecordTarget& target = ctx.record;
    if (target.file.empty()) return;
    if (!target.store) target.store = std::make_unique<record::Record>(target.file);
    target.store->openAhead();
}

void saveToRecord(Context& ctx, const record::Batch& batch) {
    RecordTarget& target = ctx.record;
    if (target.file.empty() || batch.empty()) return;
    if (!target.store) target.store = std::make_unique<record::Record>(target.file);
    const record::Record::Saved saved = target.store->save(batch);
    if (!saved.notice.empty()) ctx.err << "selvane-cli: " << saved.notice << "\n";
    if (saved.ok || target.failureShown) return;
    target.failureShown = true;
    ctx.err << "selvane-cli: not recorded: " << saved.cause << "\n";
}

void recordFetched(Context& ctx, const App& app, const LiveOddsRun* odds) {
    saveToRecord(ctx, fetchedBatch(app, ctx.ports.messages.shown, odds));
}

}  // namespace selvane::cli
