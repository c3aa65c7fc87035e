#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "support/StandinFixture.h"
#include "support/TestSupport.h"

namespace selvane::test {

struct CliRun {
    int code = -1;
    std::string out, err;
};

// selvane-cli in-process: words are what follows the program name.
inline CliRun runCli(std::vector<std::string> words) {
    words.insert(words.begin(), "selvane-cli");
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    std::ostringstream out, err;
    const int code = cli::runCli(static_cast<int>(words.size()), argv.data(), out, err);
    return {code, out.str(), err.str()};
}

// The punter's commands against the stand-in services.
struct StandinCli : ::testing::Test {
    explicit StandinCli(const std::string& now = "2026-12-06T14:00") : web(now) {}
    // Each test records into its own file unless it names one.
    CliRun cli(std::vector<std::string> words, const Services& s) const {
        words.insert(words.end(), {"--form-guide", s.formGuide, "--results-site", s.resultsSiteRoot});
        if (std::find(words.begin(), words.end(), "--record") == words.end() &&
            std::find(words.begin(), words.end(), "--no-record") == words.end())
            words.insert(words.end(), {"--record", recordFile()});
        return runCli(std::move(words));
    }
    CliRun cli(std::vector<std::string> words) const { return cli(std::move(words), web.services()); }

    std::string recordFile() const { return recordDir.file("record.sqlite"); }

    StandinFixture web;
    TempDir recordDir;
};

}  // namespace selvane::test
