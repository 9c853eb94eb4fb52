// vek-host: runs a gauge module on a simulated host from a panel configuration and a
// scenario script.
//   vek-host --sim DIR --panel FILE --scenario FILE --out DIR [--module PATH] [--verbose]
// Exit status: 0 success, 1 an expectation failed, 2 a usage, load or scenario error.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "host/draw_recording.h"
#include "host/scenario.h"
#include "host/sim_host.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: vek-host --sim DIR --panel FILE --scenario FILE --out DIR [--module PATH] [--verbose]\n");
  return 2;
}

std::string absolute(const std::string& p) {
  std::error_code ec;
  std::filesystem::path a = std::filesystem::absolute(p, ec);
  return ec ? p : a.lexically_normal().string();
}

// The module next to the program: <program folder>/gauges/vek1.gau.
std::string default_module() {
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "build/gauges/vek1.gau";
  buf[n] = '\0';
  return (std::filesystem::path(buf).parent_path() / "gauges" / "vek1.gau").string();
}

}  // namespace

int main(int argc, char** argv) {
  std::string sim, panel, scenario_file, out, module;
  bool verbose = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string* dst) {
      if (i + 1 >= argc) return false;
      *dst = argv[++i];
      return true;
    };
    bool ok = true;
    if (a == "--sim") ok = value(&sim);
    else if (a == "--panel") ok = value(&panel);
    else if (a == "--scenario") ok = value(&scenario_file);
    else if (a == "--out") ok = value(&out);
    else if (a == "--module") ok = value(&module);
    else if (a == "--verbose") verbose = true;
    else ok = false;
    if (!ok) return usage();
  }
  if (sim.empty() || panel.empty() || scenario_file.empty() || out.empty()) return usage();
  if (module.empty()) module = default_module();
  sim = absolute(sim);
  panel = absolute(panel);
  scenario_file = absolute(scenario_file);
  out = absolute(out);
  module = absolute(module);

  std::string error;
  simhost::Scenario scenario;
  if (!simhost::read_scenario(scenario_file, &scenario, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  std::error_code ec;
  std::filesystem::create_directories(out, ec);
  if (ec || !std::filesystem::is_directory(out)) {
    std::fprintf(stderr, "%s: cannot create the output folder\n", out.c_str());
    return 2;
  }

  simhost::SimHost host;
  host.set_sim_folder(sim);
  if (!host.load_panel(panel, &error) || !host.load_module(module, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  host.receive_sim_folder_stations();
  if (verbose)
    host.set_record_listener([](const simhost::Record& r) { std::printf("%s\n", simhost::format_record(r).c_str()); });
  bool expects = false;
  for (const auto& st : scenario.steps) expects = expects || st.op == simhost::ScenarioOp::Expect;
  if (expects && !simhost::draw_recording_available()) {
    std::fprintf(stderr, "%s: expect needs the graphics recording, which this build lacks\n", scenario_file.c_str());
    return 2;
  }
  host.set_draw_recording(expects);
  if (!host.start(&error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  if (!simhost::check_scenario(scenario, host, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  simhost::ScenarioResult result;
  bool ran = simhost::run_scenario(scenario, host, out, &result, &error);
  host.stop();
  for (const std::string& f : result.failures) std::fprintf(stderr, "%s\n", f.c_str());
  if (!ran) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  const auto& s = host.aircraft().state();
  std::printf("vek-host: %lld frames, %.1f s simulated; position %.4f %.4f, altitude %.0f ft, heading %.0f, IAS %.0f kt\n",
              static_cast<long long>(host.frame()), host.sim_seconds(), s.lat, s.lon, s.altitude_ft, s.heading_true,
              s.ias_kt);
  std::printf("vek-host: %d expectations, %d failed\n", result.expectations, result.failed_expectations);
  return result.failed_expectations > 0 ? 1 : 0;
}
