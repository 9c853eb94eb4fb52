// The module's access to the host's panel services (through ImportTable). Every
// call is safe before the host has filled the table: it then does nothing and
// answers 0 (or -1 for a lookup).
#pragma once

#include <cstdint>

#include "platform/host/gauge_host.h"

// Not a host service: the step of the module's gauge frame in which a gauge's service
// hook runs on the draw service before the per-frame update.
constexpr int32_t GAUGE_STEP_BEFORE_UPDATE = 1000;

// Fills `var.value` (or `var.text`) from the numbered variable `var.id`.
void host_read_token_var(TokenVar& var);
// Reads numbered variable `id` as a double (0 when the host is absent).
double host_token_value(int32_t id);
// Reads a text variable; "" when absent.
const char* host_token_text(int32_t id);

// Calculator code such as "(A:INDICATED ALTITUDE, feet)"; 0 when not understood.
double host_exec_calculator_code(const char* code);

// Named variables: id by name (-1 when missing), value by id, set, create.
int32_t host_find_named_var(const char* name);
double host_get_named_var(int32_t id);
void host_set_named_var(int32_t id, double value);
int32_t host_register_named_var(const char* name);
// Looks the variable up and sets it; creates nothing. Returns false when missing.
bool host_set_named_var_by_name(const char* name, double value);

// Shared variables for other modules.
bool host_register_shared_var(const char* name, SharedVarKind kind, void* storage, uint32_t size);
void host_unregister_shared_var(const char* name);
// Another module's shared variable; null when missing.
void* host_lookup_shared_var(const char* name, int32_t* kind, uint32_t* size);

// Key events: triggers the simulator event with one integer parameter.
void host_send_key_event(int32_t event_id, int32_t param);
bool host_register_key_handler(KeyEventHandler handler, void* user);
void host_unregister_key_handler(KeyEventHandler handler, void* user);

// Panel windows.
int32_t host_toggle_window(int32_t ident);
void host_show_window(int32_t ident);
void host_hide_window(int32_t ident);
bool host_is_window_visible(int32_t ident);

// Simulator shared data blocks; null when missing.
const void* host_get_shared_data(const char* name, uint32_t* size);

// Simulator requests.
void host_set_tower_view(double lat, double lon, double alt_ft);
void host_set_fuel_total_gallons(double gallons);
void host_set_zulu_time(int32_t hour, int32_t minute);

// Element image flags of a gauge: set or clear bits of element `index`; nothing
// happens when the gauge or the element is missing.
void set_element_flags(GaugeHeader* gauge, int32_t index, uint32_t mask);
void clear_element_flags(GaugeHeader* gauge, int32_t index, uint32_t mask);
void show_gauge_element(GaugeHeader* gauge, int32_t index);
void hide_gauge_element(GaugeHeader* gauge, int32_t index);
