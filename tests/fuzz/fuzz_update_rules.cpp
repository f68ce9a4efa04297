// The update's rules on any input: the flag check, the program-image check
// and the self-delete script.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "update/update_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pavrelin::Bytes bytes(data, data + size);
  const std::string text(reinterpret_cast<const char*>(data), size);

  if (pavrelin::IsUpdateOffered(text) != (text == "1")) __builtin_trap();

  if (pavrelin::LooksLikeWindowsProgram(bytes)) {
    if (size < 64 || data[0] != 'M' || data[1] != 'Z') __builtin_trap();
    const std::uint32_t at =
        data[60] | data[61] << 8 | data[62] << 16 | static_cast<std::uint32_t>(data[63]) << 24;
    if (std::uint64_t{at} + 4 > size || std::memcmp(data + at, "PE\0\0", 4) != 0) __builtin_trap();
  }

  const std::size_t split = text.find('\x01');
  const std::string name = text.substr(0, split);
  const std::string temp = split == std::string::npos ? "" : text.substr(split + 1);
  const std::string script = pavrelin::SelfDeleteScript(name, temp);
  const std::string tail = "\r\ndel %0";
  if (script.size() < 95 + name.size() ||
      script.compare(script.size() - tail.size(), tail.size(), tail) != 0)
    __builtin_trap();
  if (script.find(name) == std::string::npos) __builtin_trap();
  return 0;
}
