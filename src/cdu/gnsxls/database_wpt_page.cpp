// DATABASE WPT (page 8): one database candidate for a typed ident, its type and
// position, and the FLYOVER (and for a direct-to DIRECTION) answers on R5.
#include <cstring>

#include "cdu/gnsxls/gnsxls.h"
#include "cdu/gnsxls/page_frame.h"
#include "geo/great_circle.h"
#include "flightplan/fpl_ops.h"
#include "navdb/navdb.h"

namespace {

struct TypeName {
  const char* type;
  const char* shown;
};
constexpr TypeName type_names[] = {{"APT", "APT"}, {"N", "NDB"}, {"V", "VOR"}, {"I", "INT"}, {"O", "OOCTA"}};

const char* shown_type(const char* type) {
  for (const TypeName& t : type_names)
    if (std::strcmp(t.type, type) == 0) return t.shown;
  return "";
}

// "N:47:26:45" laid into "N 47 26.45"; a longitude "W:122:18:05" into "W122 18.05".
// Parts the text does not hold stay blank.
std::string position_field(const std::string& dms, bool longitude) {
  std::string out = "       .  ";
  if (dms.empty()) return out;
  out[0] = dms[0];
  std::string deg, min, sec;
  std::size_t a = dms.find(':'), b = a == std::string::npos ? a : dms.find(':', a + 1);
  if (a == std::string::npos || b == std::string::npos) return out;
  deg = dms.substr(1, a - 1);
  min = dms.substr(a + 1, b - a - 1);
  sec = dms.substr(b + 1);
  std::size_t width = longitude ? 3 : 2;
  while (deg.size() < width) deg = "0" + deg;
  auto put = [&](std::size_t at, const std::string& digits, std::size_t n) {
    for (std::size_t i = 0; i < n && i < digits.size() && at + i < out.size(); ++i) out[at + i] = digits[i];
  };
  put(longitude ? 1 : 2, deg, width);
  put(5, min, 2);
  put(8, sec, 2);
  return out;
}

void r5_key() {
  int32_t old = gnsxls_lsk_state[10];
  reset_cdu_entry_state();
  if (old == 0) {
    gnsxls_lsk_state[10] = 1;
    gnsxls_scratchpad = gnsxls_answer;
  } else if (old == 1 && gnsxls_return_page == GNSXLS_PAGE_DIRECT) {
    gnsxls_lsk_state[10] = 2;
    gnsxls_scratchpad = gnsxls_turn_field;
  }
}

}  // namespace

void gnsxls_database_wpt_page_draw(GaugeSurface* rec, GfxGraphics* g) {
  if (gnsxls_pending_lsk == 10) r5_key();
  GnsPage p;
  gns_page_begin(p, rec, g);
  gns_textf(p, 75, 0, p.white, "DATABASE WPT %d/%d", gnsxls_wpt_shown, fix_match_count);
  int e = nav_search_count;
  if (e >= 1 && e <= fix_match_count && e < nav_search_slots) {
    const NavRecord& c = nav_search_list[e];
    gns_text(p, 30, 80, p.green, "WAYPOINT");
    gns_text(p, 300, 80, p.green, c.ident);
    gns_text(p, 300, 120, p.green, shown_type(c.type));
    gns_text(p, 100, 160, p.green, "POS");
    std::string lat, lon;
    format_dms_position(c.lat, -c.lon, lat, lon, 1);
    gns_text(p, 200, 160, p.green, position_field(lat, false));
    gns_text(p, 200, 200, p.green, position_field(lon, true));
    if (std::strcmp(c.type, "APT") != 0) {
      const int32_t s10 = gnsxls_lsk_state[10];
      gns_text(p, 30, 240, p.green, "FREQ");
      gns_text(p, 300, 240, p.green, c.freq);
      gns_text(p, 30, 320, p.white, "FLYOVER:");
      if (s10 == 1) gns_field(p, 320, 320, int(gnsxls_scratchpad.size()) + 1, gnsxls_scratchpad + "?");
      else gns_text(p, 320, 320, p.green, gnsxls_answer);
      if (gnsxls_return_page == GNSXLS_PAGE_DIRECT) {
        gns_text(p, 30, 360, p.white, "DIRECTION:");
        if (s10 == 2) gns_field(p, 320, 360, int(gnsxls_scratchpad.size()) + 1, gnsxls_scratchpad + "?");
        else gns_text(p, 320, 360, p.green, gnsxls_turn_field);
      }
    }
  }
  gns_page_end(p);
}
