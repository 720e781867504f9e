// The sound player's choice: the logging player when CORVANE_SOUND_LOG names
// a file, whose lines say what PlaySoundA would have been given.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/SoundPlayer.h"
#include "tests/support/LoggingStandIn.h"
#include "tests/support/WholeFile.h"

namespace corvane::win32 {
namespace {

TEST(SoundPlayer, TheLogVariableChoosesTheLoggingPlayerWhichWritesFileAndFlags) {
  const std::string log = testing::FreshTempFile("corvane-sound-test.log");
  auto player = testing::MakeLoggingTo(kSoundLogVariable, log, [] { return MakeSoundPlayer(); });
  player->Play("C:\\Corvane\\Ping.wav");
  player->Play("C:\\Corvane\\low-memory.wav");
  EXPECT_EQ(testing::ReadWholeFile(log).value_or(""),
            "C:\\Corvane\\Ping.wav|0x20001\r\nC:\\Corvane\\low-memory.wav|0x20001\r\n");
  ::DeleteFileA(log.c_str());
  EXPECT_NE(dynamic_cast<Win32SoundPlayer*>(MakeSoundPlayer().get()), nullptr) << "without the variable";
  // A missing file plays nothing and returns.
  Win32SoundPlayer().Play("C:\\no such folder\\none.wav");
}

}  // namespace
}  // namespace corvane::win32
