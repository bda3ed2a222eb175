// Directory keys, model names and the records written for "width".
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "directory_keys.h"
#include "model_set.h"
#include "width_run.h"

namespace wavepick {
namespace {

std::string padded(const std::string& text) { return text + std::string(80 - text.size(), ' '); }

TEST(DirectoryKeys, PathsBelowVelko) {
  struct Case {
    const char* velko;  // nullptr: not set
    const char* key;
    std::string path;
  };
  const std::string long_home = "/" + std::string(89, 'h');
  const Case cases[] = {
      {nullptr, "KGF_DIR", padded("/kbgfdos")},
      {"", "VLK_DIR", padded("/exefiles")},
      {"  /opt/my velko  ", "VLK_DIR", padded("/opt/my velko/exefiles")},
      {"/opt/velko", " VELKO", padded("/opt/velko")},
      {"/opt/velko", "MOD_DIR", padded("/opt/velko/k2models")},
      {"/opt/velko", "SFX_DIR", padded("/opt/velko/sflxkpno")},
      {"/opt/velko", "DAT_DIR", padded("/opt/velko/miscdata")},
      {"/opt/velko/", "KGF_DIR", padded("/opt/velko//kbgfdos")},  // nothing added or removed
      {long_home.c_str(), "KGF_DIR", long_home.substr(0, 80)},   // cut at 80
  };
  for (const Case& c : cases) {
    if (c.velko == nullptr) {
      unsetenv("VELKO");
    } else {
      setenv("VELKO", c.velko, 1);
    }
    EXPECT_EQ(RETENV(c.key), c.path) << (c.velko ? c.velko : "(unset)") << ' ' << c.key;
  }
  unsetenv("VELKO");
}

TEST(DirectoryKeysDeathTest, UnknownKeyStops) {
  EXPECT_EXIT(RETENV("kgf_dir"), testing::ExitedWithCode(1), "");
  EXPECT_EXIT(RETENV("HOME"), testing::ExitedWithCode(1), "");
}

TEST(DirectoryKeys, DigitTest) {
  EXPECT_EQ(IFNUM("0"), 1);
  EXPECT_EQ(IFNUM("9abc"), 1);
  EXPECT_EQ(IFNUM(" 1"), 0);
  EXPECT_EQ(IFNUM("-1"), 0);
  EXPECT_EQ(IFNUM(""), 0);
}

TEST(ModelName, GridFormIsRecognised) {
  auto name60 = [](const std::string& s) { return s + std::string(60 - s.size(), ' '); };
  ModelName name;
  ASSERT_TRUE(parse_model_name(name60("t05750g444x+020m0"), name));
  EXPECT_EQ(name.t_field, "05750");
  EXPECT_EQ(name.g_field, "444");
  EXPECT_EQ(name.x_field, "+020");
  EXPECT_EQ(name.m_field, "0");
  for (const std::string bad : {"", "t05750g444x+020m", "t05750g444x+020m00", "T05750g444x+020m0",
                                "t05750h444x+020m0", "t05750g444y+020m0", "t05750g444x+020n0",
                                "t05750g444x+020 0"}) {
    EXPECT_FALSE(parse_model_name(name60(bad), name)) << '"' << bad << '"';
  }
  // Leading blanks: the letters are found from the first non-blank
  // character, the fields read from position 1 of the name.
  struct BlankLed {
    std::string name;
    std::string t, g, x, m;
  };
  const BlankLed blank_led[] = {
      {" t04000g150x-150m1", "t0400", "g15", "x-15", "m"},
      {"  t04000g150x-150m1", " t040", "0g1", "0x-1", "0"},
      {"      t04000g150x-150m1", "     ", "040", "0g15", "x"},
  };
  for (const BlankLed& c : blank_led) {
    ModelName fields;
    ASSERT_TRUE(parse_model_name(name60(c.name), fields)) << '"' << c.name << '"';
    EXPECT_EQ((std::vector<std::string>{fields.t_field, fields.g_field, fields.x_field,
                                        fields.m_field}),
              (std::vector<std::string>{c.t, c.g, c.x, c.m}))
        << '"' << c.name << '"';
    EXPECT_FALSE(model_parameters_supported(fields)) << '"' << c.name << '"';
    EXPECT_EQ(fields.idumt, kFieldNotRead);
  }
}

TEST(ModelName, CommandLinesOfTheThreePrograms) {
  ModelName name;
  ASSERT_TRUE(parse_model_name("t05750g444x+020m0", name));
  const auto runs = model_program_runs(name, "/suite dir/exefiles");
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].command_line, "/suite dir/exefiles/tolmar 05750 4.44 +0.20");
  EXPECT_EQ(runs[1].command_line, "/suite dir/exefiles/vessik 0");
  EXPECT_EQ(runs[2].command_line, "/suite dir/exefiles/quorra 05750 4.44 +0.20 0");
  EXPECT_EQ(runs[0].program, "/suite dir/exefiles/tolmar");
  EXPECT_EQ(runs[2].arguments, (std::vector<std::string>{"05750", "4.44", "+0.20", "0"}));
  ASSERT_TRUE(parse_model_name("t04000g150x-150m1", name));
  EXPECT_EQ(model_program_runs(name, "d")[0].command_line, "d/tolmar 04000 1.50 -1.50");
}

TEST(WidthRecords, LineCountAndResultRecord) {
  RunParameters parameters;
  parameters.xi = 1.2;
  parameters.abund = 7.5;
  const std::vector<std::string> model = {padded("m")};
  EXPECT_EQ(width_input_records(parameters, std::vector<std::string>(120, padded("l")), model)[4],
            "LINE 120");
  EXPECT_EQ(width_input_records(parameters, std::vector<std::string>(9999, padded("l")), model)[4],
            "LINE9999");

  WidthResult result;
  const double values[12] = {26.0, 5001.863, 3.882, -9.99, 8.18, -5.29, -7.27, 0, 1.2, 7.5, 45.25, 0};
  std::copy(std::begin(values), std::end(values), result.values);
  const std::string fnmodel = "t05750g444x+020m0" + std::string(43, ' ');
  const std::string record = result_record(result, fnmodel);
  EXPECT_EQ(record,
            " 26.00 5001.863 3.882-9.990  8.18 -5.29 -7.27   45.3 (v= 1.20 A=  7.50)         "
            "t05750g444x+020m0   ");
  EXPECT_EQ(record.size(), 100u);
  result.values[3] = -10.0;
  EXPECT_EQ(result_record(result, fnmodel).substr(21, 6), "-10.00");
}

}  // namespace
}  // namespace wavepick
