// Hostile names and keys for the set command of the real program: every one
// ends in the right box with the command line the recording netsh receives
// (or none), and the program is still there to take the next.
#include <gtest/gtest.h>

#include "support/app_under_test.h"
#include "support/win_test_support.h"

namespace pavrelin {
namespace {

using test::AppUnderTest;

constexpr char kBoxTitle[] = "信息：";
constexpr char kSetPrefix[] = "netsh wlan set hostednetwork mode=allow ssid=";
constexpr char kSetDone[] = "开启网卡成功！";
constexpr char kNotStarted[] = "开启网卡失败！\r\n无法运行 netsh。";
constexpr char kQuoteRefused[] = "WiFi账号和密码中不能含有英文双引号！";
// CreateProcess takes a command line of at most 32,767 characters, its
// terminating zero included.
constexpr std::size_t kLongestCommandLine = 32766;

HWND NameBox(HWND main) { return test::FindControlAt(main, "Edit", 50, 73); }
HWND KeyBox(HWND main) { return test::FindControlAt(main, "Edit", 50, 105); }

void Type(HWND edit, const std::string& text) {
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string Repeated(const std::string& piece, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

// The message GetWindowTextLength sends within a process; asked about another
// process's edit box, Wine's GetWindowTextLength answers 0.
int TextLength(HWND edit) { return static_cast<int>(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0)); }

// The set command line for a name and key as they stand on it.
std::string SetLine(const std::string& name, const std::string& key) {
  return kSetPrefix + name + " key=" + key;
}

// Clicks 开启网卡① and answers the box it brings; returns the box's text.
std::string SetAndAnswer(const AppUnderTest& app, HWND main) {
  HWND button = test::FindChildByText(main, "开启网卡①");
  if (!button) return "<no button>";
  PostMessageA(button, BM_CLICK, 0, 0);
  HWND box = app.WaitForBox(kBoxTitle, 20000);
  if (!box) return "<no box>";
  // A box exists before its text is set.
  std::string text;
  test::WaitUntil([&] { return !(text = test::MessageBoxText(box)).empty(); }, 5000);
  test::PressBoxButton(box, IDOK);
  test::WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5000);
  return text;
}

// True when the window's thread takes and answers a message within a second.
bool Answers(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result) != 0;
}

TEST(HostileInputEndToEnd, EveryNameAndKeyEndsInTheRightBoxAndCommandLine) {
  const std::string longest_name(kLongestCommandLine - SetLine("", "k").size(), 'n');
  struct Case {
    const char* what;
    std::string name;
    std::string key;
    std::string box;
    std::string command_line;  // empty: netsh must not run
  } const cases[] = {
      {"one byte each", "a", "k", kSetDone, SetLine("a", "k")},
      {"32-byte name, 63-byte key", std::string(32, 'n'), std::string(63, 'k'), kSetDone,
       SetLine(std::string(32, 'n'), std::string(63, 'k'))},
      {"63-byte name, 64-byte key", std::string(63, 'n'), std::string(64, 'f'), kSetDone,
       SetLine(std::string(63, 'n'), std::string(64, 'f'))},
      {"64-byte name", std::string(64, 'n'), "12345678", kSetDone,
       SetLine(std::string(64, 'n'), "12345678")},
      {"GBK text", "我的网络", "密码一二三四", kSetDone, SetLine("我的网络", "密码一二三四")},
      {"a name of blanks only", "   ", "12345678", kSetDone, SetLine("\"   \"", "12345678")},
      {"the command interpreter's characters", "a&b%c^d|e<f>g", "%PATH%&x|y^<z>", kSetDone,
       SetLine("a&b%c^d|e<f>g", "%PATH%&x|y^<z>")},
      {"tabs", "a\tb", "\t12345678", kSetDone, SetLine("\"a\tb\"", "\"\t12345678\"")},
      {"blank and tab", "my home\t", "pass word", kSetDone,
       SetLine("\"my home\t\"", "\"pass word\"")},
      // The single bytes at the ends of the code page: the euro sign and a
      // private-use character.
      {"0x80 and 0xFF", "\x80\xff", "12345678", kSetDone, SetLine("\x80\xff", "12345678")},
      {"control characters", "\x01\x1b\x7f", "k\x01\x1b\x7fk", kSetDone,
       SetLine("\x01\x1b\x7f", "k\x01\x1b\x7fk")},
      {"a double quote in the name", "a\"b", "12345678", kQuoteRefused, ""},
      {"a double quote in a long key", "home", std::string(100000, '"'), kQuoteRefused, ""},
      {"the longest command line", longest_name, "k", kSetDone, SetLine(longest_name, "k")},
      {"one character more", longest_name + "n", "k", kNotStarted, ""},
      {"a 100,000-byte name", std::string(100000, 'n'), "12345678", kNotStarted, ""},
      {"a 100,000-byte key", "home", std::string(100000, 'k'), kNotStarted, ""},
      // 50,000 characters of two bytes each: still too long a command line.
      {"100,000 bytes of GBK", Repeated("网", 50000), "12345678", kNotStarted, ""},
  };

  AppUnderTest app("e2e-hostile-input");
  ASSERT_TRUE(app.Start()) << "error " << GetLastError() << ", exe there: "
                           << test::FileExists(app.run_directory() + "\\Pavrelin.exe");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  HWND name_box = NameBox(main);
  HWND key_box = KeyBox(main);
  ASSERT_TRUE(name_box && key_box);
  // WM_SETTEXT ignores the limit; typing does not, so it must not be the
  // 30,000 characters of a fresh edit box.
  EXPECT_GE(SendMessageA(name_box, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
  EXPECT_GE(SendMessageA(key_box, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);

  std::vector<std::string> expected_lines;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Type(name_box, c.name);
    Type(key_box, c.key);
    ASSERT_EQ(TextLength(name_box), static_cast<int>(c.name.size()));
    ASSERT_EQ(TextLength(key_box), static_cast<int>(c.key.size()));
    ASSERT_TRUE(test::WindowText(name_box) == c.name) << "the box holds the name byte for byte";
    ASSERT_TRUE(test::WindowText(key_box) == c.key);

    EXPECT_EQ(SetAndAnswer(app, main), c.box);
    if (!c.command_line.empty()) expected_lines.push_back(c.command_line);
    std::vector<std::string> lines;
    for (const test::Record& record : test::ReadRecords(app.netsh_log())) {
      lines.push_back(record.command_line);
      EXPECT_EQ(record.show, SW_HIDE);
    }
    ASSERT_EQ(lines.size(), expected_lines.size());
    if (!c.command_line.empty()) {
      EXPECT_TRUE(lines.back() == c.command_line)
          << "sent " << lines.back().size() << " bytes: " << lines.back().substr(0, 200);
    }
    // Nothing the program did changed what the user typed.
    EXPECT_EQ(TextLength(name_box), static_cast<int>(c.name.size()));
    ASSERT_TRUE(app.running());
    ASSERT_TRUE(Answers(main));
  }
}

}  // namespace
}  // namespace pavrelin
