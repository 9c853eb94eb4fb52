// Imports of the simulator's own plans: its GPS route and its ".PLN" flight-plan files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Reads the simulator's GPS route from the host's shared data "FS2002 GPS DATA". With
// at least 2 usable points (at most 200 are taken) it replaces the edit plan with them
// (airports known to the database become "APT" records with their elevation, other
// points "WPT"), steps the route state, and activates the route (activate_route); then,
// unless mode is 7, fpl_message := "ACTIVE DAVUDUVUV RTE LOADED". Without a usable
// route (no block, a count outside the block, fewer than 2 points) the plans stay as
// they were and fpl_message := "NO ACTIVE GPS RTE", whatever the mode.
void import_sim_gps_route(int mode);

// Reads a ".PLN" file (a file system path) into the edit plan, in either form:
//  - INI: a "[flightplan]" section with lines "waypoint.N=" holding, separated by
//    commas, the ident, a type letter (A airport, V VOR, N NDB, I intersection, U user),
//    the latitude and longitude as hemisphere letter, degrees and decimal minutes
//    ("N47* 26.94'") and the altitude ("+000433.00"); fields before the ident are
//    allowed. Records follow the order of N.
//  - XML: "ATCWaypoint" elements of the "FlightPlan.FlightPlan" element, each with
//    "ATCWaypointType" (Airport, VOR, NDB, Intersection, User), "WorldPosition"
//    ("N47° 26' 56.40\",W122° 18' 33.50\",+000433.00") and the ident from "ICAO/ICAOIdent",
//    else the element's "id" attribute.
// A plan loads whole or not at all: a waypoint that does not read (docs/plan-files.md says
// which) refuses the file. An altitude above 0 becomes the record's altitude constraint.
// Answers 1 and steps the state (in 0 or 3) when the file reads with at least one
// waypoint; otherwise the edit plan stays, fpl_message := "Unable to load FP", the module
// says which file and line it refused, and the answer is 0.
int import_pln_file(const std::string& path);

// Reads ".PLN" file `path` (either form) into fpl_scan. Answers 1 when it reads with at
// least one waypoint; otherwise 0, with fpl_scan empty and `refused_line` (when given) the
// line that refused it, 0 when the file holds no plan, -1 when it could not be opened.
int read_pln_file(const std::string& path, int* refused_line = nullptr);

// The reader of both forms over text in memory, into fpl_scan. Answers the number of
// waypoints read, or -1 when the text is refused, with `refused_line` (when given) the
// line that refused it.
int parse_pln_text(const char* data, std::size_t size, int* refused_line = nullptr);

// The origin and destination a listing shows of a ".PLN" from its first bytes `head` and its
// last bytes `tail` (empty when `head` holds the whole file): the idents of the first and
// the last waypoint found there; "" where none reads.
void pln_summary(std::string_view head, std::string_view tail, std::string& first, std::string& last);
