// The panel-service table a module calls, and the host's side of it: named and shared
// variables, key events and their handlers, panel windows, the GPS route and the services
// that set the aircraft (tower view, fuel, zulu time, token variables).
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "host/panel_services.h"
#include "host/sim_host.h"

namespace simhost {

namespace {

// The panel-service table has no context argument: its entries reach the one host that
// currently serves a module.
SimHost* g_host = nullptr;

constexpr int MAX_HANDLER_DEPTH = 8;    // key events sent from inside a handler

std::string upper_trim(const char* text) {
  std::string s;
  for (const char* p = text; p && *p; ++p) s.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(*p))));
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
  size_t b = 0;
  while (b < s.size() && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  return s.substr(b);
}

// Units and aircraft variables reachable through the unit-based reader.
const char* const UNIT_NAMES[] = {"FEET", "METERS", "KNOTS"};
const char* const VAR_NAMES[] = {"INDICATED ALTITUDE", "AUTOPILOT ALTITUDE LOCK VAR", "DECISION HEIGHT",
                                 "DESIGN SPEED VS0", "DESIGN SPEED VS1"};

void svc_read_token_var(TokenVar* var) {
  if (g_host) g_host->service_read_token(var);
  else if (var) var->value = 0.0;
}

int32_t svc_execute_calculator_code(const char* code, double* result) {
  if (!g_host) {
    if (result) *result = 0.0;
    return 0;
  }
  return g_host->aircraft().calculator_code(code, result) ? 1 : 0;
}

int32_t svc_get_units_enum(const char* unit_name) {
  std::string u = upper_trim(unit_name);
  for (int i = 0; i < 3; ++i)
    if (u == UNIT_NAMES[i]) return i;
  return -1;
}

int32_t svc_get_aircraft_var_enum(const char* var_name) {
  std::string v = upper_trim(var_name);
  for (int i = 0; i < 5; ++i)
    if (v == VAR_NAMES[i]) return i;
  return -1;
}

double svc_aircraft_varget(int32_t var, int32_t units, int32_t index) {
  if (!g_host || var < 0 || var > 4) return 0.0;
  static const char* const CODES[] = {"(A:INDICATED ALTITUDE, feet)", "(A:AUTOPILOT ALTITUDE LOCK VAR, feet)",
                                      "(A:DECISION HEIGHT,FEET)", "(A:Design Speed VS0, knots)",
                                      "(A:Design Speed VS1, knots)"};
  double value = 0.0;
  g_host->aircraft().calculator_code(CODES[var], &value);
  if (units == 1 && var <= 2) value *= 0.3048;  // metres
  return value;
}

int32_t svc_register_named_variable(const char* name) {
  return (g_host && name) ? g_host->register_named_var(name) : -1;
}

int32_t svc_check_named_variable(const char* name) {
  return (g_host && name) ? g_host->named_var_id(name) : -1;
}

double svc_get_named_variable_value(int32_t id) {
  if (!g_host || id < 0 || id >= static_cast<int32_t>(g_host->named_vars().size())) return 0.0;
  const NamedVar& v = g_host->named_vars()[id];
  return v.withdrawn ? 0.0 : v.value;
}

void svc_set_named_variable_value(int32_t id, double value) {
  if (g_host) g_host->set_named_var(id, value);
}

int32_t svc_register_shared_var(const char* name, int32_t kind, void* storage, uint32_t size) {
  if (!g_host || !name) return 0;
  return g_host->register_shared_var(name, kind, storage, size);
}

int32_t svc_unregister_shared_var(const char* name) {
  return (g_host && name && g_host->unregister_shared_var(name)) ? 1 : 0;
}

void* svc_lookup_shared_var(const char* name, int32_t* kind, uint32_t* size) {
  if (!g_host || !name) {
    if (kind) *kind = -1;
    if (size) *size = 0;
    return nullptr;
  }
  return g_host->lookup_shared_var(name, kind, size);
}

void svc_trigger_key_event(int32_t event_id, int32_t param) {
  if (g_host) g_host->service_trigger_key_event(event_id, param);
}

int32_t svc_register_key_event_handler(KeyEventHandler handler, void* user) {
  return g_host ? g_host->service_register_handler(handler, user) : 0;
}

int32_t svc_unregister_key_event_handler(KeyEventHandler handler, void* user) {
  return g_host ? g_host->service_unregister_handler(handler, user) : 0;
}

int32_t svc_panel_window_toggle(int32_t ident) { return g_host ? g_host->service_window(0, ident) : 0; }
int32_t svc_panel_window_show(int32_t ident) { return g_host ? g_host->service_window(1, ident) : 0; }
int32_t svc_panel_window_close(int32_t ident) { return g_host ? g_host->service_window(2, ident) : 0; }
int32_t svc_is_panel_window_visible(int32_t ident) { return g_host ? g_host->service_window(3, ident) : 0; }

const void* svc_get_shared_data(const char* name, uint32_t* size) {
  if (g_host && name && std::strcmp(name, GPS_SHARED_DATA_NAME) == 0) {
    if (size) *size = sizeof(GpsRouteData);
    return &g_host->gps_route();
  }
  if (size) *size = 0;
  return nullptr;
}

void svc_set_tower_view(double lat, double lon, double alt_ft) {
  if (g_host) g_host->service_set_tower_view(lat, lon, alt_ft);
}

void svc_set_fuel_total_gallons(double gallons) {
  if (g_host) g_host->service_set_fuel(gallons);
}

void svc_set_zulu_time(int32_t hour, int32_t minute) {
  if (g_host) g_host->service_set_zulu_time(hour, minute);
}

}  // namespace

bool same_name(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

void fill_panel_services(PanelServiceTable& table) {
  table.version = 1;
  table.read_token_var = svc_read_token_var;
  table.execute_calculator_code = svc_execute_calculator_code;
  table.get_units_enum = svc_get_units_enum;
  table.get_aircraft_var_enum = svc_get_aircraft_var_enum;
  table.aircraft_varget = svc_aircraft_varget;
  table.register_named_variable = svc_register_named_variable;
  table.check_named_variable = svc_check_named_variable;
  table.get_named_variable_value = svc_get_named_variable_value;
  table.set_named_variable_value = svc_set_named_variable_value;
  table.register_shared_var = svc_register_shared_var;
  table.unregister_shared_var = svc_unregister_shared_var;
  table.lookup_shared_var = svc_lookup_shared_var;
  table.trigger_key_event = svc_trigger_key_event;
  table.register_key_event_handler = svc_register_key_event_handler;
  table.unregister_key_event_handler = svc_unregister_key_event_handler;
  table.panel_window_toggle = svc_panel_window_toggle;
  table.panel_window_show = svc_panel_window_show;
  table.panel_window_close = svc_panel_window_close;
  table.is_panel_window_visible = svc_is_panel_window_visible;
  table.get_shared_data = svc_get_shared_data;
  table.set_tower_view = svc_set_tower_view;
  table.set_fuel_total_gallons = svc_set_fuel_total_gallons;
  table.set_zulu_time = svc_set_zulu_time;
}

void serve_module_from(SimHost* host) { g_host = host; }

SimHost* served_host() { return g_host; }

void SimHost::dispatch_to_handlers(int32_t event_id, int32_t param) {
  if (handler_depth_ >= MAX_HANDLER_DEPTH) return;
  ++handler_depth_;
  // A handler may unregister itself or others: walk a copy.
  std::vector<Handler> copy = handlers_;
  for (const Handler& h : copy) {
    bool still = std::any_of(handlers_.begin(), handlers_.end(),
                             [&](const Handler& x) { return x.fn == h.fn && x.user == h.user; });
    if (still && h.fn) h.fn(event_id, param, h.user);
  }
  --handler_depth_;
}

void SimHost::service_trigger_key_event(int32_t event_id, int32_t param) {
  Record r{RecordKind::KeyEvent};
  r.id = event_id;
  r.param = param;
  r.applied = aircraft_.apply_key_event(event_id, param);
  add_record(r);
  dispatch_to_handlers(event_id, param);
}

void SimHost::inject_key_event(int32_t event_id, int32_t param) {
  Record r{RecordKind::InjectedEvent};
  r.id = event_id;
  r.param = param;
  r.applied = aircraft_.apply_key_event(event_id, param);
  add_record(r);
  enter_sim_folder();
  dispatch_to_handlers(event_id, param);
}

int SimHost::service_register_handler(KeyEventHandler handler, void* user) {
  if (!handler) return 0;
  for (const Handler& h : handlers_)
    if (h.fn == handler && h.user == user) return 1;
  handlers_.push_back(Handler{handler, user});
  return 1;
}

int SimHost::service_unregister_handler(KeyEventHandler handler, void* user) {
  auto it = std::find_if(handlers_.begin(), handlers_.end(),
                         [&](const Handler& h) { return h.fn == handler && h.user == user; });
  if (it == handlers_.end()) return 0;
  handlers_.erase(it);
  return 1;
}

int SimHost::named_var_id(const std::string& name) const {
  for (size_t i = 0; i < named_vars_.size(); ++i)
    if (!named_vars_[i].withdrawn && same_name(named_vars_[i].name, name)) return static_cast<int>(i);
  return -1;
}

double SimHost::named_var(const std::string& name) const {
  int id = named_var_id(name);
  return id < 0 ? 0.0 : named_vars_[id].value;
}

int SimHost::register_named_var(const std::string& name) {
  if (name.empty()) return -1;
  int id = named_var_id(name);
  if (id >= 0) return id;
  for (size_t i = 0; i < named_vars_.size(); ++i)
    if (named_vars_[i].withdrawn && same_name(named_vars_[i].name, name)) {
      named_vars_[i] = NamedVar{name, 0.0, false};
      return static_cast<int>(i);
    }
  named_vars_.push_back(NamedVar{name, 0.0, false});
  return static_cast<int>(named_vars_.size()) - 1;
}

void SimHost::set_named_var(int id, double value) {
  if (id < 0 || id >= static_cast<int>(named_vars_.size()) || named_vars_[id].withdrawn) return;
  named_vars_[id].value = value;
  Record r{RecordKind::NamedVarWrite};
  r.id = id;
  r.value = value;
  r.name = named_vars_[id].name;
  add_record(r);
}

int SimHost::register_shared_var(const std::string& name, int32_t kind, void* storage, uint32_t size) {
  if (name.empty() || !storage) return 0;
  for (SharedVar& v : shared_vars_)
    if (same_name(v.name, name)) {
      v = SharedVar{name, kind, storage, size};
      return 1;
    }
  shared_vars_.push_back(SharedVar{name, kind, storage, size});
  return 1;
}

bool SimHost::unregister_shared_var(const std::string& name) {
  auto it = std::find_if(shared_vars_.begin(), shared_vars_.end(),
                         [&](const SharedVar& v) { return same_name(v.name, name); });
  if (it != shared_vars_.end()) {
    shared_vars_.erase(it);
    return true;
  }
  int id = named_var_id(name);
  if (id < 0) return false;
  named_vars_[id].withdrawn = true;
  named_vars_[id].value = 0.0;
  return true;
}

void* SimHost::lookup_shared_var(const std::string& name, int32_t* kind, uint32_t* size) const {
  for (const SharedVar& v : shared_vars_)
    if (same_name(v.name, name)) {
      if (kind) *kind = v.kind;
      if (size) *size = v.size;
      return v.storage;
    }
  if (kind) *kind = -1;
  if (size) *size = 0;
  return nullptr;
}

bool SimHost::window_exists(int ident) const {
  return std::any_of(windows_.begin(), windows_.end(), [&](const WindowState& w) { return w.ident == ident; });
}

bool SimHost::window_visible(int ident) const {
  for (const WindowState& w : windows_)
    if (w.ident == ident) return w.visible;
  return false;
}

bool SimHost::set_window_visible(int ident, bool visible) {
  for (WindowState& w : windows_)
    if (w.ident == ident) {
      w.visible = visible;
      Record r{RecordKind::WindowChange};
      r.id = ident;
      r.param = visible ? 1 : 0;
      add_record(r);
      return true;
    }
  Record r{RecordKind::WindowChange};
  r.id = ident;
  r.param = visible ? 1 : 0;
  r.applied = false;
  add_record(r);
  return false;
}

bool SimHost::toggle_window(int ident) { return set_window_visible(ident, !window_visible(ident)); }

int SimHost::service_window(int op, int ident) {
  switch (op) {
    case 0: return toggle_window(ident) ? 1 : 0;
    case 1: return set_window_visible(ident, true) ? 1 : 0;
    case 2: return set_window_visible(ident, false) ? 1 : 0;
    default: return window_visible(ident) ? 1 : 0;
  }
}

bool SimHost::add_gps_point(const std::string& ident, double lat, double lon) {
  if (gps_route_.count < 0 || gps_route_.count >= GPS_ROUTE_CAPACITY) return false;
  if (!std::isfinite(lat) || !std::isfinite(lon) || lat < -90 || lat > 90 || lon < -180 || lon > 180) return false;
  GpsRoutePoint& p = gps_route_.points[gps_route_.count];
  std::memset(p.ident, 0, sizeof p.ident);
  std::strncpy(p.ident, ident.c_str(), sizeof p.ident - 1);
  p.lat = lat;
  p.lon = lon;
  ++gps_route_.count;
  return true;
}

void SimHost::service_set_tower_view(double lat, double lon, double alt_ft) {
  Record r{RecordKind::TowerView};
  r.lat = lat;
  r.lon = lon;
  r.value = alt_ft;
  r.applied = std::isfinite(lat) && std::isfinite(lon) && std::isfinite(alt_ft);
  add_record(r);
}

void SimHost::service_set_fuel(double gallons) {
  Record r{RecordKind::FuelSet};
  r.value = gallons;
  r.applied = std::isfinite(gallons) && gallons >= 0.0;
  if (r.applied) aircraft_.set_fuel_gallons(gallons);
  add_record(r);
}

void SimHost::service_set_zulu_time(int32_t hour, int32_t minute) {
  Record r{RecordKind::ZuluTimeSet};
  r.id = hour;
  r.param = minute;
  r.applied = aircraft_.set_zulu_time(hour, minute);
  add_record(r);
}

void SimHost::service_read_token(TokenVar* var) const {
  if (!var) return;
  if (var->id == 1) {
    var->value = static_cast<double>(tick());
    return;
  }
  aircraft_.read_token(var);
}

}  // namespace simhost
