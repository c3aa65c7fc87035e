#pragma once

// The pages of the three stand-in services, written from a RaceDay.
//
// The meeting page and the results meeting page are read raw, line by line with the line breaks
// dropped, by scanners that see every character between two tags: so these pages put line breaks
// only between tags, never inside a text, and never indent. The race, price and result pages are
// read after the HTML engine; their tables carry no blank text between cells either.

#include <string>

#include "standin/RaceDay.h"

namespace selvane::standin {

struct PageStyle {
    bool latin1 = false;  // write a few ISO-8859-1 bytes (names, a copyright sign): not UTF-8
};

// Form-guide service. The date list runs from a week before the page's day to two days after it,
// the page's day being the selected option.
std::string meetingPage(const RaceDay& day, const PageStyle& style = {});
std::string racePage(const RaceDay& day, const Meeting& meeting, const Race& race, const PageStyle& style = {});
std::string pricePage(const RaceDay& day, const Meeting& meeting, const Race& race, const LocalTime& now,
                      const PageStyle& style = {});

// Tote results site. A race's result page exists from the jump on ("CLOSED" shows a page saying
// so, "INTERIM" the interim placings); before the jump there is none (empty text).
std::string resultsMeetingPage(const RaceDay& day, const LocalTime& now, const PageStyle& style = {});
std::string resultPage(const RaceDay& day, const Meeting& meeting, const Race& race, const LocalTime& now,
                       const PageStyle& style = {});

// Maker's site. makerUrl is the site's own root address, ending in "/".
std::string advertPage(const std::string& makerUrl, const PageStyle& style = {});
std::string makerHomePage(const std::string& makerUrl, const PageStyle& style = {});

std::string notFoundPage(const std::string& target);
std::string serverErrorPage();
std::string indexPage(const std::string& formGuideUrl, const std::string& resultsRoot, const std::string& makerUrl,
                      const LocalTime& now);

}  // namespace selvane::standin
