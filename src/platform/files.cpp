#include "platform/files.h"

namespace pavrelin {

ExecutablePath SplitExecutablePath(const std::string& full_path) {
  // Walk character by character: in GBK many second bytes are 0x5C, and a
  // backwards search for '\\' would split such a character in two.
  std::size_t last_backslash = std::string::npos;
  for (std::size_t at = 0; at < full_path.size(); ++at) {
    const unsigned char byte = static_cast<unsigned char>(full_path[at]);
    if (IsAnsiLeadByte(byte) && at + 1 < full_path.size())
      ++at;
    else if (byte == '\\')
      last_backslash = at;
  }
  if (last_backslash == std::string::npos) return {"", full_path};
  return {full_path.substr(0, last_backslash), full_path.substr(last_backslash + 1)};
}

}  // namespace pavrelin
