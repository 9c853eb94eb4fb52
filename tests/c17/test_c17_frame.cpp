// C-17 MFD frame: which instance and page each placement draws, the on-screen flag,
// the named commands and the hidden image.
#include "c17_fixture.h"
#include "cdu/smiths/smiths_cdu.h"

namespace c17_test {
namespace {

struct InstanceRow {
  const char* parameter;
  bool popup_shown;
  const char* page;
};

// Every placement on window 0 (visible); PFD_WN on the pop-up.
const InstanceRow INSTANCE_ROWS[] = {
    {"PFD", false, "PFD"},         {"CFG", false, "CFG"},          {"ENG", false, "thrust"},
    {"PFD_VC", false, "transparent"}, {"", false, "transparent"},  {"1", false, "PFD"},
    {"PFD", true, "transparent"},  {"1", true, "transparent"},     {"CFG_VC", true, "transparent"},
    {"2", true, "arc"},     {"PFD_WN", true, "PFD"},
};

TEST_F(C17Test, EachPlacementDrawsItsInstanceAndPage) {
  place({"PFD", "CFG", "ENG", "PFD_VC", "CFG_VC", "", "1", "2"}, {"PFD_WN"});
  for (const InstanceRow& row : INSTANCE_ROWS) {
    script(row.popup_shown ? "window 4025 show\nrun 1f" : "window 4025 hide\nrun 1f");
    EXPECT_EQ(page(row.parameter), row.page) << row.parameter << (row.popup_shown ? " with the pop-up" : "");
  }
}

TEST_F(C17Test, NamedPagesAreForcedAndNumberedInstancesShareTheWorkingState) {
  place({"ENG_WN", "MFD_WN", "5"});
  c17_mfd_instances[3].format = 11;
  c17_mfd_instances[2].format = 6;
  script("run 1f");
  EXPECT_EQ(c17_mfd_instances[3].format, 9);
  EXPECT_EQ(c17_mfd_instances[2].format, 3);
  c17_mfd_instances[2].format = 4;
  c17_mfd_instances[4].format = 12;
  script("run 1f");
  EXPECT_EQ(c17_mfd_instances[2].format, 4);
  // Instance 5 draws the state the placement before it left: instance 2's.
  EXPECT_EQ(page("5"), "heading box");
  EXPECT_EQ(c17_mfd_rose_cy, 132);
}

TEST_F(C17Test, CommandsStartIdleAndTheHostSetsTheOnScreenFlagTheGaugeClears) {
  place({"2", "3"});
  EXPECT_EQ(c17_mfd_instances[2].format, 3);
  EXPECT_EQ(c17_mfd_instances[3].format, 9);
  EXPECT_EQ(mfd("2")->elements[0].image_flags & IMAGE_ON_SCREEN, 0u);
  EXPECT_NE(host_.find_gauge("C17_MFCP")->elements[0].image_flags & IMAGE_ON_SCREEN, 0u);
}

TEST_F(C17Test, ACommandShowsAHiddenImageWhateverFormatThePanelMovedItTo) {
  place({"2"});
  c17_mfd_instances[2].format = 1;
  script("var \"MFDX2 mode\" 2\nrun 1f\nvar \"MFDX2 mode\" 10\nclick C17_MFCP 8\nrun 1f");
  EXPECT_NE(mfd("2")->elements[0].image_flags & IMAGE_HIDDEN, 0u);
  EXPECT_EQ(c17_mfd_instances[2].format, 4);
  script("var \"MFDX2 mode\" 0\nrun 1f\nexpect_var \"MFDX2 mode\" 10");
  EXPECT_EQ(mfd("2")->elements[0].image_flags & IMAGE_HIDDEN, 0u);
  EXPECT_EQ(page("2"), "PFD");
}

TEST_F(C17Test, UnpoweredDisplaysAreTransparentAndKeepTheirRecords) {
  place({"1", "CFG"});
  script("set avionics 0\nrun 1s\nvar \"MFDX1 mode\" 3\nrun 1f");
  EXPECT_EQ(page("1"), "transparent");
  EXPECT_EQ(page("CFG"), "transparent");
  EXPECT_EQ(c17_mfd_instances[1].format, 9);  // the command still reaches the record
  script("set avionics 1\nrun 1s");
  EXPECT_EQ(page("1"), "thrust");
}


// Bezel keys: 0 PFD, 1 NAV, 2 the dead key, 3 ENG, 4 CFG.
struct BezelRow {
  const char* display;
  int key;
  const char* page;
};

const BezelRow BEZEL_ROWS[] = {
    {"2", 1, "map"},    {"2", 1, "HSI"},    {"2", 1, "arc"},   {"2", 3, "thrust"}, {"2", 3, "dials"},
    {"2", 3, "oil"},    {"2", 4, "CFG"},    {"2", 0, "PFD"},   {"2", 1, "PFD"},    {"2", 2, "PFD"},
    {"2", 3, "oil"},    {"2", 1, "arc"},
    // A display named by its page keeps it.
    {"ENG", 3, "thrust"}, {"CFG", 1, "CFG"},
};

TEST_F(C17Test, EachBezelKeyTakesItsOwnDisplayToItsFormat) {
  place({"PFD", "2", "ENG", "CFG"});
  for (const BezelRow& row : BEZEL_ROWS) {
    script(std::string("click C17_MFD:") + row.display + " " + std::to_string(row.key) + "\nrun 1f");
    EXPECT_EQ(page(row.display), row.page) << row.display << " key " << row.key;
    EXPECT_EQ(page("PFD"), "PFD");
    EXPECT_EQ(page("CFG"), "CFG");
  }
}

// The Smiths CDU offers STEP and <CTR> while a plan map is shown on any display.
TEST_F(C17Test, TheNorthUpMapOnAnyOfFourDisplaysCountsAsAPlanMapShown) {
  place({"PFD", "2", "ENG", "CFG"});
  const struct {
    const char* lines;
    bool shown;
  } rows[] = {
      {"run 1f", false},
      {"click C17_MFD:2 1\nrun 1f", true},   // format 3 to the north-up map
      {"run 2f", true},                        // drawn before the other three each frame
      {"click C17_MFD:2 1\nrun 1f", false},  // on to the HSI
  };
  for (const auto& row : rows) {
    script(row.lines);
    EXPECT_EQ(smiths_plan_mode_shown(), row.shown) << row.lines;
  }
}

// A format change leaves nothing of the format before in the image's first column
// (pixels, not the recording).
TEST_F(C17Test, AFormatChangeLeavesNoTraceInTheImagesFirstColumn) {
  place({"2"});
  host_.set_draw_recording(false);
  // Thrust, dials, oil, configuration, back to the oil page, then the HSI: none of
  // them draws in the image's first column.
  for (const char* key : {"3", "3", "3", "4", "3", "1"}) {
    script(std::string("click C17_MFD:2 ") + key + "\nrun 2f");
    const GaugeImage* image = mfd("2")->drawn_image();
    ASSERT_NE(image, nullptr);
    int traces = 0;
    for (int32_t y = 0; y < image->height; ++y) {
      const uint32_t* row = image->pixels + size_t(y) * size_t(image->stride / 4);
      traces += row[0] != 0xFF000000u;
    }
    EXPECT_EQ(traces, 0) << "after key " << key;
  }
}

}  // namespace
}  // namespace c17_test
