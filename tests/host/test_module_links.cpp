// The built module holds the drawing routines that no gauge reaches, not only those the
// gauge table pulls in.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

TEST(ModuleLinks, RoutinesNoGaugeReachesAreInTheModuleFile) {
  void* module = dlopen(VEK_GAU_PATH, RTLD_LAZY | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();
  Dl_info linked_from{};
  ASSERT_NE(dladdr(dlsym(module, "Linkage"), &linked_from), 0);
  const std::string module_file = linked_from.dli_fname;
  // Mangled names of the routines (their declarations in src/).
  for (const char* name : {
           "_Z18fuel_on_board_drawP12GaugeSurfaceP10GaugeImageii",      // fuel-on-board page
           "_Z23fuel_on_board_page_drawP11GfxGraphicsii",               // its page renderer
           "_Z18outline_frame_drawP11GfxGraphicsii",                    // outline routine
           "_Z23c17_mfd_vor_course_drawPK12GaugeSurfaceP11GfxGraphics",  // C-17 course line
           "_Z29smiths_fms_n1_limit_page_drawP12GaugeSurfaceP11GfxGraphics",        // N1 LIMIT
           "_Z35smiths_fms_lateral_offset_page_drawP12GaugeSurfaceP11GfxGraphics",  // LATERAL OFFSET
       }) {
    void* routine = dlsym(module, name);
    ASSERT_NE(routine, nullptr) << name;
    Dl_info found{};
    ASSERT_NE(dladdr(routine, &found), 0) << name;
    EXPECT_EQ(module_file, found.dli_fname) << name;
  }
  dlclose(module);
}
