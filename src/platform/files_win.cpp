#include <windows.h>

#include "platform/files.h"
#include "platform/win_handles.h"

namespace pavrelin {

namespace {
// Fixed once before any window exists; read on the UI thread only.
ExecutablePath& RunLocation() {
  static ExecutablePath location;
  return location;
}
}  // namespace

bool WriteBytesFile(const std::string& path, std::initializer_list<const Bytes*> parts) {
  if (path.empty()) return false;
  UniqueHandle file = OwnFileHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  for (const Bytes* part : parts) {
    if (!part) continue;
    const unsigned char* data = part->data();
    std::size_t left = part->size();
    // WriteFile may write less than asked (and takes at most a DWORD at once).
    while (left > 0) {
      const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
      DWORD written = 0;
      if (!WriteFile(file.get(), data, chunk, &written, nullptr) || written == 0) return false;
      data += written;
      left -= written;
    }
  }
  return CloseHandle(file.release()) != FALSE;
}

void SetUpRunDirectory() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  // A full buffer means a cut path, which would name the wrong directory.
  if (length == 0 || length >= MAX_PATH) return;
  RunLocation() = SplitExecutablePath(std::string(path, length));
  const std::string& directory = RunLocation().run_directory;
  if (directory.empty()) return;
  // "C:" alone names the drive's current directory, not its root: a program
  // in the root has to say "C:\" to end up there.
  const bool drive_only = directory.size() == 2 && directory[1] == ':';
  SetCurrentDirectoryA(drive_only ? (directory + "\\").c_str() : directory.c_str());
}

std::string GetRunDirectory() { return RunLocation().run_directory; }

std::string GetExecutableName() { return RunLocation().executable_name; }

std::string GetTempDirectory() {
  char path[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof path, path);
  return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

}  // namespace pavrelin
