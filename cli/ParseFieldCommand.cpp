#include "Cli.h"
#include "TipsOutput.h"
#include "form/RaceFieldParser.h"

namespace selvane::cli {
namespace {

const char* endText(FieldParseEnd end) {
    switch (end) {
        case FieldParseEnd::SecondRule: return "the end of the race data";
        case FieldParseEnd::RowLimit: return "a 101st runner row (the first 100 kept)";
        case FieldParseEnd::UnclosedTag: return "a tag without its closing >";
        case FieldParseEnd::EndOfPage: break;
    }
    return "the end of the page";
}

int runParseField(Context& ctx) {
    ctx.args.expect(1, 1, {});
    std::string page = readInputFile(ctx.args.at(0, "FILE"));
    RunnerTable table;
    const FieldParseEnd end = parseRaceField(table, page);
    const std::vector<RunnerEntry> entries = runnerEntries(table);
    return ctx.print(
        [&] { return nlohmann::json{{"rows", runnerRowsJson(table)}, {"runners", runnerEntriesJson(entries)}}; },
        [&](std::ostream& out) {
            out << "Runners: " << entries.size() << " (the walk stopped at " << endText(end) << ")\n";
            printRunnerEntries(out, entries);
        });
}

const Registrar registrar{Command{
    "parse field", "parse field FILE",
    "read a saved race page (as test.html holds it) into runner rows and runner list entries",
    "FILE is the page after the HTML engine (see normalise). Prints the runner list entries.\n"
    "JSON: {rows: [{number, form, horse, jockey, weight, api, win, place, stakes}],\n"
    "runners: [{number, form, name, jockey, weight, barrier}]}.",
    {}, runParseField}};

}  // namespace
}  // namespace selvane::cli
