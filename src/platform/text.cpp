#include "platform/text.h"

#include <algorithm>

namespace pavrelin {

std::string BytesToText(const Bytes& bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), 0);
  return std::string(bytes.begin(), end);
}

Bytes TextToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::string TrimTrailingBlanks(std::string text) {
  const auto last = text.find_last_not_of(" \t\r\n");
  text.erase(last == std::string::npos ? 0 : last + 1);
  return text;
}

std::string CutAtCharBoundary(const std::string& text, std::size_t max_bytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t width =
        IsAnsiLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
    if (end + width > max_bytes) break;
    end += width;
  }
  return text.substr(0, end);
}

}  // namespace pavrelin
