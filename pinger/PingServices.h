// What the echo client needs from the system, as small interfaces shaped after
// the platform calls they stand for: Windows Sockets 1.1 start-up, clean-up and
// name resolution (wsock32), the ICMP echo service (icmp.dll), and the message
// boxes that report a Windows Sockets failure. The Win32 adapters live in
// pinger/win32; the native tests use fakes of the same interfaces.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// What WSAStartup hands back.
struct WsaStartupResult {
  std::int32_t status = 0;       // the function's result; 0 is success
  std::uint16_t version = 0;     // WSADATA.wVersion: major in the low byte, minor in the high
  std::uint16_t maxSockets = 0;  // WSADATA.iMaxSockets
};

class ISocketsService {
 public:
  virtual ~ISocketsService() = default;
  // WSAStartup with the request word (0x0101 asks for 1.1).
  virtual WsaStartupResult Startup(std::uint16_t requestedVersion) = 0;
  // WSACleanup: 0, or the Windows Sockets error code.
  virtual std::int32_t Cleanup() = 0;
  // gethostbyname: every address of the host entry as its raw bytes
  // (address-length bytes each), in the resolver's order; empty when the
  // call returns nothing.
  virtual std::vector<std::string> GetHostByName(const std::string& name) = 0;
};

// One ICMP_ECHO_REPLY of a 32-bit program is 28 bytes: address (0), status
// (4), round-trip time (8), data size (12), reserved (14), data pointer (16),
// option block (20: time to live, type of service, flags, options size,
// options pointer). The reply buffer holds one of them and 250 bytes for the
// echoed data.
inline constexpr std::size_t kEchoReplyRecordSize = 28;
inline constexpr std::size_t kEchoReplyBufferSize = kEchoReplyRecordSize + 250;  // 278
using EchoReplyBuffer = std::array<std::uint8_t, kEchoReplyBufferSize>;

inline constexpr std::uint32_t kIpSuccess = 0;        // IP_SUCCESS
inline constexpr std::uint32_t kIpReqTimedOut = 11010;  // IP_REQ_TIMED_OUT
inline constexpr std::uint32_t kIpPacketTooBig = 11009;  // IP_PACKET_TOO_BIG

// The IP options an echo request is sent with (IP_OPTION_INFORMATION without
// option bytes): time to live, type of service and the header flags.
struct EchoOptions {
  std::uint8_t ttl = 128;
  std::uint8_t tos = 0;
  std::uint8_t flags = 0;
};
inline constexpr std::uint8_t kIpFlagDontFragment = 0x2;  // IP_FLAG_DF

inline std::uint32_t ReadLittleEndian32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}
inline std::uint32_t EchoReplyAddress(const EchoReplyBuffer& reply) {
  return ReadLittleEndian32(reply.data());
}
inline std::uint32_t EchoReplyStatus(const EchoReplyBuffer& reply) {
  return ReadLittleEndian32(reply.data() + 4);
}
// The time the echo took, in milliseconds.
inline std::uint32_t EchoReplyRoundTrip(const EchoReplyBuffer& reply) {
  return ReadLittleEndian32(reply.data() + 8);
}
inline std::uint16_t EchoReplyDataSize(const EchoReplyBuffer& reply) {
  return static_cast<std::uint16_t>(reply[12] | reply[13] << 8);
}

using EchoHandle = std::uintptr_t;

class IIcmpService {
 public:
  virtual ~IIcmpService() = default;
  // IcmpCreateFile; nothing when it fails.
  virtual std::optional<EchoHandle> Open() = 0;
  // IcmpSendEcho without IP options: the number of replies in the buffer
  // (0 on failure, when the buffer may be left as it was). address is in
  // network byte order (first part in the lowest byte).
  virtual std::uint32_t Send(EchoHandle handle, std::uint32_t address, const std::uint8_t* data,
                             std::uint16_t dataSize, std::uint8_t* reply, std::uint32_t replySize,
                             std::uint32_t timeoutMs) = 0;
  // IcmpSendEcho with an IP options record (the don't-fragment flag among
  // them); otherwise as Send. The reply buffer must hold a reply record, the
  // echoed data and 8 bytes for an ICMP error.
  virtual std::uint32_t SendWithOptions(EchoHandle handle, std::uint32_t address,
                                        const std::uint8_t* data, std::uint16_t dataSize,
                                        const EchoOptions& options, std::uint8_t* reply,
                                        std::uint32_t replySize, std::uint32_t timeoutMs) = 0;
  // IcmpCloseHandle.
  virtual bool Close(EchoHandle handle) = 0;
};

// Closes an open echo handle on every way out of the code that holds it.
class EchoHandleGuard {
 public:
  EchoHandleGuard(IIcmpService& icmp, EchoHandle handle) : icmp_(icmp), handle_(handle) {}
  EchoHandleGuard(const EchoHandleGuard&) = delete;
  EchoHandleGuard& operator=(const EchoHandleGuard&) = delete;
  ~EchoHandleGuard() { (void)icmp_.Close(handle_); }

 private:
  IIcmpService& icmp_;
  EchoHandle handle_;
};

enum class MessageIcon { None, Warning };

// The plain message boxes that report Windows Sockets failures; the Win32
// one blocks until the user confirms.
class IWinsockMessageSink {
 public:
  virtual ~IWinsockMessageSink() = default;
  virtual void Show(const std::string& text, MessageIcon icon) = 0;
};

}  // namespace corvane
