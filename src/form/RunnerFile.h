#pragma once

#include <stdexcept>
#include <string_view>
#include <vector>

#include "form/Tipping.h"

namespace selvane {

struct MainWindow;

struct RunnerFileTooLong : std::runtime_error {
    RunnerFileTooLong();
};

// A runner file: one runner a line (LF or CR LF), tab-separated number, form, name, barrier,
// ticked ("1" ticks; "0" or nothing does not). The last line end does not start a runner.
// More runners than the runner list holds (100) throw RunnerFileTooLong.
std::vector<TipInput> parseRunnerFile(std::string_view text);

// Fills the runner list with one entry a runner (jockey and weight empty), ticks included.
void setRunnerList(MainWindow& w, const std::vector<TipInput>& field);

}  // namespace selvane
