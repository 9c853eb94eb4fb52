#include "gauges/gauge_frame.h"

#include "c17/c17_cdu.h"
#include "draw/draw_toolkit.h"
#include "guidance/fms_update.h"

#include "module/c17_mfd_commands.h"
#include "module/host_services.h"
#include "module/module_paths.h"
#include "module/trace_file.h"

namespace {

const char* parameter_of(const GaugeHeader* gauge) {
  return gauge && gauge->parameters ? gauge->parameters : "";
}

bool draws(GaugeRole role) {
  return role == GaugeRole::Display || role == GaugeRole::Cdu || role == GaugeRole::Debug ||
         role == GaugeRole::C17Mfd;
}

void initialise(GaugeHeader* gauge, GaugeRole role) {
  switch (role) {
    case GaugeRole::Display:
    case GaugeRole::Cdu:
    case GaugeRole::Debug:
    case GaugeRole::Panel:
    case GaugeRole::Server:
      record_sim_root_path();
      load_settings_once();
      load_navigation_once();
      record_aircraft_name(parameter_of(gauge));
      load_aircraft_once();
      load_stored_plans_once();
      break;
    case GaugeRole::C17Mfd:
      open_trace_file();
      record_sim_root_path();
      load_settings_once();
      load_navigation_once();
      load_stored_plans_once();
      break;
    case GaugeRole::Button:
    case GaugeRole::C17Panel:
      load_settings_once();
      record_aircraft_name(parameter_of(gauge));
      load_aircraft_once();
      break;
    case GaugeRole::WindowOpener:
      break;
  }
}

// C17_MFD: its instance rule in place of the draw mode. Every frame draws, instance 0
// transparent; the on-screen flag is cleared after it, also when nothing was drawn.
void draw_c17_mfd(GaugeHeader* gauge, const GaugeDescriptor& desc) {
  if (!gauge->elements || gauge->element_count < 1) return;
  current_element = &gauge->elements[0];
  GaugeImage* image = current_element->image;
  if (image && desc.draw) desc.draw(gauge, image, image->width, image->height, c17_mfd_instance(parameter_of(gauge)));
  clear_element_flags(gauge, 0, IMAGE_ON_SCREEN);
}

void draw(GaugeHeader* gauge, const GaugeDescriptor& desc) {
  if (desc.role == GaugeRole::C17Panel || desc.role == GaugeRole::WindowOpener) return;
  if (desc.hook) desc.hook(gauge, GAUGE_STEP_BEFORE_UPDATE);
  if (desc.role == GaugeRole::C17Mfd) {
    draw_c17_mfd(gauge, desc);
    return;
  }
  run_fms_update();
  if (!draws(desc.role)) return;
  int32_t mode = compute_draw_mode(parameter_of(gauge), desc.own_window);
  if (mode == 0) return;
  if (!desc.draw || !gauge->elements || desc.draw_element < 0 || desc.draw_element >= gauge->element_count) {
    return;
  }
  GaugeImage* image = gauge->elements[desc.draw_element].image;
  if (!image) return;
  desc.draw(gauge, image, image->width, image->height, desc.role == GaugeRole::Display ? mode : 1);
}

}  // namespace

GaugeElement* current_element = nullptr;

void run_gauge_service(GaugeHeader* gauge, int32_t service_id, const GaugeDescriptor& desc) {
  trace_line("%s \n", desc.callback_name);
  switch (service_id) {
    case PANEL_SERVICE_INSTALL:
      record_sim_root_path();
      fms_install();
      c17_cdu_install();
      break;
    case PANEL_SERVICE_INITIALIZE:
      initialise(gauge, desc.role);
      break;
    case PANEL_SERVICE_PRE_UPDATE:
      if (desc.role == GaugeRole::C17Mfd) {
        trace_line("PANEL_SERVICE_PRE_UPDATE:\n");
        run_fms_update();
      }
      break;
    case PANEL_SERVICE_DRAW:
      draw(gauge, desc);
      break;
    case PANEL_SERVICE_GRAPHICS_START:
      if (draws(desc.role)) graphics_gauge_start();
      break;
    case PANEL_SERVICE_GRAPHICS_STOP:
      if (draws(desc.role)) graphics_gauge_stop();
      break;
    default:
      break;
  }
  if (desc.hook) desc.hook(gauge, service_id);
}
