#pragma once

#include <filesystem>

#include "form/RunnerTable.h"
#include "kit/ChosenRace.h"
#include "kit/MainWindow.h"
#include "meetings/MeetingTables.h"
#include "net/Connectivity.h"
#include "net/Context.h"
#include "odds/OddsCommand.h"
#include "results/ResultTables.h"

namespace selvane {

// The program's whole state: the context every command gets, the main window and the shared
// tables. One per run (the CLI and each test make their own).
struct App : Context {
    using Context::Context;

    MainWindow window;
    ChosenRace chosenRace;  // set by the race selection, emptied when the race list is refilled
    MeetingTables meetings;
    ResultTables results;
    RunnerTable runners;
    ConnectionState connection;
    OddsState odds;
};

}  // namespace selvane
