#include "app/Commands.h"

#include "app/App.h"
#include "app/ExitCleanUp.h"
#include "form/RaceSelection.h"
#include "meetings/MeetingCommands.h"
#include "results/Ticker.h"

namespace selvane {

void wireShellCommands(App& app) {
    app.window.cmdExit.onClick = [&app] { exitProgram(app); };
}

void wireCommands(App& app) {
    wireShellCommands(app);
    // One line per room.
    wireMeetingCommands(app);
    wireRaceSelection(app);
    wireResultsTicker(app);
}

}  // namespace selvane
