// Plan files in the plans folder and the stored-plan list.
#include "flightplan/plan_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <filesystem>
#include <string_view>
#include <vector>

#include "flightplan/flight_plan.h"
#include "flightplan/fpl_import.h"
#include "flightplan/fpl_ops.h"
#include "module/host_services.h"
#include "module/module_files.h"
#include "module/module_messages.h"
#include "module/module_paths.h"

std::string fpl_message;
int32_t plan_loader_flag = 0;
std::string FlightPlansFolder;
int32_t SaveFPLCruiseAlt = 0;
int32_t LoadFuelonFlightPlanLoad = 0;

int32_t plan_load_request = 0;
std::string plan_load_name;
std::string plan_loaded_airport_ident;
std::vector<std::string> refused_plan_names;

static constexpr std::size_t kMaxPlanFileBytes = 1 << 20;
static constexpr double kFuelLbPerGallon = 6.7;
static constexpr int kMaxCruiseAlt = 100000;  // feet
static constexpr double kMaxPlanFuel = 1e7;   // pounds

std::string plan_folder_path() {
  std::string folder = FlightPlansFolder;
  std::string path;
  if (folder.empty()) path = vek_path("\\vek\\flightplans\\");
  else if (folder[0] == '\\') path = vek_path(folder);
  else {
    path = folder;
    std::replace(path.begin(), path.end(), '\\', '/');
  }
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

// Texts in a record line: "-" for an empty text, "_" for a blank.
static std::string encode_text(const char* t) {
  if (!t[0]) return "-";
  std::string s = t;
  for (char& c : s)
    if (c == ' ' || c == '\t') c = '_';
  return s;
}

static void decode_text(char* dst, std::size_t size, const std::string& tok) {
  std::string s = tok == "-" ? "" : tok;
  for (char& c : s)
    if (c == '_') c = ' ';
  std::size_t n = std::min(s.size(), size - 1);
  std::memcpy(dst, s.data(), n);
  std::memset(dst + n, 0, size - n);
}

static const char* file_type(const char* type) {
  static const char* known[] = {"APT", "VOR", "NDB", "INT", "RWY"};
  for (const char* k : known)
    if (std::strcmp(type, k) == 0) return k;
  return "WPT";
}

static std::string find_plan_file(const std::string& folder, const std::string& name);

// Whether file name `fn` ends in `ext` (".rte"), without regard to case.
static bool has_extension(const std::string& fn, std::string_view ext) {
  if (fn.size() <= ext.size()) return false;
  return std::equal(ext.begin(), ext.end(), fn.end() - (std::ptrdiff_t)ext.size(),
                    [](char e, char c) { return e == std::tolower((unsigned char)c); });
}
// The simulator's own plans (".PLN") are read like plan files, never written.
static bool is_sim_plan(const std::string& fn) { return has_extension(fn, ".pln"); }

// A save replaces only a plan: a file with the plan extension or one the stored list holds,
// never another file that happens to share the name (the settings, say).
static bool replaceable_plan_file(const std::string& path) {
  std::string fn = std::filesystem::path(path).filename().string();
  if (has_extension(fn, ".rte")) return true;
  for (int i = 1; i <= stored_plan_count && i < STORED_PLAN_CAPACITY; ++i)
    if (fn == stored_plans[i].name) return true;
  return false;
}

static bool finite_number(const std::string& t, double& v) {
  if (t.empty() || t.size() > 32) return false;
  char* end = nullptr;
  v = std::strtod(t.c_str(), &end);
  return end && *end == '\0' && std::isfinite(v);
}

// The range of each number of a record. A value outside it refuses the whole plan, so
// that a plan never loads with a waypoint missing or a value no page can show.
struct FieldRange {
  double FlightPlanWpt::*field;
  double lo;
  double hi;
};
static constexpr FieldRange kFieldRanges[] = {
    {.field = &FlightPlanWpt::lat, .lo = -90.0, .hi = 90.0},
    {.field = &FlightPlanWpt::lon, .lo = -180.0, .hi = 180.0},
    {.field = &FlightPlanWpt::alt_constraint, .lo = -2000.0, .hi = 99900.0},  // FL999: a page shows no higher
    {.field = &FlightPlanWpt::spd_constraint, .lo = FPL_NO_CONSTRAINT, .hi = 2000.0},
    {.field = &FlightPlanWpt::intc_course, .lo = FPL_NO_CONSTRAINT, .hi = 360.0},
};

static bool record_in_range(const FlightPlanWpt& rec) {
  for (const FieldRange& r : kFieldRanges)
    if (!(rec.*r.field >= r.lo && rec.*r.field <= r.hi)) return false;
  return true;
}

// A line that is no record (the end marker) is skipped; a record line with a number that
// does not read or lies out of range refuses the whole plan, so that a plan never loads
// with a waypoint missing.
enum RecordLine { RECORD_READ, RECORD_SKIPPED, RECORD_REFUSED };

// One record line: ident type lat lon [alt spd intc flyover cflag via segment role navaid].
static RecordLine parse_record_line(std::string_view line, FlightPlanWpt& rec) {
  std::vector<std::string> tok;
  std::size_t i = 0;
  while (i < line.size() && tok.size() < 14) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::size_t j = i;
    while (j < line.size() && line[j] != ' ' && line[j] != '\t') ++j;
    if (j > i) tok.emplace_back(line.substr(i, j - i));
    i = j;
  }
  clear_fpl_record(rec);
  if (!tok.empty()) decode_text(rec.ident, sizeof rec.ident, tok[0]);
  if (std::strcmp(rec.ident, FPL_END_IDENT) == 0) return RECORD_SKIPPED;
  if (tok.size() < 4 || tok.size() > 13 || !rec.ident[0]) return RECORD_REFUSED;
  decode_text(rec.type, sizeof rec.type, tok[1]);
  double* numbers[] = {&rec.lat, &rec.lon, &rec.alt_constraint, &rec.spd_constraint, &rec.intc_course};
  for (std::size_t k = 0; k < std::size(numbers) && k + 2 < tok.size(); ++k)
    if (!finite_number(tok[k + 2], *numbers[k])) return RECORD_REFUSED;
  int32_t* flags[] = {&rec.flyover, &rec.constraint_flag};
  for (std::size_t k = 0; k < std::size(flags) && k + 7 < tok.size(); ++k) {
    double v;
    if (!finite_number(tok[k + 7], v) || std::fabs(v) > 1e6) return RECORD_REFUSED;
    *flags[k] = v == 1.0 ? 1 : 0;
  }
  if (tok.size() > 9) decode_text(rec.via, sizeof rec.via, tok[9]);
  if (tok.size() > 10) decode_text(rec.segment, sizeof rec.segment, tok[10]);
  if (tok.size() > 11) decode_text(rec.role, sizeof rec.role, tok[11]);
  if (tok.size() > 12) decode_text(rec.navaid, sizeof rec.navaid, tok[12]);
  return record_in_range(rec) ? RECORD_READ : RECORD_REFUSED;
}

static constexpr std::size_t kMaxPlanLine = 300;

// Record `r` as its line (without the line end). False when the reader would not take
// the line back: a value out of range, a text with a control character, an empty ident.
static bool format_record_line(const FlightPlanWpt& r, std::string& line) {
  char buf[512];
  int n = std::snprintf(buf, sizeof buf, "%s %s %.6f %.6f %.0f %.0f %.1f %d %d %s %s %s %s",
                        encode_text(r.ident).c_str(), file_type(r.type), r.lat, r.lon, r.alt_constraint,
                        r.spd_constraint, r.intc_course, r.flyover, r.constraint_flag, encode_text(r.via).c_str(),
                        encode_text(r.segment).c_str(), encode_text(r.role).c_str(), encode_text(r.navaid).c_str());
  if (n <= 0 || static_cast<std::size_t>(n) > kMaxPlanLine) return false;
  line.assign(buf, n);
  for (char c : line)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  FlightPlanWpt back;
  return parse_record_line(line, back) == RECORD_READ;
}

// A name a save may write: one the stored list shows and a load finds again, a single
// file name with the plan extension (never a ".PLN").
static bool loadable_plan_name(const std::string& fn) {
  return has_extension(fn, ".rte") && fn.size() < sizeof(StoredPlan{}.name) && is_safe_file_name(fn);
}

int write_plan_file(const std::string& file_name) {
  if (!loadable_plan_name(file_name)) return 0;
  std::vector<std::string> lines;
  for (int i = 0; i <= fpl_active_last && i <= FPL_MAX_LAST; ++i) {
    FlightPlanWpt r = fpl_active[i];
    // The plan holds what was entered, never the predictions of the last flight.
    if (r.constraint_flag != 1 && r.predicted != 0) r.alt_constraint = r.spd_constraint = FPL_NO_CONSTRAINT;
    if (!format_record_line(r, lines.emplace_back())) return 0;
  }
  std::error_code ec;
  std::string folder = plan_folder_path();
  std::filesystem::create_directories(folder, ec);
  // Written beside the plan and renamed over it once complete, so that a failed save
  // leaves the earlier file as it was. The working file's name holds a ":", which no plan
  // name can, so a file found under it is a stale one of an earlier save: removed, never
  // written through (it may be a link), and the new one is created exclusively.
  std::string path = find_plan_file(folder, file_name);
  if (std::filesystem::exists(std::filesystem::symlink_status(path, ec)) && !replaceable_plan_file(path)) return 0;
  std::string part = path + ":saving";
  std::filesystem::remove(part, ec);
  int fd = ::open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  std::FILE* f = fd >= 0 ? ::fdopen(fd, "w") : nullptr;
  if (!f) {
    if (fd >= 0) ::close(fd);
    return 0;
  }
  bool ok = true;
  if (SaveFPLCruiseAlt == 1 && cruise_alt > 0 && cruise_alt <= kMaxCruiseAlt)
    ok = ok && std::fprintf(f, "CruiseAlt=%d\n", cruise_alt) > 0;
  if (plan_fuel > 0.0 && plan_fuel <= kMaxPlanFuel) ok = ok && std::fprintf(f, "Fuel=%.0f\n", plan_fuel) > 0;
  ok = ok && std::fprintf(f, "Records=%zu\n[FlightPlan]\n", lines.size()) > 0;
  for (const std::string& line : lines) ok = ok && std::fprintf(f, "%s\n", line.c_str()) > 0;
  if (std::fflush(f) != 0 || std::ferror(f)) ok = false;
  if (std::fclose(f) != 0) ok = false;
  if (ok) {
    // rename replaces the plan's own entry, a link included, never a file it points to.
    std::filesystem::rename(part, path, ec);
    if (ec) ok = false;
  }
  if (!ok) std::filesystem::remove(part, ec);
  // The stored-plan list shows the plan at once.
  if (ok) list_plan_files();
  return ok ? 1 : 0;
}

// The value of a "Key=value" line when the line begins with `key` ("CruiseAlt=", any case).
static bool key_value(std::string_view line, std::string_view key, std::string_view& value) {
  if (line.size() < key.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i)
    if (std::tolower((unsigned char)line[i]) != std::tolower((unsigned char)key[i])) return false;
  value = line.substr(key.size());
  return true;
}

// A value of the plan's head as the writer writes it: digits, a fraction only where
// `fraction` allows, from 0 to `max`. "17000ft", "-5" or twenty digits do not read.
static bool head_number(std::string_view text, bool fraction, double max, double& v) {
  std::size_t digits = 0, i = 0;
  for (; i < text.size() && std::isdigit((unsigned char)text[i]); ++i) ++digits;
  if (fraction && i < text.size() && text[i] == '.')
    for (++i; i < text.size() && std::isdigit((unsigned char)text[i]); ++i) ++digits;
  if (digits == 0 || digits > 15 || i != text.size()) return false;
  v = std::strtod(std::string(text).c_str(), nullptr);
  return v <= max;
}

// The keys of the plan's head, with what each reads.
struct HeadKey {
  const char* key;
  bool fraction;
  double max;
};
static constexpr HeadKey kCruiseKey = {.key = "CruiseAlt=", .fraction = false, .max = kMaxCruiseAlt};
static constexpr HeadKey kFuelKey = {.key = "Fuel=", .fraction = true, .max = kMaxPlanFuel};
// The number of records the plan holds, written so that a file cut at a line end is known.
static constexpr HeadKey kRecordsKey = {.key = "Records=", .fraction = false, .max = FPL_MAX_LAST + 1};

int parse_plan_text(const char* data, std::size_t size, int& cruise, double& fuel, int* refused_line,
                    std::string* refused_key) {
  clear_fpl_scan();
  cruise = 0;
  fuel = 0.0;
  int line_no = 0;
  int records = -1;  // none given
  auto refuse = [&] {
    clear_fpl_scan();
    if (refused_line) *refused_line = line_no;
    return 0;
  };
  if (refused_line) *refused_line = 0;
  if (refused_key) refused_key->clear();
  bool in_plan = false;
  bool has_plan = false;
  std::size_t pos = byte_order_mark_size(data, size);
  std::string_view line;
  bool ended = true;
  while (next_text_line(data, size, pos, line, ended)) {
    ++line_no;
    // The writer ends every line: a last line without its end is a file cut short, its last
    // number perhaps cut with it ("-12" of "-122.5975").
    if (!ended) return refuse();
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.empty() || line[0] == ';') continue;
    if (line.size() > kMaxPlanLine) {
      if (!in_plan) continue;
      return refuse();
    }
    if (line[0] == '[') {
      std::string s(line);
      for (char& c : s) c = (char)std::tolower((unsigned char)c);
      in_plan = s == "[flightplan]";
      has_plan = has_plan || in_plan;
      continue;
    }
    if (!in_plan) {
      // A value that does not read whole refuses the plan by its key: never another cruise
      // level or fuel than the file gives.
      for (const HeadKey* k : {&kCruiseKey, &kFuelKey, &kRecordsKey}) {
        std::string_view value;
        double v = 0.0;
        if (!key_value(line, k->key, value)) continue;
        if (!head_number(value, k->fraction, k->max, v)) {
          if (refused_key) refused_key->assign(k->key, std::strlen(k->key) - 1);
          return refuse();
        }
        if (k == &kCruiseKey) cruise = (int)v;
        if (k == &kFuelKey) fuel = v;
        if (k == &kRecordsKey) records = (int)v;
        break;
      }
      continue;
    }
    // A control byte would cut a text where it stands ("DUB\0A" read as "DUB").
    if (std::any_of(line.begin(), line.end(), [](char c) { return ((unsigned char)c < 0x20 && c != '\t') || c == 0x7F; }))
      return refuse();
    FlightPlanWpt rec;
    RecordLine read = parse_record_line(line, rec);
    if (read == RECORD_SKIPPED) continue;
    // A record that does not read, or more records than a plan holds.
    if (read == RECORD_REFUSED || fpl_scan_last >= FPL_MAX_LAST) return refuse();
    fpl_scan[++fpl_scan_last] = rec;
    set_end_record(fpl_scan[fpl_scan_last + 1]);
  }
  // A plan that holds fewer records than its head gives was cut at a line end.
  if (has_plan && records >= 0 && records != fpl_scan_last + 1) return refuse();
  // A file without its plan section (empty, binary, another kind of file) is no plan.
  return has_plan ? 1 : 0;
}

void post_plan_refusal(const std::string& path, int refused_line, const std::string& key) {
  if (refused_line < 0) return;
  add_module_message("File '" + path + "' refused: " +
                     (refused_line > 0 ? "line " + std::to_string(refused_line) : std::string("no plan")) +
                     (key.empty() ? "" : ", " + key));
}

void scanned_plan_to_edit() {
  clear_fpl_edit();
  for (int i = 0; i <= fpl_scan_last; ++i) fpl_edit[i] = fpl_scan[i];
  fpl_edit_last = fpl_scan_last;
  set_end_record(fpl_edit[fpl_edit_last + 1]);
  fpl_edit_dest_index = -1;
  for (int i = fpl_edit_last; i >= 1; --i)
    if (std::strcmp(fpl_edit[i].type, "APT") == 0) {
      fpl_edit_dest_index = i;
      break;
    }
  // Holds belong to the plan they were made on.
  for (int h = 1; h <= hold_count; ++h) hold_list[h].edit_wpt = 0;
  sync_hold_numbers();
}

int read_plan_file(const std::string& path, int& cruise, double& fuel, int* refused_line, std::string* refused_key) {
  clear_fpl_scan();
  if (refused_line) *refused_line = -1;
  if (refused_key) refused_key->clear();
  std::string text;
  if (!read_regular_file(path, kMaxPlanFileBytes, text)) return 0;
  return parse_plan_text(text.data(), text.size(), cruise, fuel, refused_line, refused_key);
}

// Plan file `path` of name `fn` into fpl_scan: a ".PLN" by its own reader (no cruise
// altitude or fuel), any other by the plan-file reader.
static int read_stored_plan(const std::string& path, const std::string& fn, int& cruise, double& fuel,
                            int* refused_line, std::string* refused_key) {
  if (!is_sim_plan(fn)) return read_plan_file(path, cruise, fuel, refused_line, refused_key);
  cruise = 0;
  fuel = 0.0;
  return read_pln_file(path, refused_line);
}

// The plan file of `name` in the folder, matched without regard to case.
static std::string find_plan_file(const std::string& folder, const std::string& name) {
  std::error_code ec;
  std::string exact = folder + name;
  if (std::filesystem::is_regular_file(exact, ec)) return exact;
  for (auto it = std::filesystem::directory_iterator(folder, ec); !ec && it != std::filesystem::directory_iterator();
       it.increment(ec)) {
    std::string fn = it->path().filename().string();
    if (fn.size() == name.size() &&
        std::equal(fn.begin(), fn.end(), name.begin(), [](char a, char b) {
          return std::tolower((unsigned char)a) == std::tolower((unsigned char)b);
        }))
      return it->path().string();
  }
  return exact;
}

int load_plan_file(const std::string& name, int flag) {
  if (name == "NEXT FPL" || name == "NEW FPL") {
    clear_fpl_edit();
    plan_cruise_alt = 0;
    plan_fuel = 0.0;
    return 1;
  }
  plan_loader_flag = 1;
  int cruise = 0;
  double fuel = 0.0;
  int refused_line = -1;
  std::string refused_key;
  std::string path = is_safe_file_name(name) ? find_plan_file(plan_folder_path(), name) : std::string();
  int ok = !path.empty() && read_stored_plan(path, name, cruise, fuel, &refused_line, &refused_key);
  plan_loader_flag = 0;
  // A cruise level the aircraft cannot fly, as on the units' pages: refused by its key.
  if (ok && cruise > 0 && !cruise_level_within(cruise, fpl_scan_last >= 0 ? &fpl_scan[0] : nullptr)) {
    clear_fpl_scan();
    fpl_message = "Unable to load FP";
    add_module_message("File '" + path + "' refused: CruiseAlt=" + std::to_string(cruise) + " out of range");
    return 0;
  }
  if (!ok) {
    fpl_message = "Unable to load FP";
    post_plan_refusal(path, refused_line, refused_key);
    // A link to nothing opens as a missing file would; it is told as a link loop is.
    std::error_code ec;
    if (refused_line < 0 && !path.empty() && std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec)) &&
        std::filesystem::status(path, ec).type() == std::filesystem::file_type::not_found)
      post_file_refusal(path, "unreadable");
    return 0;
  }
  scanned_plan_to_edit();
  plan_cruise_alt = cruise;
  plan_fuel = fuel;
  if (cruise > 0) cruise_alt = cruise;
  return 1;
}

// What a listing reads of each plan: its first and its last bytes, where its origin and its
// destination stand; never the whole file, so that a folder of large or damaged files lists
// within a frame.
static constexpr std::size_t kListingEndBytes = 4096;

// The first and the last kListingEndBytes of `file` (`tail` empty when `head` holds it whole),
// read as they are, without a buffer's read-ahead.
static bool read_plan_ends(std::FILE* file, std::uintmax_t size, std::string& head, std::string& tail) {
  auto read_at = [fd = ::fileno(file)](std::string& text, std::size_t bytes, std::uintmax_t offset) {
    text.assign(bytes, '\0');
    ssize_t n = ::pread(fd, text.data(), bytes, static_cast<off_t>(offset));
    if (n < 0) return false;
    text.resize(static_cast<std::size_t>(n));
    return true;
  };
  tail.clear();
  if (size <= 2 * kListingEndBytes) return read_at(head, static_cast<std::size_t>(size), 0);
  return read_at(head, kListingEndBytes, 0) && read_at(tail, kListingEndBytes, size - kListingEndBytes);
}

// The first word of a record line as the plan-file reader takes it.
static std::string record_ident(std::string_view line) {
  std::string word(line.substr(0, line.find_first_of(" \t")));
  char ident[sizeof FlightPlanWpt{}.ident];
  decode_text(ident, sizeof ident, word);
  return ident;
}

// Origin and destination of a plan file from its first bytes `head` and its last bytes
// `tail` (empty when `head` is the whole file): the first and the last record lines found.
void rte_summary(std::string_view head, std::string_view tail, std::string& first, std::string& last) {
  first.clear();
  last.clear();
  auto scan = [&](std::string_view text, bool in_plan, bool partial) {
    std::size_t pos = byte_order_mark_size(text.data(), text.size());
    std::string_view line;
    bool ended = true;
    for (bool top = true; next_text_line(text.data(), text.size(), pos, line, ended); top = false) {
      while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
      if ((top && partial) || line.empty() || line[0] == ';') continue;
      if (line[0] == '[') {
        in_plan = line.size() >= 12 && std::equal(line.begin(), line.begin() + 12, "[flightplan]",
                                                   [](char a, char b) { return std::tolower((unsigned char)a) == b; });
        continue;
      }
      std::string ident = record_ident(line);
      if (!in_plan || ident.empty() || ident == FPL_END_IDENT) continue;
      if (first.empty() && !partial) first = ident;
      last = ident;
    }
  };
  scan(head, false, false);
  if (!tail.empty()) {
    last.clear();
    scan(tail, true, true);
  }
}

// Files a listing opens at most, listed or refused: a folder of entries that are no plan
// lists in the time of two full lists.
static constexpr int kListingMaxOpens = 2 * (STORED_PLAN_CAPACITY - 2);

// The plans folder's entries of a plan's extension, by name and whether each is a folder,
// as the folder listing gives them (no file opened). A plans folder that is no folder, or
// an entry whose name no load would find, is told once.
static std::vector<std::pair<std::string, bool>> plan_folder_entries(const std::string& folder) {
  std::vector<std::pair<std::string, bool>> names;
  std::error_code ec;
  std::filesystem::path dir = std::filesystem::path(folder).parent_path();
  std::filesystem::file_status st = std::filesystem::status(dir, ec);
  if (ec && ec != std::errc::no_such_file_or_directory) {
    post_file_refusal_once(dir.string(), "unreadable");  // a link loop, a folder that may not be read
    return names;
  }
  if (std::filesystem::exists(st) && !std::filesystem::is_directory(st)) {
    post_file_refusal_once(dir.string(), "not a folder");
    return names;
  }
  for (auto it = std::filesystem::directory_iterator(dir, ec); !ec && it != std::filesystem::directory_iterator();
       it.increment(ec)) {
    std::string fn = it->path().filename().string();
    if (!has_extension(fn, ".rte") && !is_sim_plan(fn)) continue;
    if (fn.size() >= sizeof(StoredPlan{}.name) || !is_safe_file_name(fn)) {
      post_file_refusal_once(folder + fn, "not a plan name");
      continue;
    }
    std::error_code type_ec;
    names.emplace_back(fn, it->is_directory(type_ec) && !it->is_symlink(type_ec));
  }
  return names;
}

void list_plan_files() {
  std::string folder = plan_folder_path();
  // Names only here: a file is looked at when it is listed.
  std::vector<std::pair<std::string, bool>> names = plan_folder_entries(folder);
  std::sort(names.begin(), names.end());
  stored_plan_count = 0;
  refused_plan_names.clear();
  std::string head, tail, first, last;
  int opens = 0;
  for (const auto& [fn, is_folder] : names) {
    if (stored_plan_count >= STORED_PLAN_CAPACITY - 2) break;  // one slot stays for "NEW FPL"
    // A folder is refused by its listed type, never opened.
    if (is_folder) {
      refused_plan_names.push_back(fn);
      continue;
    }
    if (opens++ == kListingMaxOpens) {
      post_module_message_once(folder + "*", "Plans folder '" + folder + "': entries past the first " +
                                                 std::to_string(kListingMaxOpens) + " opened not listed");
      break;
    }
    // A FIFO, folder, device or link to none is no plan; a file too large is never loaded.
    const char* refusal = nullptr;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(open_regular_file(folder + fn, kMaxPlanFileBytes, refusal),
                                                         std::fclose);
    struct stat st {};
    if (!file || ::fstat(::fileno(file.get()), &st) != 0 ||
        !read_plan_ends(file.get(), static_cast<std::uintmax_t>(st.st_size), head, tail)) {
      refused_plan_names.push_back(fn);
      continue;
    }
    if (is_sim_plan(fn)) pln_summary(head, tail, first, last);
    else rte_summary(head, tail, first, last);
    StoredPlan& e = stored_plans[++stored_plan_count];
    std::memset(&e, 0, sizeof e);
    fpl_set_text(e.name, fn);
    fpl_set_text(e.first_ident, first);
    fpl_set_text(e.last_ident, last);
  }
  StoredPlan& e = stored_plans[++stored_plan_count];
  std::memset(&e, 0, sizeof e);
  fpl_set_text(e.name, kNewPlanRowName);
  fpl_set_text(e.first_ident, "NEXT FPL");
  gnsxls_plan_list_pages = (stored_plan_count + 7) / 8;
}

int find_stored_plan(std::string_view entry) {
  if (entry.empty()) return 0;
  auto same = [](std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
             return std::tolower((unsigned char)x) == std::tolower((unsigned char)y);
           });
  };
  const int count = std::min(stored_plan_count, STORED_PLAN_CAPACITY - 1);
  // A plan saved under the new-plan row's name is the one loaded: the row comes after the files.
  for (bool row : {false, true})
    for (const std::string& name : {std::string(entry), std::string(entry) + ".RTE", std::string(entry) + ".PLN"})
      for (int i = 1; i <= count; ++i)
        if ((std::strcmp(stored_plans[i].name, kNewPlanRowName) == 0) == row && same(stored_plans[i].name, name))
          return i;
  for (int i = 1; i <= count; ++i)
    if (std::string_view(stored_plans[i].name).size() >= entry.size() &&
        same(std::string_view(stored_plans[i].name).substr(0, entry.size()), entry))
      return i;
  return 0;
}

bool stored_plan_refused(std::string_view entry) {
  if (entry.empty()) return false;
  for (const std::string& fn : refused_plan_names)
    if (fn.compare(0, entry.size(), entry) == 0) {
      // Told by name: the unit's own line says only that it cannot be loaded.
      const char* refusal = nullptr;
      std::string path = plan_folder_path() + fn;
      std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(open_regular_file(path, kMaxPlanFileBytes, refusal),
                                                           std::fclose);
      if (!file) post_file_refusal(path, refusal ? refusal : "unreadable");
      return true;
    }
  return false;
}

void load_plan_fuel(double fuel) {
  if (!(fuel > 0.0) || !std::isfinite(fuel)) return;
  host_set_fuel_total_gallons(fuel / kFuelLbPerGallon);
}

int load_and_activate_plan_file(int request) {
  plan_load_request = 0;
  plan_loaded_airport_ident.clear();
  if (request < 1 || request > 3) return 0;
  if (!load_plan_file(plan_load_name, 0)) return 0;
  if (fpl_edit_last < 0) return 0;
  activate_route();
  dto_active = 0;
  text_cdu_auto_apt = 1;
  if (LoadFuelonFlightPlanLoad == 1 && plan_fuel > 0.0) load_plan_fuel(plan_fuel);
  int last = fpl_active_last;
  plan_loaded_airport_ident =
      std::strcmp(fpl_active[last].type, "APT") == 0 ? fpl_active[last].ident : fpl_active[0].ident;
  return 1;
}
