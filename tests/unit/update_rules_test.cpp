#include "update/update_rules.h"

#include <gtest/gtest.h>

namespace pavrelin {
namespace {

TEST(IsUpdateOffered, OnlyTheExactTextOne) {
  const std::pair<std::string, bool> cases[] = {
      {"1", true},
      {"1\r\n", false},
      {"1\n", false},
      {"1 ", false},
      {" 1", false},
      {"01", false},
      {"\xEF\xBB\xBF"
       "1",
       false},
      {"", false},
      {"<html><body>404 Not Found</body></html>", false},
      {"2", false},
      {"11", false},
  };
  for (const auto& [text, offered] : cases) EXPECT_EQ(IsUpdateOffered(text), offered) << text;
}

Bytes Program(std::size_t size, std::uint32_t header_at) {
  Bytes bytes(size, 0);
  bytes[0] = 'M';
  bytes[1] = 'Z';
  for (int i = 0; i < 4; ++i) bytes[60 + i] = static_cast<unsigned char>(header_at >> (8 * i));
  if (std::uint64_t{header_at} + 4 <= size) {
    bytes[header_at] = 'P';
    bytes[header_at + 1] = 'E';
  }
  return bytes;
}

TEST(LooksLikeWindowsProgram, NeedsMzAndAPeHeaderInside) {
  EXPECT_TRUE(LooksLikeWindowsProgram(Program(128, 64)));
  EXPECT_TRUE(LooksLikeWindowsProgram(Program(68, 64)));  // header ends exactly at the end
  EXPECT_FALSE(LooksLikeWindowsProgram(Program(67, 64))) << "header cut off";
  Bytes short_program = Program(64, 40);
  short_program.pop_back();
  EXPECT_FALSE(LooksLikeWindowsProgram(short_program)) << "under 64 bytes";
  EXPECT_FALSE(LooksLikeWindowsProgram({})) << "empty";
  EXPECT_FALSE(LooksLikeWindowsProgram(Program(128, 0xFFFFFFFF))) << "offset past the end";
  EXPECT_FALSE(LooksLikeWindowsProgram(Program(128, 0xFFFFFFFE))) << "offset wraps around";
  Bytes html(200, ' ');
  const std::string page = "<html>404</html>";
  std::copy(page.begin(), page.end(), html.begin());
  EXPECT_FALSE(LooksLikeWindowsProgram(html));
  Bytes no_pe = Program(128, 64);
  no_pe[66] = 'X';  // "PEX\0"
  EXPECT_FALSE(LooksLikeWindowsProgram(no_pe));
  Bytes zm = Program(128, 64);
  zm[0] = 'Z';
  EXPECT_FALSE(LooksLikeWindowsProgram(zm));
}

TEST(NewBuildPath, OneBackslashBeforeTheName) {
  EXPECT_EQ(NewBuildPath("D:\\tools"), "D:\\tools\\PavrelinBate5.exe");
  EXPECT_EQ(NewBuildPath("C:"), "C:\\PavrelinBate5.exe");
}

TEST(SelfDeleteScript, IsTheThreeLinesByteForByte) {
  const std::string plain_delay =
      "echo wscript.sleep 1 >%temp%\\delay.vbs&&%temp%\\delay.vbs&&del /q %temp%\\delay.vbs";
  const std::string quoted_delay =
      "echo wscript.sleep 1 >\"%temp%\\delay.vbs\"&&\"%temp%\\delay.vbs\"&&del /q "
      "\"%temp%\\delay.vbs\"";
  const char* plain_temp = "C:\\users\\wine\\Temp\\";
  struct Case {
    const char* what;
    std::string name;
    std::string temp;
    std::string expected;
  } const cases[] = {
      {"plain", "app.exe", plain_temp, plain_delay + "\r\ndel app.exe\r\ndel %0"},
      {"blank in name", "my app.exe", plain_temp, plain_delay + "\r\ndel \"my app.exe\"\r\ndel %0"},
      {"ampersand in name", "a&b.exe", plain_temp, plain_delay + "\r\ndel \"a&b.exe\"\r\ndel %0"},
      {"each special", "x(1)!,;=^%.exe", plain_temp,
       plain_delay + "\r\ndel \"x(1)!,;=^%.exe\"\r\ndel %0"},
      {"GBK name", "软件.exe", plain_temp, plain_delay + "\r\ndel 软件.exe\r\ndel %0"},
      {"blank in temp", "app.exe", "C:\\Documents and Settings\\wine\\Temp\\",
       quoted_delay + "\r\ndel app.exe\r\ndel %0"},
      {"both", "a b.exe", "C:\\a&b\\", quoted_delay + "\r\ndel \"a b.exe\"\r\ndel %0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(SelfDeleteScript(c.name, c.temp), c.expected);
  }
  EXPECT_EQ(plain_delay.size(), 81u);
  EXPECT_EQ(SelfDeleteScript("app.exe", plain_temp).size(), 102u);
  EXPECT_EQ(SelfDeleteScript("PavrelinTool.exe", plain_temp).size(), 95u + 16u);
}

TEST(SelfDeleteScript, ATrailByteIsNotACaret) {
  // 0x5E is "^" in ASCII but the second byte of some GBK characters.
  const std::string name = "\x81\x5E.exe";
  EXPECT_EQ(SelfDeleteScript(name, "C:\\t\\").substr(83), "del " + name + "\r\ndel %0");
}

}  // namespace
}  // namespace pavrelin
