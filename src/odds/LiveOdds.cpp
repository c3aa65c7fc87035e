#include "odds/LiveOdds.h"

#include <exception>

#include "kit/RaceMessages.h"
#include "net/WorkFiles.h"
#include "pages/PageWriter.h"
#include "net/PageText.h"

namespace selvane {

std::string oddsInaccessibleText(std::string_view trackName) {
    return couldNotAccessText("live odds data", text::trimSpaces(trackName), "\r\n",
                              "odds data has no record available.");
}

OddsOutcome oddsFromPage(std::string_view rtoPageText, int runnerCount, const std::filesystem::path& folder) {
    OddsOutcome out;
    const std::string path = *workFilePath(folder, kOddsPageName);
    if (!deleteFile(path)) {
        out.cause = "cannot delete the earlier " + std::string(kOddsPageName);
        return out;
    }
    try {
        PageWriter writer(folder);
        out.end = writeOddsPage(rtoPageText, runnerCount, writer);
    } catch (const std::exception& e) {
        // Half a page would show half a race's prices.
        deleteFile(path);
        out.cause = e.what();
        if (dynamic_cast<const WorkFileError*>(&e)) out.writeFailure = out.cause;
        return out;
    }
    if (!fileExists(path)) {
        out.cause = "the price page has no price table";
        return out;
    }
    out.hasPage = true;
    out.page = readWholeFile(path);
    out.rows = oddsRows(readOddsPage(out.page, runnerCount));
    return out;
}

}  // namespace selvane
