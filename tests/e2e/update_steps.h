// What the update tests share: the test build's update server, the texts of
// the update boxes, and the steps of a check that ends in a refused download.
#pragma once

#include <windows.h>

#include "support/app_under_test.h"

namespace pavrelin::test {

// The win64 test build's update host and portal.
constexpr unsigned short kUpdateServerPort = 18470;
constexpr char kScript[] = "C:\\Del.bat";
constexpr char kFlagPath[] = "/wifi/kaiguan4.txt";
constexpr char kAddressPath[] = "/wifi/ruanjian.txt";
constexpr char kQuestion[] = "已经有新版本是否更新？";
constexpr char kDownloadFailed[] = "更新失败！\r\n下载新版本失败，请稍后再试。";

// The hidden boxes that keep what the last check fetched (inside the banner).
HWND FlagBox(HWND main);
HWND AddressBox(HWND main);

// Presses and releases the left button on "检查更新".
void PressCheckForUpdates(HWND main);

// After Yes on the question: the download-failed box, and once it is closed
// the program still running with its window enabled, its executable kept and
// neither a new build nor the script written.
void ExpectDownloadRefused(const AppUnderTest& app, HWND main);

}  // namespace pavrelin::test
