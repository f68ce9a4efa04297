#include "platform/process.h"

namespace pavrelin {

namespace {
// SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_SHOWNOACTIVATE,
// SW_MINIMIZE, indexed by show mode 1..6.
constexpr int kShowCommands[] = {0, 1, 2, 3, 4, 6};

// IDOK..IDNO (1..7) to the button codes; index 0 is a failed box.
constexpr int kButtonCodes[] = {kButtonOk,    kButtonOk,     kButtonCancel, kButtonAbort,
                                kButtonRetry, kButtonIgnore, kButtonYes,    kButtonNo};
}  // namespace

int ShowCommandForMode(int show_mode) {
  if (show_mode < 1) show_mode = 1;
  if (show_mode > 6) show_mode = 6;
  return kShowCommands[show_mode - 1];
}

int ButtonCodeForResult(int message_box_result) {
  if (message_box_result < 0 || message_box_result > 7) return kButtonOk;
  return kButtonCodes[message_box_result];
}

unsigned BoxStyleForFlags(unsigned flags) {
  return (flags & kBoxSystemModal) ? flags : (flags | kBoxTaskModal);
}

}  // namespace pavrelin
