#include <charconv>
#include <functional>
#include <cstdio>

#include "Cli.h"
#include "Csv.h"
#include "PunterJson.h"
#include "Recording.h"
#include "kit/Clock.h"
#include "net/PageText.h"

namespace selvane::cli {
namespace {

using nlohmann::json;

bool isDate(const std::string& s) {
    if (s.size() != 10 || s[2] != '/' || s[5] != '/') return false;
    for (std::size_t i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

std::string dateOption(const Context& ctx, const char* name) {
    const std::string d = *ctx.args.option(name);
    if (!isDate(d)) throw UsageError(std::string(name) + " takes DD/MM/YYYY");
    return isoDate(d);
}

record::RaceQuery queryOf(const Context& ctx) {
    record::RaceQuery q;
    const bool date = ctx.args.option("--date").has_value();
    const bool from = ctx.args.option("--from").has_value(), to = ctx.args.option("--to").has_value();
    if (date && (from || to)) throw UsageError("--date and --from/--to cannot be used together");
    if (from != to) throw UsageError("--from and --to go together");
    if (date) {
        q.from = q.to = dateOption(ctx, "--date");
    } else if (from) {
        q.from = dateOption(ctx, "--from");
        q.to = dateOption(ctx, "--to");
        if (q.from > q.to) throw UsageError("--from is after --to");
    } else {
        const CivilDate t = Clock::instance().today();
        char iso[16];
        std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", t.year, t.month, t.day);
        q.from = q.to = iso;
    }
    if (const auto track = ctx.args.option("--track")) q.track = *track;
    if (const auto race = ctx.args.option("--race")) {
        const std::optional<int> n = digitsNumber(*race, 2);
        if (!n || *n < 1) throw UsageError("--race takes a race number");
        q.race = *n;
    }
    return q;
}

std::string trimmed(std::string_view s) { return std::string(text::trimSpaces(s)); }

json runnerNumber(const std::string& number) {
    if (number.empty()) return nullptr;
    return static_cast<int>(text::leadingNumber(number));
}

json numbers(const std::vector<std::string>& texts) {
    json list = json::array();
    for (const std::string& t : texts) list.push_back(runnerNumber(t));
    return list;
}

// A price cell as data: a number, "scr" for a scratched runner, null for no price.
json priceJson(const std::string& cell) {
    const std::string t = trimmed(cell);
    if (t == "scr" || t == "SCR") return "scr";
    double value = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (ec != std::errc() || end != t.data() + t.size() || value <= 0) return nullptr;
    return value;
}

std::string placingsText(const std::vector<int>& placings) {
    std::string text;
    for (int p : placings) text += (text.empty() ? "" : ",") + std::to_string(p);
    return text;
}

// What the table's Result column says: the placings, or the results site's state until then.
std::string resultText(const record::RaceSummary& r) { return r.placings ? placingsText(*r.placings) : r.state; }

json summaryJson(const record::RaceSummary& r) {
    // Set key by key: a season is made of these, and a list of key-value pairs first costs more.
    json doc = json::object();
    doc.emplace("date", r.key.date);
    doc.emplace("track", jsonText(trimmed(r.key.meeting)));
    doc.emplace("race", r.key.race);
    doc.emplace("time", jsonText(trimmed(r.time)));
    doc.emplace("name", jsonText(trimmed(r.track)));
    doc.emplace("tips", numbers(r.tips));
    doc.emplace("bestBet", runnerNumber(r.bestBet));
    doc.emplace("state", r.state.empty() ? json(nullptr) : jsonText(r.state));
    doc.emplace("result", r.placings ? json(*r.placings) : json(nullptr));
    return doc;
}

json detailJson(const record::RaceDetail& d) {
    json doc = summaryJson(d.summary);
    json field = json::array();
    if (d.field)
        for (const record::Runner& r : d.field->runners)
            field.push_back({{"number", jsonText(r.number)}, {"form", jsonText(r.form)}, {"name", jsonText(r.name)},
                             {"jockey", jsonText(r.jockey)}, {"weight", jsonText(r.weight)},
                             {"barrier", jsonText(r.barrier)}, {"emergency", r.emergency}});
    doc["field"] = field;
    doc["fieldFetchedAt"] = d.field ? json(d.field->fetch.at) : json(nullptr);
    json runs = json::array();
    for (const record::TipRun& t : d.tipRuns) {
        json tips = json::array();
        for (const record::Tip& tip : t.tips)
            tips.push_back({{"place", tip.place}, {"number", runnerNumber(tip.number)}, {"name", jsonText(tip.name)},
                            {"win", tip.winPercent}, {"rankValue", tip.rankValue}, {"working", jsonText(tip.working)}});
        runs.push_back({{"tippedAt", t.at}, {"engineVersion", t.engineVersion}, {"tips", tips},
                        {"bestBet", runnerNumber(t.bestBet)},
                        {"warning", t.warning.empty() ? json(nullptr) : jsonText(t.warning)},
                        {"stopped", t.stopped.empty() ? json(nullptr) : jsonText(t.stopped)},
                        {"ticked", numbers(t.ticked)}});
    }
    doc["tipRuns"] = runs;
    json prices = json::array();
    for (const record::PriceFetch& p : d.prices) {
        json rows = json::array();
        for (const record::PriceRow& r : p.rows) {
            json cells = json::array();
            for (const std::string& c : r.prices) cells.push_back(priceJson(c));
            rows.push_back({{"number", runnerNumber(r.number)}, {"name", jsonText(r.name)}, {"best", priceJson(r.best)},
                            {"prices", cells}});
        }
        prices.push_back({{"fetchedAt", p.fetch.at}, {"address", jsonText(p.fetch.address)}, {"rows", rows}});
    }
    doc["prices"] = prices;
    json dividends = json::array(), scratched = json::array();
    if (d.dividends) {
        for (const record::Dividend& x : d.dividends->dividends)
            dividends.push_back({{"bet", x.bet}, {"runners", x.runners}, {"dividend", static_cast<double>(x.cents) / 100}});
        scratched = d.dividends->scratched;
    }
    doc["dividends"] = dividends;
    doc["scratched"] = scratched;
    return doc;
}

std::string money(std::int64_t cents) {
    char text[32];
    std::snprintf(text, sizeof text, "$%lld.%02lld", static_cast<long long>(cents / 100), static_cast<long long>(cents % 100));
    return text;
}

void printDetail(std::ostream& out, const record::RaceDetail& d) {
    const record::RaceSummary& r = d.summary;
    out << r.key.date << "  " << toUtf8(trimmed(r.key.meeting)) << "  Race " << r.key.race << "  "
        << toUtf8(trimmed(r.time)) << "  " << toUtf8(trimmed(r.track)) << "  " << toUtf8(trimmed(r.length)) << "\n";
    if (d.field) {
        out << "\nField, fetched " << d.field->fetch.at << "\n";
        std::vector<std::vector<std::string>> rows{{"#.", "Form", "Horse Name", "Jockey", "Weight", "Barrier"}};
        for (const record::Runner& x : d.field->runners)
            rows.push_back({x.number, x.form, x.name, x.jockey, x.weight, x.barrier});
        printTable(out, rows);
    } else {
        out << "\nField: not recorded\n";
    }
    for (const record::TipRun& t : d.tipRuns) {
        out << "\nTips, " << t.at << " (engine " << t.engineVersion << ")\n";
        if (!t.tips.empty()) {
            std::vector<std::vector<std::string>> rows{{"Tip", "#.", "Horse Name", "Win", "Rank", "Working"}};
            for (const record::Tip& tip : t.tips) {
                char rank[32];
                std::snprintf(rank, sizeof rank, "%.2f", tip.rankValue);
                rows.push_back({std::to_string(tip.place), tip.number, tip.name, std::to_string(tip.winPercent) + "%",
                                rank, tip.working});
            }
            printTable(out, rows);
        }
        out << "  Best bet: " << (t.bestBet.empty() ? "none" : toUtf8(t.bestBet));
        if (!t.warning.empty()) out << "  Warning: " << toUtf8(t.warning);
        if (!t.stopped.empty()) out << "  Tipping stopped: " << toUtf8(t.stopped);
        if (!t.ticked.empty()) {
            out << "  Ticked:";
            for (const std::string& n : t.ticked) out << " " << toUtf8(n);
        }
        out << "\n";
    }
    if (d.tipRuns.empty()) out << "\nTips: not recorded\n";
    for (const record::PriceFetch& p : d.prices) {
        out << "\nPrices, fetched " << p.fetch.at << "\n";
        std::vector<std::vector<std::string>> rows{
            {"#.", "Name", "Best", "AUS TOTE", "STAB Win", "NSW Win", "QLD Win", "STAB PLC", "NSW PLC", "QLD PLC"}};
        for (const record::PriceRow& x : p.rows) {
            std::vector<std::string> row{x.number, x.name, x.best};
            row.insert(row.end(), x.prices.begin(), x.prices.end());
            rows.push_back(std::move(row));
        }
        printTable(out, rows);
    }
    if (d.prices.empty()) out << "\nPrices: not recorded\n";
    out << "\nResult: ";
    if (d.result)
        out << toUtf8(resultText(r)) << (r.placings ? "" : " (not official)") << ", fetched " << d.result->fetch.at
            << "\n";
    else
        out << "not recorded\n";
    if (d.dividends) {
        out << "Dividends:";
        for (const record::Dividend& x : d.dividends->dividends) {
            std::string runners;
            for (int n : x.runners) runners += (runners.empty() ? "" : "-") + std::to_string(n);
            out << "  " << x.bet << " " << runners << " " << money(x.cents);
        }
        if (!d.dividends->scratched.empty()) {
            out << "  scratched";
            for (int n : d.dividends->scratched) out << " " << n;
        }
        out << "\n";
    }
}

void printSummaries(std::ostream& out, const std::vector<record::RaceSummary>& races) {
    std::vector<std::vector<std::string>> rows{{"Date", "Meeting", "Race", "Time", "Tipped 1st", "Best bet", "Result"}};
    for (const record::RaceSummary& r : races)
        rows.push_back({r.key.date, trimmed(r.key.meeting), std::to_string(r.key.race), trimmed(r.time),
                        r.tips.empty() ? "" : r.tips.front(), r.bestBet, resultText(r)});
    printTable(out, rows);
}

void writeHistoryCsv(std::ostream& out, const std::vector<record::RaceSummary>& races) {
    std::vector<std::vector<std::string>> records{{"date", "track", "race", "time", "tips", "bestBet", "result"}};
    for (const record::RaceSummary& r : races) {
        std::string tips;
        for (const std::string& t : r.tips) tips += (tips.empty() ? "" : " ") + t;
        records.push_back({r.key.date, trimmed(r.key.meeting), std::to_string(r.key.race), trimmed(r.time), tips,
                           r.bestBet, resultText(r)});
    }
    writeCsv(out, records);
}

// The document with its list written one element at a time: a season is tens of thousands of
// races, and one tree of them all, its copy and its dump cost several times the reading. The
// bytes are those the whole document's dump(2) gives: the envelope is dumped with the list
// empty, and each element dumped alone takes the indent of its place in the list.
void printWithList(std::ostream& out, const json& document, const std::string& key, std::size_t count,
                   const std::function<json(std::size_t)>& element) {
    const std::string text = document.dump(2);
    const std::string empty = "\n  \"" + key + "\": []";
    const std::size_t at = text.find(empty);
    if (count == 0 || at == std::string::npos) {
        out << text << "\n";
        return;
    }
    const std::size_t close = at + empty.size() - 1;
    std::string chunk(text, 0, close);
    for (std::size_t i = 0; i < count; ++i) {
        chunk += i == 0 ? "\n    " : ",\n    ";
        const std::string item = element(i).dump(2);
        std::size_t from = 0;
        for (std::size_t nl; (nl = item.find('\n', from)) != std::string::npos; from = nl + 1) {
            chunk.append(item, from, nl - from);
            chunk += "\n    ";
        }
        chunk.append(item, from);
        if (chunk.size() >= 1 << 16) {
            out << chunk;
            chunk.clear();
        }
    }
    chunk += "\n  ";
    chunk.append(text, close);
    out << chunk << "\n";
}

int runHistory(Context& ctx) {
    ctx.args.expect(0, 0, {"--date", "--from", "--to", "--track", "--race", "--csv"});
    const bool csv = csvWanted(ctx);
    const record::RaceQuery q = queryOf(ctx);
    if (ctx.record.file.empty()) throw UsageError("history reads the record: not with --no-record");
    record::Record store(ctx.record.file);
    std::vector<record::RaceSummary> races;
    std::vector<record::RaceDetail> details;
    try {
        races = store.races(q);
        if (q.race > 0)
            for (const record::RaceSummary& r : races) details.push_back(store.detail(r));
    } catch (const record::RecordError& e) {
        throw InputError(e.what());
    }
    if (csv) {
        writeHistoryCsv(ctx.out, races);
        return kOk;
    }
    if (ctx.json) {
        const json document = punterDocument(json{{"from", q.from}, {"to", q.to}, {"races", json::array()}}, ctx.warnings, "");
        if (q.race > 0)
            printWithList(ctx.out, document, "races", details.size(), [&](std::size_t i) { return detailJson(details[i]); });
        else
            printWithList(ctx.out, document, "races", races.size(), [&](std::size_t i) { return summaryJson(races[i]); });
        return kOk;
    }
    std::ostream& out = ctx.out;
    if (races.empty()) {
        out << "No races recorded" << (q.from == q.to ? " on " + q.from : " from " + q.from + " to " + q.to)
            << (q.track.empty() ? "" : " at " + q.track) << ".\n";
        return kOk;
    }
    if (q.race == 0) {
        printSummaries(out, races);
        return kOk;
    }
    for (std::size_t i = 0; i < details.size(); ++i) {
        if (i > 0) out << "\n";
        printDetail(out, details[i]);
    }
    return kOk;
}

const Registrar registrar{Command{
    "history", "history [--date D | --from D --to D] [--track T] [--race N] [--csv]",
    "what the record holds: the races seen, their tips, prices and results (offline)",
    "Reads the record (--record FILE, else the default record) and fetches nothing. Dates are\n"
    "DD/MM/YYYY, both ends included; without a date, today. --track T keeps the meetings whose\n"
    "name's first word is T (letter case ignored). Without --race: one line per recorded race:\n"
    "date, meeting, race, time, the first tip of its last tipping, the each-way best bet and the\n"
    "result (placings, or the results site's state until they are official). With --race N: that\n"
    "race's last field, every tipping, every price fetch, the result and any dividends.\n"
    "JSON: {from, to, races: [{date, track, race, time, name, tips: [numbers], bestBet, state,\n"
    "result: [numbers] or null}]}; with --race each race also has field, fieldFetchedAt, tipRuns\n"
    "[{tippedAt, engineVersion, tips: [{place, number, name, win, rankValue, working}], bestBet,\n"
    "warning, stopped, ticked}], prices [{fetchedAt, address, rows: [{number, name, best,\n"
    "prices}]}] (a price is a number, \"scr\" or null), dividends [{bet, runners, dividend}] and\n"
    "scratched. --csv: date, track, race, time, tips, bestBet, result. Exit status 1 when the\n"
    "record cannot be read; a record that does not exist yet holds no races.",
    {"--date", "--from", "--to", "--track", "--race"}, runHistory, {"--csv"}, true}};

}  // namespace
}  // namespace selvane::cli
