// Writing files and finding the program's own directory, on the real platform.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/process.h"
#include "support/win_test_support.h"

namespace pavrelin {
namespace {

using namespace std::string_literals;

Bytes B(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Restores the test's current directory, which a case moves.
class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const std::string& directory) {
    GetCurrentDirectoryA(MAX_PATH, old_);
    SetCurrentDirectoryA(directory.c_str());
  }
  ~ScopedCurrentDirectory() { SetCurrentDirectoryA(old_); }

 private:
  char old_[MAX_PATH];
};

bool IsEmptyDirectory(const std::string& directory) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool empty = true;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") empty = false;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return empty;
}

class WriteBytesFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ =
        test::FreshDirectory(::testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  void Plant(const std::string& path, const std::string& content) {
    const Bytes bytes = B(content);
    ASSERT_TRUE(WriteBytesFile(path, {&bytes}));
    ASSERT_EQ(test::ReadFileBytes(path), content);
  }
  std::string directory_;
};

TEST_F(WriteBytesFileTest, OneEmptyPartLeavesAnEmptyFile) {
  const std::string existing = directory_ + "\\existing.exe";
  Plant(existing, "an older and longer content");
  const Bytes empty;
  EXPECT_TRUE(WriteBytesFile(existing, {&empty}));
  EXPECT_TRUE(test::FileExists(existing));
  EXPECT_EQ(test::ReadFileBytes(existing), "");

  const std::string fresh = directory_ + "\\fresh.bat";
  EXPECT_TRUE(WriteBytesFile(fresh, {&empty}));
  EXPECT_TRUE(test::FileExists(fresh));
  EXPECT_EQ(test::ReadFileBytes(fresh), "");
}

TEST_F(WriteBytesFileTest, WritesThePartsInOrderOverWhatWasThere) {
  const std::string path = directory_ + "\\Del.bat";
  Plant(path, std::string(5000000, 'o'));  // longer than the new content
  std::string large(3000000, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 31 + i / 251);
  const Bytes first = B("@echo off\r\n删除\0zero"s), empty, middle = B(large),
              last = B("del %0\r\n\0"s);
  EXPECT_TRUE(WriteBytesFile(path, {&first, &empty, &middle, &last}));
  const std::string expected =
      std::string(first.begin(), first.end()) + large + std::string(last.begin(), last.end());
  const std::string written = test::ReadFileBytes(path);
  EXPECT_EQ(written.size(), expected.size());
  EXPECT_TRUE(written == expected);
}

TEST_F(WriteBytesFileTest, TakesARelativePathFromTheCurrentDirectory) {
  ScopedCurrentDirectory here(directory_);
  const Bytes content = B("PavrelinBate5");
  EXPECT_TRUE(WriteBytesFile("PavrelinBate5.exe", {&content}));
  EXPECT_EQ(test::ReadFileBytes(directory_ + "\\PavrelinBate5.exe"), "PavrelinBate5");
}

TEST_F(WriteBytesFileTest, FailsWithoutTouchingAnything) {
  const Bytes content = B("new");
  {
    ScopedCurrentDirectory here(directory_);
    EXPECT_FALSE(WriteBytesFile("", {&content}));
  }
  EXPECT_TRUE(IsEmptyDirectory(directory_)) << "the empty path created something";

  EXPECT_FALSE(WriteBytesFile(directory_ + "\\missing\\file.exe", {&content}));
  EXPECT_FALSE(test::FileExists(directory_ + "\\missing"));

  const std::string busy = directory_ + "\\busy.exe";
  Plant(busy, "in use");
  {
    HANDLE holder = CreateFileA(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteBytesFile(busy, {&content}));
    CloseHandle(holder);
  }
  EXPECT_EQ(test::ReadFileBytes(busy), "in use");
}

// where_am_i.exe, copied under another name into another folder and started
// from there, reports what SetUpRunDirectory recorded and where it stands.
struct WhereAmI {
  std::string run_directory;
  std::string executable_name;
  std::string current_directory;
};

WhereAmI RunCopyAt(const std::string& directory, const std::string& name) {
  const std::string copy = directory + "\\" + name;
  EXPECT_TRUE(CopyFileA((test::ExeDirectory() + "\\where_am_i.exe").c_str(), copy.c_str(), FALSE))
      << copy;
  const CapturedRun run = RunCommandCaptured("\"" + copy + "\"", kShowHidden, 20000);
  DeleteFileA(copy.c_str());
  EXPECT_EQ(run.end, CapturedRun::End::Exited);
  WhereAmI where;
  std::size_t at = 0;
  for (std::string* field :
       {&where.run_directory, &where.executable_name, &where.current_directory}) {
    const std::size_t end = run.output.find('\n', at);
    if (end == std::string::npos) break;
    *field = run.output.substr(at, end - at);
    at = end + 1;
  }
  return where;
}

TEST(RunDirectory, SplitsAtTheLastRealBackslash) {
  // 淺 and 刓 are 9C 5C and 84 5C in GBK: their second byte is a backslash's.
  const std::string parent = test::FreshDirectory("运行目录");
  const std::string directory = parent + "\\淺水 刓";
  ASSERT_TRUE(CreateDirectoryA(directory.c_str(), nullptr));
  const WhereAmI where = RunCopyAt(directory, "淺.exe");
  EXPECT_EQ(test::Hex(where.run_directory), test::Hex(directory));
  EXPECT_EQ(test::Hex(where.executable_name), test::Hex("淺.exe"));
  EXPECT_EQ(test::Hex(where.current_directory), test::Hex(directory));
}

TEST(RunDirectory, IsTheDriveAloneForTheRootButStandsInTheRoot) {
  const WhereAmI where = RunCopyAt("C:", "pavrelin-where-am-i.exe");
  EXPECT_EQ(where.run_directory, "C:");
  EXPECT_EQ(where.executable_name, "pavrelin-where-am-i.exe");
  EXPECT_EQ(where.current_directory, "C:\\");
}

TEST(TempDirectory, IsTheUsersTemporaryFolderWithItsBackslash) {
  const std::string temp = GetTempDirectory();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(test::FileExists(temp));

  const std::string own = test::FreshDirectory("临时");
  test::ScopedEnv tmp("TMP", own);
  EXPECT_EQ(GetTempDirectory(), own + "\\");
}

}  // namespace
}  // namespace pavrelin
