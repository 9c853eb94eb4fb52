#include "module/host_services.h"

// The record the host fills with its panel-service table when it loads the module.
extern "C" {
__attribute__((visibility("default"))) ModuleImports ImportTable = {0, nullptr};
}

namespace {
PanelServiceTable* services() { return ImportTable.panel_services; }
}  // namespace

void host_read_token_var(TokenVar& var) {
  PanelServiceTable* s = services();
  if (s && s->read_token_var) {
    s->read_token_var(&var);
  } else {
    var.value = 0.0;
  }
}

double host_token_value(int32_t id) {
  TokenVar var{};
  var.id = id;
  host_read_token_var(var);
  return var.value;
}

const char* host_token_text(int32_t id) {
  TokenVar var{};
  var.id = id;
  var.text = nullptr;
  PanelServiceTable* s = services();
  if (s && s->read_token_var) s->read_token_var(&var);
  return var.text ? var.text : "";
}

double host_exec_calculator_code(const char* code) {
  PanelServiceTable* s = services();
  double result = 0.0;
  if (s && s->execute_calculator_code && code && s->execute_calculator_code(code, &result)) return result;
  return 0.0;
}

int32_t host_find_named_var(const char* name) {
  PanelServiceTable* s = services();
  return (s && s->check_named_variable && name) ? s->check_named_variable(name) : -1;
}

double host_get_named_var(int32_t id) {
  PanelServiceTable* s = services();
  return (s && s->get_named_variable_value && id >= 0) ? s->get_named_variable_value(id) : 0.0;
}

void host_set_named_var(int32_t id, double value) {
  PanelServiceTable* s = services();
  if (s && s->set_named_variable_value && id >= 0) s->set_named_variable_value(id, value);
}

int32_t host_register_named_var(const char* name) {
  PanelServiceTable* s = services();
  return (s && s->register_named_variable && name) ? s->register_named_variable(name) : -1;
}

bool host_set_named_var_by_name(const char* name, double value) {
  int32_t id = host_find_named_var(name);
  if (id < 0) return false;
  host_set_named_var(id, value);
  return true;
}

bool host_register_shared_var(const char* name, SharedVarKind kind, void* storage, uint32_t size) {
  PanelServiceTable* s = services();
  return s && s->register_shared_var && s->register_shared_var(name, kind, storage, size) != 0;
}

void host_unregister_shared_var(const char* name) {
  PanelServiceTable* s = services();
  if (s && s->unregister_shared_var) s->unregister_shared_var(name);
}

void* host_lookup_shared_var(const char* name, int32_t* kind, uint32_t* size) {
  PanelServiceTable* s = services();
  return (s && s->lookup_shared_var) ? s->lookup_shared_var(name, kind, size) : nullptr;
}

void host_send_key_event(int32_t event_id, int32_t param) {
  PanelServiceTable* s = services();
  if (s && s->trigger_key_event) s->trigger_key_event(event_id, param);
}

bool host_register_key_handler(KeyEventHandler handler, void* user) {
  PanelServiceTable* s = services();
  return s && s->register_key_event_handler && s->register_key_event_handler(handler, user) != 0;
}

void host_unregister_key_handler(KeyEventHandler handler, void* user) {
  PanelServiceTable* s = services();
  if (s && s->unregister_key_event_handler) s->unregister_key_event_handler(handler, user);
}

int32_t host_toggle_window(int32_t ident) {
  PanelServiceTable* s = services();
  return (s && s->panel_window_toggle) ? s->panel_window_toggle(ident) : 0;
}

void host_show_window(int32_t ident) {
  PanelServiceTable* s = services();
  if (s && s->panel_window_show) s->panel_window_show(ident);
}

void host_hide_window(int32_t ident) {
  PanelServiceTable* s = services();
  if (s && s->panel_window_close) s->panel_window_close(ident);
}

bool host_is_window_visible(int32_t ident) {
  PanelServiceTable* s = services();
  return s && s->is_panel_window_visible && s->is_panel_window_visible(ident) != 0;
}

const void* host_get_shared_data(const char* name, uint32_t* size) {
  PanelServiceTable* s = services();
  if (size) *size = 0;
  return (s && s->get_shared_data) ? s->get_shared_data(name, size) : nullptr;
}

void host_set_tower_view(double lat, double lon, double alt_ft) {
  PanelServiceTable* s = services();
  if (s && s->set_tower_view) s->set_tower_view(lat, lon, alt_ft);
}

void host_set_fuel_total_gallons(double gallons) {
  PanelServiceTable* s = services();
  if (s && s->set_fuel_total_gallons) s->set_fuel_total_gallons(gallons);
}

void host_set_zulu_time(int32_t hour, int32_t minute) {
  PanelServiceTable* s = services();
  if (s && s->set_zulu_time) s->set_zulu_time(hour, minute);
}

namespace {
GaugeElement* element_of(GaugeHeader* gauge, int32_t index) {
  if (!gauge || !gauge->elements || index < 0 || index >= gauge->element_count) return nullptr;
  return &gauge->elements[index];
}
}  // namespace

void set_element_flags(GaugeHeader* gauge, int32_t index, uint32_t mask) {
  if (GaugeElement* e = element_of(gauge, index)) e->image_flags |= mask;
}

void clear_element_flags(GaugeHeader* gauge, int32_t index, uint32_t mask) {
  if (GaugeElement* e = element_of(gauge, index)) e->image_flags &= ~mask;
}

void show_gauge_element(GaugeHeader* gauge, int32_t index) { clear_element_flags(gauge, index, IMAGE_HIDDEN); }

void hide_gauge_element(GaugeHeader* gauge, int32_t index) { set_element_flags(gauge, index, IMAGE_HIDDEN); }
