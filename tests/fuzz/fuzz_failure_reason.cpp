// netsh's output as the failure reason: never over 2000 bytes, never a split
// double-byte character, never trailing blanks.
#include <cstddef>
#include <cstdint>
#include <string>

#include "hotspot/hosted_network.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pavrelin::CapturedRun run;
  run.end = pavrelin::CapturedRun::End::Exited;
  run.exit_code = 1;
  run.output.assign(reinterpret_cast<const char*>(data), size);
  const std::string reason = pavrelin::NetshFailureReason(run);
  if (reason.empty() || reason.size() > 2000) __builtin_trap();
  if (run.output.compare(0, reason.size(), reason) != 0 && reason.rfind("netsh ", 0) != 0)
    __builtin_trap();
  std::size_t i = 0;
  while (i < reason.size())
    i += pavrelin::IsAnsiLeadByte(reason[i]) && i + 1 < reason.size() ? 2 : 1;
  if (i != reason.size()) __builtin_trap();
  return 0;
}
