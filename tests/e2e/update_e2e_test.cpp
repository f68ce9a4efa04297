// The update check and the self-replacement of the real program against a
// loopback update server.
// The test server's Winsock headers must come before windows.h.
#include "support/http_test_server.h"

#include <gtest/gtest.h>

#include "e2e/update_steps.h"
#include "support/app_under_test.h"
#include "support/win_test_support.h"

namespace pavrelin {
namespace {

using test::AppUnderTest;
using test::HttpTestServer;
using test::kAddressPath;
using test::kFlagPath;
using test::kScript;
using test::kUpdateServerPort;
using test::PressCheckForUpdates;

std::string FlagKept(HWND main) { return test::WindowText(test::FlagBox(main)); }
std::string AddressKept(HWND main) { return test::WindowText(test::AddressBox(main)); }

class UpdateEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteFileA(kScript);
    ASSERT_TRUE(server_.ok()) << "port " << kUpdateServerPort << " is taken";
    server_.Answer("/portal/", test::Page("portal"));
  }
  void TearDown() override { DeleteFileA(kScript); }

  // Requests for the two update files, in order.
  std::vector<std::string> UpdateRequests() const {
    std::vector<std::string> lines;
    for (const std::string& request : server_.Requests()) {
      const std::string line = test::RequestLine(request);
      if (line.find("/wifi/") != std::string::npos) lines.push_back(line);
    }
    return lines;
  }

  HttpTestServer server_{kUpdateServerPort};
};

TEST_F(UpdateEndToEnd, UpToDateFlagsGiveTheUpToDateBoxOnEveryPress) {
  server_.Answer(kFlagPath, test::Page("1\r\n"));
  server_.Answer(kAddressPath, test::Page("http://127.0.0.1:18470/new.exe"));
  AppUnderTest app("e2e-update-latest");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  for (int press = 1; press <= 2; ++press) {
    PressCheckForUpdates(main);
    HWND box = app.WaitForBox("检查更新：");
    ASSERT_TRUE(box);
    EXPECT_EQ(test::MessageBoxText(box), "恭喜您是最新版本！！！");
    test::PressBoxButton(box, IDOK);
    ASSERT_TRUE(test::WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5000));
    EXPECT_EQ(FlagKept(main), "1\r\n");
    EXPECT_EQ(AddressKept(main), "http://127.0.0.1:18470/new.exe");
  }
  const std::vector<std::string> expected = {
      "GET /wifi/kaiguan4.txt HTTP/1.0", "GET /wifi/ruanjian.txt HTTP/1.0",
      "GET /wifi/kaiguan4.txt HTTP/1.0", "GET /wifi/ruanjian.txt HTTP/1.0"};
  EXPECT_EQ(UpdateRequests(), expected);
  for (const std::string& request : server_.Requests()) {
    if (test::RequestLine(request).find("/wifi/") == std::string::npos) continue;
    EXPECT_EQ(test::RequestHeader(request, "User-Agent"),
              "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
    EXPECT_EQ(test::RequestHeader(request, "Accept"), "*/*");
  }
}

TEST_F(UpdateEndToEnd, AnAcceptedUpdateSavesTheBuildAndEndsTheProgram) {
  const std::string build = test::ReadFileBytes(test::ExeDirectory() + "\\recorder.exe");
  ASSERT_GT(build.size(), 1000u);
  server_.Answer(kFlagPath, test::Page("1"));
  server_.Answer(kAddressPath, test::Page("http://127.0.0.1:18470/builds/new.exe"));
  server_.Answer("/builds/new.exe", test::Page(build));
  AppUnderTest app("e2e-update-accepted", "app.exe");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  PressCheckForUpdates(main);
  HWND question = app.WaitForBox("信息：");
  ASSERT_TRUE(question);
  EXPECT_EQ(test::MessageBoxText(question), "已经有新版本是否更新？");
  test::PressBoxButton(question, IDYES);

  DWORD code = 1234;
  ASSERT_TRUE(app.WaitForExit(20000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(test::ReadFileBytes(app.run_directory() + "\\PavrelinBate5.exe"), build);
  EXPECT_TRUE(test::WaitUntil([] { return !test::FileExists(kScript); }, 20000))
      << "the script ran and deleted itself";
}

TEST_F(UpdateEndToEnd, DecliningChangesNothingButTheKeptTexts) {
  server_.Answer(kFlagPath, test::Page("1"));
  server_.Answer(kAddressPath, test::Page("http://127.0.0.1:18470/builds/new.exe"));
  AppUnderTest app("e2e-update-declined");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  PressCheckForUpdates(main);
  HWND question = app.WaitForBox("信息：");
  ASSERT_TRUE(question);
  test::PressBoxButton(question, IDNO);
  ASSERT_TRUE(test::WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5000));
  EXPECT_EQ(FlagKept(main), "1");
  EXPECT_EQ(AddressKept(main), "http://127.0.0.1:18470/builds/new.exe");
  EXPECT_TRUE(app.running());
  EXPECT_FALSE(test::FileExists(app.run_directory() + "\\PavrelinBate5.exe"));
  EXPECT_FALSE(test::FileExists(kScript));
  EXPECT_EQ(UpdateRequests().size(), 2u) << "no download after No";
}

TEST_F(UpdateEndToEnd, AnErrorPageInsteadOfABuildKeepsTheProgram) {
  server_.Answer(kFlagPath, test::Page("1"));
  server_.Answer(kAddressPath, test::Page("http://127.0.0.1:18470/builds/missing.exe"));
  server_.Answer("/builds/missing.exe",
                 test::Page("<html><body>404 Not Found</body></html>", "HTTP/1.1 404 Not Found"));
  AppUnderTest app("e2e-update-error-page");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  PressCheckForUpdates(main);
  HWND question = app.WaitForBox("信息：");
  ASSERT_TRUE(question);
  test::PressBoxButton(question, IDYES);
  test::ExpectDownloadRefused(app, main);
}

TEST(UpdateEndToEndServerDown, TheUpToDateBoxWhenNothingAnswers) {
  AppUnderTest app("e2e-update-down");
  HWND main = app.StartToMainWindow();
  ASSERT_TRUE(main);
  PressCheckForUpdates(main);
  HWND box = app.WaitForBox("检查更新：", 20000);
  ASSERT_TRUE(box);
  EXPECT_EQ(test::MessageBoxText(box), "恭喜您是最新版本！！！");
  test::PressBoxButton(box, IDOK);
  EXPECT_EQ(FlagKept(main), "");
}

}  // namespace
}  // namespace pavrelin
