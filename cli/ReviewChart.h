#pragma once

#include <string>

#include "review/ReviewRunner.h"

namespace selvane::cli {

// The running profit of each bet type over the races in order, as an SVG or PNG picture (by the
// name's ending), written whole or not at all. Returns the failure's text; empty when written.
std::string writeReviewChart(const std::string& path, const ReviewResult& review, const std::string& from,
                             const std::string& to);

// True when path names a picture writeReviewChart can make (.svg or .png, any case).
bool isChartName(const std::string& path);

}  // namespace selvane::cli
