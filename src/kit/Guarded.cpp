#include "kit/Guarded.h"

namespace selvane {

namespace {
thread_local SkippedSteps* currentLog = nullptr;
}

SkippedStepScope::SkippedStepScope(SkippedSteps& log) : outermost_(currentLog == nullptr) {
    if (outermost_) currentLog = &log;
}

SkippedStepScope::~SkippedStepScope() {
    if (outermost_) currentLog = nullptr;
}

void noteSkippedStep(const std::string& what) {
    if (currentLog) currentLog->push_back(what);
}

}  // namespace selvane
