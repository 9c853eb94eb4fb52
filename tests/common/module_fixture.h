// A simulated host with the module linked in, on a fresh simulator folder, and the
// placing of gauges in its panel.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "host/sim_host.h"
#include "platform/host/gauge_host.h"

struct GaugeAt {
  std::string name;
  std::string parameters;
};

class ModuleTest : public ::testing::Test {
 protected:
  // `folder_template` names the simulator folder (mkdtemp's six X last); each gauge
  // is placed gauge_size x gauge_size.
  ModuleTest(std::string folder_template = "/tmp/vek-module-XXXXXX", int gauge_size = 200)
      : folder_template_(std::move(folder_template)), gauge_size_(gauge_size) {}

  void SetUp() override {
    std::string tmpl = folder_template_;
    folder_ = mkdtemp(tmpl.data());
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
      p.width = gauge_size_;
      p.height = gauge_size_;
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

  std::string folder_template_;
  int gauge_size_;
  std::string folder_;
  simhost::SimHost host_;
};
