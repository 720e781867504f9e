#include "pinger/win32/Win32PingServices.h"

#include <winsock.h>
#include <ipexport.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/AppInfo.h"

namespace corvane::win32 {

// The reply layout the portable code reads: the 32-bit record. The 64-bit
// build (used to run the Windows tests where 32-bit code cannot run) gets a
// wider record from the system and hands the portable code the 32-bit one.
static_assert(offsetof(ICMP_ECHO_REPLY, Status) == 4);
static_assert(offsetof(ICMP_ECHO_REPLY, DataSize) == 12);
#ifndef _WIN64
static_assert(sizeof(ICMP_ECHO_REPLY) == kEchoReplyRecordSize);
#else
static_assert(sizeof(ICMP_ECHO_REPLY) == 40);
#endif

// The options record the echo call takes: four single bytes, then the
// pointer to the option bytes (none here), which makes it 8 bytes in the
// 32-bit program and 16 in the 64-bit one. The flags byte carries
// don't-fragment.
static_assert(offsetof(IP_OPTION_INFORMATION, Ttl) == 0);
static_assert(offsetof(IP_OPTION_INFORMATION, Tos) == 1);
static_assert(offsetof(IP_OPTION_INFORMATION, Flags) == 2);
static_assert(offsetof(IP_OPTION_INFORMATION, OptionsSize) == 3);
#ifndef _WIN64
static_assert(offsetof(IP_OPTION_INFORMATION, OptionsData) == 4);
static_assert(sizeof(IP_OPTION_INFORMATION) == 8);
#else
static_assert(offsetof(IP_OPTION_INFORMATION, OptionsData) == 8);
static_assert(sizeof(IP_OPTION_INFORMATION) == 16);
#endif
static_assert(IP_FLAG_DF == kIpFlagDontFragment);
static_assert(IP_PACKET_TOO_BIG == kIpPacketTooBig);
static_assert(IP_REQ_TIMED_OUT == kIpReqTimedOut);

WsaStartupResult Win32Sockets::Startup(std::uint16_t requestedVersion) {
  WSADATA data{};
  WsaStartupResult result;
  result.status = ::WSAStartup(requestedVersion, &data);
  if (result.status == 0) {
    result.version = data.wVersion;
    result.maxSockets = data.iMaxSockets;
  }
  return result;
}

std::int32_t Win32Sockets::Cleanup() {
  if (::WSACleanup() == 0) return 0;
  return ::WSAGetLastError();
}

std::vector<std::string> Win32Sockets::GetHostByName(const std::string& name) {
  std::vector<std::string> addresses;
  const hostent* entry = ::gethostbyname(name.c_str());
  if (entry == nullptr || entry->h_addr_list == nullptr || entry->h_length <= 0) return addresses;
  for (char** item = entry->h_addr_list; *item != nullptr; ++item) {
    addresses.emplace_back(*item, static_cast<std::size_t>(entry->h_length));
  }
  return addresses;
}

namespace {
// GetProcAddress gives a generic function pointer; going through
// void (*)() tells the compiler the cast to the real type is meant.
template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
  FARPROC proc = ::GetProcAddress(module, name);
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}
}  // namespace

Win32Icmp::Win32Icmp() : module_(::LoadLibraryA("icmp.dll")) {
  if (!module_) return;
  create_ = Lookup<CreateFn>(module_.get(), "IcmpCreateFile");
  send_ = Lookup<SendFn>(module_.get(), "IcmpSendEcho");
  close_ = Lookup<CloseFn>(module_.get(), "IcmpCloseHandle");
}

std::optional<EchoHandle> Win32Icmp::Open() {
  if (!Available()) return std::nullopt;
  HANDLE handle = create_();
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return std::nullopt;
  return reinterpret_cast<EchoHandle>(handle);
}

std::uint32_t Win32Icmp::Send(EchoHandle handle, std::uint32_t address, const std::uint8_t* data,
                              std::uint16_t dataSize, std::uint8_t* reply,
                              std::uint32_t replySize, std::uint32_t timeoutMs) {
  return SendRecord(handle, address, data, dataSize, nullptr, reply, replySize, timeoutMs);
}

std::uint32_t Win32Icmp::SendWithOptions(EchoHandle handle, std::uint32_t address,
                                         const std::uint8_t* data, std::uint16_t dataSize,
                                         const EchoOptions& options, std::uint8_t* reply,
                                         std::uint32_t replySize, std::uint32_t timeoutMs) {
  IP_OPTION_INFORMATION record{};
  record.Ttl = options.ttl;
  record.Tos = options.tos;
  record.Flags = options.flags;
  record.OptionsSize = 0;
  record.OptionsData = nullptr;
  return SendRecord(handle, address, data, dataSize, &record, reply, replySize, timeoutMs);
}

std::uint32_t Win32Icmp::SendRecord(EchoHandle handle, std::uint32_t address,
                                    const std::uint8_t* data, std::uint16_t dataSize,
                                    void* options, std::uint8_t* reply, std::uint32_t replySize,
                                    std::uint32_t timeoutMs) {
  if (!Available()) return 0;
  // The request data is only read; the prototype merely lacks the const.
#ifndef _WIN64
  return send_(reinterpret_cast<HANDLE>(handle), address,
               const_cast<std::uint8_t*>(data), dataSize, options, reply, replySize, timeoutMs);
#else
  constexpr std::size_t kWide = sizeof(ICMP_ECHO_REPLY);
  constexpr std::size_t kExtra = kWide - kEchoReplyRecordSize;
  if (replySize < kEchoReplyRecordSize) {
    return send_(reinterpret_cast<HANDLE>(handle), address, const_cast<std::uint8_t*>(data),
                 dataSize, options, reply, replySize, timeoutMs);
  }
  // Address, Status, RoundTripTime, DataSize and Reserved keep their places;
  // the Data pointer is 32 bits in the 32-bit record; the option record's
  // first four bytes (Ttl, Tos, Flags, OptionsSize) follow it; the echoed
  // data follows the record. The caller's bytes go in first, so that a
  // buffer the system leaves untouched (a failed send) stays as it was.
  std::vector<std::uint8_t> wide(std::size_t{replySize} + kExtra);
  auto* w = wide.data();
  std::copy(reply, reply + 16, w);
  std::copy(reply + 20, reply + 24, w + 24);
  std::copy(reply + kEchoReplyRecordSize, reply + replySize, w + kWide);
  const DWORD count = send_(reinterpret_cast<HANDLE>(handle), address,
                            const_cast<std::uint8_t*>(data), dataSize, options, w,
                            static_cast<DWORD>(wide.size()), timeoutMs);
  std::copy(w, w + 16, reply);
  std::copy(w + 24, w + 28, reply + 20);
  std::copy(w + kWide, w + wide.size(), reply + kEchoReplyRecordSize);
  return count;
#endif
}

bool Win32Icmp::Close(EchoHandle handle) {
  if (!Available()) return false;
  return close_(reinterpret_cast<HANDLE>(handle)) != FALSE;
}

void Win32MessageSink::Show(const std::string& text, MessageIcon icon) {
  UINT style = MB_OK;
  if (icon == MessageIcon::Warning) style |= MB_ICONWARNING;
  (void)::MessageBoxA(owner_, text.c_str(), kAppTitle, style);
}

}  // namespace corvane::win32
