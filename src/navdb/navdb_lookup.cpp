#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

#include "module/load_state.h"
#include "module/module_files.h"
#include "module/module_messages.h"
#include "module/module_paths.h"
#include "navdb/navdb.h"
#include "navdb/navdb_index.h"
#include "navdb/navdb_load.h"
#include "navdb/navdb_text.h"
#include "navdb/vek_apts_index.h"

namespace {

std::string_view trim(std::string_view s) {
  size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::string_view();
  size_t last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

// Index of the first record (lowest index) whose ident equals `ident`, 0 when none.
int first_match(const NavIndex& ix, const NavRecord* table, std::string_view ident) {
  int found = 0;
  for (int i = nav_index_first(ix, ident); i != 0; i = ix.next[i]) {
    if (text_equals(table[i].ident, ident)) found = i;  // chains run newest first
  }
  return found;
}

// The indexes on the chain of `key` whose record matches it (its ident, or its extra
// text when `by_extra` holds): the lowest nav_search_slots - 1 of them, ascending, into
// `found`. Answers their count.
int lowest_matches(const NavIndex& ix, const NavRecord* table, std::string_view key, bool by_extra, int* found) {
  int count = 0;
  for (int i = nav_index_first(ix, key); i != 0; i = ix.next[i]) {
    if (!text_equals(by_extra ? table[i].extra : table[i].ident, key)) continue;
    if (count < nav_search_slots - 1) {
      found[count++] = i;
    } else {
      // keep the lowest indexes: chains run newest first, so drop the highest
      int* hi = std::max_element(found, found + count);
      if (i < *hi) *hi = i;
    }
  }
  std::sort(found, found + count);
  return count;
}

// Appends the matches of one table, in table order, while the list has room.
void append_matches(const NavIndex& ix, const NavRecord* table, std::string_view ident, int& n) {
  int found[nav_search_slots];
  int count = lowest_matches(ix, table, ident, false, found);
  for (int k = 0; k < count && n < nav_search_slots - 1; ++k) nav_search_list[++n] = table[found[k]];
}

void copy_runway_list(int apt, RwyRecord* dst, int& count) {
  const NavRecord& a = nav_airports[apt];
  count = 0;
  for (int k = 0; k < a.rwy_count && count < apt_rwy_limit; ++k) {
    int r = a.rwy_first + k;
    if (r < 1 || r > nav_runway_count) break;
    dst[++count] = nav_runways[r];
  }
}

// Copies procedure header `p` into a block.
void copy_proc_block(const ProcHeader& p, ProcBlock& b) {
  nav_copy_text(b.name, proc_name_size, p.name);
  nav_copy_text(b.runway, rwy_ident_size, p.runway);
  b.leg_count = 0;
  b.transition[0] = '\0';
  for (int k = 0; k < p.leg_count && b.leg_count < proc_leg_slots - 1; ++k) {
    int l = p.leg_first + k;
    if (l < 1 || l > nav_proc_leg_count) break;
    b.legs[++b.leg_count] = nav_proc_legs[l];
  }
  if (b.leg_count > 0) nav_copy_text(b.transition, proc_name_size, b.legs[1].transition);
}

// "vek_apts.txt" as last read whole, and the read of a changed file under way. Each airport's
// first line is found through an index of the text, built as the text is read.
struct VekAptsText {
  std::shared_ptr<std::string> text;  // never grown past the room it was given
  std::shared_ptr<VekAptsIndex> index;
};
// Bytes of replaced texts and indexes given back per look-up, and entries of a grown index
// moved per look-up once it is read: a millisecond or two each.
constexpr std::size_t kReleaseBytesPerLookup = std::size_t{16} << 20;
constexpr std::size_t kSettleSlotsPerLookup = std::size_t{1} << 16;
struct VekAptsFile {
  // What tells that the file changed since it was read or tried.
  std::string path;
  std::uintmax_t size = 0;
  std::filesystem::file_time_type mtime;
  bool tried = false;
  VekAptsText current;  // empty when the file could not be read
  // The read under way, its text taking at most the file's size at its opening.
  std::shared_ptr<std::FILE> file;
  VekAptsText pending;
  std::size_t room = 0;     // bytes the pending text may hold
  std::size_t indexed = 0;  // bytes of the pending text whose lines are indexed
  // Texts and indexes replaced, given back a share per look-up.
  ReleasePile released;
};
VekAptsFile vek_apts;

void retire(VekAptsText& t) {
  if (t.index) t.index->discard(vek_apts.released);
  if (t.text) vek_apts.released.add(t.text, t.text->data(), t.text->capacity());
  t = VekAptsText();
}

// Indexes the whole lines of the pending text from `indexed` on (the rest too at its end).
void index_vek_apts_lines(bool at_end) {
  const std::string_view text = *vek_apts.pending.text;
  // Only what this piece added is searched: a file without a line end is not searched anew.
  const std::size_t last_end = text.substr(vek_apts.indexed).find_last_of("\r\n");
  const std::size_t stop = at_end ? text.size() : last_end == std::string_view::npos ? 0 : vek_apts.indexed + last_end + 1;
  if (stop <= vek_apts.indexed) return;
  std::string_view piece = text.substr(vek_apts.indexed, stop - vek_apts.indexed);
  vek_apts.indexed = stop;
  // Added in batches, each line's slot fetched while the lines before it are added.
  VekAptsIndex::Line batch[256];
  std::size_t count = 0;
  const auto add_batch = [&] {
    vek_apts.pending.index->add(text, batch, count, vek_apts.released);
    count = 0;
  };
  for_each_record_line(piece, [&](std::string_view line) {
    std::string_view w[1];
    std::string_view rest;
    // Only the airport's first line counts.
    if (split_words(line, 1, w, rest) != 1) return;
    batch[count++] = {static_cast<std::size_t>(w[0].data() - text.data()), w[0]};
    if (count == std::size(batch)) add_batch();
  });
  add_batch();
}

// Opens the file for a read when it changed since it was last read or tried. A refusal is
// answered; a file that could not be read is tried again only once it changes, so that
// its refusal (a link loop, a FIFO) is told once.
std::string open_changed_vek_apts(const std::string& path) {
  std::error_code ec;
  std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) size = static_cast<std::uintmax_t>(-1);
  std::filesystem::file_time_type mtime = std::filesystem::last_write_time(path, ec);
  if (ec) mtime = std::filesystem::file_time_type::min();
  if (vek_apts.tried && path == vek_apts.path && size == vek_apts.size && mtime == vek_apts.mtime) return "";
  vek_apts.tried = true;
  vek_apts.path = path;
  vek_apts.size = size;
  vek_apts.mtime = mtime;
  const char* refusal = nullptr;
  std::FILE* opened = open_regular_file(path, nav_file_max_bytes, refusal);
  if (!opened) {
    retire(vek_apts.current);
    return refusal ? "File '" + path + "' refused: " + refusal : "";
  }
  vek_apts.file = std::shared_ptr<std::FILE>(opened, std::fclose);
  struct stat st {};
  // Its pages are taken as the text is read; the index's offsets hold below 4 GB.
  static_assert(nav_file_max_bytes < (std::uintmax_t{1} << 32));
  vek_apts.room = ::fstat(::fileno(opened), &st) == 0
                      ? static_cast<std::size_t>(std::min<std::uintmax_t>(static_cast<std::uintmax_t>(st.st_size), nav_file_max_bytes))
                      : 0;
  vek_apts.pending.text = std::make_shared<std::string>();
  vek_apts.pending.text->reserve(vek_apts.room);
  vek_apts.pending.index = std::make_shared<VekAptsIndex>();
  vek_apts.indexed = 0;
  return "";
}

// The rest of the first line of `airport` (its words after the first) in the text last read
// whole; false when none.
bool vek_apts_line_rest(std::string_view airport, std::string_view& rest) {
  const VekAptsText& c = vek_apts.current;
  if (!c.index) return false;
  const std::string_view text = *c.text;
  const std::size_t offset = c.index->find(text, airport);
  if (offset == VekAptsIndex::npos) return false;
  std::size_t last = find_line_end(text.data(), offset, text.size());
  while (last > offset && (text[last - 1] == ' ' || text[last - 1] == '\t')) --last;
  std::string_view w[1];
  return split_words(text.substr(offset, last - offset), 1, w, rest) == 1;
}

}  // namespace

std::string read_vek_apts(std::size_t budget) {
  std::string told;
  if (!vek_apts.file) told = open_changed_vek_apts(vek_path("\\vek\\navdata\\vek_apts.txt"));
  if (!vek_apts.file) return told;
  std::string& text = *vek_apts.pending.text;
  char chunk[65536];
  std::size_t taken = 0;
  while (budget == 0 || taken < budget) {
    const ssize_t n = ::read(::fileno(vek_apts.file.get()), chunk, sizeof chunk);
    if (n <= 0) {
      // Its end, or a read that failed: the text read so far is not the file's.
      const bool whole = n == 0;
      if (whole) index_vek_apts_lines(true);
      vek_apts.file.reset();
      retire(vek_apts.current);
      if (whole) {
        vek_apts.current = std::move(vek_apts.pending);
        vek_apts.pending = VekAptsText();
        vek_apts.current.index->settle(0, vek_apts.released);
      } else {
        retire(vek_apts.pending);
      }
      if (!whole) return "File '" + vek_apts.path + "' refused: unreadable";
      // A file emptied between two look-ups would answer nothing without a word.
      return vek_apts.current.index->empty() ? "vek_apts.txt holds no record" : "";
    }
    // More than it held when opened: it is being written; read again once it has changed.
    if (text.size() + static_cast<std::size_t>(n) > vek_apts.room) {
      vek_apts.file.reset();
      retire(vek_apts.pending);
      vek_apts.tried = false;
      return "";
    }
    text.append(chunk, static_cast<std::size_t>(n));
    taken += static_cast<std::size_t>(n);
    index_vek_apts_lines(false);
  }
  return "";
}

namespace {

// Chain of each loaded airway point 1..n: the number of the airway's breaks before its
// sequence.
void loaded_airway_chains(int n, int* chain) {
  for (int k = 1; k <= n; ++k) chain[k] = 0;
  for (int b = 1; b <= nav_airway_break_count; ++b) {
    if (!text_equals(nav_airway_breaks[b].airway, airway_name)) continue;
    for (int k = 1; k <= n; ++k) chain[k] += nav_search_list[k].seq > nav_airway_breaks[b].seq;
  }
}

}  // namespace

int find_airport(const std::string& ident) {
  return first_match(nav_airport_index, nav_airports, ident);
}

int load_airport_block(const std::string& ident_text, int slot) {
  if (slot < 1 || slot >= apt_block_slots) return 0;
  std::string_view ident = trim(ident_text);
  int apt = first_match(nav_airport_index, nav_airports, ident);
  if (apt == 0) return 0;
  const NavRecord& a = nav_airports[apt];
  AptBlock& b = apt_blocks[slot];
  nav_copy_text(b.ident, nav_ident_size, a.ident);
  nav_copy_text(b.name, nav_name_size, a.name);
  nav_copy_text(b.elev, nav_extra_size, a.extra);
  b.lat = a.lat;
  b.lon = a.lon;
  copy_runway_list(apt, b.rwys, b.rwy_count);
  b.rwy_name_count = 0;
  for (int k = 1; k <= b.rwy_count; ++k) apt_block_add_rwy_name(b, b.rwys[k].ident);
  b.proc_name_count = b.trans_count = b.appr_count = 0;
  b.proc_count = b.appr_block_count = 0;

  int proc_kind = slot == 1 ? proc_kind_sid : slot == 2 ? proc_kind_star : 0;
  for (int i = 1; i <= nav_proc_count; ++i) {
    const ProcHeader& p = nav_procs[i];
    if (std::strcmp(p.airport, a.ident) != 0) continue;
    if (proc_kind != 0 && p.kind == proc_kind) {
      if (b.proc_count < apt_proc_block_limit) copy_proc_block(p, b.procs[++b.proc_count]);
      apt_block_add_proc_name(b, p.name);
      if (slot == 2) {
        for (int k = 0; k < p.leg_count; ++k) {
          int l = p.leg_first + k;
          if (l >= 1 && l <= nav_proc_leg_count && nav_proc_legs[l].transition[0] != '\0') {
            apt_block_add_trans_name(b, nav_proc_legs[l].transition);
          }
        }
      }
    } else if (slot == 2 && p.kind == proc_kind_appr) {
      if (b.appr_block_count < apt_appr_limit) copy_proc_block(p, b.appr_blocks[++b.appr_block_count]);
      bool listed = false;
      for (int k = 1; k <= b.appr_count; ++k) {
        if (std::strcmp(b.appr_names[k], p.name) == 0 && std::strcmp(b.appr_runways[k], p.runway) == 0) {
          listed = true;
        }
      }
      if (!listed && b.appr_count < apt_appr_limit) {
        ++b.appr_count;
        nav_copy_text(b.appr_names[b.appr_count], proc_name_size, p.name);
        nav_copy_text(b.appr_runways[b.appr_count], rwy_ident_size, p.runway);
      }
    }
  }

  loaded_apt_elev_text = b.elev;
  NavRecord& c = nav_search_list[1];
  c = NavRecord{};
  nav_copy_text(c.ident, nav_ident_size, a.ident);
  nav_copy_text(c.type, nav_type_size, "APT");
  c.lat = a.lat;
  c.lon = a.lon;
  nav_search_count = 1;
  return 1;
}

void load_plan_airport_info(const std::string& ident_text, int mode) {
  (void)mode;
  std::string_view ident = trim(ident_text);
  int apt = first_match(nav_airport_index, nav_airports, ident);
  loaded_rwy_index = -999;
  dest_info_loaded_1.clear();
  dest_info_loaded_2.clear();
  if (apt == 0) {
    loaded_rwy_count = 0;
    loaded_rwy_base = 1;
    plan_apt_ident.clear();
    loaded_apt_elev_text.clear();
    return;
  }
  const NavRecord& a = nav_airports[apt];
  copy_runway_list(apt, loaded_rwy_table, loaded_rwy_count);
  loaded_rwy_base = 1;
  plan_apt_ident = a.ident;
  loaded_apt_elev_text = a.extra;
  for (int i = nav_index_first(apt_info_index, a.ident); i != 0; i = apt_info_index.next[i]) {
    if (std::strcmp(apt_infos[i].ident, a.ident) == 0) {
      dest_info_loaded_1 = apt_infos[i].text1;
      dest_info_loaded_2 = apt_infos[i].text2;
      break;
    }
  }
  char text[64];
  std::snprintf(text, sizeof text, "APT '%s' Set", a.ident);
  add_module_message(text);
}

void load_airways_file(const std::string& text) {
  std::string_view name = trim(text);
  if (!name.empty() && name[0] == '#') name = trim(name.substr(1));
  airway_name = std::string(name);
  gnsxls_airway_line = 0;
  gnsxls_airway_choice = 1;
  // Collect the airway's points (lowest table indexes first), then order them by sequence.
  int found[nav_search_slots];
  int count = name.empty() ? 0 : lowest_matches(nav_airway_index, nav_airway_fixes, name, true, found);
  std::stable_sort(found, found + count,
                   [](int x, int y) { return nav_airway_fixes[x].seq < nav_airway_fixes[y].seq; });
  int n = 0;
  for (int k = 0; k < count; ++k) {
    const NavRecord& f = nav_airway_fixes[found[k]];
    // The same point listed twice (base and second airway file) is kept once.
    if (n > 0 && nav_search_list[n].seq == f.seq && std::strcmp(nav_search_list[n].ident, f.ident) == 0) {
      continue;
    }
    NavRecord& c = nav_search_list[++n];
    c = f;
    // A navaid on the airway keeps its type and frequency for radio tuning.
    for (int i = nav_index_first(nav_navaid_index, c.ident); i != 0; i = nav_navaid_index.next[i]) {
      const NavRecord& v = nav_navaids[i];
      if (std::strcmp(v.ident, c.ident) == 0 && std::fabs(v.lat - c.lat) < 0.01 &&
          std::fabs(v.lon - c.lon) < 0.01) {
        nav_copy_text(c.type, nav_type_size, v.type);
        nav_copy_text(c.freq, nav_freq_size, v.freq);
        break;
      }
    }
  }
  fix_match_count = n;
  nav_search_count = n > 0 ? 1 : 0;
  airway_start_index = airway_end_index = n > 0 ? 1 : 0;
}

int find_airway_index(const std::string& fix_text) {
  std::string_view fix = trim(fix_text);
  int n = std::min(fix_match_count, nav_search_slots - 1);
  for (int i = 1; i <= n; ++i) {
    if (text_equals(nav_search_list[i].ident, fix) &&
        text_equals(nav_search_list[i].extra, airway_name)) {
      return i;
    }
  }
  return 0;
}

int find_airway_leg(const std::string& entry_text, const std::string& exit_text, int& start, int& end) {
  start = end = 0;
  std::string_view entry = trim(entry_text), exit = trim(exit_text);
  int n = std::min(fix_match_count, nav_search_slots - 1);
  int chain[nav_search_slots];
  loaded_airway_chains(n, chain);
  auto on_airway = [](int k, std::string_view fix) {
    return text_equals(nav_search_list[k].ident, fix) && text_equals(nav_search_list[k].extra, airway_name);
  };
  for (int s = 1; s <= n; ++s) {
    if (!on_airway(s, entry)) continue;
    for (int e = 1; e <= n; ++e) {
      if (e != s && chain[e] == chain[s] && on_airway(e, exit)) {
        start = s;
        end = e;
        return 1;
      }
    }
  }
  return 0;
}

int airway_same_chain(int a, int b) {
  int n = std::min(fix_match_count, nav_search_slots - 1);
  if (a < 1 || b < 1 || a > n || b > n) return 0;
  int chain[nav_search_slots];
  loaded_airway_chains(n, chain);
  return chain[a] == chain[b] ? 1 : 0;
}

int select_next_duplicate(int row) {
  (void)row;
  int n = std::min(fix_match_count, nav_search_slots - 1);
  int cur = nav_search_count;
  if (cur < 1 || cur > n) return 0;
  for (int i = cur + 1; i <= n; ++i) {
    if (std::strcmp(nav_search_list[i].ident, nav_search_list[cur].ident) == 0) {
      nav_search_count = i;
      return 1;
    }
  }
  return 0;
}

int lookup_vek_airport(const std::string& airport, const std::string& entry) {
  // A changed file is read a piece per look-up; until it is read whole, the look-up answers
  // from the file as it was.
  vek_apts.released.release(kReleaseBytesPerLookup);
  if (vek_apts.current.index) vek_apts.current.index->settle(kSettleSlotsPerLookup, vek_apts.released);
  const std::string told = read_vek_apts(vek_apts_piece_bytes);
  if (!told.empty()) add_module_message(told);
  std::string_view rest;
  if (!vek_apts_line_rest(trim(airport), rest)) return 0;
  std::string value;
  if (!find_vek_pair(rest, trim(entry), value)) return 0;
  refnav_runway_data = value;
  return 1;
}

int search_nav_ident(const std::string& ident_text, int kind) {
  std::string_view ident = trim(ident_text);
  int n = 0;
  if (!ident.empty()) {
    if (kind == 0 || kind == 1) append_matches(nav_navaid_index, nav_navaids, ident, n);
    if (kind == 0 || kind == 2) append_matches(nav_intersection_index, nav_intersections, ident, n);
    if (kind == 0 || kind == 3) append_matches(nav_airport_index, nav_airports, ident, n);
  }
  fix_match_count = n;
  nav_search_count = n > 0 ? 1 : 0;
  return n;
}

void keep_navdb_lookup_state(LoadState& state) { state.keep(vek_apts); }
