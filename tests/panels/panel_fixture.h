// A simulated host with the module linked in, the desktop stand-ins reset, and
// helpers to place gauges, click them and read what they publish.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include <cstring>

#include "flightplan/flight_plan.h"
#include "host/sim_host.h"
#include "platform/host/gauge_host.h"
#include "platform/win/win_windows.h"

struct Placed {
  std::string name;
  std::string parameters;
};

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win_reset();
    char tmpl[] = "/tmp/vek-panels-XXXXXX";
    folder_ = mkdtemp(tmpl);
    host_.set_sim_folder(folder_);
    ASSERT_TRUE(host_.attach_module(&Linkage, &ImportTable));
  }
  void TearDown() override {
    host_.stop();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  // Places the gauges in the visible main window and adds hidden windows `others`.
  void start(const std::vector<Placed>& gauges, const std::vector<int>& others = {}) {
    simhost::PanelConfig panel;
    simhost::PanelWindow main;
    main.ident = 0;
    main.visible = true;
    for (const Placed& g : gauges) {
      simhost::Placement p;
      p.module = "vek1";
      p.gauge = g.name;
      p.width = 300;
      p.height = 300;
      p.parameters = g.parameters;
      main.gauges.push_back(p);
    }
    panel.windows.push_back(main);
    for (int ident : others) {
      simhost::PanelWindow w;
      w.number = static_cast<int>(panel.windows.size());
      w.ident = ident;
      panel.windows.push_back(w);
    }
    host_.set_panel(panel);
    std::string error;
    ASSERT_TRUE(host_.start(&error)) << error;
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

  std::string folder_;
  simhost::SimHost host_;
};
