// The program's sound player: PlaySoundA with the file's name, asynchronous
// and silent when the file cannot be played (SND_FILENAME | SND_ASYNC,
// 0x20001). With CORVANE_SOUND_LOG naming a file, the logging player appends
// "file|flags" lines to it instead, so that tests hear what would have
// played.
#pragma once

#include <memory>
#include <string>

#include "platform/ui/Sound.h"

namespace corvane::win32 {

inline constexpr unsigned kPlaySoundFlags = 0x20001;
inline constexpr char kSoundLogVariable[] = "CORVANE_SOUND_LOG";

class Win32SoundPlayer final : public ui::ISoundPlayer {
 public:
  void Play(const std::string& file) override;
};

class LoggingSoundPlayer final : public ui::ISoundPlayer {
 public:
  explicit LoggingSoundPlayer(std::string logPath) : logPath_(std::move(logPath)) {}
  // One line per sound: file|0x20001
  void Play(const std::string& file) override;

 private:
  std::string logPath_;
};

// The logging player when the variable names a file, else the real one.
std::unique_ptr<ui::ISoundPlayer> MakeSoundPlayer();

}  // namespace corvane::win32
