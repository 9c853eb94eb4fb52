// The simulated host: loads a gauge module, places its gauges on panel windows, calls
// their services frame by frame with simulated time, serves the panel-service table from
// an aircraft model, clicks mouse rectangles, and records what the module asks of it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/aircraft_model.h"
#include "platform/host/gps_route_data.h"
#include "host/panel_config.h"
#include "platform/host/gauge_host.h"

namespace simhost {

constexpr int TICKS_PER_SECOND = 18;

// One placement of a module gauge: the host's copy of the header with its own elements
// and images.
struct PlacedGauge {
  std::string name;
  std::string parameters;
  int window_ident = 0;
  int x = 0, y = 0, width = 0, height = 0;
  int design_width = 0, design_height = 0;  // size of element 0, or the placement size
  GaugeHeader header{};
  std::vector<GaugeElement> elements;
  std::vector<std::unique_ptr<GaugeImage>> images;  // per element, null when not drawn
  std::vector<std::vector<uint32_t>> pixels;
  int draws = 0;

  // The first drawn element's image, or null.
  GaugeImage* drawn_image() const;
};

enum class RecordKind {
  KeyEvent,        // sent by the module
  InjectedEvent,   // sent by the scenario to handlers and the aircraft
  NamedVarWrite,
  WindowChange,
  TowerView,
  FuelSet,
  ZuluTimeSet,
  Click,
  ModuleMessage,   // a new row of the module's message list, its text in `name`
};

struct Record {
  explicit Record(RecordKind k = RecordKind::KeyEvent) : kind(k) {}
  RecordKind kind;
  int64_t frame = 0;
  double sim_seconds = 0.0;
  int32_t id = 0;       // key event, window ident, named-variable id, or mouse-rect index
  int32_t param = 0;    // key-event parameter; window: 1 shown, 0 hidden
  double value = 0.0;   // named-variable value, fuel gallons
  double lat = 0.0, lon = 0.0;
  std::string name;     // named variable, gauge
  bool applied = true;  // false when the aircraft refused the event or the request
};

// One line of a record, as --verbose and log files print it.
std::string format_record(const Record& r);

struct NamedVar {
  std::string name;
  double value = 0.0;
  bool withdrawn = false;  // its slot stays so that ids never move
};

struct SharedVar {
  std::string name;
  int32_t kind = 0;
  void* storage = nullptr;
  uint32_t size = 0;
};

struct WindowState {
  int ident = 0;
  bool visible = false;
};

class SimHost {
 public:
  SimHost();
  ~SimHost();
  SimHost(const SimHost&) = delete;
  SimHost& operator=(const SimHost&) = delete;

  // Module: a linked one, or a shared object with the exports "Linkage" and "ImportTable".
  // Attaching writes the service table into the imports and runs the module's init.
  bool attach_module(ModuleLinkage* linkage, ModuleImports* imports, const std::string& name = "vek1");
  bool load_module(const std::string& path, std::string* error);

  // The simulator folder; the host makes it the current directory before calling services.
  void set_sim_folder(const std::string& folder) { sim_folder_ = folder; }
  const std::string& sim_folder() const { return sim_folder_; }

  // Panel: from a panel.cfg file, or given directly.
  bool load_panel(const std::string& path, std::string* error);
  void set_panel(const PanelConfig& panel) { panel_ = panel; }
  const PanelConfig& panel() const { return panel_; }

  // Creates the placed gauges and calls services 2, then 4, then 14 for each in panel order.
  bool start(std::string* error);
  bool started() const { return started_; }
  // Service 15 for each gauge. The module's de-init runs when the host lets it go.
  void stop();

  // Frames: each advances simulated time by sim_rate / frame_rate seconds unless paused,
  // flies the aircraft, then calls service 6 and then 10 for each gauge.
  void run_frames(int64_t frames);
  // Runs frame_rate x seconds frames.
  void run_seconds(double seconds);
  void set_frame_rate(int frames_per_second);
  int frame_rate() const { return frame_rate_; }
  int64_t frame() const { return frame_; }
  int64_t tick() const;
  double sim_seconds() const { return sim_seconds_; }

  // Tunes the aircraft's radios to the stations of the simulator folder's navigation
  // data; returns how many were read.
  int receive_sim_folder_stations();

  AircraftModel& aircraft() { return aircraft_; }
  const AircraftModel& aircraft() const { return aircraft_; }

  // Gauges.
  const std::vector<std::unique_ptr<PlacedGauge>>& gauges() const { return gauges_; }
  // The first placement of gauge NAME, or of "NAME:PARAMETERS" the one with those
  // parameters; null when none.
  PlacedGauge* find_gauge(const std::string& name) const;
  // Number of CHILD rectangles of a gauge's mouse list.
  int child_rect_count(const PlacedGauge& g) const;
  // Index of the child whose key_chars holds c (exact, then upper case), or -1.
  int key_for_char(const PlacedGauge& g, char c) const;
  // Clicks the INDEXth child rectangle (CHILD records counted in order from 0).
  bool click_index(const std::string& gauge, int index, std::string* error);
  // Clicks the deepest child under (x, y) in placement pixels.
  bool click_at(const std::string& gauge, int x, int y, std::string* error);
  // Hit test only: child index under (x, y) or -1.
  int hit_test(const PlacedGauge& g, int x, int y) const;
  // Clicks the key of each character, running one frame after each.
  bool type_text(const std::string& gauge, const std::string& text, std::string* error);
  // Records what each drawn image draws (kept from the start of its last draw).
  void set_draw_recording(bool on);
  bool draw_recording() const { return recording_; }
  // Writes the gauge's drawn image as PNG.
  bool write_png(const std::string& gauge, const std::string& path, std::string* error) const;

  // Key events: the scenario's events go to the registered handlers and the aircraft.
  void inject_key_event(int32_t event_id, int32_t param);

  // Named variables (one namespace, names matched without regard to case).
  int named_var_id(const std::string& name) const;
  double named_var(const std::string& name) const;
  int register_named_var(const std::string& name);
  void set_named_var(int id, double value);
  const std::vector<NamedVar>& named_vars() const { return named_vars_; }

  // Shared variables. Unregistering a name that is no shared variable withdraws a named
  // variable of that name.
  int register_shared_var(const std::string& name, int32_t kind, void* storage, uint32_t size);
  bool unregister_shared_var(const std::string& name);
  void* lookup_shared_var(const std::string& name, int32_t* kind, uint32_t* size) const;

  // Panel windows.
  bool window_exists(int ident) const;
  bool window_visible(int ident) const;
  // Shows or hides a window; false when there is no such window.
  bool set_window_visible(int ident, bool visible);
  bool toggle_window(int ident);

  // The GPS route served as "FS2002 GPS DATA".
  GpsRouteData& gps_route() { return gps_route_; }
  bool add_gps_point(const std::string& ident, double lat, double lon);

  // Records and their listener (for --verbose and log files).
  const std::vector<Record>& records() const { return records_; }
  void clear_records() { records_.clear(); }
  void set_record_listener(std::function<void(const Record&)> listener) { listener_ = std::move(listener); }
  // Called after each frame's services (a scenario's track); empty for none.
  void set_frame_listener(std::function<void()> listener) { frame_listener_ = std::move(listener); }

  // Panel-service entry points, reached through the function table.
  void service_trigger_key_event(int32_t event_id, int32_t param);
  int service_register_handler(KeyEventHandler handler, void* user);
  int service_unregister_handler(KeyEventHandler handler, void* user);
  int service_window(int op, int ident);
  void service_set_tower_view(double lat, double lon, double alt_ft);
  void service_set_fuel(double gallons);
  void service_set_zulu_time(int32_t hour, int32_t minute);
  void service_read_token(TokenVar* var) const;

  PanelServiceTable* service_table() { return &table_; }

 private:
  struct Handler {
    KeyEventHandler fn;
    void* user;
  };

  bool create_gauges(std::string* error);
  void call_all(int32_t service);
  void enter_sim_folder();
  void add_record(Record r);
  void dispatch_to_handlers(int32_t event_id, int32_t param);
  void detach();
  void release_gauges();
  void collect_module_messages();

  PanelServiceTable table_{};
  ModuleLinkage* linkage_ = nullptr;
  ModuleImports* imports_ = nullptr;
  void* dl_handle_ = nullptr;
  std::string module_name_ = "vek1";
  std::string sim_folder_;
  PanelConfig panel_;
  std::vector<std::unique_ptr<PlacedGauge>> gauges_;
  std::vector<WindowState> windows_;
  std::vector<NamedVar> named_vars_;
  std::vector<SharedVar> shared_vars_;
  std::vector<Handler> handlers_;
  int handler_depth_ = 0;
  GpsRouteData gps_route_{};
  std::vector<Record> records_;
  std::function<void(const Record&)> listener_;
  std::function<void()> frame_listener_;
  const char* (*module_message_)(int32_t row) = nullptr;  // the module's optional export
  int32_t module_messages_seen_ = 0;
  AircraftModel aircraft_;
  int frame_rate_ = 18;
  int64_t frame_ = 0;
  double sim_seconds_ = 0.0;
  bool started_ = false;
  bool recording_ = false;
};

// Writes a gauge image with pixels as PNG.
bool write_image_png(const GaugeImage& img, const std::string& path, std::string* error);

}  // namespace simhost
