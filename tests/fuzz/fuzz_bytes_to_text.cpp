// BytesToText stops at the first zero byte and changes nothing before it;
// TextToBytes gives the text's bytes back.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pavrelin::Bytes bytes(data, data + size);
  const std::string text = pavrelin::BytesToText(bytes);
  const auto zero = std::find(bytes.begin(), bytes.end(), 0);
  if (text.size() != static_cast<std::size_t>(zero - bytes.begin())) __builtin_trap();
  if (pavrelin::TextToBytes(text) != pavrelin::Bytes(bytes.begin(), zero)) __builtin_trap();
  return 0;
}
