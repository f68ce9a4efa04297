#include "update/update.h"

#include <gtest/gtest.h>

#include "build_config.h"
#include "fakes/fake_platform.h"

namespace pavrelin {
namespace {

using fake::Box;

const std::string kFlagUrl =
    std::string("Http://") + config::kUpdateServerHost + "/wifi/kaiguan4.txt";
const std::string kAddressUrl =
    std::string("Http://") + config::kUpdateServerHost + "/wifi/ruanjian.txt";
const std::string kBuildUrl = "http://example.com/new.exe";

Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

// The smallest bytes that pass for a Windows program.
Bytes AProgram() {
  Bytes bytes(256, 0);
  bytes[0] = 'M';
  bytes[1] = 'Z';
  bytes[60] = 128;
  bytes[128] = 'P';
  bytes[129] = 'E';
  return bytes;
}

fake::World& ServeFlag(const std::string& flag, const std::string& address = kBuildUrl) {
  fake::World& world = fake::Reset();
  world.http_answers[kFlagUrl] = AsBytes(flag);
  world.http_answers[kAddressUrl] = AsBytes(address);
  world.run_directory = "D:\\tools";
  world.executable_name = "app.exe";
  world.temp_directory = "C:\\users\\wine\\Temp\\";
  return world;
}

TEST(CheckForUpdates, OnlyTheExactFlagOneAsksTheQuestion) {
  const Box question{"已经有新版本是否更新？", 4, ""};
  const Box up_to_date{"恭喜您是最新版本！！！", 0, "检查更新："};
  const std::pair<std::string, Box> cases[] = {
      {"1", question},
      {std::string("1\0more", 6), question},
      {"1\r\n", up_to_date},
      {"1\n", up_to_date},
      {"1 ", up_to_date},
      {" 1", up_to_date},
      {"01", up_to_date},
      {"\xEF\xBB\xBF"
       "1",
       up_to_date},
      {"", up_to_date},
      {"<html><body>404 Not Found</body></html>", up_to_date},
  };
  for (const auto& [flag, box] : cases) {
    SCOPED_TRACE(flag);
    fake::World& world = ServeFlag(flag);
    world.box_answers.push_back(kButtonNo);
    CheckForUpdates();
    EXPECT_EQ(world.http_urls, (std::vector<std::string>{kFlagUrl, kAddressUrl}));
    EXPECT_EQ(world.boxes, std::vector<Box>{box});
    EXPECT_TRUE(world.write_attempts.empty());
  }
}

TEST(CheckForUpdates, StoresBothTextsAtOnceAndReadsTheFlagBack) {
  fake::World& world = ServeFlag("1", kBuildUrl + "\r\n");
  world.box_answers.push_back(kButtonNo);
  CheckForUpdates();
  EXPECT_EQ(world.calls,
            (std::vector<std::string>{"HttpReadResource", "SetText 编辑框3", "HttpReadResource",
                                      "SetText 编辑框4", "GetText 编辑框3", "ShowMessageBox"}));
  EXPECT_EQ((world.texts[{Form::MainWindow, "编辑框3"}]), "1");
  EXPECT_EQ((world.texts[{Form::MainWindow, "编辑框4"}]), kBuildUrl + "\r\n")
      << "a line break stays in the kept address";
  EXPECT_TRUE(world.destroy_requests.empty());
}

TEST(ReplaceWithNewBuild, SavesTheBuildWritesTheScriptClosesAndStartsIt) {
  fake::World& world = ServeFlag("1");
  world.http_answers[kBuildUrl] = AProgram();
  world.box_answers.push_back(kButtonYes);
  CheckForUpdates();
  const std::string script =
      "echo wscript.sleep 1 >%temp%\\delay.vbs&&%temp%\\delay.vbs&&del /q %temp%\\delay.vbs\r\n"
      "del app.exe\r\ndel %0";
  ASSERT_EQ(world.written_files.size(), 2u);
  EXPECT_EQ(world.written_files[0].path, "D:\\tools\\PavrelinBate5.exe");
  EXPECT_EQ(world.written_files[0].bytes, AProgram());
  EXPECT_EQ(world.written_files[1].path, "c:\\Del.bat");
  EXPECT_EQ(world.written_files[1].bytes, AsBytes(script));
  EXPECT_EQ(world.written_files[1].bytes.size(), 102u);
  EXPECT_EQ(world.pauses, std::vector<int>{1000});
  EXPECT_EQ(world.destroy_requests, std::vector<Form>{Form::MainWindow});
  EXPECT_EQ(world.run_commands, std::vector<std::string>{"c:\\Del.bat"});
  // The close is requested before the script starts; the handler then returns.
  const auto& calls = world.calls;
  EXPECT_EQ(calls.back(), "RunCommandLine");
  EXPECT_EQ(calls[calls.size() - 2], "DestroyFormWindow");
  EXPECT_EQ(world.boxes.size(), 1u) << "only the question";
}

TEST(ReplaceWithNewBuild, ARootDirectoryGetsOneBackslash) {
  fake::World& world = ServeFlag("1");
  world.run_directory = "C:";
  world.http_answers[kBuildUrl] = AProgram();
  world.box_answers.push_back(kButtonYes);
  CheckForUpdates();
  ASSERT_FALSE(world.written_files.empty());
  EXPECT_EQ(world.written_files[0].path, "C:\\PavrelinBate5.exe");
}

TEST(ReplaceWithNewBuild, NeverLeavesTheUserWithoutAProgram) {
  struct Case {
    const char* what;
    Bytes download;
    bool broken_off = false;
    std::string unwritable;
    std::string message;
    std::size_t files_written;
  } const cases[] = {
      {"empty download", {}, false, "", "更新失败！\r\n下载新版本失败，请稍后再试。", 0},
      {"a program whose download broke off", AProgram(), true, "",
       "更新失败！\r\n下载新版本失败，请稍后再试。", 0},
      {"an error page", AsBytes("<html>404 Not Found</html>"), false, "",
       "更新失败！\r\n下载新版本失败，请稍后再试。", 0},
      {"too short", Bytes{'M', 'Z', 0, 0}, false, "", "更新失败！\r\n下载新版本失败，请稍后再试。",
       0},
      {"the build cannot be written", AProgram(), false, "D:\\tools\\PavrelinBate5.exe",
       "更新失败！\r\n无法保存新版本：D:\\tools\\PavrelinBate5.exe", 0},
      {"the script cannot be written", AProgram(), false, "c:\\Del.bat",
       "新版本已保存到：D:\\tools\\PavrelinBate5.exe\r\n请手动删除旧版本。", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake::World& world = ServeFlag("1");
    world.http_answers[kBuildUrl] = c.download;
    if (c.broken_off) world.broken_downloads.insert(kBuildUrl);
    if (!c.unwritable.empty()) world.unwritable_paths.insert(c.unwritable);
    world.box_answers.push_back(kButtonYes);
    CheckForUpdates();
    ASSERT_EQ(world.boxes.size(), 2u);
    EXPECT_EQ(world.boxes[1], (Box{c.message, 0x10, ""}));
    EXPECT_EQ(world.written_files.size(), c.files_written);
    for (const auto& file : world.written_files) EXPECT_NE(file.path, "c:\\Del.bat");
    EXPECT_TRUE(world.destroy_requests.empty()) << "the window stays open";
    EXPECT_TRUE(world.run_commands.empty()) << "nothing deletes the old program";
  }
}

TEST(ReplaceWithNewBuild, DownloadsFromTheKeptAddressUnchanged) {
  fake::World& world = ServeFlag("1", kBuildUrl + "\n");
  world.box_answers.push_back(kButtonYes);
  CheckForUpdates();
  ASSERT_EQ(world.http_urls.size(), 3u);
  EXPECT_EQ(world.http_urls[2], kBuildUrl + "\n");
}

}  // namespace
}  // namespace pavrelin
