// The frame every gauge callback runs: trace line, install root, one-time loads,
// graphics start and stop, the per-frame update and the draw-mode rule.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/host/gauge_host.h"

enum class GaugeRole : int32_t {
  Display,       // drawing gauge with a draw dispatcher taking a draw mode
  Cdu,           // drawing gauge whose dispatcher takes no draw mode
  Panel,         // control panel: loads, per-frame update, clicks
  Server,        // SERVER: shared variables, commands
  Button,        // LNAV, VNAV, BDRY: settings and aircraft file only
  Debug,         // DEBUG readout (drawing gauge)
  C17Mfd,        // C17_MFD: its own load set and instance rule
  C17Panel,      // C17_MFCP: settings and aircraft file, never the update
  WindowOpener,  // toggles a panel window on click
};

// A display's draw dispatcher: device context of the drawn element, its size in
// pixels and the draw mode (1..3; the Cdu role passes 1; the C17Mfd role passes its
// instance 0..9).
using GaugeDrawFn = void (*)(GaugeHeader* gauge, DeviceContext dc, int32_t width, int32_t height,
                             int32_t draw_mode);
// Per-gauge work beyond the common frame, run after it for each service; on the draw
// service it is also called with GAUGE_STEP_BEFORE_UPDATE (module/host_services.h)
// ahead of the per-frame update.
using GaugeServiceHook = void (*)(GaugeHeader* gauge, int32_t service_id);

struct GaugeDescriptor {
  const char* callback_name;  // also the trace line
  GaugeRole role;
  int32_t own_window;         // the display's own panel window ident; 0 for none
  int32_t draw_element;       // element whose image the dispatcher draws into
  GaugeDrawFn draw;           // null while the display is not built
  GaugeServiceHook hook;      // null for none
};

// First element of the C17_MFD placement drawn last; null before the first draw.
extern GaugeElement* current_element;

// Runs service `service_id` of `gauge` as its descriptor says.
void run_gauge_service(GaugeHeader* gauge, int32_t service_id, const GaugeDescriptor& desc);

// Draw mode: 0 when window 0 is visible and the parameter is "VC" (no draw that
// frame); 3 when the own window is visible and the parameter is "VC2"; 2 when it is
// visible and the parameter is not "WN"; else 1. Own window 0 means none.
int32_t compute_draw_mode(std::string_view parameter, int32_t own_window);

// True for parameters that place a gauge rather than name an aircraft.
bool is_placement_parameter(std::string_view parameter);

// Records the parameter as the aircraft name while none is recorded, unless it is
// "VC", "VC2", "WN" or empty.
void record_aircraft_name(std::string_view parameter);

// The one-time loads of the initialise service, each guarded by its flag.
void load_settings_once();
void load_aircraft_once();
void load_navigation_once();
void load_stored_plans_once();

// Per-frame update of the FMS, run once per simulator time step however often called.
void run_fms_update();
