// Route-entry operations of the CDU route pages: a new route from its origin, its
// destination before and after activation, and the first EXEC.
#pragma once

#include "flightplan/flight_plan.h"
#include "navdb/navdb.h"

// Plan record of an airport block: ident, position, type "APT", elevation as its
// altitude field, no speed constraint.
FlightPlanWpt fpl_airport_record(const AptBlock& apt);

// A new route from `origin`: both plans and the holds are emptied; record 0 of the
// active plan is the origin (last index 0, no active waypoint) and the edit plan a copy.
void fpl_start_route(const FlightPlanWpt& origin);

// Origin typed for the route flown (states 3 and 4, in flight): a modification of the edit
// plan (refreshed from the active plan in state 3) whose record 0 becomes `origin`; the
// route flown and its other records stay as they are until EXEC.
void fpl_set_origin_mod(const FlightPlanWpt& origin);

// Destination of a route not yet active: it replaces the active plan's destination
// (or follows record 0; record 1 when there is no origin), the active waypoint becomes
// record 1 when there was none, and the edit plan takes it too: a copy of the active
// plan while nothing else was entered, else its destination is replaced (or appended).
// False, with nothing changed, when a full plan has no room for it.
bool fpl_set_destination(const FlightPlanWpt& dest);

// Destination of an active route (states 3 and 4): in state 3 the edit plan is first
// refreshed from the active plan and the arrival records just before its destination
// become discontinuities; then the edit plan's last record becomes `dest`.
void fpl_set_destination_mod(const FlightPlanWpt& dest);

// Airport record `apt` of a plan into airport block `slot` (1 origin, 2 destination): from
// the database, else by the record alone, with no runway or procedure (none of the
// airport it replaces).
void fpl_take_airport_block(const FlightPlanWpt& apt, int slot);
// Airport block `slot` holds no airport: no ident, runways or procedures.
void fpl_empty_airport_block(int slot);

// The route's origin and destination from the edit plan's airports (record 0 and the
// last airport after it), as a plan load or the GPS-route import gives them; into the
// pending fields of a modified active route when `pending`. A new origin clears the
// runway of the old one.
void fpl_take_plan_airports(bool pending);

// Before EXEC of a route waiting for it (state 2): the route is flown from its first
// leg unless a direct-to chose the waypoint.
void fpl_prepare_first_exec();
