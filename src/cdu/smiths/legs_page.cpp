#include "cdu/smiths/smiths_cdu.h"
void smiths_fms_legs_page_draw(GaugeSurface*, GfxGraphics*) {}
