// A simulated host with the module linked in, on a fresh simulator folder.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/sim_host.h"
#include "platform/host/gauge_host.h"

struct GaugeAt {
  std::string name;
  std::string parameters;
};

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/vek-module-XXXXXX";
    folder_ = mkdtemp(tmpl);
    host_.set_sim_folder(folder_);
    ASSERT_TRUE(host_.attach_module(&Linkage, &ImportTable));
  }
  void TearDown() override {
    host_.stop();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  // Places the gauges in window 0 (visible) and adds hidden windows `others`.
  void start(const std::vector<GaugeAt>& gauges, const std::vector<int>& others = {}) {
    simhost::PanelConfig panel;
    simhost::PanelWindow main;
    main.ident = 0;
    main.visible = true;
    for (const GaugeAt& g : gauges) {
      simhost::Placement p;
      p.module = "vek1";
      p.gauge = g.name;
      p.width = 200;
      p.height = 200;
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

  std::string folder_;
  simhost::SimHost host_;
};
