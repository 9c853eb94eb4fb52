#include "host/sim_host.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cairo.h>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "host/draw_recording.h"
#include "host/nav_stations.h"
#include "platform/win/win_windows.h"

namespace simhost {

namespace {

// The panel-service table has no context argument: its entries reach the one host that
// currently serves a module.
SimHost* g_host = nullptr;

constexpr int MAX_MOUSE_RECTS = 4096;   // a list without an end record stops here
constexpr int MAX_HANDLER_DEPTH = 8;    // key events sent from inside a handler
constexpr int MAX_IMAGE_SIDE = 4096;

bool same_name(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

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

// --- Panel-service table entries ------------------------------------------------------

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

const char* kind_text(RecordKind k) {
  switch (k) {
    case RecordKind::KeyEvent: return "key";
    case RecordKind::InjectedEvent: return "event";
    case RecordKind::NamedVarWrite: return "named";
    case RecordKind::WindowChange: return "window";
    case RecordKind::TowerView: return "tower_view";
    case RecordKind::FuelSet: return "fuel";
    case RecordKind::ZuluTimeSet: return "zulu_time";
    case RecordKind::Click: return "click";
    case RecordKind::ModuleMessage: return "message";
  }
  return "?";
}

}  // namespace

std::string format_record(const Record& r) {
  char head[64];
  std::snprintf(head, sizeof head, "frame %lld t=%.2fs ", static_cast<long long>(r.frame), r.sim_seconds);
  char body[256];
  switch (r.kind) {
    case RecordKind::KeyEvent:
    case RecordKind::InjectedEvent:
      std::snprintf(body, sizeof body, "%s 0x%X %d", kind_text(r.kind), static_cast<unsigned>(r.id), r.param);
      break;
    case RecordKind::NamedVarWrite:
      std::snprintf(body, sizeof body, "named %s = %g", r.name.c_str(), r.value);
      break;
    case RecordKind::WindowChange:
      std::snprintf(body, sizeof body, "window %d %s", r.id, r.param ? "shown" : "hidden");
      break;
    case RecordKind::TowerView:
      std::snprintf(body, sizeof body, "tower_view %.6f %.6f %.0f", r.lat, r.lon, r.value);
      break;
    case RecordKind::FuelSet:
      std::snprintf(body, sizeof body, "fuel %.1f gallons", r.value);
      break;
    case RecordKind::ZuluTimeSet:
      std::snprintf(body, sizeof body, "zulu_time %d:%d", r.id, r.param);
      break;
    case RecordKind::Click:
      std::snprintf(body, sizeof body, "click %s %d", r.name.c_str(), r.id);
      break;
    case RecordKind::ModuleMessage:
      std::snprintf(body, sizeof body, "message %s", r.name.c_str());
      break;
  }
  std::string line = std::string(head) + body;
  if (!r.applied) line += " (not applied)";
  return line;
}

GaugeImage* PlacedGauge::drawn_image() const {
  for (const auto& img : images)
    if (img) return img.get();
  return nullptr;
}

SimHost::SimHost() {
  table_.version = 1;
  table_.read_token_var = svc_read_token_var;
  table_.execute_calculator_code = svc_execute_calculator_code;
  table_.get_units_enum = svc_get_units_enum;
  table_.get_aircraft_var_enum = svc_get_aircraft_var_enum;
  table_.aircraft_varget = svc_aircraft_varget;
  table_.register_named_variable = svc_register_named_variable;
  table_.check_named_variable = svc_check_named_variable;
  table_.get_named_variable_value = svc_get_named_variable_value;
  table_.set_named_variable_value = svc_set_named_variable_value;
  table_.register_shared_var = svc_register_shared_var;
  table_.unregister_shared_var = svc_unregister_shared_var;
  table_.lookup_shared_var = svc_lookup_shared_var;
  table_.trigger_key_event = svc_trigger_key_event;
  table_.register_key_event_handler = svc_register_key_event_handler;
  table_.unregister_key_event_handler = svc_unregister_key_event_handler;
  table_.panel_window_toggle = svc_panel_window_toggle;
  table_.panel_window_show = svc_panel_window_show;
  table_.panel_window_close = svc_panel_window_close;
  table_.is_panel_window_visible = svc_is_panel_window_visible;
  table_.get_shared_data = svc_get_shared_data;
  table_.set_tower_view = svc_set_tower_view;
  table_.set_fuel_total_gallons = svc_set_fuel_total_gallons;
  table_.set_zulu_time = svc_set_zulu_time;
  g_host = this;
}

SimHost::~SimHost() {
  stop();
  release_gauges();
  detach();
  if (g_host == this) g_host = nullptr;
}

void SimHost::detach() {
  if (linkage_ && linkage_->module_deinit) linkage_->module_deinit();
  if (imports_ && imports_->panel_services == &table_) imports_->panel_services = nullptr;
  linkage_ = nullptr;
  imports_ = nullptr;
  if (dl_handle_) {
    dlclose(dl_handle_);
    dl_handle_ = nullptr;
  }
}

bool SimHost::attach_module(ModuleLinkage* linkage, ModuleImports* imports, const std::string& name) {
  if (!linkage || !imports || started_) return false;
  linkage_ = linkage;
  imports_ = imports;
  module_name_ = name;
  imports_->panel_services = &table_;
  g_host = this;
  if (linkage_->module_init) linkage_->module_init();
  return true;
}

bool SimHost::load_module(const std::string& path, std::string* error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    if (error) *error = path + ": " + dlerror();
    return false;
  }
  auto* linkage = static_cast<ModuleLinkage*>(dlsym(handle, "Linkage"));
  auto* imports = static_cast<ModuleImports*>(dlsym(handle, "ImportTable"));
  if (!linkage || !imports) {
    if (error) *error = path + ": no Linkage or ImportTable export";
    dlclose(handle);
    return false;
  }
  // The module's name is the file name without folder and extension ("vek1").
  std::string base = path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
  base = base.substr(0, base.find('.'));
  if (!attach_module(linkage, imports, base)) {
    dlclose(handle);
    if (error) *error = path + ": cannot attach";
    return false;
  }
  dl_handle_ = handle;
  module_message_ = reinterpret_cast<const char* (*)(int32_t)>(dlsym(handle, "ModuleMessage"));
  return true;
}

bool SimHost::load_panel(const std::string& path, std::string* error) {
  return read_panel_config(path, &panel_, error);
}

void SimHost::enter_sim_folder() {
  if (!sim_folder_.empty() && chdir(sim_folder_.c_str()) != 0) {
    std::fprintf(stderr, "vek-host: cannot enter %s\n", sim_folder_.c_str());
  }
}

void SimHost::release_gauges() {
  for (auto& g : gauges_)
    for (auto& img : g->images)
      if (img) draw_recording_disable(img.get());
  gauges_.clear();
}

void SimHost::set_draw_recording(bool on) {
  recording_ = on;
  for (auto& g : gauges_)
    for (auto& img : g->images)
      if (img) {
        if (on) draw_recording_enable(img.get());
        else draw_recording_disable(img.get());
      }
}

bool SimHost::create_gauges(std::string* error) {
  release_gauges();
  windows_.clear();
  for (const PanelWindow& w : panel_.windows) windows_.push_back(WindowState{w.ident, w.visible});
  for (const PanelWindow& w : panel_.windows) {
    for (const Placement& p : w.gauges) {
      if (!same_name(p.module, module_name_)) {
        if (error) *error = "gauge " + p.module + "!" + p.gauge + ": no module \"" + p.module + "\" loaded";
        return false;
      }
      GaugeHeader* src = nullptr;
      for (int i = 0; linkage_->gauges && i < 1024 && linkage_->gauges[i]; ++i) {
        GaugeHeader* h = linkage_->gauges[i];
        if (h->name && same_name(h->name, p.gauge)) {
          src = h;
          break;
        }
      }
      if (!src) {
        if (error) *error = "gauge " + p.gauge + ": not in module " + module_name_;
        return false;
      }
      if (src->version != GAUGE_HEADER_VERSION || src->element_count < 0 || src->element_count > 256 ||
          (src->element_count > 0 && !src->elements)) {
        if (error) *error = "gauge " + p.gauge + ": malformed gauge header";
        return false;
      }
      auto g = std::make_unique<PlacedGauge>();
      g->name = src->name;
      g->parameters = p.parameters;
      g->window_ident = w.ident;
      g->x = p.x;
      g->y = p.y;
      g->design_width = src->element_count > 0 ? src->elements[0].width : 0;
      g->design_height = src->element_count > 0 ? src->elements[0].height : 0;
      g->width = p.width > 0 ? p.width : g->design_width;
      g->height = p.height > 0 ? p.height : g->design_height;
      if (g->width <= 0 || g->height <= 0) {
        if (error) *error = "gauge " + p.gauge + ": no size given and none in the module";
        return false;
      }
      if (g->design_width <= 0 || g->design_height <= 0) {
        g->design_width = g->width;
        g->design_height = g->height;
      }
      g->elements.assign(src->elements, src->elements + src->element_count);
      g->images.resize(g->elements.size());
      g->pixels.resize(g->elements.size());
      for (size_t i = 0; i < g->elements.size(); ++i) {
        GaugeElement& e = g->elements[i];
        e.image = nullptr;
        if (e.kind != ELEMENT_DRAWN) continue;
        int iw, ih;
        if (i == 0) {
          iw = g->width;
          ih = g->height;
        } else {
          iw = static_cast<int>(std::lround(static_cast<double>(e.width) * g->width / g->design_width));
          ih = static_cast<int>(std::lround(static_cast<double>(e.height) * g->height / g->design_height));
        }
        iw = std::clamp(iw, 1, MAX_IMAGE_SIDE);
        ih = std::clamp(ih, 1, MAX_IMAGE_SIDE);
        g->pixels[i].assign(static_cast<size_t>(iw) * ih, 0u);
        auto img = std::make_unique<GaugeImage>();
        img->pixels = g->pixels[i].data();
        img->width = iw;
        img->height = ih;
        img->stride = iw * 4;
        img->recorder = nullptr;
        e.image = img.get();
        if (recording_) draw_recording_enable(img.get());
        g->images[i] = std::move(img);
      }
      g->header = *src;
      g->header.elements = g->elements.empty() ? nullptr : g->elements.data();
      g->header.parameters = g->parameters.c_str();
      g->header.x = g->x;
      g->header.y = g->y;
      g->header.width = g->width;
      g->header.height = g->height;
      g->header.window_id = w.ident;
      g->header.host_data = g.get();
      gauges_.push_back(std::move(g));
    }
  }
  return true;
}

bool SimHost::start(std::string* error) {
  if (started_) return true;
  if (!linkage_) {
    if (error) *error = "no module attached";
    return false;
  }
  g_host = this;
  win_reset();
  if (!create_gauges(error)) return false;
  // The airlifter's displays and control panel fly its four engines.
  for (const auto& g : gauges_)
    if (g->header.name && std::strncmp(g->header.name, "C17_", 4) == 0) aircraft_.state().engine_count = MAX_ENGINES;
  aircraft_.refresh();
  started_ = true;
  call_all(PANEL_SERVICE_INSTALL);
  call_all(PANEL_SERVICE_INITIALIZE);
  call_all(PANEL_SERVICE_GRAPHICS_START);
  return true;
}

void SimHost::stop() {
  if (!started_) return;
  call_all(PANEL_SERVICE_GRAPHICS_STOP);
  started_ = false;
}

void SimHost::call_all(int32_t service) {
  enter_sim_folder();
  for (auto& g : gauges_) {
    const bool draw = service == PANEL_SERVICE_DRAW;
    if (draw) {
      ++g->draws;
      // An element shown on a visible window is on screen for this draw.
      if (window_visible(g->window_ident))
        for (GaugeElement& e : g->elements)
          if (!(e.image_flags & IMAGE_HIDDEN)) e.image_flags |= IMAGE_ON_SCREEN;
      if (recording_)
        for (auto& img : g->images)
          if (img) draw_recording_begin_draw(img.get());
    }
    if (g->header.callback) g->header.callback(&g->header, service, 0);
    if (draw && recording_)
      for (auto& img : g->images)
        if (img) draw_recording_end_draw(img.get());
  }
  collect_module_messages();
}

void SimHost::collect_module_messages() {
  if (!module_message_) return;
  while (const char* text = module_message_(module_messages_seen_ + 1)) {
    ++module_messages_seen_;
    if (!*text) continue;  // dropped by the module's full list before it was seen
    Record r(RecordKind::ModuleMessage);
    r.name = text;
    add_record(std::move(r));
  }
}

int SimHost::receive_sim_folder_stations() {
  std::vector<NavStationEntry> stations;
  int n = load_nav_stations(sim_folder_, &stations);
  aircraft_.set_station_resolver(make_station_resolver(std::move(stations)));
  aircraft_.refresh();
  return n;
}

void SimHost::set_frame_rate(int fps) { frame_rate_ = std::clamp(fps, 1, 1000); }

int64_t SimHost::tick() const { return static_cast<int64_t>(std::floor(sim_seconds_ * TICKS_PER_SECOND + 1e-6)); }

void SimHost::run_frames(int64_t frames) {
  for (int64_t i = 0; i < frames; ++i) {
    ++frame_;
    const AircraftState& s = aircraft_.state();
    if (!s.paused) {
      double dt = s.sim_rate / frame_rate_;
      sim_seconds_ += dt;
      aircraft_.step(dt);
    }
    if (started_) {
      call_all(PANEL_SERVICE_PRE_UPDATE);
      call_all(PANEL_SERVICE_DRAW);
    }
    if (frame_listener_) frame_listener_();
  }
}

void SimHost::run_seconds(double seconds) {
  if (!(seconds > 0.0) || !std::isfinite(seconds)) return;
  run_frames(static_cast<int64_t>(std::llround(seconds * frame_rate_)));
}

PlacedGauge* SimHost::find_gauge(const std::string& name) const {
  // "NAME:PARAMETERS" picks one of several placements of a gauge.
  size_t colon = name.find(':');
  std::string gauge = name.substr(0, colon);
  for (const auto& g : gauges_)
    if (same_name(g->name, gauge) && (colon == std::string::npos || g->parameters == name.substr(colon + 1)))
      return g.get();
  return nullptr;
}

namespace {

// Walks a mouse-rectangle list: calls fn(child index, rect, abs x, abs y, depth) for each
// CHILD with its box in gauge design units; parents nest and offset their children.
template <typename Fn>
void walk_rects(const MouseRect* list, Fn fn, int* first_parent_w = nullptr, int* first_parent_h = nullptr) {
  if (!list) return;
  struct Frame {
    int x, y, w, h;
  };
  std::vector<Frame> stack;
  int child = 0;
  for (int i = 0; i < MAX_MOUSE_RECTS; ++i) {
    const MouseRect& r = list[i];
    if (r.type == MOUSE_RECT_EOL) break;
    int ox = stack.empty() ? 0 : stack.back().x;
    int oy = stack.empty() ? 0 : stack.back().y;
    if (r.type == MOUSE_RECT_PARENT) {
      if (stack.empty() && first_parent_w && *first_parent_w == 0) {
        *first_parent_w = r.width;
        *first_parent_h = r.height;
      }
      stack.push_back(Frame{ox + r.x, oy + r.y, r.width, r.height});
    } else if (r.type == MOUSE_RECT_END_PARENT) {
      if (!stack.empty()) stack.pop_back();
    } else if (r.type == MOUSE_RECT_CHILD) {
      bool inside_parents = true;
      fn(child, &list[i], ox + r.x, oy + r.y, static_cast<int>(stack.size()), stack, inside_parents);
      ++child;
    }
  }
}

}  // namespace

int SimHost::child_rect_count(const PlacedGauge& g) const {
  int n = 0;
  walk_rects(g.header.mouse_rect, [&](int, const MouseRect*, int, int, int, const auto&, bool) { ++n; });
  return n;
}

int SimHost::key_for_char(const PlacedGauge& g, char c) const {
  int found = -1;
  for (int pass = 0; pass < 2 && found < 0; ++pass) {
    char want = pass == 0 ? c : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (pass == 1 && want == c) break;
    walk_rects(g.header.mouse_rect, [&](int idx, const MouseRect* r, int, int, int, const auto&, bool) {
      if (found < 0 && r->key_chars && want != '\0' && std::strchr(r->key_chars, want)) found = idx;
    });
  }
  return found;
}

int SimHost::hit_test(const PlacedGauge& g, int px, int py) const {
  int pw = 0, ph = 0;
  walk_rects(g.header.mouse_rect, [](int, const MouseRect*, int, int, int, const auto&, bool) {}, &pw, &ph);
  // Mouse boxes are in the gauge's design units: the first parent's size, else the design size.
  double dw = pw > 0 ? pw : g.design_width;
  double dh = ph > 0 ? ph : g.design_height;
  double x = g.width > 0 ? px * dw / g.width : px;
  double y = g.height > 0 ? py * dh / g.height : py;
  int best = -1, best_depth = -1;
  walk_rects(g.header.mouse_rect,
             [&](int idx, const MouseRect* r, int ax, int ay, int depth, const auto& stack, bool) {
               // A parent with an empty box stands for the whole gauge.
               for (const auto& f : stack)
                 if (f.w > 0 && f.h > 0 && (x < f.x || y < f.y || x >= f.x + f.w || y >= f.y + f.h)) return;
               if (x < ax || y < ay || x >= ax + r->width || y >= ay + r->height) return;
               if (depth > best_depth) {
                 best = idx;
                 best_depth = depth;
               }
             });
  return best;
}

bool SimHost::click_index(const std::string& gauge, int index, std::string* error) {
  PlacedGauge* g = find_gauge(gauge);
  if (!g) {
    if (error) *error = "no gauge " + gauge + " on the panel";
    return false;
  }
  MouseRect* target = nullptr;
  walk_rects(g->header.mouse_rect, [&](int idx, const MouseRect* r, int, int, int, const auto&, bool) {
    if (idx == index) target = const_cast<MouseRect*>(r);
  });
  if (!target) {
    if (error) *error = "gauge " + gauge + " has no click rectangle " + std::to_string(index);
    return false;
  }
  if (!target->click || !(target->event_flags & (MOUSE_LEFT_SINGLE | MOUSE_LEFT_REPEAT))) {
    if (error) *error = "click rectangle " + std::to_string(index) + " of " + gauge + " takes no left click";
    return false;
  }
  Record r{RecordKind::Click};
  r.id = index;
  r.name = g->name;
  add_record(r);
  enter_sim_folder();
  target->click(target, MOUSE_LEFT_SINGLE);
  return true;
}

bool SimHost::click_at(const std::string& gauge, int x, int y, std::string* error) {
  PlacedGauge* g = find_gauge(gauge);
  if (!g) {
    if (error) *error = "no gauge " + gauge + " on the panel";
    return false;
  }
  int idx = hit_test(*g, x, y);
  if (idx < 0) {
    if (error) *error = "no click rectangle of " + gauge + " at " + std::to_string(x) + " " + std::to_string(y);
    return false;
  }
  return click_index(gauge, idx, error);
}

bool SimHost::type_text(const std::string& gauge, const std::string& text, std::string* error) {
  PlacedGauge* g = find_gauge(gauge);
  if (!g) {
    if (error) *error = "no gauge " + gauge + " on the panel";
    return false;
  }
  for (char c : text) {
    int idx = key_for_char(*g, c);
    if (idx < 0) {
      if (error) *error = std::string("gauge ") + gauge + " has no key for '" + c + "'";
      return false;
    }
    if (!click_index(gauge, idx, error)) return false;
    run_frames(1);
  }
  return true;
}

bool SimHost::write_png(const std::string& gauge, const std::string& path, std::string* error) const {
  PlacedGauge* g = find_gauge(gauge);
  if (!g) {
    if (error) *error = "no gauge " + gauge + " on the panel";
    return false;
  }
  GaugeImage* img = g->drawn_image();
  if (!img) {
    if (error) *error = "gauge " + gauge + " draws no image";
    return false;
  }
  return write_image_png(*img, path, error);
}

bool write_image_png(const GaugeImage& img, const std::string& path, std::string* error) {
  if (!img.pixels) {
    if (error) *error = path + ": the image has no pixels";
    return false;
  }
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(img.pixels), CAIRO_FORMAT_ARGB32, img.width, img.height, img.stride);
  cairo_status_t st = cairo_surface_status(surface);
  if (st == CAIRO_STATUS_SUCCESS) st = cairo_surface_write_to_png(surface, path.c_str());
  cairo_surface_destroy(surface);
  if (st != CAIRO_STATUS_SUCCESS) {
    if (error) *error = path + ": " + cairo_status_to_string(st);
    return false;
  }
  return true;
}

void SimHost::add_record(Record r) {
  r.frame = frame_;
  r.sim_seconds = sim_seconds_;
  records_.push_back(r);
  if (listener_) listener_(records_.back());
}

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
