#include "editor/scratch_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "format/file_io.h"

namespace {

namespace fs = std::filesystem;

class ScratchFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              (std::string("mv_scratch_") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string In(const char* name) const { return (folder_ / name).string(); }
  static std::vector<uint8_t> Read(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadFileBytes(path, bytes)) << path;
    return bytes;
  }
  fs::path folder_;
};

TEST_F(ScratchFile, WrittenOverRenamedAndRemovedWhenItGoes) {
  const std::vector<uint8_t> one{1}, two{2, 2};
  std::string kept;
  {
    TScratchFile file;
    EXPECT_EQ(file.Path(), "");
    file.Write(In("a.skn"), one);
    file.Write(In("a.skn"), two);
    EXPECT_EQ(Read(In("a.skn")), two);
    // Another name: the first file goes.
    file.Write(In("b.skn"), one);
    EXPECT_FALSE(FileExists(In("a.skn")));
    EXPECT_EQ(file.Path(), In("b.skn"));
    kept = file.Path();
    EXPECT_EQ(Read(kept), one);
  }
  EXPECT_FALSE(FileExists(kept));
}

TEST_F(ScratchFile, AFailedWriteKeepsTheFileBeforeAndRemoveIsSafeTwice) {
  TScratchFile file;
  const std::vector<uint8_t> one{1};
  file.Write(In("a.skn"), one);
  EXPECT_THROW(file.Write(In("no such folder/b.skn"), one), EFileError);
  EXPECT_EQ(file.Path(), In("a.skn"));
  EXPECT_EQ(Read(In("a.skn")), one);
  file.Remove();
  file.Remove();
  EXPECT_EQ(file.Path(), "");
  EXPECT_FALSE(FileExists(In("a.skn")));
}

TEST(ScratchPackageName, TwoEditorsAndTwoWindowsNeverShareAName) {
  EXPECT_NE(ScratchPackageName("tessaly_live", 10, 1), ScratchPackageName("tessaly_live", 11, 1));
  EXPECT_NE(ScratchPackageName("tessaly_live", 10, 1), ScratchPackageName("tessaly_live", 10, 2));
  EXPECT_NE(ScratchPackageName("tessaly_live", 1, 11), ScratchPackageName("tessaly_live", 11, 1));
  EXPECT_EQ(SafeFileName(ScratchPackageName("tessaly_live", 10, 1)),
            ScratchPackageName("tessaly_live", 10, 1));
}

}  // namespace
