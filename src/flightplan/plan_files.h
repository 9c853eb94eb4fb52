// Plan files (".RTE") in the plans folder and the stored-plan list. Layout:
// docs/plan-files.md.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Message of the last plan-file operation that failed ("Unable to load FP"), or of
// the GPS-route import; the calling CDU shows it in its message line. "" = none.
extern std::string fpl_message;

// Set while the plan-file loader runs (the ACTIVE FPL header hides its route line).
extern int32_t plan_loader_flag;

// Pending plan request of the CDUs: 1 MCU, 2 other units, 3 text CDU; 0 none.
extern int32_t plan_load_request;
extern std::string plan_load_name;
// Airport ident of the plan the last request loaded (its destination when the last
// record is an airport, else record 0), for the requesting CDU's scratchpad.
extern std::string plan_loaded_airport_ident;

// Settings of the plan files ("\vek\vek.cfg" and the aircraft file set them).
extern std::string FlightPlansFolder;  // empty: "\vek\flightplans\"
extern int32_t SaveFPLCruiseAlt;       // 1: saved plans carry "CruiseAlt=%d"
extern int32_t LoadFuelonFlightPlanLoad;  // 1: a plan load sets the fuel the plan gives

// The plans folder as a file system path ending in "/": the FlightPlansFolder setting
// when it is not empty (a path beginning with "\" lies under the simulator folder),
// else "\vek\flightplans\".
std::string plan_folder_path();

// Writes fpl_active as plan file `file_name` in the plans folder: "CruiseAlt=%d" when
// SaveFPLCruiseAlt is 1 and a cruise altitude is set, "Fuel=%.0f" when plan_fuel is
// above 0, "[FlightPlan]", one line per record 0..last. The name must be one file name
// inside the folder that the stored list shows again: it ends with ".RTE" (any case),
// and "/", "\", ":" and ".." are refused. Answers 1 only when every
// line was written and the file closed; otherwise 0, and an earlier file of that name
// is left as it was. The caller shows name + " Saved" or name + " Unable to Save".
int write_plan_file(const std::string& file_name);

// The listed plan that `entry` names, as a unit types it (in capitals): the name itself,
// without regard to case; else the name with ".RTE", then with ".PLN", so that a plan
// saved under a name a simulator plan also holds is the one loaded; else the first whose
// name begins with the entry. 0 when none. A plan file saved under the name of the list's
// own new-plan row is found before that row.
int find_stored_plan(std::string_view entry);
// Name of the stored list's last row, the new (empty) plan.
inline constexpr const char* kNewPlanRowName = "NEW FPL";

// Plan files of the folder that the last listing refused (unreadable, cut, a value out of
// range): they are not in the stored list.
extern std::vector<std::string> refused_plan_names;
// True when `entry` begins the name of such a file: a unit then says "Unable to load FP",
// not that no such plan exists.
bool stored_plan_refused(std::string_view entry);

// Reads plan file `name` of the plans folder into fpl_edit (fpl_edit_last, -1 when
// empty), plan_cruise_alt, plan_fuel and, when the file gives one, cruise_alt. The
// names "NEXT FPL" and "NEW FPL" give an empty plan. A file that cannot be opened,
// holds a bad name, or more than 200 records leaves the edit plan unchanged, sets
// fpl_message := "Unable to load FP" and answers 0; otherwise answers 1. A record line
// that does not read, or a last line without its line end (a cut file), refuses the plan.
int load_plan_file(const std::string& name, int flag);

// Reads plan file `path` (a file system path) into fpl_scan, cruise altitude and fuel
// into the outputs. Answers 1 when read, 0 when it cannot be opened or is refused, with
// `refused_line` (when given) the line that refused it, 0 when the file holds no plan,
// -1 when it could not be opened, and `refused_key` the key of a head value that did not
// read ("CruiseAlt", "Fuel", "Records"), else empty. A head value is read whole (digits,
// a fraction for the fuel only) within its bounds; a plan with fewer or more records than
// its "Records=" gives, or a record line holding a control byte, is refused.
int read_plan_file(const std::string& path, int& cruise, double& fuel, int* refused_line = nullptr,
                   std::string* refused_key = nullptr);
// The same from text already in memory.
int parse_plan_text(const char* data, std::size_t size, int& cruise, double& fuel, int* refused_line = nullptr,
                    std::string* refused_key = nullptr);

// The origin and destination a listing shows of a plan file from its first bytes `head`
// and its last bytes `tail` (empty when `head` holds the whole file): the first and the last
// record lines found there; "" where none reads.
void rte_summary(std::string_view head, std::string_view tail, std::string& first, std::string& last);

// Tells a refused plan file by name: "File '<path>' refused: line N" (a line that does
// not read; "..., CruiseAlt" when it was that key's value), "... refused: no plan" (line
// 0); nothing for -1 (the opening told it).
void post_plan_refusal(const std::string& path, int refused_line, const std::string& key = "");

// Makes fpl_scan the edit plan: its records, the last airport record after record 0 as
// the destination (else none), and holds no longer on any of its records.
void scanned_plan_to_edit();

// Performs the pending plan request (1, 2 or 3): loads plan_load_name into the edit
// plan and activates it (activate_route, state 3). Request 0 or another value is
// refused. The request becomes 0 in every
// case. Answers 1 when the plan was loaded and activated. LoadFuelonFlightPlanLoad
// loads plan_fuel into the tanks. The caller (the FMS update) then sets its own state
// (fms_last_second, flight_phase, destination-information state) and hands
// plan_loaded_airport_ident to the requesting CDU.
int load_and_activate_plan_file(int request);

// Loads `fuel` (pounds) into the aircraft's tanks through the host.
void load_plan_fuel(double fuel);
