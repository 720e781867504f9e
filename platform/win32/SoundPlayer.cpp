#include "platform/win32/SoundPlayer.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdio>

namespace corvane::win32 {

void Win32SoundPlayer::Play(const std::string& file) {
  (void)::PlaySoundA(file.c_str(), nullptr, kPlaySoundFlags);
}

void LoggingSoundPlayer::Play(const std::string& file) {
  if (FILE* log = std::fopen(logPath_.c_str(), "ab")) {
    std::string line = file + "|0x20001\r\n";
    (void)std::fwrite(line.data(), 1, line.size(), log);
    (void)std::fclose(log);
  }
}

std::unique_ptr<ui::ISoundPlayer> MakeSoundPlayer() {
  char path[MAX_PATH] = {};
  DWORD n = ::GetEnvironmentVariableA(kSoundLogVariable, path, sizeof path);
  if (n > 0 && n < sizeof path) return std::make_unique<LoggingSoundPlayer>(path);
  return std::make_unique<Win32SoundPlayer>();
}

}  // namespace corvane::win32
