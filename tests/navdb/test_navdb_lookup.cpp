#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "navdb_test_util.h"

TEST(NavdbAirportBlock, OriginGetsRunwaysAndSids) {
  load_sample_database();
  nav_search_count = 7;
  fix_match_count = 5;
  ASSERT_EQ(load_airport_block("KSEA", 1), 1);
  const AptBlock& b = apt_blocks[1];
  EXPECT_STREQ(b.ident, "KSEA");
  EXPECT_STREQ(b.name, "SEATTLE-TACOMA INTL");
  EXPECT_STREQ(b.elev, "433");
  EXPECT_EQ(loaded_apt_elev_text, "433");
  EXPECT_EQ(b.rwy_count, 6);
  EXPECT_EQ(b.rwy_name_count, 6);
  EXPECT_STREQ(b.rwy_names[6], "34L");
  ASSERT_EQ(b.proc_name_count, 2);
  EXPECT_STREQ(b.proc_names[1], "ALKI1");
  EXPECT_STREQ(b.proc_names[2], "JAWBN2");
  ASSERT_EQ(b.proc_count, 3);
  EXPECT_STREQ(b.procs[2].runway, "16R");
  EXPECT_EQ(b.procs[1].leg_count, 4);
  EXPECT_STREQ(b.procs[1].legs[1].fix, "ALKIS");
  EXPECT_STREQ(b.procs[1].legs[1].transition, "");
  EXPECT_STREQ(b.procs[1].legs[4].transition, "ELN");
  EXPECT_DOUBLE_EQ(b.procs[1].legs[1].alt, 4000.0);
  EXPECT_DOUBLE_EQ(b.procs[1].legs[2].spd, -999.0);
  EXPECT_EQ(b.appr_count, 0);  // approaches belong to the destination
  // The airport is candidate 1 of the search list.
  EXPECT_EQ(nav_search_count, 1);
  EXPECT_EQ(fix_match_count, 5);  // the candidate count is the caller's
  EXPECT_STREQ(nav_search_list[1].ident, "KSEA");
  EXPECT_STREQ(nav_search_list[1].type, "APT");
  EXPECT_DOUBLE_EQ(nav_search_list[1].lat, 47.449);
}

TEST(NavdbAirportBlock, DestinationGetsStarsTransitionsAndApproaches) {
  load_sample_database();
  ASSERT_EQ(load_airport_block("KPDX  ", 2), 1);  // typed ident with trailing blanks
  const AptBlock& b = apt_blocks[2];
  EXPECT_EQ(b.rwy_count, 6);
  ASSERT_EQ(b.proc_name_count, 1);
  EXPECT_STREQ(b.proc_names[1], "HELNS5");
  EXPECT_EQ(b.proc_count, 2);
  ASSERT_EQ(b.trans_count, 2);
  EXPECT_STREQ(b.trans_names[1], "OLM");
  EXPECT_STREQ(b.trans_names[2], "UBG");
  ASSERT_EQ(b.appr_count, 2);
  EXPECT_STREQ(b.appr_names[1], "I10R");
  EXPECT_STREQ(b.appr_runways[1], "10R");
  EXPECT_STREQ(b.appr_names[2], "R28L");
  ASSERT_EQ(b.appr_block_count, 2);
  const ProcBlock& ils = b.appr_blocks[1];
  EXPECT_EQ(ils.leg_count, 7);
  EXPECT_STREQ(ils.transition, "HELNS");
  EXPECT_STREQ(ils.legs[4].fix, "TOWNI");
  EXPECT_STREQ(ils.legs[4].role, "FAF");
  EXPECT_DOUBLE_EQ(ils.legs[4].alt, 2600.0);
  EXPECT_DOUBLE_EQ(ils.legs[4].spd, 180.0);
  EXPECT_STREQ(ils.legs[6].role, "MAP");
  EXPECT_STREQ(ils.legs[7].role, "HP");
}

TEST(NavdbAirportBlock, UnknownAirportOrSlotChangesNothing) {
  load_sample_database();
  ASSERT_EQ(load_airport_block("KSEA", 1), 1);
  EXPECT_EQ(load_airport_block("KXXX", 1), 0);
  EXPECT_EQ(load_airport_block("", 1), 0);
  EXPECT_EQ(load_airport_block("KPDX", 0), 0);
  EXPECT_EQ(load_airport_block("KPDX", 5), 0);
  EXPECT_EQ(load_airport_block("KPDX", -999), 0);
  EXPECT_EQ(load_airport_block("ksea", 1), 0);  // idents match exactly
  EXPECT_STREQ(apt_blocks[1].ident, "KSEA");
  EXPECT_EQ(apt_blocks[1].proc_count, 3);
}

TEST(NavdbAirportBlock, RunwayNameListStopsAtTwelve) {
  std::string text = "A KBIG 1 1 1 BIG\n";
  for (int i = 1; i <= 22; ++i) text += "R " + std::to_string(i) + " 100 1 1 90 - - 270\n";
  load_apts_text(text);
  ASSERT_EQ(load_airport_block("KBIG", 3), 1);
  EXPECT_EQ(apt_blocks[3].rwy_count, 22);
  EXPECT_EQ(apt_blocks[3].rwy_name_count, apt_rwy_name_limit);
  EXPECT_STREQ(apt_blocks[3].rwy_names[12], "12");
  EXPECT_EQ(apt_block_add_rwy_name(apt_blocks[3], "99"), 0);
  EXPECT_EQ(apt_blocks[3].rwy_name_count, 12);
}

TEST(NavdbAirportBlock, ProcedureListsStopAtTheirCapacity) {
  std::string text;
  for (int i = 1; i <= apt_proc_block_limit + 20; ++i) {
    text += "P KAAA S" + std::to_string(i) + " ALL\nL T" + std::to_string(i) + " F 1 1 - - -\n";
  }
  load_apts_text("A KAAA 1 1 1 A\n");
  load_procs_text(text, proc_kind_star);
  ASSERT_EQ(load_airport_block("KAAA", 2), 1);
  EXPECT_EQ(apt_blocks[2].proc_count, apt_proc_block_limit);
  EXPECT_EQ(apt_blocks[2].proc_name_count, apt_proc_name_limit);
  EXPECT_EQ(apt_blocks[2].trans_count, apt_trans_limit);
}

TEST(NavdbPlanAirportInfo, LoadsRunwaysTextsAndPostsMessage) {
  load_sample_database();
  load_plan_airport_info("KSEA", 1);
  EXPECT_EQ(loaded_rwy_count, 6);
  EXPECT_EQ(loaded_rwy_base, 1);
  EXPECT_EQ(loaded_rwy_index, -999);
  EXPECT_EQ(plan_apt_ident, "KSEA");
  EXPECT_EQ(loaded_apt_elev_text, "433");
  EXPECT_EQ(dest_info_loaded_1, "ATIS 118.00 CLNC 128.00");
  EXPECT_EQ(dest_info_loaded_2, "ACTIVE RWYS 16L 16C 16R");
  EXPECT_STREQ(loaded_rwy_table[6].ident, "34L");
  EXPECT_EQ(loaded_rwy_table[6].right_pattern, 1);
  EXPECT_EQ(count_messages("APT 'KSEA' Set"), 1);

  // The table is a copy: what a display does to it leaves the database alone, and the
  // next load restores it.
  loaded_rwy_table[2].lat = 0.0;
  load_plan_airport_info("KSEA", 0);
  EXPECT_DOUBLE_EQ(loaded_rwy_table[2].lat, 47.4312);

  load_plan_airport_info("KOLM", 2);  // no information lines
  EXPECT_EQ(loaded_rwy_count, 2);
  EXPECT_EQ(dest_info_loaded_1, "");
  EXPECT_EQ(dest_info_loaded_2, "");
}

TEST(NavdbPlanAirportInfo, UnknownAirportEmptiesTheTable) {
  load_sample_database();
  load_plan_airport_info("KSEA", 1);
  int messages = module_message_count;
  load_plan_airport_info("NONE", 1);
  EXPECT_EQ(loaded_rwy_count, 0);
  EXPECT_EQ(plan_apt_ident, "");
  EXPECT_EQ(dest_info_loaded_1, "");
  EXPECT_EQ(module_message_count, messages);
}

TEST(NavdbAirways, LoadsFixesInSequenceOrder) {
  load_sample_database();
  load_airways_file("#V23 ");
  EXPECT_EQ(airway_name, "V23");
  ASSERT_EQ(fix_match_count, 8);
  EXPECT_STREQ(nav_search_list[1].ident, "BTG");
  EXPECT_STREQ(nav_search_list[1].type, "V");  // a VOR on the airway
  EXPECT_STREQ(nav_search_list[1].freq, "116.60");
  EXPECT_STREQ(nav_search_list[2].type, "I");
  EXPECT_STREQ(nav_search_list[2].freq, "");
  EXPECT_STREQ(nav_search_list[2].extra, "V23");
  EXPECT_STREQ(nav_search_list[3].ident, "OLM");
  EXPECT_STREQ(nav_search_list[8].ident, "BLI");
  EXPECT_EQ(airway_start_index, 1);
  EXPECT_EQ(airway_end_index, 1);
  EXPECT_EQ(gnsxls_airway_choice, 1);
  EXPECT_EQ(find_airway_index("OLM"), 3);
  EXPECT_EQ(find_airway_index("BLI"), 8);
  EXPECT_EQ(find_airway_index("HQM"), 0);  // on V4, not V23
  EXPECT_EQ(find_airway_index(""), 0);

  load_airways_file("UV1");  // from the user twin
  EXPECT_EQ(fix_match_count, 2);
  load_airways_file("#NOPE");
  EXPECT_EQ(fix_match_count, 0);
  EXPECT_EQ(airway_start_index, 0);
  EXPECT_EQ(find_airway_index("OLM"), 0);
  load_airways_file("#");
  EXPECT_EQ(fix_match_count, 0);
}

TEST(NavdbAirways, LongAirwayStopsAtTheSearchListCapacityInOrder) {
  std::string text;
  for (int i = 300; i >= 1; --i) text += "J1 " + std::to_string(i) + " F" + std::to_string(i) + " 1 1\n";
  text += "J1 10 F10 1 1\n";  // listed twice
  load_awys_text(text);
  load_airways_file("J1");
  EXPECT_EQ(fix_match_count, 250);
  EXPECT_STREQ(nav_search_list[1].ident, "F51");  // the 250 first lines are seq 300..51
  EXPECT_STREQ(nav_search_list[250].ident, "F300");
}

TEST(NavdbAirways, ALegRunsOnTheChainThatHoldsBothFixes) {
  // A1: P1 P2, a break, then Q1 P2 Q3 (P2 on both chains); lines in any order, two bad ones.
  EXPECT_EQ(load_awys_text("A1 30 Q1 2 1\nA1 10 P1 1 1\nA1 25 -\nA1 20 P2 1 2\nA1 40 P2 2 2\n"
                           "A1 50 Q3 2 3\nA1 x -\nA1 60 - 1 1\n").skipped, 2);
  load_airways_file("A1");
  ASSERT_EQ(fix_match_count, 5);
  struct Row {
    const char *entry, *exit;
    int start, end;
  };
  for (const Row& row : {Row{"P1", "P2", 1, 2}, Row{"P2", "Q3", 4, 5}, Row{"Q3", "Q1", 5, 3}, Row{"P1", "Q3", 0, 0},
                         Row{"P1", "P1", 0, 0}}) {
    int start = -1, end = -1;
    EXPECT_EQ(find_airway_leg(row.entry, row.exit, start, end), row.start > 0) << row.entry << row.exit;
    EXPECT_EQ(start * 10 + end, row.start * 10 + row.end) << row.entry << row.exit;
  }
  EXPECT_EQ(airway_same_chain(1, 2) * 10 + airway_same_chain(2, 3) + airway_same_chain(3, 6), 10);
}

TEST(NavdbSearch, FindsEveryTableInOrderAndStopsAt250) {
  load_sample_database();
  EXPECT_EQ(search_nav_ident("OLM", 0), 1);
  EXPECT_STREQ(nav_search_list[1].type, "V");
  EXPECT_STREQ(nav_search_list[1].freq, "113.40");
  EXPECT_EQ(search_nav_ident("KPDX", 1), 0);
  EXPECT_EQ(search_nav_ident("KPDX", 3), 1);
  EXPECT_EQ(search_nav_ident("HELNS", 2), 1);
  EXPECT_EQ(search_nav_ident("nothing", 0), 0);
  EXPECT_EQ(search_nav_ident("  ", 0), 0);
  EXPECT_EQ(fix_match_count, 0);

  std::string text;
  for (int i = 1; i <= 300; ++i) text += "DUP " + std::to_string(i * 0.1) + " 1\n";
  load_ints_text(text);
  load_navs_text("DUP N 5 5 300 DUP NDB\n");
  EXPECT_EQ(search_nav_ident("DUP", 0), 250);
  EXPECT_STREQ(nav_search_list[1].type, "N");  // navaids first
  EXPECT_NEAR(nav_search_list[2].lat, 0.1, 1e-9);  // then intersections in table order
  EXPECT_NEAR(nav_search_list[250].lat, 24.9, 1e-9);
}

TEST(NavdbSearch, NextDuplicateStepsThroughTheCandidates) {
  load_ints_text("ABC 1 1\nXYZ 2 2\nABC 3 3\n");
  load_navs_text("ABC V 4 4 110.00 ABC VOR\n");
  ASSERT_EQ(search_nav_ident("ABC", 0), 3);
  EXPECT_EQ(nav_search_count, 1);
  EXPECT_EQ(select_next_duplicate(2), 1);
  EXPECT_EQ(nav_search_count, 2);
  EXPECT_EQ(select_next_duplicate(2), 1);
  EXPECT_DOUBLE_EQ(nav_search_list[nav_search_count].lat, 3.0);
  EXPECT_EQ(select_next_duplicate(2), 0);
  EXPECT_EQ(nav_search_count, 3);
  search_nav_ident("none", 0);
  EXPECT_EQ(select_next_duplicate(1), 0);
}

TEST(NavdbVekAirports, FindsTheWordPairOnTheAirportLine) {
  load_sample_database();
  EXPECT_EQ(lookup_vek_airport("KSEA", "16R"), 1);
  EXPECT_EQ(refnav_runway_data, "8500");
  EXPECT_EQ(lookup_vek_airport("KSEA", "99"), 0);
  EXPECT_EQ(refnav_runway_data, "8500");
  EXPECT_EQ(lookup_vek_airport("KXXX", "16R"), 0);
  EXPECT_EQ(lookup_vek_airport("KSEA", "11901"), 0);  // a second word is not a key

  sim_root_path = std::string(VEK_NAVDB_TEST_DIR) + "/edge";
  EXPECT_EQ(lookup_vek_airport("KAAA", "09"), 1);  // the first line of the airport counts
  EXPECT_EQ(refnav_runway_data, "5000");
  EXPECT_EQ(lookup_vek_airport("KAAA", "27"), 0);  // a word without a partner
  EXPECT_EQ(lookup_vek_airport("KBBB", "KBBB"), 0);
  sim_root_path = "/nonexistent-navdb-root";
  EXPECT_EQ(lookup_vek_airport("KSEA", "16R"), 0);
}

TEST(NavdbVekAirports, FileIsReadAgainOnlyWhenItChanges) {
  std::string root = std::filesystem::temp_directory_path() / "navdb_vek_apts";
  std::string file = root + "/vek/navdata/vek_apts.txt";
  std::filesystem::create_directories(root + "/vek/navdata");
  std::ofstream(file) << "KAAA 09 5000\n";
  sim_root_path = root;
  EXPECT_EQ(lookup_vek_airport("KAAA", "09"), 1);
  auto when = std::filesystem::last_write_time(file);
  std::ofstream(file) << "KAAA 09 6000\n";
  std::filesystem::last_write_time(file, when);  // same size and time: not read again
  EXPECT_EQ(lookup_vek_airport("KAAA", "09") && refnav_runway_data == "5000", true);
  std::ofstream(file) << "KAAA 09 7000 27 7000\n";
  EXPECT_EQ(lookup_vek_airport("KAAA", "27") && refnav_runway_data == "7000", true);
  // A changed file larger than a look-up reads is read a piece per look-up; the file as it
  // was answers until the new one is read whole.
  std::string big;
  while (big.size() < 2 * vek_apts_piece_bytes + 1000) big += "KBBB 09 1000 27 1000 18 1000 36 1000\n";
  std::ofstream(file) << big << "KAAA 09 9000\n";
  int pieces = 1;
  for (; lookup_vek_airport("KAAA", "09") && refnav_runway_data == "7000" && pieces < 10; ++pieces) {
  }
  EXPECT_EQ(pieces, 3);
  EXPECT_EQ(refnav_runway_data, "9000");
  std::filesystem::remove_all(root);
  EXPECT_EQ(lookup_vek_airport("KAAA", "09"), 0);
}

namespace {

// Lines "<prefix><k> 09 <base + k>" for k from 0 to count - 1.
std::string numbered_airports(const char* prefix, int count, int base) {
  std::string text;
  for (int k = 0; k < count; ++k) text += prefix + std::to_string(k) + " 09 " + std::to_string(base + k) + "\n";
  return text;
}

}  // namespace

// A changed file read a piece per look-up answers each airport's first line once read whole,
// however many airports it holds and wherever a repeated airport falls.
TEST(NavdbVekAirports, ChangedFileAnswersEachAirportsFirstLine) {
  struct Ask {
    const char* airport;
    const char* entry;
    const char* value;  // nullptr: not found
  };
  struct Row {
    const char* name;
    std::string text;
    std::vector<Ask> asks;
  };
  const Row rows[] = {
      {"a hundred thousand airports, then the first thousand again",
       numbered_airports("A", 100000, 0) + numbered_airports("A", 1000, 200000),
       {{"A0", "09", "0"}, {"A7", "09", "7"}, {"A999", "09", "999"}, {"A1000", "09", "1000"},
        {"A99999", "09", "99999"}, {"A100000", "09", nullptr}, {"A20000", "27", nullptr}}},
      {"each airport repeated while the index grows",
       numbered_airports("B", 2000, 0) + numbered_airports("B", 2000, 10000) + numbered_airports("B", 2000, 20000),
       {{"B0", "09", "0"}, {"B767", "09", "767"}, {"B768", "09", "768"}, {"B1999", "09", "1999"}}},
      {"a CR LF line end split between two reads",
       ";" + std::string(65534, 'x') + "\r\n" + numbered_airports("C", 20000, 0),
       {{"C0", "09", "0"}, {"C19999", "09", "19999"}}},
      {"one line longer than a look-up reads, without a line end",
       [] {
         std::string line = "KZZZ 09 1000";
         while (line.size() < 2 * vek_apts_piece_bytes) line += " 27 2000";
         return line;
       }(),
       {{"KZZZ", "27", "2000"}, {"KZZZ", "09", "1000"}, {"KZZ", "09", nullptr}}},
      {"words that are not an airport's first word",
       "  KSEA\t16L 11901 34R 11901  \r\n; KXXX 09 1000\r\nKSEAX 16L 2000\rKSE 16L 3000\n\nKBFI 14R 3710",
       {{"KSEA", "34R", "11901"}, {"KSE", "16L", "3000"}, {"KSEAX", "16L", "2000"}, {"KBFI", "14R", "3710"},
        {"KXXX", "09", nullptr}, {"KSEA 16L", "11901", nullptr}, {"16L", "11901", nullptr}, {"", "16L", nullptr},
        {"KSEA ", "16L", "11901"}}},
  };
  const std::string root = std::filesystem::temp_directory_path() / "navdb_vek_apts_changed";
  int n = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    // A folder of its own: the file a look-up opens is new to it.
    const std::string folder = root + "/" + std::to_string(++n);
    std::filesystem::create_directories(folder + "/vek/navdata");
    std::ofstream(folder + "/vek/navdata/vek_apts.txt", std::ios::binary) << row.text;
    sim_root_path = folder;
    const Ask& first = row.asks.front();
    int lookups = 1;
    for (; !lookup_vek_airport(first.airport, first.entry) && lookups < 100; ++lookups) {
    }
    // The look-up that reads the file's end answers from it.
    EXPECT_EQ(lookups, static_cast<int>(row.text.size() / vek_apts_piece_bytes) + 1);
    for (const Ask& ask : row.asks) {
      refnav_runway_data = "none";
      EXPECT_EQ(lookup_vek_airport(ask.airport, ask.entry), ask.value ? 1 : 0) << ask.airport << " " << ask.entry;
      EXPECT_EQ(refnav_runway_data, ask.value ? ask.value : "none") << ask.airport << " " << ask.entry;
    }
  }
  std::filesystem::remove_all(root);
}
