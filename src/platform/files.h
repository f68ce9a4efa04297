// Files and the program's own location.
#pragma once

#include <initializer_list>
#include <string>

#include "platform/text.h"

namespace pavrelin {

// Creates or truncates path and writes the parts in order, allowing no sharing
// while open. False on an empty path or a failed open, write or close.
bool WriteBytesFile(const std::string& path, std::initializer_list<const Bytes*> parts);

// The run directory (no trailing backslash; "C:" for a root) and the
// executable's name, split at the last real backslash of a full path.
struct ExecutablePath {
  std::string run_directory;
  std::string executable_name;
};
ExecutablePath SplitExecutablePath(const std::string& full_path);

// Once at start-up: records where the executable lies and makes that the
// current directory.
void SetUpRunDirectory();
std::string GetRunDirectory();
std::string GetExecutableName();

// The user's temporary directory as GetTempPathA gives it (trailing backslash).
std::string GetTempDirectory();

}  // namespace pavrelin
