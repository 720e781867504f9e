#include "pinger/win32/Win32PingServices.h"

#include <winsock.h>
#include <ipexport.h>

#include <cstddef>

#include "platform/AppInfo.h"

namespace corvane::win32 {

// The reply layout the portable code reads.
static_assert(sizeof(ICMP_ECHO_REPLY) == kEchoReplyRecordSize);
static_assert(offsetof(ICMP_ECHO_REPLY, Status) == 4);
static_assert(offsetof(ICMP_ECHO_REPLY, DataSize) == 12);

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
  if (!Available()) return 0;
  // The request data is only read; the prototype merely lacks the const.
  return send_(reinterpret_cast<HANDLE>(handle), address,
               const_cast<std::uint8_t*>(data), dataSize, nullptr, reply, replySize, timeoutMs);
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
