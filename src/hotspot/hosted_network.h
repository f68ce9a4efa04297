// The three hosted network commands behind the buttons of the main window.
#pragma once

#include <optional>
#include <string>

#include "platform/process.h"

namespace pavrelin {

// Clicked handlers of 按钮1, 按钮2 and 按钮3.
void SetHostedNetwork();
void StartHostedNetwork();
void StopHostedNetwork();

// The set command line for a name and key, or nothing when a value holds a
// double quote, which netsh cannot be given intact.
std::optional<std::string> SetCommandLine(const std::string& name, const std::string& key);

// The second line of a failure box: what went wrong with netsh.
std::string NetshFailureReason(const CapturedRun& run);

}  // namespace pavrelin
