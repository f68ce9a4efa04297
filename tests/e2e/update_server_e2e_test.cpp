// The update check and the download of the real program against an update
// server that misbehaves: a huge flag file, an address with a line break, a
// loop of redirects, a build cut off or replaced by a page, silence.
// The test server's Winsock headers must come before windows.h.
#include "support/http_test_server.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "e2e/update_steps.h"
#include "support/app_under_test.h"
#include "support/win_test_support.h"

namespace pavrelin {
namespace {

using test::AppUnderTest;
using test::HttpAnswer;
using test::HttpTestServer;
using test::kAddressPath;
using test::kFlagPath;
using test::kQuestion;
using test::kScript;
using test::kUpdateServerPort;
using test::PressCheckForUpdates;

constexpr char kBuildUrl[] = "http://127.0.0.1:18470/builds/new.exe";
constexpr char kUpToDate[] = "恭喜您是最新版本！！！";
// True when the window's thread takes and answers a message within timeout_ms.
bool Answers(HWND window, UINT timeout_ms = 1000) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeout_ms, &result) != 0;
}

// The server's port is shared with other tests and benchmarks: wait for it.
bool StartServer(std::unique_ptr<HttpTestServer>& server) {
  return test::WaitUntil(
      [&] {
        server = std::make_unique<HttpTestServer>(kUpdateServerPort);
        return server->ok();
      },
      60000, 1000);
}

class UpdateServerEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteFileA(kScript);
    ASSERT_TRUE(StartServer(server_)) << "port " << kUpdateServerPort << " stays taken";
    server_->Answer("/portal/", test::Page("portal"));
  }
  void TearDown() override { DeleteFileA(kScript); }

  // The request lines so far, but for the portal's and the follow page's.
  std::vector<std::string> UpdateRequests() const {
    std::vector<std::string> lines;
    for (const std::string& request : server_->Requests()) {
      const std::string line = test::RequestLine(request);
      if (line.find("/portal/") == std::string::npos &&
          line.find("/index.php") == std::string::npos)
        lines.push_back(line);
    }
    return lines;
  }

  std::unique_ptr<HttpTestServer> server_;
};

// A long run of digits is no good here: Wine's edit control takes time that
// grows with the square of its length (100,000 digits take some 10 s).
std::string HugePage(std::size_t size) {
  std::string page = "<html><body>";
  while (page.size() < size) page += "<p>This is not the flag you are looking for.</p>\r\n";
  page.resize(size);
  return page;
}

TEST_F(UpdateServerEndToEnd, ATenMebibyteFlagFileIsNoOffer) {
  const std::string flag = HugePage(10 << 20);
  server_->Answer(kFlagPath, test::Page(flag));
  server_->Answer(kAddressPath, test::Page(kBuildUrl));
  AppUnderTest app("e2e-update-huge-flag");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  PressCheckForUpdates(main);
  HWND box = app.WaitForBox("检查更新：", 60000);
  ASSERT_TRUE(box);
  EXPECT_EQ(test::MessageBoxText(box), kUpToDate);
  test::PressBoxButton(box, IDOK);
  ASSERT_TRUE(test::WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5000));
  EXPECT_EQ(SendMessageA(test::FlagBox(main), WM_GETTEXTLENGTH, 0, 0),
            static_cast<LRESULT>(flag.size()))
      << "the whole flag text is kept";
  EXPECT_TRUE(test::WindowText(test::FlagBox(main)) == flag);
  EXPECT_TRUE(app.running());
  EXPECT_TRUE(Answers(main));
  EXPECT_FALSE(test::FileExists(kScript));
}

// WinINet drops the line break from the end of the address, so the build is
// fetched from where the address points and saved.
TEST_F(UpdateServerEndToEnd, AnAddressEndingInALineBreakIsKeptAndItsBuildFetched) {
  const std::string build = test::ReadFileBytes(test::ExeDirectory() + "\\recorder.exe");
  ASSERT_GT(build.size(), 1000u);
  const std::string address = std::string(kBuildUrl) + "\r\n";
  server_->Answer(kFlagPath, test::Page("1"));
  server_->Answer(kAddressPath, test::Page(address));
  server_->Answer("/builds/new.exe", test::Page(build));
  AppUnderTest app("e2e-update-line-break", "app.exe");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  PressCheckForUpdates(main);
  HWND question = app.WaitForBox("信息：", 20000);
  ASSERT_TRUE(question);
  EXPECT_EQ(test::MessageBoxText(question), kQuestion);
  EXPECT_EQ(test::WindowText(test::AddressBox(main)), address)
      << "the line break stays in the text";
  test::PressBoxButton(question, IDYES);

  DWORD code = 1234;
  ASSERT_TRUE(app.WaitForExit(20000, &code));
  EXPECT_EQ(code, 0u);
  const std::vector<std::string> requests = UpdateRequests();
  ASSERT_EQ(requests.size(), 3u);
  std::printf("[ measured ] the address \"%s\\r\\n\" was fetched as: %s\n", kBuildUrl,
              requests[2].c_str());
  EXPECT_EQ(requests[2], "GET /builds/new.exe HTTP/1.0");
  EXPECT_TRUE(test::ReadFileBytes(app.run_directory() + "\\PavrelinBate5.exe") == build);
  EXPECT_TRUE(test::WaitUntil([] { return !test::FileExists(kScript); }, 20000));
}

TEST_F(UpdateServerEndToEnd, ALoopOfRedirectsEndsInTheUpToDateBox) {
  server_->Answer(kFlagPath, test::Redirect("/loop/a"));
  server_->Answer(kAddressPath, test::Redirect("/loop/a"));
  server_->Answer("/loop/a", test::Redirect("/loop/b"));
  server_->Answer("/loop/b", test::Redirect("http://127.0.0.1:18470/loop/a"));
  AppUnderTest app("e2e-update-redirect-loop");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  PressCheckForUpdates(main);
  HWND box = app.WaitForBox("检查更新：", 30000);
  ASSERT_TRUE(box) << UpdateRequests().size() << " requests so far";
  EXPECT_EQ(test::MessageBoxText(box), kUpToDate);
  test::PressBoxButton(box, IDOK);
  EXPECT_EQ(test::WindowText(test::FlagBox(main)), "");
  EXPECT_EQ(test::WindowText(test::AddressBox(main)), "");
  // Each file: its own request and ten redirects followed.
  EXPECT_EQ(UpdateRequests().size(), 22u);
  EXPECT_TRUE(app.running());
  EXPECT_TRUE(Answers(main));
}

TEST_F(UpdateServerEndToEnd, ABuildCutOffOrReplacedByAPageIsNeverSaved) {
  const std::string build = test::ReadFileBytes(test::ExeDirectory() + "\\recorder.exe");
  ASSERT_GT(build.size(), 1000u);
  const auto cut = [&](bool reset) {
    HttpAnswer answer = test::Page(build);
    answer.cut_after = build.size() / 2;  // well past the headers that make it look like a program
    answer.cut_delay_ms = 200;
    answer.reset_at_cut = reset;
    return answer;
  };
  struct Case {
    const char* what;
    HttpAnswer answer;
  } const cases[] = {
      {"cut off half-way, closed", cut(false)},
      {"cut off half-way, reset", cut(true)},
      {"an HTML page with 200 OK", test::Page("<html><body>Download here</body></html>")},
      {"an empty answer", test::Page("")},
  };
  server_->Answer(kFlagPath, test::Page("1"));
  server_->Answer(kAddressPath, test::Page(kBuildUrl));
  AppUnderTest app("e2e-update-broken-build");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    server_->Answer("/builds/new.exe", c.answer);
    PressCheckForUpdates(main);
    HWND question = app.WaitForBox("信息：", 20000);
    ASSERT_TRUE(question);
    ASSERT_EQ(test::MessageBoxText(question), kQuestion);
    test::PressBoxButton(question, IDYES);
    test::ExpectDownloadRefused(app, main);
  }
}

// WinINet's own default under Wine is to wait for ever; the program bounds
// each read, so a server that accepts and never answers freezes the window
// for two such waits, one for each file.
TEST(SilentUpdateServerEndToEnd, TheWindowComesBackWithTheUpToDateBox) {
  std::unique_ptr<HttpTestServer> server;
  ASSERT_TRUE(StartServer(server)) << "port " << kUpdateServerPort << " stays taken";
  server->Answer("/portal/", test::Page("portal"));
  HttpAnswer silent;
  silent.silent = true;
  server->Answer(kFlagPath, silent);
  server->Answer(kAddressPath, silent);
  AppUnderTest app("e2e-update-silent");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  ASSERT_TRUE(Answers(main));

  const DWORD pressed = GetTickCount();
  PressCheckForUpdates(main);
  ASSERT_TRUE(test::WaitUntil([&] { return !Answers(main, 500); }, 10000))
      << "the window froze while it waits";
  // Once it answers again, its box is up.
  while (!Answers(main, 1000) && GetTickCount() - pressed < 300000) {
  }
  const DWORD frozen_ms = GetTickCount() - pressed;
  std::printf("[ measured ] the window was frozen for %.1f s by a silent update server\n",
              frozen_ms / 1000.0);
  HWND box = app.WaitForBox("检查更新：", 10000);
  ASSERT_TRUE(box) << "frozen for " << frozen_ms << " ms";
  EXPECT_LE(frozen_ms, 150000u);
  EXPECT_EQ(test::MessageBoxText(box), kUpToDate);
  test::PressBoxButton(box, IDOK);
  EXPECT_EQ(test::WindowText(test::FlagBox(main)), "");
  EXPECT_EQ(test::WindowText(test::AddressBox(main)), "");
  EXPECT_TRUE(app.running());
}

}  // namespace
}  // namespace pavrelin
