// The simulated host's own readers: scenario scripts (HOST_FUZZ_SCENARIO) and panel.cfg
// (HOST_FUZZ_PANEL). The input is a whole file; what is accepted must keep the limits
// the runner relies on.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "host/panel_config.h"
#include "host/scenario.h"

namespace {

[[maybe_unused]] bool plain_file_name(const std::string& name) {
  return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::string error;
#if defined(HOST_FUZZ_SCENARIO)
  simhost::Scenario scenario;
  if (!simhost::parse_scenario(in, "fuzz.txt", &scenario, &error)) return 0;
  for (const simhost::ScenarioStep& st : scenario.steps) {
    if (st.op == simhost::ScenarioOp::Run && (st.frames < 0 || !std::isfinite(st.seconds) || st.seconds < 0.0 ||
                                              (st.frames == 0 && st.seconds == 0.0)))
      std::abort();
    if ((st.op == simhost::ScenarioOp::Shot || st.op == simhost::ScenarioOp::Log) && !plain_file_name(st.text))
      std::abort();
    if (!std::isfinite(st.value) || !std::isfinite(st.value2)) std::abort();
  }
#elif defined(HOST_FUZZ_PANEL)
  simhost::PanelConfig panel;
  if (!simhost::parse_panel_config(in, "panel.cfg", &panel, &error)) return 0;
  for (const simhost::PanelWindow& w : panel.windows)
    for (const simhost::Placement& p : w.gauges)
      if (p.module.empty() || p.gauge.empty() || p.width < 0 || p.width > 4096 || p.height < 0 || p.height > 4096)
        std::abort();
#endif
  return 0;
}
