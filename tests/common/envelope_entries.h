// The entries that keep the aircraft inside its envelope, with the answer each gets, on
// every unit that takes them with the shared field readers (the Smiths CDU and the mission
// CDU), in order on the sample twin jet (MaxCruise 41,000 ft, least speeds 210 kt in the
// climb and 170 kt elsewhere, Mach limit .82) with the company route KSEA (433 ft) to KPDX
// active.
#pragma once

#include <cstddef>

namespace envelope_entries {

enum class Field { CruiseAlt, ClimbLimitMin, ClimbLimitMax, LegConstraint, CrzWind, IsaDev, TcOat, Zfw };

struct Entry {
  Field field;
  const char* entry;
  bool taken;
};

inline constexpr Entry kEntries[] = {
    // A cruise level from the field + 1,000 ft to MaxCruise, a whole word.
    {Field::CruiseAlt, "3", false},
    {Field::CruiseAlt, "1", false},
    {Field::CruiseAlt, "5", false},
    {Field::CruiseAlt, "FL004", false},
    {Field::CruiseAlt, "FL005", false},
    {Field::CruiseAlt, "14", false},
    {Field::CruiseAlt, "15", true},
    {Field::CruiseAlt, "350.5", false},
    {Field::CruiseAlt, "FL600", false},
    {Field::CruiseAlt, "FL450", false},
    {Field::CruiseAlt, "FL990", false},
    {Field::CruiseAlt, "41100", false},
    {Field::CruiseAlt, "FL410", true},
    {Field::CruiseAlt, "FL200", true},
    // Speeds from the least for the phase, Mach from the least speed's at FL200 (.468) to
    // the limit.
    {Field::ClimbLimitMin, "001/.100", false},
    {Field::ClimbLimitMin, "049/.500", false},
    {Field::ClimbLimitMin, "209/.500", false},
    {Field::ClimbLimitMin, "210/.400", false},
    {Field::ClimbLimitMin, "210/.500", true},
    {Field::ClimbLimitMax, "320/.990", false},
    {Field::ClimbLimitMax, "320/.830", false},
    {Field::ClimbLimitMax, "320/.820", true},
    {Field::LegConstraint, "100/1", false},
    {Field::LegConstraint, "169/5000", false},
    {Field::LegConstraint, "12.5", false},
    {Field::LegConstraint, "170/5000", true},
    // Whole words: a wind speed in knots, zero only as "0", weights in tenths.
    {Field::CrzWind, "090/5.5", false},
    {Field::CrzWind, "090/5", true},
    {Field::IsaDev, "00", false},
    {Field::IsaDev, "0.0", false},
    {Field::IsaDev, "+0", false},
    {Field::IsaDev, "-0", false},
    {Field::IsaDev, "0", true},
    {Field::TcOat, "-0", false},
    {Field::TcOat, "00", false},
    {Field::TcOat, "0", true},
    {Field::Zfw, "0.04", false},
    {Field::Zfw, "0.1", true},
};

}  // namespace envelope_entries
