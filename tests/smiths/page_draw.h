// Drawing one CDU page straight into the screen image of the started CDU, without the
// frame's update step: for pages whose inputs the update would recompute, and for the
// forms that have no page id.
#pragma once

#include "cdu/smiths/smiths_cdu.h"
#include "cdu_fixture.h"
#include "flightplan/flight_plan.h"

class PageDrawTest : public CduTest {
 protected:
  // Draws `page` (default: the current page id through the dispatcher).
  void draw_now(SmithsPageFn page = nullptr) {
    const simhost::PlacedGauge* gauge = host_.find_gauge("SMITHS_FMS");
    ASSERT_NE(gauge, nullptr);
    GaugeImage* image = gauge->drawn_image();
    ASSERT_NE(image, nullptr);
    if (GfxRecording* r = gfx_recording_of(image)) r->clear();
    GaugeSurface surface{};
    if (!page) {
      smiths_fms_draw(&surface, image, image->width, image->height);
      return;
    }
    surface.width = image->width;
    surface.height = image->height;
    GfxGraphics* g = nullptr;
    ASSERT_EQ(gfx_create(image, &g), GFX_OK);
    page(&surface, g);
    clear_cdu_key_flags();
    gfx_delete(g);
  }
  // Clears the entry line and the message.
  void clear_pad() {
    smiths_scratchpad.clear();
    smiths_scratchpad_msg.clear();
  }
  // Sets the scratchpad as typed and presses `key`.
  void put(const std::string& text, const std::string& key) {
    smiths_scratchpad = text;
    smiths_scratchpad_msg.clear();
    press(key);
  }
  // The sample company route, activated and executed.
  void company_route() {
    clear_pad();
    press("RTE");
    enter("KSEAKPDX", "L2");
    press("R6");
    press("EXEC");
    ASSERT_EQ(fpl_changed_state, 3);
  }
};
