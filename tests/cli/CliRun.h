#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "standin/RaceDay.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane::test {

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

// selvane-cli in-process: words are what follows the program name.
inline CliRun runCli(std::vector<std::string> words) {
    words.insert(words.begin(), "selvane-cli");
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    std::ostringstream out, err;
    CliRun run;
    run.code = cli::runCli(static_cast<int>(words.size()), argv.data(), out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// The punter's commands against the stand-in services, about the day's first meeting.
struct StandinCli : ::testing::Test {
    explicit StandinCli(const std::string& now = "2026-12-06T14:00") : web(now) {}
    CliRun cli(std::vector<std::string> words, const Services& s) const {
        words.insert(words.end(), {"--form-guide", s.formGuide, "--results-site", s.resultsSiteRoot, "--timeout", "10"});
        return runCli(std::move(words));
    }
    CliRun cli(std::vector<std::string> words) const { return cli(std::move(words), web.services()); }

    StandinFixture web;
    const standin::RaceDay day = standin::generateRaceDay(2026, 12, 6, 1);
    const standin::Meeting& meeting = day.meetings[0];
    const std::string track = meeting.name.substr(0, meeting.name.find(' '));
};

}  // namespace selvane::test
