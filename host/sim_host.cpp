#include "host/sim_host.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "host/draw_recording.h"
#include "host/nav_stations.h"
#include "host/panel_services.h"
#include "platform/win/win_windows.h"

namespace simhost {

namespace {

constexpr int MAX_IMAGE_SIDE = 4096;

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
  fill_panel_services(table_);
  serve_module_from(this);
}

SimHost::~SimHost() {
  stop();
  release_gauges();
  detach();
  if (served_host() == this) serve_module_from(nullptr);
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
  serve_module_from(this);
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
  serve_module_from(this);
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

}  // namespace simhost
