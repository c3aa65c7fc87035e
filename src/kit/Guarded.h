#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace selvane {

// What the steps a command skipped failed with, in order.
using SkippedSteps = std::vector<std::string>;

// Sends this thread's skipped steps to log (nullptr: nowhere) until the scope ends; a scope
// opened inside another keeps the outer log.
class SkippedStepScope {
public:
    explicit SkippedStepScope(SkippedSteps& log);
    ~SkippedStepScope();
    SkippedStepScope(const SkippedStepScope&) = delete;
    SkippedStepScope& operator=(const SkippedStepScope&) = delete;

private:
    bool outermost_;
};

void noteSkippedStep(const std::string& what);

// One step of a command whose errors are ignored statement by statement: a step that meets a
// failure of its data or files (runtime_error and its kin, out_of_range and invalid_argument from
// an index or a conversion) is skipped, noted, and the command goes on with the next. Anything
// else is a bug: a debug or test build lets it through; a release build skips it like the rest.
template <class Step>
void guarded(Step&& step) {
    try {
        step();
    } catch (const std::runtime_error& e) {
        noteSkippedStep(e.what());
    } catch (const std::out_of_range& e) {
        noteSkippedStep(e.what());
    } catch (const std::invalid_argument& e) {
        noteSkippedStep(e.what());
    } catch (...) {
#ifdef NDEBUG
        noteSkippedStep("unexpected failure");
#else
        throw;
#endif
    }
}

}  // namespace selvane
