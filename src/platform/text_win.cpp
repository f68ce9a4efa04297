#include <windows.h>

#include "platform/text.h"

namespace pavrelin {

bool IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

std::string OemToAnsi(const std::string& oem_text) {
  if (oem_text.empty()) return {};
  const int size = static_cast<int>(oem_text.size());
  const int wide_length = MultiByteToWideChar(CP_OEMCP, 0, oem_text.data(), size, nullptr, 0);
  if (wide_length <= 0) return oem_text;
  std::wstring wide(wide_length, L'\0');
  MultiByteToWideChar(CP_OEMCP, 0, oem_text.data(), size, wide.data(), wide_length);
  const int ansi_length =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  if (ansi_length <= 0) return oem_text;
  std::string ansi(ansi_length, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_length, ansi.data(), ansi_length, nullptr,
                      nullptr);
  return ansi;
}

}  // namespace pavrelin
