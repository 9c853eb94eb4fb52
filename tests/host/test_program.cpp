// The vek-host program: its exit status and messages.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

struct ProgramRun {
  int status;
  std::string out, err;
};

class HostProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/vek_host_program_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    write("panel.cfg", "[Window00]\nident=0\nvisible=1\ngauge00=fake!FAKE_ND, 0, 0, 200, 150\n"
                       "gauge01=fake!FAKE_SERVER, 0, 0, 1, 1\n");
  }

  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  void write(const std::string& name, const std::string& text) { std::ofstream(dir + "/" + name) << text; }

  std::string read(const std::string& name) {
    std::ifstream in(dir + "/" + name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  ProgramRun run(const std::string& args) {
    std::string cmd = std::string(VEK_HOST_PATH) + " " + args + " >" + dir + "/stdout.txt 2>" + dir + "/stderr.txt";
    int st = std::system(cmd.c_str());
    return ProgramRun{WIFEXITED(st) ? WEXITSTATUS(st) : -1, read("stdout.txt"), read("stderr.txt")};
  }

  std::string standard(const std::string& scenario) {
    return "--module " FAKE_GAU_PATH " --sim " + dir + " --panel " + dir + "/panel.cfg --scenario " + dir + "/" +
           scenario + " --out " + dir + "/out";
  }

  std::string dir;
};

}  // namespace

TEST_F(HostProgramTest, RunsAScenarioAndWritesItsFiles) {
  write("ok.txt", "run 2s\nevent 0x10338\nshot FAKE_ND nd.png\nlog run.log\n");
  ProgramRun r = run(standard("ok.txt") + " --verbose");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("frame 36 t=2.00s event 0x10338 0"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("0 expectations, 0 failed"), std::string::npos) << r.out;
  std::ifstream png(dir + "/out/nd.png");
  EXPECT_TRUE(png.good());
  EXPECT_NE(read("out/run.log").find("event 0x10338 0"), std::string::npos);
}

TEST_F(HostProgramTest, ExpectationsSeeTheLoadedModulesTextsAndAFailureExitsWithOne) {
  write("pass.txt", "run 1f\nexpect FAKE_ND \"TICK 1\"\nrun 1f\nexpect FAKE_ND \"TICK 2\"\n");
  ProgramRun r = run(standard("pass.txt"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("2 expectations, 0 failed"), std::string::npos) << r.out;
  write("expect.txt", "run 1f\nexpect FAKE_ND \"NOTHING LIKE THIS\"\nrun 1f\n");
  r = run(standard("expect.txt"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("expect.txt:2: expect FAKE_ND \"NOTHING LIKE THIS\": not drawn in the last draw"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.out.find("1 expectations, 1 failed"), std::string::npos) << r.out;
}

TEST_F(HostProgramTest, ABadLineOrUsageExitsWithTwoBeforeRunning) {
  write("bad.txt", "run 1f\nshot FAKE_ND ../../escape.png\n");
  ProgramRun r = run(standard("bad.txt"));
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("bad.txt:2: shot needs GAUGE FILE.png, a plain file name"), std::string::npos) << r.err;
  write("unknown.txt", "run 1f\nclick NO_SUCH_GAUGE 0\n");
  r = run(standard("unknown.txt"));
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("unknown.txt:2: no gauge NO_SUCH_GAUGE on the panel"), std::string::npos) << r.err;
  EXPECT_EQ(r.out.find("frames"), std::string::npos);  // nothing ran
  r = run("--sim " + dir);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("usage: vek-host"), std::string::npos);
  r = run(standard("ok.txt"));  // no such scenario
  EXPECT_EQ(r.status, 2);
}

TEST_F(HostProgramTest, VerbosePrintsWhatTheModuleRefused) {
  std::string sim = dir + "/sim";
  std::filesystem::copy(SAMPLE_SIM_DIR, sim, std::filesystem::copy_options::recursive);
  std::ofstream(sim + "/vek/navdata/apts.txt", std::ios::app) << "A BAD north 10 100 MALFORMED\n";
  std::string perf = sim + "/vek/Aircraft/Twinjet_perf.txt";
  std::filesystem::remove(perf);
  std::filesystem::create_directory(perf);
  write("one.txt", "run 1s\n");
  ProgramRun r = run("--module " VEK_GAU_PATH " --sim " + sim + " --panel " + sim + "/panel.cfg --scenario " + dir +
                     "/one.txt --out " + dir + "/out --verbose");
  EXPECT_EQ(r.status, 0) << r.err;
  for (const std::string& message : {std::string("message apts.txt '1' lines skipped as malformed"),
                                     "message File '" + perf + "' refused: not a regular file"})
    EXPECT_NE(r.out.find(message), std::string::npos) << message << "\n" << r.out;
}

// A flight on the C-17 panel, which keeps the trace file, with hostile files in the
// simulator folder: the run ends, nothing is written through a link, a byte-order mark and
// lone CR line ends in navs.txt load as plain lines.
TEST_F(HostProgramTest, HostileFilesNeitherHangTheFlightNorAreWrittenThrough) {
  namespace fs = std::filesystem;
  std::string sim = dir + "/sim";
  fs::copy(SAMPLE_SIM_DIR, sim, fs::copy_options::recursive);
  std::string settings = sim + "/vek/vek.cfg";
  std::ifstream settings_in(settings);
  std::stringstream settings_text;
  settings_text << settings_in.rdbuf();
  fs::create_symlink(settings, sim + "/vek1.log");
  fs::create_directories(sim + "/vek/FlightLog");
  fs::remove(sim + "/vek/FlightLog/fpl.log");
  ASSERT_EQ(mkfifo((sim + "/vek/FlightLog/fpl.log").c_str(), 0600), 0);
  std::string navs = sim + "/vek/navdata/navs.txt";
  std::ifstream navs_in(navs, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(navs_in)), std::istreambuf_iterator<char>());
  std::replace(text.begin(), text.end(), '\n', '\r');
  std::ofstream(navs, std::ios::binary) << "\xEF\xBB\xBF" << text;
  write("fly.txt", "run 3s\n");
  ProgramRun r = run("--module " VEK_GAU_PATH " --sim " + sim + " --panel " + sim + "/panel_c17.cfg --scenario " + dir +
                     "/fly.txt --out " + dir + "/out --verbose");
  EXPECT_EQ(r.status, 0) << r.err;
  std::ifstream after(settings);
  std::stringstream after_text;
  after_text << after.rdbuf();
  EXPECT_EQ(after_text.str(), settings_text.str());
  EXPECT_NE(r.out.find("message File '" + sim + "/vek1.log' refused: not a regular file"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("navs.txt"), std::string::npos) << r.out;  // no line skipped, records read
}

// Hostile files through the host, a row per file and kind: the module refuses each and
// tells it (vek-host --verbose prints the module's messages), keeps what it had, and never
// writes through a second name of the settings file.
TEST_F(HostProgramTest, EveryHostileFileIsRefusedAndTold) {
  namespace fs = std::filesystem;
  // The Smiths CDU: the stored plan KSEAKPDX as company route, activated and executed.
  const std::string activate =
      "click SMITHS_FMS 1\nrun 2f\ntype SMITHS_FMS KSEAKPDX\nclick SMITHS_FMS 15\nrun 2f\n"
      "click SMITHS_FMS 24\nrun 2f\nclick SMITHS_FMS 68\nrun 3s\n";
  const std::string save = "click SMITHS_FMS 0\nrun 2f\nclick SMITHS_FMS 23\nrun 2f\n";
  auto append = [](const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::app) << text;
  };
  struct Row {
    std::string what;
    std::function<void(const std::string& sim)> prepare;
    std::string panel;
    std::string scenario;
    std::vector<std::string> messages;  // "SIM" stands for the simulator folder
    std::function<void(const std::string& sim)> check;
  };
  const Row rows[] = {
      {"fpl.log, a second name of the settings file",
       [](const std::string& sim) {
         fs::create_directories(sim + "/vek/FlightLog");
         fs::remove(sim + "/vek/FlightLog/fpl.log");
         fs::create_hard_link(sim + "/vek/vek.cfg", sim + "/vek/FlightLog/fpl.log");
       },
       "panel.cfg", activate, {"File 'SIM/vek/FlightLog/fpl.log' refused: more than one link"}, nullptr},
      {"vek1.log, a second name of the settings file",
       [](const std::string& sim) { fs::create_hard_link(sim + "/vek/vek.cfg", sim + "/vek1.log"); }, "panel_c17.cfg",
       "run 1s\n", {"File 'SIM/vek1.log' refused: more than one link"}, nullptr},
      {"vek.cfg, a sequencing time of ten minutes",
       [&](const std::string& sim) { append(sim + "/vek/vek.cfg", "WptProcChgSecs=600\n"); }, "panel.cfg",
       activate + "click SMITHS_FMS 5\nrun 2f\nexpect SMITHS_FMS \"ALKIS\"\n",
       {"WptProcChgSecs=600 out of range, ignored"}, nullptr},
      {"vek.cfg, a transition altitude of 1e308",
       [&](const std::string& sim) { append(sim + "/vek/vek.cfg", "TransAlt=1e308\n"); }, "panel.cfg", "run 1f\n",
       {"TransAlt=1e308 out of range, ignored"}, nullptr},
      {"aircraft file, nan and -1e308",
       [&](const std::string& sim) {
         append(sim + "/vek/Aircraft/Twinjet.cfg", "MaxVnavClimbRate=nan\nClimbMach=-1e308\nV2=1e309\n");
       },
       "panel.cfg", "run 1f\n",
       {"MaxVnavClimbRate=nan out of range, ignored", "ClimbMach=-1e308 out of range, ignored",
        "V2=1e309 out of range, ignored"},
       nullptr},
      {"performance tables, a nan row",
       [&](const std::string& sim) { append(sim + "/vek/Aircraft/Twinjet_perf.txt", "[CLIMB]\n41000 nan 500 3900\n"); },
       "panel.cfg", "run 1f\n", {"Twinjet_perf.txt '1' lines skipped as out of range"}, nullptr},
      {"stored plan, cut in its last number",
       [](const std::string& sim) {
         std::string path = sim + "/vek/flightplans/KSEAKPDX.RTE";
         std::ifstream in(path);
         std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
         text.resize(text.find("KPDX APT 45.588722 -12") + 22);
         std::ofstream(path, std::ios::trunc) << text;
       },
       "panel.cfg",
       "click SMITHS_FMS 1\nrun 2f\ntype SMITHS_FMS KSEAKPDX\nclick SMITHS_FMS 15\nrun 2f\n"
       "expect SMITHS_FMS \"Unable to load FP\"\n",
       {}, nullptr},
      {"aircraft file, 500 refused lines beside a FIFO in the navigation folder",
       [&](const std::string& sim) {
         ASSERT_EQ(mkfifo((sim + "/vek/navdata/ints_user.txt").c_str(), 0600), 0);
         std::string lines;
         for (int i = 0; i < 500; ++i) lines += "V2=" + std::to_string(100000 + i) + "\n";
         append(sim + "/vek/Aircraft/Twinjet.cfg", lines);
       },
       "panel.cfg", "run 1f\n",
       {"File 'SIM/vek/navdata/ints_user.txt' refused: not a regular file", "V2=100000 out of range, ignored",
        "Twinjet.cfg '495' more lines refused"},
       nullptr},
      {"a plans folder of 300 damaged simulator plans of 40 KB",
       [](const std::string& sim) {
         std::string text = "[flightplan]\nwaypoint.0=, KSEA, , KSEA, A, N47* 26.94', W122* 18.56', +433\n;" +
                            std::string(40000, ' ') + "\nwaypoint.1=, K" + std::string(1, '\0') + "PDX, , X\n";
         for (int i = 0; i < 300; ++i) {
           char name[24];
           std::snprintf(name, sizeof name, "P%03d.PLN", i);
           std::ofstream(sim + "/vek/flightplans/" + name, std::ios::binary) << text;
         }
       },
       "panel.cfg",
       "click SMITHS_FMS 1\nrun 2f\ntype SMITHS_FMS P000\nclick SMITHS_FMS 15\nrun 2f\n"
       "expect SMITHS_FMS \"Unable to load FP\"\n",
       {"File 'SIM/vek/flightplans/P000.PLN' refused: line 4"}, nullptr},
      {"plan names that cannot be loaded back, and a pilot's .part file",
       [](const std::string& sim) { std::ofstream(sim + "/vek/flightplans/KSEAKPDX.RTE.part") << "mine\n"; },
       "panel.cfg",
       activate + save + "type SMITHS_FMS EVIL.\nclick SMITHS_FMS 24\nrun 2f\n" +
           "expect SMITHS_FMS \"EVIL. Unable to Save\"\nclick SMITHS_FMS 66\nrun 2f\n" +
           "type SMITHS_FMS X.Y.Z\nclick SMITHS_FMS 24\nrun 2f\n" +
           "expect SMITHS_FMS \"X.Y.Z Unable to Save\"\nclick SMITHS_FMS 66\nrun 2f\n" +
           "type SMITHS_FMS KSEAKPDX\nclick SMITHS_FMS 24\nrun 2f\nexpect SMITHS_FMS \"KSEAKPDX.RTE Saved\"\n",
       {},
       [](const std::string& sim) {
         std::ifstream in(sim + "/vek/flightplans/KSEAKPDX.RTE.part");
         std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
         EXPECT_EQ(text, "mine\n");
         EXPECT_FALSE(fs::exists(sim + "/vek/flightplans/EVIL."));
         EXPECT_FALSE(fs::exists(sim + "/vek/flightplans/X.Y.Z"));
       }},
  };
  for (const Row& row : rows) {
    std::string sim = dir + "/sim";
    fs::remove_all(sim);
    fs::copy(SAMPLE_SIM_DIR, sim, fs::copy_options::recursive);
    row.prepare(sim);
    std::string settings = read("sim/vek/vek.cfg");
    write("hostile.txt", "set lat 47.44\nset lon -122.31\nrun 2s\n" + row.scenario);
    ProgramRun r = run("--module " VEK_GAU_PATH " --sim " + sim + " --panel " + sim + "/" + row.panel +
                       " --scenario " + dir + "/hostile.txt --out " + dir + "/out --verbose");
    EXPECT_EQ(r.status, 0) << row.what << "\n" << r.err;
    for (std::string message : row.messages) {
      if (std::size_t at = message.find("SIM"); at != std::string::npos) message.replace(at, 3, sim);
      EXPECT_NE(r.out.find("message " + message), std::string::npos) << row.what << ": " << message;
    }
    EXPECT_EQ(read("sim/vek/vek.cfg"), settings) << row.what;
    if (row.check) row.check(sim);
  }
}
