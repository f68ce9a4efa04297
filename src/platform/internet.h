// Reading a web resource and probing the Internet connection, through WinINet.
#pragma once

#include <string>

#include "platform/text.h"

namespace pavrelin {

// The body of the response to a GET of url, whatever its status; empty bytes
// when nothing could be read. Bodies past 256 MiB are refused (empty bytes).
Bytes HttpReadResource(const std::string& url);

// True when the system has a connection and the probe page answers at all.
bool ProbeInternetConnection();

}  // namespace pavrelin
