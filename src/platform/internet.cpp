#include "platform/internet.h"

namespace pavrelin {

std::size_t ReadPieceSize(const std::string& content_length) {
  constexpr std::size_t kLargestPiece = 102400;
  constexpr std::size_t kUnknownLengthPiece = 10240;
  std::size_t at = content_length.find_first_not_of(" \t");
  if (at == std::string::npos) return kUnknownLengthPiece;
  if (content_length[at] == '+') ++at;
  std::size_t length = 0;
  bool any_digit = false;
  for (; at < content_length.size() && content_length[at] >= '0' && content_length[at] <= '9';
       ++at) {
    any_digit = true;
    // Saturate: anything this large is capped below anyway.
    if (length < kLargestPiece) length = length * 10 + (content_length[at] - '0');
  }
  if (!any_digit || length == 0) return kUnknownLengthPiece;
  return length + 1 < kLargestPiece ? length + 1 : kLargestPiece;
}

std::optional<std::uint64_t> AnnouncedLength(const std::string& content_length) {
  const std::size_t first = content_length.find_first_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  const std::size_t last = content_length.find_last_not_of(" \t");
  std::uint64_t length = 0;
  for (std::size_t at = first; at <= last; ++at) {
    const char c = content_length[at];
    if (c < '0' || c > '9') return std::nullopt;
    const unsigned digit = static_cast<unsigned>(c - '0');
    if (length > (UINT64_MAX - digit) / 10) return std::nullopt;
    length = length * 10 + digit;
  }
  return length;
}

}  // namespace pavrelin
