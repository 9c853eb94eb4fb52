#include "module/c17_mfd_commands.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "module/display_state.h"
#include "module/host_services.h"
#include "module/load_state.h"
#include "module/panel_windows.h"
#include "module/trace_file.h"

namespace {

// Looked up under the names they are created with.
const char* const mfdx_names[5] = {nullptr, "MFDX1 mode", "MFDX2 mode", "MFDX3 mode", "MFDX4 mode"};

// The instance 1..4 of a page name ("PFD", "MFD", "ENG", "CFG", each also with "_VC" or
// "_WN"); 0 for any other parameter.
int32_t page_instance(const char* p) {
  const auto named = [p](const char* page) {
    for (const char* suffix : {"", "_VC", "_WN"}) {
      char name[8];
      std::snprintf(name, sizeof name, "%s%s", page, suffix);
      if (std::strcmp(p, name) == 0) return true;
    }
    return false;
  };
  const char* const pages[5] = {nullptr, "PFD", "MFD", "ENG", "CFG"};
  for (int32_t n = 1; n <= 4; ++n)
    if (named(pages[n])) return n;
  return 0;
}

bool mfdx_names_created = false;
int32_t as_mfdx2_mode = 1;  // the value ProcessMFDX2 read in the frame before

int32_t first_digit_value(const char* parameter) {
  if (!parameter || parameter[0] < '0' || parameter[0] > '9') return 0;
  return parameter[0] - '0';
}

// Reads the command of instance n; false when the variable is missing or holds no
// usable number, which is never taken as a command.
bool read_command(int n, int32_t* id, int32_t* value) {
  *id = host_find_named_var(mfdx_names[n]);
  if (*id < 0) return false;
  double v = host_get_named_var(*id);
  if (!std::isfinite(v) || std::fabs(v) > 2.0e9) return false;
  *value = static_cast<int32_t>(v);
  return true;
}

void process_mfdx(int n, GaugeHeader* gauge) {
  if (n == 2) trace_line("ProcessMFDX2()-1: as_mfdx2_mode=%d\n", as_mfdx2_mode);
  int32_t id = -1, v = 0;
  if (!read_command(n, &id, &v)) return;
  if (n == 2) {
    as_mfdx2_mode = v;
    trace_line("ProcessMFDX2()-2: as_mfdx2_mode=%d\n", as_mfdx2_mode);
  }
  C17MfdState& s = c17_mfd_instances[n];
  if (v == 2) {
    if (s.format != 3) {
      set_element_flags(gauge, 0, IMAGE_HIDDEN);
      s.format = 3;
    }
    return;
  }
  if (v == 10) return;
  // Any other command shows the image again, also after the panel's format keys
  // have moved the instance off format 3.
  clear_element_flags(gauge, 0, IMAGE_HIDDEN);
  switch (v) {
    case 0: s.format = 1; break;
    case 1:
      if (s.format != 0 && !(s.format >= 3 && s.format <= 6)) {
        s.format = s.last_nav_format;
      } else if (s.last_nav_format == 0) {
        s.format = s.last_nav_format = 3;
      } else if (s.last_nav_format >= 3 && s.last_nav_format <= 5) {
        s.format = s.last_nav_format = 6;
      } else if (s.last_nav_format == 6) {
        s.format = s.last_nav_format = 0;
      } else {
        s.format = s.last_nav_format;
      }
      break;
    case 3: s.format = s.format == 9 ? 10 : (s.format == 10 ? 11 : 9); break;
    default: s.format = 12; break;
  }
  host_set_named_var(id, 10.0);
}

void pre_update(GaugeHeader* gauge) {
  const char* parameter = gauge && gauge->parameters ? gauge->parameters : "";
  trace_line("PANEL_SERVICE_PRE_UPDATE-2: Param=%s\n", parameter);
  int32_t k = first_digit_value(parameter);
  trace_line("PANEL_SERVICE_PRE_UPDATE-3: iparam=%d\n", k);
  if (k == 0) k = 1;
  trace_line("PANEL_SERVICE_PRE_UPDATE-4: iparam=%d\n", k);
  if (k >= 1 && k <= 4) process_mfdx(k, gauge);
}

}  // namespace

int32_t c17_mfd_parameter_instance(const char* parameter) {
  const char* p = parameter ? parameter : "";
  const int32_t page = page_instance(p);
  return page != 0 ? page : first_digit_value(p);
}

int32_t c17_mfd_instance(const char* parameter) {
  const char* p = parameter ? parameter : "";
  const int32_t n = c17_mfd_parameter_instance(p);
  // A page name holds its instance on its page (MFD on one of the arc formats).
  if (page_instance(p) != 0) {
    int32_t& f = c17_mfd_instances[n].format;
    if (n == 1) f = 1;
    if (n == 2 && (f < 3 || f > 5)) f = 3;
    if (n == 3) f = 9;
    if (n == 4) f = 12;
  }
  if (host_is_window_visible(0) && std::strstr(p, "VC")) return 0;
  if (n == 1 && host_is_window_visible(WINDOW_C17_MFD) && !std::strstr(p, "WN")) return 0;
  return n;
}

void ProcessMFDX1(GaugeHeader* gauge) { process_mfdx(1, gauge); }
void ProcessMFDX2(GaugeHeader* gauge) { process_mfdx(2, gauge); }
void ProcessMFDX3(GaugeHeader* gauge) { process_mfdx(3, gauge); }
void ProcessMFDX4(GaugeHeader* gauge) { process_mfdx(4, gauge); }

void c17_mfd_hook(GaugeHeader* gauge, int32_t service_id) {
  switch (service_id) {
    case PANEL_SERVICE_PRE_UPDATE: pre_update(gauge); break;
    case PANEL_SERVICE_GRAPHICS_START:
      if (!mfdx_names_created) {
        // Created idle: the host starts a new variable at 0, which would command the PFD
        // on every instance at the first pre-update.
        for (int n = 1; n <= 4; ++n) host_set_named_var(host_register_named_var(mfdx_names[n]), 10.0);
        mfdx_names_created = true;
      }
      break;
    case PANEL_SERVICE_GRAPHICS_STOP:
      if (mfdx_names_created) {
        for (int n = 1; n <= 4; ++n) host_unregister_shared_var(mfdx_names[n]);
        mfdx_names_created = false;
      }
      break;
    default: break;
  }
}

void keep_c17_mfd_commands_state(LoadState& state) { state.keep(mfdx_names_created, as_mfdx2_mode); }
