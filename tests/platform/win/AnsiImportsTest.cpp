// The ANSI stand-ins that corvane.exe's runtime imports are routed to behave
// as the wide and Ex functions they replace.
#include "platform/win32/AnsiImports.h"

#include <gtest/gtest.h>

#include "platform/win32/Handle.h"

namespace corvane::win32 {
namespace {

TEST(AnsiImports, UnnamedSemaphoreCountsLikeAnyOther) {
  UniqueHandleNull semaphore(CreateSemaphoreViaAnsi(nullptr, 0, 2, nullptr));
  ASSERT_TRUE(semaphore);
  EXPECT_EQ(::WaitForSingleObject(semaphore.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  ASSERT_TRUE(::ReleaseSemaphore(semaphore.get(), 2, nullptr));
  EXPECT_EQ(::WaitForSingleObject(semaphore.get(), 0), WAIT_OBJECT_0);
  EXPECT_EQ(::WaitForSingleObject(semaphore.get(), 0), WAIT_OBJECT_0);
  EXPECT_EQ(::WaitForSingleObject(semaphore.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_FALSE(::ReleaseSemaphore(semaphore.get(), 3, nullptr));  // above the maximum
}

TEST(AnsiImports, NamedSemaphoreIsTheObjectOfThatAnsiName) {
  UniqueHandleNull first(CreateSemaphoreViaAnsi(nullptr, 1, 1, L"CorvaneAnsiImportsTest"));
  ASSERT_TRUE(first);
  UniqueHandleNull second(::CreateSemaphoreA(nullptr, 1, 1, "CorvaneAnsiImportsTest"));
  ASSERT_TRUE(second);
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

TEST(AnsiImports, NamesBeyondAsciiFailWithInvalidName) {
  ::SetLastError(0);
  EXPECT_EQ(CreateSemaphoreViaAnsi(nullptr, 0, 1, L"Corvane\x00e9"), nullptr);
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
  ::SetLastError(0);
  EXPECT_EQ(GetModuleHandleViaAnsi(L"kernel\x0432\x0032.dll"), nullptr);
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
  ::SetLastError(0);
  EXPECT_EQ(LoadLibraryViaAnsi(L"\x4e2d.dll"), nullptr);
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
  EXPECT_EQ(LoadLibraryViaAnsi(nullptr), nullptr);
}

TEST(AnsiImports, ModuleHandlesMatchTheAnsiFunctions) {
  struct Case {
    const wchar_t* wide;
    const char* ansi;
  };
  const Case cases[] = {
      {L"kernel32.dll", "kernel32.dll"},
      {L"KERNEL32", "KERNEL32"},
      {L"msvcrt.dll", "msvcrt.dll"},
      {L"corvane-no-such-module.dll", "corvane-no-such-module.dll"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetModuleHandleViaAnsi(c.wide), ::GetModuleHandleA(c.ansi)) << c.ansi;
  }
  EXPECT_EQ(GetModuleHandleViaAnsi(nullptr), ::GetModuleHandleA(nullptr));
}

TEST(AnsiImports, LoadLibraryLoadsTheSameModule) {
  HMODULE loaded = LoadLibraryViaAnsi(L"advapi32.dll");
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded, ::GetModuleHandleA("advapi32.dll"));
  EXPECT_NE(::GetProcAddress(loaded, "RegOpenKeyExA"), nullptr);
  ::FreeLibrary(loaded);
  EXPECT_EQ(LoadLibraryViaAnsi(L"corvane-no-such-module.dll"), nullptr);
}

// Every byte of single-byte and double-byte code pages, against the system's
// own IsDBCSLeadByteEx (looked up, so that this program still calls the real one).
TEST(AnsiImports, LeadBytesMatchIsDbcsLeadByteEx) {
  using IsLeadByte = BOOL(WINAPI*)(UINT, BYTE);
  auto real = reinterpret_cast<IsLeadByte>(reinterpret_cast<void (*)()>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "IsDBCSLeadByteEx")));
  ASSERT_NE(real, nullptr);
  int leadBytes = 0;
  for (UINT codePage : {437u, 850u, 1252u, 1251u, 932u, 936u, 949u, 950u}) {
    for (int byte = 0; byte < 256; ++byte) {
      BOOL expected = real(codePage, static_cast<BYTE>(byte));
      EXPECT_EQ(IsDBCSLeadByteViaCpInfo(codePage, static_cast<BYTE>(byte)) != FALSE,
                expected != FALSE)
          << "code page " << codePage << ", byte " << byte;
      leadBytes += expected != FALSE;
    }
  }
  EXPECT_GT(leadBytes, 100);  // the double-byte pages were really there
  EXPECT_FALSE(IsDBCSLeadByteViaCpInfo(12345, 0x81));  // no such code page
}

}  // namespace
}  // namespace corvane::win32
