#pragma once

#include <string>

#include "kit/Ports.h"

namespace selvane {

// Mouse button codes of a button release.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// "Website", on a mouse button release: the left button opens the maker's site in the browser;
// other buttons, and any failure, do nothing.
void cmdWebMouseUp(int button, const std::string& makerSite, ShellPort* shell);

}  // namespace selvane
