#pragma once

// A stand-in race day: its dates and codes, the generated meetings, and its clock (race states and
// prices at a moment).

#include "standin/DayGenerator.h"
#include "standin/RaceClock.h"
#include "standin/RaceDates.h"
