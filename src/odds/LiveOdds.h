#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "odds/OddsPage.h"
#include "odds/OddsPrices.h"

namespace selvane {

inline constexpr const char* kOddsUnavailableTitle = "Odds unvailable";
inline constexpr const char* kOddsUnavailableText = "Live odds is unavailable please try again later!";
inline constexpr const char* kOddsInaccessibleTitle = "Live Odds Inaccessible";

// The critical message's text when the odds window would have no rows.
std::string oddsInaccessibleText(std::string_view trackName);

// The price page of one race as the window shows it.
struct OddsOutcome {
    bool hasPage = false;  // false: no intermediate page, the user is told "Odds unvailable"
    OddsPageEnd end = OddsPageEnd::NoPage;
    std::string page;           // realodds.html as written
    std::vector<OddsRow> rows;  // one per runner row 1..runnerCount
    std::string cause;          // why there is no page, one line
    std::string writeFailure;   // the cause when realodds.html could not be written ("cannot write ...")
};

// The middle of the live odds command: realodds.html in folder is deleted, written from the
// price page, read back into runnerCount rows and each row's best price worked out. An earlier
// race's realodds.html is never read as this one's: when no page comes of this price page,
// none is left in folder.
OddsOutcome oddsFromPage(std::string_view rtoPageText, int runnerCount, const std::filesystem::path& folder);

}  // namespace selvane
