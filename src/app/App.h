#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "kit/MainWindow.h"
#include "meetings/MeetingTables.h"
#include "kit/Ports.h"
#include "form/RunnerTable.h"
#include "net/Fetcher.h"
#include "results/ResultTables.h"

namespace selvane {

// Where the three outside services are. Defaults are the compiled-in build settings.
struct Services {
    std::string formGuide;        // scheme, host and port; fixed paths are appended
    std::string resultsSiteRoot;  // ends in "/"
    std::string makerSite;        // ends in "/"

    static Services compiledIn();
};

struct ConnectionState {
    bool isOnline = false;
    std::uint32_t connectionFlags = 0;
    std::string connectionName;
};

// The program's whole state: the main window and the shared tables, the platform ports and
// the settings. One per run (the CLI and each test make their own).
struct App {
    App(std::filesystem::path folder, Ports p, Services s = Services::compiledIn())
        : programFolder(std::move(folder)), ports(p), services(std::move(s)) {}

    std::filesystem::path programFolder;
    Ports ports;
    Services services;
    FetchLimits limits;

    MainWindow window;
    MeetingTables meetings;
    ResultTables results;
    RunnerTable runners;
    ConnectionState connection;
    // Replaces the machine's connectivity query when set (tests, offline runs).
    std::function<bool(std::uint32_t& flags, std::string& name)> connectivityOverride;

    // A work file's full path; refused names (see workFilePath) give an empty text, which
    // every file procedure treats as a failure.
    std::string workPath(std::string_view name) const;
};

}  // namespace selvane
