// The netsh set command line: any name and key either give exactly the
// expected line or are refused for a double quote.
#include <cstddef>
#include <cstdint>
#include <string>

#include "hotspot/hosted_network.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\x01');
  const std::string name = input.substr(0, split);
  const std::string key = split == std::string::npos ? "" : input.substr(split + 1);
  const auto line = pavrelin::SetCommandLine(name, key);
  const bool has_quote = input.find('"') != std::string::npos;
  if (has_quote != !line) __builtin_trap();
  if (!line) return 0;
  const auto quoted = [](const std::string& v) {
    return v.find_first_of(" \t") == std::string::npos ? v : "\"" + v + "\"";
  };
  if (*line !=
      "netsh wlan set hostednetwork mode=allow ssid=" + quoted(name) + " key=" + quoted(key))
    __builtin_trap();
  return 0;
}
