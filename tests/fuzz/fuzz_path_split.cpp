// The run directory split: directory + "\" + name gives the path back, and
// the name holds no real backslash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/files.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path(reinterpret_cast<const char*>(data), size);
  const pavrelin::ExecutablePath split = pavrelin::SplitExecutablePath(path);
  const std::string& name = split.executable_name;
  const std::string& directory = split.run_directory;
  if (directory.empty() && name != path && directory + "\\" + name != path) __builtin_trap();
  if (!directory.empty() && directory + "\\" + name != path) __builtin_trap();
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (pavrelin::IsAnsiLeadByte(name[i])) {
      ++i;
      continue;
    }
    if (name[i] == '\\') __builtin_trap();
  }
  return 0;
}
