// What a picture box shows: its background, its picture by display mode and,
// for an animated GIF, the frames played by a worker thread of its own.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/text.h"
#include "ui/control_model.h"

namespace pavrelin {

// The bytes of one of the layouts' pictures, from the executable's resources
// (RCDATA, see src/ui/pictures.rc); empty for Picture::None.
Bytes LoadPictureBytes(Picture picture);

class PictureView {
 public:
  // box is the picture box's own window; nothing is drawn or started yet. An
  // undecodable picture leaves just the background.
  PictureView(HWND box, const PictureSettings& settings, const Bytes& picture_bytes);
  // Stops the animation worker and waits for it.
  ~PictureView();
  PictureView(const PictureView&) = delete;
  PictureView& operator=(const PictureView&) = delete;

  // WM_PAINT of the box, on the UI thread.
  void Paint(HDC dc, const RECT& client);
  // The box has become visible: the first call starts the animation, if any.
  void OnShown();

  // How many times the animation has moved on to its next frame since it
  // started; 0 for a still picture. Read-only, for tests and benchmarks that
  // check the frame rate.
  int frames_shown() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace pavrelin
