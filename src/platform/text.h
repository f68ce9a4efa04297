// Text is bytes in the ANSI code page (GBK here), held in std::string; raw
// bytes are a separate type so the two are never mixed up by accident.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pavrelin {

using Bytes = std::vector<unsigned char>;

// The bytes up to the first zero byte, as text; no code-page conversion.
std::string BytesToText(const Bytes& bytes);

// The text's bytes without a terminating zero; no code-page conversion.
Bytes TextToBytes(const std::string& text);

// True when the byte starts a double-byte character in the ANSI code page, so
// that a following 0x5C or 0x22 is a trail byte and not a backslash or quote.
bool IsAnsiLeadByte(unsigned char byte);

// Console output arrives in the OEM code page; dialogs want the ANSI one.
std::string OemToAnsi(const std::string& oem_text);

// Drops trailing blanks, tabs and line breaks.
std::string TrimTrailingBlanks(std::string text);

// At most max_bytes bytes, never ending in the middle of a double-byte character.
std::string CutAtCharBoundary(const std::string& text, std::size_t max_bytes);

}  // namespace pavrelin
