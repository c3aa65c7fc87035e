#pragma once

#include <vector>

#include "kit/Controls.h"

namespace selvane {

// A window as a model: the controls it owns, for the busy bracket and the bindings.
class Window {
public:
    virtual ~Window() = default;
    virtual std::vector<Control*> controls() = 0;
};

}  // namespace selvane
