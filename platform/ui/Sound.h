// Playing a sound file: the pinger's "\Ping.wav" and the memory alarm's
// "\low-memory.wav". The Win32 player is platform/win32/SoundPlayer.h.
#pragma once

#include <string>

namespace corvane::ui {

class ISoundPlayer {
 public:
  virtual ~ISoundPlayer() = default;
  // Starts playing the file and returns at once; a file that cannot be
  // played plays nothing, silently.
  virtual void Play(const std::string& file) = 0;
};

}  // namespace corvane::ui
