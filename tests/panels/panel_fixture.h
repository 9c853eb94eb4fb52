// A simulated host with the module linked in, the desktop stand-ins reset, and
// helpers to place gauges, click them and read what they publish.
#pragma once

#include <cstring>
#include <string>

#include "flightplan/flight_plan.h"
#include "platform/win/win_windows.h"
#include "tests/common/module_fixture.h"

using Placed = GaugeAt;

class PanelTest : public ModuleTest {
 protected:
  // Gauges are placed 300 x 300.
  PanelTest() : ModuleTest("/tmp/vek-panels-XXXXXX", 300) {}

  void SetUp() override {
    win_reset();
    ModuleTest::SetUp();
  }

  void click(const std::string& gauge, int index, int times = 1) {
    for (int i = 0; i < times; ++i) {
      std::string error;
      ASSERT_TRUE(host_.click_index(gauge, index, &error)) << error;
    }
  }

  // A two-record active plan flying to its second record.
  static void make_active_plan() {
    std::strcpy(fpl_active[0].ident, "KSEA");
    fpl_active[0].lat = 47.45;
    fpl_active[0].lon = -122.31;
    std::strcpy(fpl_active[1].ident, "KPDX");
    fpl_active[1].lat = 45.59;
    fpl_active[1].lon = -122.60;
    std::strcpy(fpl_active[2].ident, FPL_END_IDENT);
    fpl_active_last = 1;
    fpl_active_index = 1;
  }

  double named(const std::string& name) const { return host_.named_var(name); }
  void set_named(const std::string& name, double value) {
    int id = host_.named_var_id(name);
    if (id < 0) id = host_.register_named_var(name);
    host_.set_named_var(id, value);
  }
};
