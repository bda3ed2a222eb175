// Replacing several files together: every file is written out and synced
// before any of them is put in place.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include <stdlib.h>
#include <unistd.h>

#include "record_writer.h"

namespace {

class WriterSyncTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "sync-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void put(const std::string& name, const std::string& text) const {
    std::ofstream(path(name), std::ios::binary) << text;
  }
  std::string get(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  int files_in_dir() const {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      (void)entry;
      ++n;
    }
    return n;
  }
  std::filesystem::path dir_;
};

TEST_F(WriterSyncTest, SyncedFilesReplaceTheOldOnesOnlyAtClose) {
  put("a.obs", "old a\n");
  put("a.del", "old d\n");
  velko::RecordWriter list(path("a.obs"), 13);
  velko::RecordWriter log(path("a.del"), 14, velko::RecordWriter::Mode::Append);
  list.write_record("new a");
  log.write_record("new d");
  list.sync();
  log.sync();
  EXPECT_EQ(get("a.obs"), "old a\n");
  EXPECT_EQ(get("a.del"), "old d\n");
  log.close();
  list.close();
  EXPECT_EQ(get("a.obs"), "new a\n");
  EXPECT_EQ(get("a.del"), "old d\nnew d\n");
  EXPECT_EQ(files_in_dir(), 2);  // no temporary file left
  EXPECT_THROW(list.write_record("late"), std::logic_error);
}

TEST_F(WriterSyncTest, ASyncedWriterNeverClosedLeavesTheOldFileAndNoTemporary) {
  put("b.obs", "old b\n");
  {
    velko::RecordWriter list(path("b.obs"), 13);
    list.write_record("new b");
    list.sync();
    EXPECT_THROW(list.write_record("after sync"), std::logic_error);
  }
  EXPECT_EQ(get("b.obs"), "old b\n");
  EXPECT_EQ(files_in_dir(), 1);
}

}  // namespace
