// The host tests' stand-in for everything the handlers reach through: control
// texts, processes, message boxes, pauses, the browser, web reads, the probe,
// files and the run directory. Each call is recorded in order and answered
// from a script the test sets up.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/process.h"
#include "platform/text.h"
#include "ui/control_model.h"

namespace pavrelin::fake {

struct Box {
  std::string text;
  unsigned flags;
  std::string title;  // empty when the caller gave none
  bool operator==(const Box&) const = default;
};

struct WrittenFile {
  std::string path;
  Bytes bytes;  // the parts joined in order
  bool operator==(const WrittenFile&) const = default;
};

struct World {
  std::map<std::pair<Form, std::string>, std::string> texts;
  std::map<std::pair<Form, std::string>, bool> visible;
  std::map<std::pair<Form, std::string>, int> timer_periods;

  std::deque<CapturedRun> captured_results;  // answers for RunCommandCaptured; default exit 0
  std::vector<std::string> captured_commands;
  std::vector<unsigned> captured_timeouts;
  std::vector<std::string> run_commands;  // RunCommandLine
  bool run_succeeds = true;

  std::deque<int> box_answers;  // answers for ShowMessageBox; default kButtonOk
  std::vector<Box> boxes;
  std::vector<int> pauses;
  std::vector<std::string> urls;  // OpenUrl

  std::map<std::string, Bytes> http_answers;  // by url, for both reads; others give empty bytes
  std::vector<std::string> http_urls;         // every url read, in order
  // HttpReadResource gives these answers, HttpReadWholeResource empty bytes:
  // the transfer broke off after what the answer holds.
  std::set<std::string> broken_downloads;
  bool probe_result = true;  // ProbeInternetConnection

  std::vector<WrittenFile> written_files;   // WriteBytesFile calls that succeeded
  std::set<std::string> unwritable_paths;   // WriteBytesFile gives false for these
  std::vector<std::string> write_attempts;  // every path WriteBytesFile was asked for
  std::string run_directory;                // GetRunDirectory
  std::string executable_name;              // GetExecutableName
  std::string temp_directory;               // GetTempDirectory

  struct Load {
    Form form;
    bool modal;
    bool operator==(const Load&) const = default;
  };
  std::vector<Load> loads;             // LoadWindow
  std::vector<Form> destroy_requests;  // DestroyFormWindow
  std::vector<int> skin_styles;        // ApplyXpSkin

  std::vector<std::string> calls;  // every call by name, in order
};

// Starts each test from an empty world.
World& Reset();
World& Get();

void SetControlText(Form form, const std::string& control, const std::string& text);

}  // namespace pavrelin::fake
