#include "update/update_rules.h"

#include <cstdint>
#include <cstring>

namespace pavrelin {

namespace {

constexpr char kNewBuildName[] = "\\PavrelinBate5.exe";
constexpr char kDelayLine[] =
    "echo wscript.sleep 1 >%temp%\\delay.vbs&&%temp%\\delay.vbs&&del /q %temp%\\delay.vbs";
constexpr char kQuotedDelayLine[] =
    "echo wscript.sleep 1 >\"%temp%\\delay.vbs\"&&\"%temp%\\delay.vbs\"&&del /q "
    "\"%temp%\\delay.vbs\"";
constexpr char kLineBreak[] = "\r\n";
constexpr char kDeleteSelf[] = "del %0";

// cmd splits or rewrites a word at these; a GBK trail byte is never one of them
// as far as cmd is concerned, so double-byte characters are stepped over.
bool NeedsQuotes(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    if (IsAnsiLeadByte(byte)) {
      ++i;
      continue;
    }
    if (std::strchr(" &^%()!,;=", byte) && byte != 0) return true;
  }
  return false;
}

std::uint32_t LittleEndian32(const Bytes& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

}  // namespace

bool IsUpdateOffered(const std::string& flag_text) { return flag_text == "1"; }

bool LooksLikeWindowsProgram(const Bytes& bytes) {
  if (bytes.size() < 64 || bytes[0] != 'M' || bytes[1] != 'Z') return false;
  const std::uint32_t header = LittleEndian32(bytes, 60);
  if (header > bytes.size() - 4) return false;
  return bytes[header] == 'P' && bytes[header + 1] == 'E' && bytes[header + 2] == 0 &&
         bytes[header + 3] == 0;
}

std::string NewBuildPath(const std::string& run_directory) { return run_directory + kNewBuildName; }

std::string SelfDeleteScript(const std::string& executable_name,
                             const std::string& temp_directory) {
  std::string script = NeedsQuotes(temp_directory) ? kQuotedDelayLine : kDelayLine;
  script += kLineBreak;
  script += "del ";
  script += NeedsQuotes(executable_name) ? "\"" + executable_name + "\"" : executable_name;
  script += kLineBreak;
  script += kDeleteSelf;
  return script;
}

}  // namespace pavrelin
