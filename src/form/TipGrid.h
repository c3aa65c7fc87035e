#pragma once

#include <cstdint>
#include <string>

namespace selvane {

struct MainWindow;

// "st", "nd", "rd" or "th" for n (11..19 modulo 100 take "th").
std::string ordinalSuffix(std::int16_t n);

// A whole number in decimal with one leading blank in the sign position (" 1"; "-1").
std::string labelNumber(long n);

// Resets the tip grid: four columns, the header row, six labelled empty rows (" 1st" .. " 6th").
void msfClear(MainWindow& w);

}  // namespace selvane
