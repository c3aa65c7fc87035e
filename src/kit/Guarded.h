#pragma once

namespace selvane {

// One step of a command whose errors are ignored statement by statement: a step that throws is
// skipped and the command goes on with the next.
template <class Step>
void guarded(Step&& step) noexcept {
    try {
        step();
    } catch (...) {
    }
}

}  // namespace selvane
