// Rows of the plan views of page 1 (ACTIVE FPL and FLIGHT PLAN n): six a page at
// y = 40 + 40 k, chosen by the line keys L1..L4 and their states.
#pragma once

#include <cstdint>

#include "cdu/gnsxls/page_frame.h"
#include "flightplan/flight_plan.h"

// True when row k (0..5) is the chosen one: L1 state 1, L2 1 and 2, L3 1 and 2, L4 1.
bool plan_row_selected(int k);
// The chosen row (0..5), -1 for none.
int plan_row_chosen();
// Makes row k (0..5) the chosen one, every other line-key state cleared.
void plan_row_choose(int k);
inline double plan_row_y(int k) { return 40.0 + 40.0 * k; }
// Procedure legs stand indented.
double plan_row_x(const FlightPlanWpt& rec);
// The pending L1..L4 key acts on its row: the row's ident opens in the scratchpad.
bool plan_row_key_pending(int k);
// A row open for entry: the scratchpad in a six-character box and DELETE? when asked.
void draw_open_plan_row(const GnsPage& p, double x, double y);
// "<" at L1, L2, L3 for drawn rows 0, 1, 3; "<" at L4 and L5.
void set_plan_row_arrows(GnsPage& p, int rows_drawn);
// DEPART, ARRIVE and APPROACH of the bottom lines, asking "?" in a box while chosen.
void draw_procedure_prompts(const GnsPage& p);
// Line keys of page 1, run when a key is pending; `view1` for ACTIVE FPL with its row
// count `active_rows`.
void flight_plan_line_key(bool view1, int active_rows);
// ACTIVE FPL (view 1) of page 1.
void draw_active_fpl_view(GnsPage& p);
