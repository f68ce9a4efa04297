#include "update/update.h"

#include <string>

#include "app/window_services.h"
#include "build_config.h"
#include "platform/files.h"
#include "platform/internet.h"
#include "platform/process.h"
#include "ui/controls.h"
#include "update/update_rules.h"

namespace pavrelin {

namespace {

constexpr char kFlagFilePath[] = "/wifi/kaiguan4.txt";
constexpr char kAddressFilePath[] = "/wifi/ruanjian.txt";
constexpr char kScriptPath[] = "c:\\Del.bat";

constexpr char kUpdateQuestion[] = "已经有新版本是否更新？";
constexpr char kUpToDate[] = "恭喜您是最新版本！！！";
constexpr char kUpToDateTitle[] = "检查更新：";
constexpr char kUpdateFailed[] = "更新失败！\r\n";
constexpr char kDownloadFailed[] = "下载新版本失败，请稍后再试。";
constexpr char kCannotSave[] = "无法保存新版本：";
constexpr char kSavedOnly[] = "新版本已保存到：";
constexpr char kDeleteByHand[] = "\r\n请手动删除旧版本。";

std::string UpdateFileUrl(const char* path) {
  return std::string("Http://") + config::kUpdateServerHost + path;
}

}  // namespace

void CheckForUpdates() {
  SetText(Form::MainWindow, "编辑框3", BytesToText(HttpReadResource(UpdateFileUrl(kFlagFilePath))));
  SetText(Form::MainWindow, "编辑框4",
          BytesToText(HttpReadResource(UpdateFileUrl(kAddressFilePath))));
  if (!IsUpdateOffered(GetText(Form::MainWindow, "编辑框3"))) {
    ShowMessageBox(kUpToDate, kBoxOk, kUpToDateTitle);
    return;
  }
  if (ShowMessageBox(kUpdateQuestion, kBoxYesNo) == kButtonYes) ReplaceWithNewBuild();
}

void ReplaceWithNewBuild() {
  // A download that broke off is no program, even if its start looks like one.
  const Bytes build = HttpReadWholeResource(GetText(Form::MainWindow, "编辑框4"));
  PauseMilliseconds(1000);
  // An error page, an empty or a cut download must never cost the user the
  // program they have.
  if (!LooksLikeWindowsProgram(build)) {
    ShowMessageBox(std::string(kUpdateFailed) + kDownloadFailed, kBoxError);
    return;
  }
  const std::string build_path = NewBuildPath(GetRunDirectory());
  if (!WriteBytesFile(build_path, {&build})) {
    ShowMessageBox(std::string(kUpdateFailed) + kCannotSave + build_path, kBoxError);
    return;
  }
  const Bytes script = TextToBytes(SelfDeleteScript(GetExecutableName(), GetTempDirectory()));
  if (!WriteBytesFile(kScriptPath, {&script})) {
    ShowMessageBox(kSavedOnly + build_path + kDeleteByHand, kBoxError);
    return;
  }
  DestroyFormWindow(Form::MainWindow);
  RunCommandLine(kScriptPath, false, kShowHidden);
}

}  // namespace pavrelin
