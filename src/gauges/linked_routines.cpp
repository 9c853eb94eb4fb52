// Drawing routines that no gauge of the table reaches, kept in the module beside the
// ones it draws: the link of the module names this table (CMakeLists.txt), which pulls
// each routine's object out of its library.
#include "cdu/smiths/smiths_cdu.h"
#include "displays/nd_transport/nd_transport.h"
#include "draw/fuel_on_board_page.h"

namespace {
using AnyRoutine = void (*)();
template <typename F>
AnyRoutine routine(F* f) {
  return reinterpret_cast<AnyRoutine>(f);
}
}  // namespace

extern "C" {
extern const AnyRoutine vek1_unreached_routines[] = {
    routine(fuel_on_board_draw),
    routine(outline_frame_draw),
    routine(c17_mfd_vor_course_draw),
    routine(smiths_fms_n1_limit_page_draw),
    routine(smiths_fms_lateral_offset_page_draw),
};
}
