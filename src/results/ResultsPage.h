#pragma once

#include <string>
#include <string_view>

#include "pages/PageWriter.h"

namespace selvane {

// How the copy of a race result page ended.
enum class ResultsPageEnd {
    NoResultTables,  // no table start on the page: results.html is not written
    FifthTableEnd,   // copied up to and including the fifth </table>
    EndOfPage,       // the page ran out first; results.html got its foot all the same
};

// Copies the result tables of a race result page (as Parse stored it in test.html) into
// results.html through the writer: the page head on black, from the first table start on every
// tag lower-cased and every text between tags unchanged, one a line, up to and including the
// fifth </table>, then the foot. The page text is rewritten in place (tag spellings, CR LF).
ResultsPageEnd writeResultsPage(PageWriter& writer, std::string& pageText);

inline constexpr const char* kResultNotFetched = "The result could not be fetched";

// A final race whose result page failed: results.html on black with kResultNotFetched and
// "Cause: " + cause (a text of the program's own, written as it is).
void writeResultFailurePage(PageWriter& writer, std::string_view cause);

}  // namespace selvane
