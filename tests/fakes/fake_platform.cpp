#include "fakes/fake_platform.h"

#include "platform/files.h"
#include "platform/internet.h"
#include "platform/text.h"
#include "ui/controls.h"

namespace pavrelin {

namespace fake {
namespace {
World world;
}
World& Reset() { return world = World{}; }
World& Get() { return world; }
void SetControlText(Form form, const std::string& control, const std::string& text) {
  world.texts[{form, control}] = text;
}
}  // namespace fake

using fake::world;

std::string GetText(Form form, const char* control) {
  world.calls.push_back(std::string("GetText ") + control);
  const auto it = world.texts.find({form, control});
  return it == world.texts.end() ? std::string() : it->second;
}

void SetText(Form form, const char* control, const std::string& text) {
  world.calls.push_back(std::string("SetText ") + control);
  world.texts[{form, control}] = text;
}

void SetVisible(Form form, const char* control, bool visible) {
  world.calls.push_back(std::string("SetVisible ") + control + (visible ? " 1" : " 0"));
  world.visible[{form, control}] = visible;
}

void SetTimerPeriod(Form form, const char* control, int milliseconds) {
  world.calls.push_back(std::string("SetTimerPeriod ") + control + " " +
                        std::to_string(milliseconds));
  world.timer_periods[{form, control}] = milliseconds;
}

bool RunCommandLine(const std::string& command_line, bool, int) {
  world.calls.push_back("RunCommandLine");
  world.run_commands.push_back(command_line);
  return world.run_succeeds;
}

CapturedRun RunCommandCaptured(const std::string& command_line, int, unsigned timeout_ms) {
  world.calls.push_back("RunCommandCaptured");
  world.captured_commands.push_back(command_line);
  world.captured_timeouts.push_back(timeout_ms);
  if (world.captured_results.empty()) return {CapturedRun::End::Exited, 0, ""};
  CapturedRun run = world.captured_results.front();
  world.captured_results.pop_front();
  return run;
}

int ShowMessageBox(const std::string& text, unsigned flags, const char* title) {
  world.calls.push_back("ShowMessageBox");
  world.boxes.push_back({text, flags, title ? title : ""});
  if (world.box_answers.empty()) return kButtonOk;
  const int answer = world.box_answers.front();
  world.box_answers.pop_front();
  return answer;
}

void PauseMilliseconds(int milliseconds) {
  world.calls.push_back("PauseMilliseconds");
  world.pauses.push_back(milliseconds);
}

void OpenUrl(const std::string& address) {
  world.calls.push_back("OpenUrl");
  world.urls.push_back(address);
}

Bytes HttpReadResource(const std::string& url) {
  world.calls.push_back("HttpReadResource");
  world.http_urls.push_back(url);
  const auto it = world.http_answers.find(url);
  return it == world.http_answers.end() ? Bytes() : it->second;
}

Bytes HttpReadWholeResource(const std::string& url) {
  world.calls.push_back("HttpReadWholeResource");
  world.http_urls.push_back(url);
  const auto it = world.http_answers.find(url);
  return it == world.http_answers.end() || world.broken_downloads.count(url) ? Bytes() : it->second;
}

bool ProbeInternetConnection() {
  world.calls.push_back("ProbeInternetConnection");
  return world.probe_result;
}

bool WriteBytesFile(const std::string& path, std::initializer_list<const Bytes*> parts) {
  world.calls.push_back("WriteBytesFile");
  world.write_attempts.push_back(path);
  if (path.empty() || world.unwritable_paths.count(path)) return false;
  fake::WrittenFile file{path, {}};
  for (const Bytes* part : parts)
    if (part) file.bytes.insert(file.bytes.end(), part->begin(), part->end());
  world.written_files.push_back(file);
  return true;
}

void SetUpRunDirectory() { world.calls.push_back("SetUpRunDirectory"); }

std::string GetRunDirectory() {
  world.calls.push_back("GetRunDirectory");
  return world.run_directory;
}

std::string GetExecutableName() {
  world.calls.push_back("GetExecutableName");
  return world.executable_name;
}

std::string GetTempDirectory() {
  world.calls.push_back("GetTempDirectory");
  return world.temp_directory;
}

// Code page 936: lead bytes are 0x81..0xFE.
bool IsAnsiLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// Under code page 936 the OEM and ANSI code pages are the same.
std::string OemToAnsi(const std::string& oem_text) { return oem_text; }

}  // namespace pavrelin
