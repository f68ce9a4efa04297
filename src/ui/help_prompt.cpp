#include "ui/help_prompt.h"

#include "app/window_services.h"
#include "build_config.h"
#include "platform/process.h"
#include "ui/controls.h"

namespace pavrelin {

namespace {
constexpr Form kPrompt = Form::HelpPromptWindow;
constexpr int kLoadingMs = 3000;
}  // namespace

void OpenHelpPrompt() { LoadWindow(kPrompt, std::nullopt, true); }

void ConfirmHelpPrompt() {
  SetVisible(kPrompt, "按钮1", false);
  SetVisible(kPrompt, "标签2", false);
  SetVisible(kPrompt, "图片框1", true);
  SetVisible(kPrompt, "标签1", true);
  SetTimerPeriod(kPrompt, "时钟1", kLoadingMs);
}

void OpenHelpPage() {
  OpenUrl(config::kHelpUrl);
  SetTimerPeriod(kPrompt, "时钟1", 0);
  DestroyFormWindow(kPrompt);
}

void OpenSiteLink() { OpenUrl(config::kSiteAddress); }

}  // namespace pavrelin
