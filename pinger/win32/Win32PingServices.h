// The echo client's system services on Windows: Windows Sockets 1.1 from
// wsock32, the ICMP echo service from icmp.dll (loaded at run time: icmp.dll
// is there on 95/98/ME, on every NT version and under Wine, while the
// iphlpapi export exists only from XP on), and message boxes titled with the
// program's title.
#pragma once

#include <windows.h>

#include "pinger/PingServices.h"
#include "platform/win32/Handle.h"

namespace corvane::win32 {

class Win32Sockets final : public ISocketsService {
 public:
  WsaStartupResult Startup(std::uint16_t requestedVersion) override;
  std::int32_t Cleanup() override;
  std::vector<std::string> GetHostByName(const std::string& name) override;
};

class Win32Icmp final : public IIcmpService {
 public:
  Win32Icmp();
  // Whether icmp.dll and its three functions were found.
  bool Available() const { return create_ != nullptr && send_ != nullptr && close_ != nullptr; }

  std::optional<EchoHandle> Open() override;
  std::uint32_t Send(EchoHandle handle, std::uint32_t address, const std::uint8_t* data,
                     std::uint16_t dataSize, std::uint8_t* reply, std::uint32_t replySize,
                     std::uint32_t timeoutMs) override;
  std::uint32_t SendWithOptions(EchoHandle handle, std::uint32_t address,
                                const std::uint8_t* data, std::uint16_t dataSize,
                                const EchoOptions& options, std::uint8_t* reply,
                                std::uint32_t replySize, std::uint32_t timeoutMs) override;
  bool Close(EchoHandle handle) override;

 private:
  using CreateFn = HANDLE(WINAPI*)();
  using SendFn = DWORD(WINAPI*)(HANDLE, ULONG, LPVOID, WORD, LPVOID, LPVOID, DWORD, DWORD);
  using CloseFn = BOOL(WINAPI*)(HANDLE);

  std::uint32_t SendRecord(EchoHandle handle, std::uint32_t address, const std::uint8_t* data,
                           std::uint16_t dataSize, void* options, std::uint8_t* reply,
                           std::uint32_t replySize, std::uint32_t timeoutMs);

  UniqueHmodule module_;
  CreateFn create_ = nullptr;
  SendFn send_ = nullptr;
  CloseFn close_ = nullptr;
};

// A blocking MessageBoxA with an OK button, titled corvane::kAppTitle.
class Win32MessageSink final : public IWinsockMessageSink {
 public:
  explicit Win32MessageSink(HWND owner = nullptr) : owner_(owner) {}
  void Show(const std::string& text, MessageIcon icon) override;

 private:
  HWND owner_;
};

}  // namespace corvane::win32
