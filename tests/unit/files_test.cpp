#include "platform/files.h"

#include <gtest/gtest.h>

namespace pavrelin {
namespace {

TEST(SplitExecutablePath, SplitsAtTheLastRealBackslash) {
  // 淺 is 9C 5C and 刓 is 84 5C in GBK: their second byte is not a backslash.
  const struct Case {
    std::string path;
    std::string run_directory;
    std::string executable_name;
  } cases[] = {
      {"C:\\a\\b\\app.exe", "C:\\a\\b", "app.exe"},
      {"C:\\app.exe", "C:", "app.exe"},
      {"app.exe", "", "app.exe"},
      {"", "", ""},
      {"C:\\a\\", "C:\\a", ""},
      {"C:\\淺\\app.exe", "C:\\淺", "app.exe"},
      {"C:\\工具\\淺.exe", "C:\\工具", "淺.exe"},
      {"C:\\刓淺.exe", "C:", "刓淺.exe"},
      {"淺.exe", "", "淺.exe"},
      {"\\\\server\\share\\app.exe", "\\\\server\\share", "app.exe"},
      // A lone lead byte at the very end has no trail byte to hide.
      {"C:\\a\\\x9C", "C:\\a", "\x9C"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const ExecutablePath split = SplitExecutablePath(c.path);
    EXPECT_EQ(split.run_directory, c.run_directory);
    EXPECT_EQ(split.executable_name, c.executable_name);
  }
}

}  // namespace
}  // namespace pavrelin
