#include "cdu/smiths/smiths_cdu.h"
void smiths_fms_departures_page_draw(GaugeSurface*, GfxGraphics*) {}
void smiths_fms_arrivals_page_draw(GaugeSurface*, GfxGraphics*) {}
void smiths_fms_dep_arr_index_page_draw(GaugeSurface*, GfxGraphics*) {}
