// Test keypad of the mission CDU: a harness gauge "C17_CDU_HARNESS" drawn with
// c17_cdu_draw beside the module's gauges (a test linkage, never the module's table).
// Its keys write only the set's inputs; after each draw it clears the Smiths one-shot
// flags as the Smiths frame does, and the DUPLICATE NAMES scroll requests.
#pragma once

#include <string>

#include "platform/host/gauge_host.h"

// The module's linkage with the harness gauge added.
ModuleLinkage* c17_cdu_harness_linkage();

// "L1".."L6", "R1".."R6": the pending key; "DEL"/"CLR": the delete words in the
// message line; "PREV"/"NEXT": the scroll flags, the DUPLICATE NAMES scroll requests
// and the Smiths page flags; "RTE", "LEGS", "DIR INTC", "HOLD": the route keys as on the Smiths
// keypad (legs mode and one-shot flags, onto the legs or hold page); a page name
// ("INDEX", "INIT", "SENSORS", "FIX", "PLANS", "TOLD", "PROG", "APPR", "DEP", "ARR", "DUP", "PERF"):
// that page. False for a key the pad does not have.
bool c17_cdu_harness_key(const std::string& key);
// Characters into the scratchpad.
void c17_cdu_harness_type(const std::string& text);
