// The shared settings-line grammar, the number readers and the line reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "guidance/config_line.h"

namespace {

struct Split {
  bool applies;
  std::string key, value;
};

Split split(const std::string& line) {
  Split s;
  s.applies = split_config_line(line, s.key, s.value);
  return s;
}

}  // namespace

TEST(ConfigLine, KeyAndValueAroundTheFirstEquals) {
  Split s = split("WptChgDist=2.5");
  EXPECT_TRUE(s.applies);
  EXPECT_EQ(s.key, "WptChgDist");
  EXPECT_EQ(s.value, "2.5");

  // Only the first "=" splits; a later one stays in the value.
  s = split("FlightPlansFolder=a=b");
  EXPECT_EQ(s.key, "FlightPlansFolder");
  EXPECT_EQ(s.value, "a=b");
}

TEST(ConfigLine, BlanksAroundTheEqualsSpoilTheKey) {
  Split s = split("WptChgDist = 2.5");
  EXPECT_EQ(s.key, "WptChgDist*");
  EXPECT_EQ(s.value, " 2.5");  // the leading "*" turns back into a blank
}

TEST(ConfigLine, ValuesKeepInnerBlanksAndTabsSplitWords) {
  EXPECT_EQ(split("ParkingFile=my parking file.txt").value, "my parking file.txt");
  EXPECT_EQ(split("ParkingFile=a\tb").value, "a");
  EXPECT_EQ(split("WeightUnit=kgs\r").value, "kgs");
}

TEST(ConfigLine, CommentsBlankLinesAndKeysAlone) {
  EXPECT_FALSE(split(";WptChgDist=2.5").applies);
  EXPECT_FALSE(split(";").applies);
  // A ";" later in the line is no comment.
  EXPECT_EQ(split(" ;WptChgDist=2.5").key, "*;WptChgDist");

  Split blank = split("");
  EXPECT_TRUE(blank.applies);
  EXPECT_EQ(blank.key, "");
  EXPECT_EQ(blank.value, "");

  Split alone = split("SequenceFPlanWpts");
  EXPECT_EQ(alone.key, "SequenceFPlanWpts");
  EXPECT_EQ(alone.value, "");
}

TEST(ConfigNumbers, IntegersFromTheStart) {
  EXPECT_EQ(config_int("42"), 42);
  EXPECT_EQ(config_int(" -7x"), -7);
  EXPECT_EQ(config_int("12.9"), 12);
  EXPECT_EQ(config_int("abc"), 0);
  EXPECT_EQ(config_int(""), 0);
  EXPECT_EQ(config_int("-"), 0);
  EXPECT_EQ(config_int("99999999999999999999"), 2147483647);
  EXPECT_EQ(config_int("-99999999999999999999"), -2147483647 - 1);
}

TEST(ConfigNumbers, DecimalsWholeAndNothingNotFinite) {
  EXPECT_DOUBLE_EQ(config_float("2.5"), 2.5);
  EXPECT_DOUBLE_EQ(config_float(" -0.5 "), -0.5);
  EXPECT_DOUBLE_EQ(config_float(" -0.5nm"), 0.0);  // not one number whole
  EXPECT_DOUBLE_EQ(config_float(".25"), 0.25);
  EXPECT_DOUBLE_EQ(config_float("1e3"), 1000.0);
  EXPECT_DOUBLE_EQ(config_float("3e"), 0.0);
  EXPECT_DOUBLE_EQ(config_float("+4"), 4.0);
  EXPECT_DOUBLE_EQ(config_float("x1"), 0.0);
  EXPECT_DOUBLE_EQ(config_float("."), 0.0);
  EXPECT_DOUBLE_EQ(config_float("nan"), 0.0);
  EXPECT_DOUBLE_EQ(config_float("inf"), 0.0);
  EXPECT_DOUBLE_EQ(config_float("0x10"), 0.0);
  EXPECT_DOUBLE_EQ(config_float("1e999"), 0.0);
}

TEST(ConfigNumbers, TruncationStaysInRange) {
  EXPECT_EQ(config_int_of_float("233.9"), 233);
  EXPECT_EQ(config_int_of_float("-233.9"), -233);
  EXPECT_EQ(config_int_of_float("1e12"), 2147483647);
  EXPECT_EQ(config_int_of_float("-1e12"), -2147483647 - 1);
}

TEST(ConfigLineReader, TheRestOfAnOverlongLineIsDropped) {
  std::string text = std::string(350, 'a') + "\nshort\r\n" + std::string(299, 'b') + "\n\nlast";
  std::FILE* f = fmemopen(text.data(), text.size(), "rb");
  ASSERT_NE(f, nullptr);
  std::string line;
  for (const std::string& want : {std::string(299, 'a'), std::string("short"), std::string(299, 'b'),
                                  std::string(), std::string("last")}) {
    ASSERT_TRUE(read_limited_line(f, 299, line));
    EXPECT_EQ(line, want);
  }
  EXPECT_FALSE(read_limited_line(f, 299, line));
  std::fclose(f);
}
