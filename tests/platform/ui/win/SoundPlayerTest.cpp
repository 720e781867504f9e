// The sound player's choice: the logging player when CORVANE_SOUND_LOG names
// a file, whose lines say what PlaySoundA would have been given.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32/SoundPlayer.h"

namespace corvane::win32 {
namespace {

TEST(SoundPlayer, TheLogVariableChoosesTheLoggingPlayerWhichWritesFileAndFlags) {
  char folder[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, folder);
  std::string log = std::string(folder) + "corvane-sound-test.log";
  ::DeleteFileA(log.c_str());
  ::SetEnvironmentVariableA(kSoundLogVariable, log.c_str());
  auto player = MakeSoundPlayer();
  ::SetEnvironmentVariableA(kSoundLogVariable, nullptr);
  player->Play("C:\\Corvane\\Ping.wav");
  player->Play("C:\\Corvane\\low-memory.wav");
  std::ifstream in(log, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "C:\\Corvane\\Ping.wav|0x20001\r\nC:\\Corvane\\low-memory.wav|0x20001\r\n");
  in.close();
  ::DeleteFileA(log.c_str());
  EXPECT_NE(dynamic_cast<Win32SoundPlayer*>(MakeSoundPlayer().get()), nullptr) << "without the variable";
  // A missing file plays nothing and returns.
  Win32SoundPlayer().Play("C:\\no such folder\\none.wav");
}

}  // namespace
}  // namespace corvane::win32
