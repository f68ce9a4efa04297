// The help prompt, the site link: handlers that send the user to the web.
#pragma once

namespace pavrelin {

// Clicked of 按钮5 "使用说明": the modal help prompt; returns when it has gone.
void OpenHelpPrompt();
// Clicked of the prompt's 按钮1 "确定": switch to the loading face, start the timer.
void ConfirmHelpPrompt();
// Periodic of the prompt's 时钟1: open the help page once and close the prompt.
void OpenHelpPage();
// Left-button-pressed of 标签5: the maker's site.
void OpenSiteLink();

}  // namespace pavrelin
