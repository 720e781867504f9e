// Counting fakes of the echo client's system services. They behave as the
// real ones do where the contract suites check them (tests/pinger/
// SocketsContract, EchoContract) and record every call, so that a test can
// see start-ups matched by clean-ups and every echo handle closed.
#pragma once

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "pinger/PingServices.h"

namespace corvane::testing {

inline std::string RawAddress(unsigned a, unsigned b, unsigned c, unsigned d) {
  return std::string{static_cast<char>(a), static_cast<char>(b), static_cast<char>(c),
                     static_cast<char>(d)};
}

class FakeSockets : public ISocketsService {
 public:
  static constexpr std::int32_t kNotInitialised = 10093;  // WSANOTINITIALISED

  FakeSockets() { hosts["localhost"] = {RawAddress(127, 0, 0, 1)}; }

  WsaStartupResult Startup(std::uint16_t requestedVersion) override {
    ++startupCalls;
    requested.push_back(requestedVersion);
    if (onStartup) onStartup();
    if (startupResult.status == 0) {
      ++active;
      deepest = std::max(deepest, active);
    }
    return startupResult;
  }

  std::int32_t Cleanup() override {
    ++cleanupCalls;
    if (active == 0) return kNotInitialised;
    --active;
    return cleanupFailure;
  }

  std::vector<std::string> GetHostByName(const std::string& name) override {
    lookups.push_back(name);
    if (onLookup) onLookup();
    if (active == 0) return {};
    auto found = hosts.find(name);
    if (found != hosts.end()) return found->second;
    // Like the real resolver, dotted decimal text resolves to itself.
    unsigned a = 0, b = 0, c = 0, d = 0;
    char tail = 0;
    if (std::sscanf(name.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail) == 4 && a < 256 &&
        b < 256 && c < 256 && d < 256) {
      return {RawAddress(a, b, c, d)};
    }
    return {};
  }

  // What Startup answers: Windows Sockets 1.1 with plenty of sockets.
  WsaStartupResult startupResult{0, 0x0101, 32767};
  // What a clean-up that has something to clean returns.
  std::int32_t cleanupFailure = 0;
  std::map<std::string, std::vector<std::string>> hosts;
  std::function<void()> onStartup;
  std::function<void()> onLookup;

  int startupCalls = 0;
  int cleanupCalls = 0;
  int active = 0;   // successful start-ups not yet cleaned up
  int deepest = 0;  // most start-ups active at once
  std::vector<std::uint16_t> requested;
  std::vector<std::string> lookups;
};

class FakeIcmp : public IIcmpService {
 public:
  enum class Mode {
    Answer,        // loopback answers, status 0; other addresses time out
    Silent,        // nothing answers: 0 replies, status 11010 (a host that ignores echoes)
    Untouched,     // fails without touching the reply buffer (no raw-socket right)
    ErrorStatus,   // one reply whose status is not success
  };

  std::optional<EchoHandle> Open() override {
    ++openCalls;
    if (openFails) return std::nullopt;
    EchoHandle handle = nextHandle++;
    open.insert(handle);
    if (onEvent) onEvent("open");
    return handle;
  }

  std::uint32_t Send(EchoHandle handle, std::uint32_t address, const std::uint8_t* data,
                     std::uint16_t dataSize, std::uint8_t* reply, std::uint32_t replySize,
                     std::uint32_t timeoutMs) override {
    if (onEvent) onEvent("send");
    if (open.count(handle) == 0) return 0;
    sent.push_back({address, std::string(reinterpret_cast<const char*>(data), dataSize),
                    replySize, timeoutMs});
    if (mode == Mode::Untouched || replySize < kEchoReplyRecordSize + dataSize) return 0;
    auto put32 = [&](std::size_t offset, std::uint32_t v) {
      for (int i = 0; i < 4; ++i) reply[offset + static_cast<std::size_t>(i)] =
          static_cast<std::uint8_t>(v >> (8 * i));
    };
    const bool loopback = (address & 0xFFu) == 127;
    if (mode == Mode::ErrorStatus) {
      put32(0, address);
      put32(4, errorStatus);
      return 1;
    }
    if (mode == Mode::Silent || !loopback) {
      put32(4, kIpReqTimedOut);
      return 0;
    }
    put32(0, address);
    put32(4, kIpSuccess);
    put32(8, roundTripMs);
    reply[12] = static_cast<std::uint8_t>(dataSize & 0xFF);
    reply[13] = static_cast<std::uint8_t>(dataSize >> 8);
    std::copy(data, data + dataSize, reply + kEchoReplyRecordSize);
    return 1;
  }

  // An echo with options travels a path that passes payloads up to
  // pathPayload bytes whole. A larger one with don't-fragment set gets
  // "packet too big" when the path reports it, or no answer; without the
  // flag it is fragmented and passes. The next dropNext probes go
  // unanswered whatever their size; onProbe runs before each probe (with
  // its number from 0), so that a test can change the path as it goes.
  std::uint32_t SendWithOptions(EchoHandle handle, std::uint32_t address,
                                const std::uint8_t* data, std::uint16_t dataSize,
                                const EchoOptions& options, std::uint8_t* reply,
                                std::uint32_t replySize, std::uint32_t timeoutMs) override {
    if (onProbe) onProbe(probed.size());
    probed.push_back({dataSize, options, timeoutMs});
    const bool tooBig = dataSize > pathPayload && (options.flags & kIpFlagDontFragment) != 0;
    if (open.count(handle) == 0 || mode != Mode::Answer) {
      return Send(handle, address, data, dataSize, reply, replySize, timeoutMs);
    }
    if (dropNext > 0 || (tooBig && !pathReports)) {
      if (dropNext > 0) --dropNext;
      Put32(reply, 4, kIpReqTimedOut);
      return 0;
    }
    if (tooBig) {
      Put32(reply, 4, kIpPacketTooBig);
      return 0;
    }
    return Send(handle, address, data, dataSize, reply, replySize, timeoutMs);
  }

  bool Close(EchoHandle handle) override {
    if (onEvent) onEvent("close");
    return open.erase(handle) == 1;
  }

  static void Put32(std::uint8_t* reply, std::size_t offset, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
      reply[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
  }

  struct Probed {
    std::uint16_t payload;
    EchoOptions options;
    std::uint32_t timeoutMs;
  };

  struct Sent {
    std::uint32_t address;
    std::string payload;
    std::uint32_t replySize;
    std::uint32_t timeoutMs;
  };

  Mode mode = Mode::Answer;
  std::uint32_t errorStatus = 11003;  // IP_DEST_HOST_UNREACHABLE
  std::uint32_t roundTripMs = 0;      // the time an answer reports
  bool openFails = false;
  std::function<void(const char*)> onEvent;
  std::uint16_t pathPayload = 65535;
  bool pathReports = true;
  int dropNext = 0;
  std::function<void(std::size_t probe)> onProbe;
  std::vector<Probed> probed;

  int openCalls = 0;
  std::set<EchoHandle> open;  // handles not yet closed
  std::vector<Sent> sent;

 private:
  EchoHandle nextHandle = 0x100;
};

class RecordingMessages : public IWinsockMessageSink {
 public:
  struct Message {
    std::string text;
    MessageIcon icon;
  };
  void Show(const std::string& text, MessageIcon icon) override { shown.push_back({text, icon}); }
  std::vector<Message> shown;
};

}  // namespace corvane::testing
