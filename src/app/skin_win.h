// What the skin's Win32 side tells beyond ApplyXpSkin (window_services.h).
#pragma once

#include <cstddef>

namespace pavrelin {

// How many windows of the UI thread carry the skinned look now; a destroyed
// window is no longer counted.
std::size_t SkinnedWindowCount();

}  // namespace pavrelin
