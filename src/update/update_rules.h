// The rules of the update: what the flag file must say, what a downloaded
// build must look like, where it goes and the script that removes the old one.
#pragma once

#include <string>

#include "platform/text.h"

namespace pavrelin {

// Only the exact text "1" offers an update.
bool IsUpdateOffered(const std::string& flag_text);

// At least 64 bytes, "MZ" first, and "PE\0\0" at the offset that the
// little-endian 32-bit value at byte 60 names, inside the data.
bool LooksLikeWindowsProgram(const Bytes& bytes);

// The new build's place beside the executable.
std::string NewBuildPath(const std::string& run_directory);

// The three-line script that waits a moment, deletes the old executable by its
// bare name and then itself. Names or temp paths holding a blank or a
// character the command interpreter treats specially are quoted; plain ones
// give exactly 95 bytes plus the name.
std::string SelfDeleteScript(const std::string& executable_name, const std::string& temp_directory);

}  // namespace pavrelin
