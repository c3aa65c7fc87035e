#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "app/App.h"

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

// The options that point a punter's command at these services.
inline std::vector<std::string> serviceOptions(const Services& s) {
    return {"--form-guide", s.formGuide, "--results-site", s.resultsSiteRoot, "--timeout", "10"};
}

inline std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace selvane::test
