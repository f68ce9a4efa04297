// The update check behind "检查更新" and the replacement by a new build.
#pragma once

namespace pavrelin {

// Left-button-pressed handler of 标签4: fetches both update files, stores
// them in 编辑框3 and 编辑框4 and tells the user what the flag says.
void CheckForUpdates();

// After a Yes: downloads the new build beside the executable, writes the
// self-delete script, closes the main window and starts the script. Refuses,
// with a box, whenever that would leave the user without a working program.
void ReplaceWithNewBuild();

}  // namespace pavrelin
