#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

#include "record_reader.h"
#include "record_writer.h"

namespace velko {
namespace {

namespace fs = std::filesystem;

class RecordFiles : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("record_files_" + std::to_string(::getpid()) + "_" +
                                        testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const char* name) const { return (dir_ / name).string(); }
  static std::string slurp(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void put(const std::string& p, const std::string& content) {
    std::ofstream(p, std::ios::binary) << content;
  }
  fs::path dir_;
};

TEST_F(RecordFiles, ReadsLfAndCrlfAndALastRecordWithoutLineEnd) {
  put(path("a.txt"), "one\r\ntwo\n\nthree");
  RecordReader reader = RecordReader::open_file(path("a.txt") + "   ", 10);
  std::string text;
  std::vector<std::string> seen;
  while (reader.read_text(text, 5, Handled::EndOfFile) == Outcome::Done) seen.push_back(text);
  EXPECT_EQ(seen, (std::vector<std::string>{"one  ", "two  ", "     ", "three"}));
  EXPECT_EQ(reader.record_number(), 4);
}

TEST_F(RecordFiles, MissingFileIsCreatedEmptyOnOpen) {
  RecordReader reader = RecordReader::open_file(path("new.wdt"), 10);
  std::string_view record;
  EXPECT_EQ(reader.read_record(record, Handled::EndOfFile), Outcome::EndOfFile);
  EXPECT_TRUE(file_exists(path("new.wdt")));
  RecordReader other = RecordReader::open_file(path("absent.10"), 11, /*create_if_missing=*/false);
  EXPECT_EQ(other.read_record(record, Handled::EndOfFile), Outcome::EndOfFile);
  EXPECT_FALSE(file_exists(path("absent.10")));
}

TEST_F(RecordFiles, ReplaceAndAppendWriteCompleteFilesWithLineFeeds) {
  put(path("out.obs"), "old record 1\nold record 2\n");
  {
    RecordWriter writer(path("out.obs"), 20, RecordWriter::Mode::Replace);
    writer.write_formatted(Layout("(I4, F7.1)"), {std::int32_t{7}, 12.345f});
    // Until close() the old file is untouched.
    EXPECT_EQ(slurp(path("out.obs")), "old record 1\nold record 2\n");
    writer.close();
  }
  EXPECT_EQ(slurp(path("out.obs")), "   7   12.3\n");

  put(path("log.del"), "first\nsecond without line end");
  {
    RecordWriter writer(path("log.del"), 21, RecordWriter::Mode::Append);
    writer.write_record("third");
    writer.close();
  }
  EXPECT_EQ(slurp(path("log.del")), "first\nsecond without line end\nthird\n");

  {
    RecordWriter writer(path("fresh.del"), 22, RecordWriter::Mode::Append);
    writer.write_list({std::string_view("x"), std::int32_t{1}});
    writer.close();
  }
  EXPECT_EQ(slurp(path("fresh.del")), " x 1\n");
  // No temporary file is left beside them.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 3);
}

TEST_F(RecordFiles, AWriterDroppedBeforeCloseLeavesTheOldFile) {
  put(path("keep.obs"), "precious\n");
  {
    RecordWriter writer(path("keep.obs"), 20);
    writer.write_record("half");
  }
  EXPECT_EQ(slurp(path("keep.obs")), "precious\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 1);
}

TEST_F(RecordFiles, ReplacedFileKeepsItsPermissions) {
  put(path("mode.obs"), "x\n");
  fs::permissions(path("mode.obs"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  RecordWriter writer(path("mode.obs"), 20);
  writer.write_record("y");
  writer.close();
  EXPECT_EQ(fs::status(path("mode.obs")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(RecordFiles, ReaderReportsWhereTheBadRecordIs) {
  put(path("params.dat"), "1.0\n2.0\nbad\n");
  EXPECT_EXIT(
      {
        RecordReader reader = RecordReader::open_file(path("params.dat"), 10);
        double v = 0;
        for (int i = 0; i < 3; ++i) reader.read_list({&v}, Handled::Nothing);
      },
      testing::ExitedWithCode(2),
      "Fatal error: list-directed I/O syntax error, unit 10, file .*params.dat\n  at record 3: \"bad\"");
  put(path("params.dat"), "1.0\n2.0\n3.0\n");
  EXPECT_EXIT(
      {
        RecordReader reader = RecordReader::open_file(path("params.dat"), 10);
        double v = 0;
        for (int i = 0; i < 4; ++i) reader.read_list({&v}, Handled::Nothing);
      },
      testing::ExitedWithCode(2), "end-of-file during read, unit 10, file .*params.dat\n  the data end after record 3");
}

TEST_F(RecordFiles, OpenFailuresAreReported) {
  fs::create_directories(path("adir"));
  EXPECT_EXIT(RecordReader::open_file(path("adir"), 12), testing::ExitedWithCode(2),
              "open failure, unit 12, file .*adir");
  EXPECT_EXIT(RecordReader::open_file(path("no/such/dir/x.wdt"), 12), testing::ExitedWithCode(2),
              "open failure, unit 12");
  EXPECT_EXIT(RecordWriter(path("adir"), 13), testing::ExitedWithCode(2), "open failure, unit 13");
  EXPECT_EXIT(RecordWriter(path("no/such/dir/x.obs"), 13), testing::ExitedWithCode(2),
              "open failure, unit 13");
  EXPECT_EXIT(RecordWriter("   ", 13), testing::ExitedWithCode(2), "open failure, unit 13, file \n");
}

TEST_F(RecordFiles, OverLongRecordsAreCutNotKeptWhole) {
  std::string huge(3 << 20, 'x');
  put(path("long.txt"), "a\n" + huge + "\nb\n");
  RecordReader reader = RecordReader::open_file(path("long.txt"), 10);
  std::string_view record;
  ASSERT_EQ(reader.read_record(record, Handled::Nothing), Outcome::Done);
  EXPECT_EQ(record, "a");
  ASSERT_EQ(reader.read_record(record, Handled::Nothing), Outcome::Done);
  EXPECT_EQ(record.size(), 1u << 20);
  ASSERT_EQ(reader.read_record(record, Handled::Nothing), Outcome::Done);
  EXPECT_EQ(record, "b");
  EXPECT_EQ(reader.read_record(record, Handled::EndOfFile), Outcome::EndOfFile);
}

}  // namespace
}  // namespace velko
