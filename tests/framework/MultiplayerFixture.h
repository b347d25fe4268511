#pragma once
// The multiplayer tests' two machines in one process: a host and a client on loopback, each with
// its own level and events, and raw peers that speak the framing by hand (strangers, hostile hosts,
// players that never read). Every wait has a deadline.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/Core_Time.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_QlnNet.h"
#include "network/Network_Address.h"

namespace MultiplayerTesting {

using namespace Quillon;

constexpr double kWaitMs = 5000.0;
constexpr float kStep = 1.0f / 60.0f;

// Makes this machine a client of a network game for the replicas' own step.
class ReplicaServices : public GameServices {
 public:
  bool IsNetworkGame() const override { return true; }
  bool IsServer() const override { return false; }
};

struct Machine {
  Core::SmartPointer<Level> level;
  std::vector<NetworkEvent> events;
  std::vector<std::string> texts;
  std::vector<int32_t> answers;
  std::vector<std::string> levelRequests;
  bool acceptJoins = true;
  // Runs inside the game's hook, before the answer: a test may end the session there.
  std::function<void(const NetworkEvent&)> onEvent;
  std::unique_ptr<QlnNet> net;

  Machine() {
    level = new Level();
    level->SetName("arena");
    level->AddLayer(Core::SmartPointer<Layer>(new Layer()));
    QlnNet::Environment environment;
    environment.currentLevel = [this] { return level.Get(); };
    environment.switchLevel = [this](const std::string& name) { levelRequests.push_back(name); };
    environment.keyboard = []() -> Input::Keyboard* { return nullptr; };
    environment.mouse = []() -> Input::Mouse* { return nullptr; };
    net = std::make_unique<QlnNet>(environment);
  }
  ~Machine() {
    net.reset();
    level->Destroy();
  }

  QlnNet::EventCallback Callback() {
    return [this](const NetworkEvent& event) {
      events.push_back(event);
      if (onEvent) onEvent(event);
      if (event.type == kQlnEventText && event.text != nullptr) texts.push_back(*event.text);
      if (event.type == kQlnEventJoinAnswer && event.size == 4) {
        int32_t code = 0;
        std::memcpy(&code, event.data, 4);
        answers.push_back(code);
      }
      return event.type == kQlnEventJoinRequest ? acceptJoins : true;
    };
  }
  size_t Count(uint32_t type) const {
    size_t n = 0;
    for (const auto& event : events) n += event.type == type ? 1 : 0;
    return n;
  }
};

class MultiplayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QlnNet::SetSessionLimit(2);
    ASSERT_TRUE(client.net->StartSession(false, client.Callback(), "velkor", "", 5, 0, 60, 0, 0));
    Network::NetAddress discovery;
    ASSERT_TRUE(client.net->GetTransportSession()->GetChannelAddress(Network::kChannelDiscovery, discovery));
    ASSERT_TRUE(host.net->StartSession(true, host.Callback(), "velkor", "pw", 5, 0, 60, discovery.GetPort(), 0));
    host.net->GetTransportSession()->SetLocalAddress(Network::NetAddress("127.0.0.1", 0));
    ASSERT_TRUE(host.net->StartHosting("Hoster", MaxPlayers(), 1, 0.02f));
  }
  virtual uint32_t MaxPlayers() const { return 2; }
  void TearDown() override {
    client.net->Shutdown();
    host.net->Shutdown();
    QlnNet::SetSessionLimit(1);
  }

  bool Pump(const std::function<bool()>& condition) {
    Core::Stopwatch waited;
    waited.Start();
    while (waited.GetElapsed() < kWaitMs) {
      host.net->Update(kStep);
      client.net->Update(kStep);
      if (condition()) return true;
    }
    return false;
  }

  // The join blocks on its answer, so the host is pumped meanwhile on this thread.
  bool Join(const std::string& password) {
    std::atomic<bool> done{false};
    bool joined = false;
    const Network::NetAddress server = host.net->GetServerAddress();
    std::thread joiner([&] {
      joined = client.net->JoinSession("Visitor", server, password);
      done = true;
    });
    Core::Stopwatch waited;
    waited.Start();
    while (!done && waited.GetElapsed() < 2 * kWaitMs) host.net->Update(kStep);
    joiner.join();
    // A busy machine may answer after the join has returned: the answer is read on by the update.
    if (!joined && client.net->IsJoining()) {
      Pump([&] { return !client.net->IsJoining(); });
      joined = client.net->IsConnected();
    }
    return joined;
  }

  Machine host;
  Machine client;
};

// ---- Raw peers: the framing by hand over POSIX sockets ----------------------------------------------

// Their deadlines run on the real clock: a test may move the game's clock by hand.
class RealClock {
 public:
  RealClock() : m_start(std::chrono::steady_clock::now()) {}
  double Elapsed() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_start).count();
  }

 private:
  std::chrono::steady_clock::time_point m_start;
};

// One framed message: u32 type, u32 total length (header included), the payload.
inline std::string Framed(uint32_t type, const std::string& payload) {
  std::string bytes(8, '\0');
  const uint32_t total = static_cast<uint32_t>(payload.size() + 8);
  std::memcpy(&bytes[0], &type, 4);
  std::memcpy(&bytes[4], &total, 4);
  return bytes + payload;
}

template <typename T>
std::string Bytes(const T& value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof(T));
}

// A player record: id, host flag, a 16-byte IPv4 socket address and the name.
inline std::string PlayerRecordBytes(uint32_t id, bool host, const std::string& name) {
  return Bytes(id) + std::string(1, host ? '\1' : '\0') + Bytes(Network::SocketAddress()) + name + std::string(1, '\0');
}

inline std::string JoinRequestBytes(const std::string& password, const std::string& name) {
  return password + std::string(1, '\0') + PlayerRecordBytes(0, false, name);
}

inline std::string AnnouncementBytes(const Network::SocketAddress& address, uint32_t maxPlayers, uint32_t players,
                                     const std::string& session, const std::string& hostName) {
  const uint32_t length = static_cast<uint32_t>(session.size() + 1);
  return Bytes(address) + Bytes(maxPlayers) + Bytes(players) + std::string(1, '\0') + Bytes(length) + session +
         std::string(1, '\0') + hostName + std::string(1, '\0');
}

inline sockaddr_in ToSockaddr(const Network::NetAddress& address) {
  sockaddr_in raw{};
  raw.sin_family = AF_INET;
  raw.sin_port = htons(address.GetPort());
  raw.sin_addr.s_addr = address.GetAddress() != 0 ? address.GetAddress() : htonl(INADDR_LOOPBACK);
  return raw;
}

// A stream to the address, blocking; -1 when it does not connect. A small receive buffer, when
// asked, makes a peer that does not read fill up soon.
inline int ConnectStream(const Network::NetAddress& address, int receiveBuffer = 0) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (receiveBuffer > 0) setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof(receiveBuffer));
  const sockaddr_in raw = ToSockaddr(address);
  if (connect(fd, reinterpret_cast<const sockaddr*>(&raw), sizeof(raw)) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// Writes what the socket takes within the time; the number of bytes written.
inline size_t SendSome(int fd, const std::string& bytes, int timeoutMs = 1000) {
  size_t done = 0;
  RealClock waited;
  while (done < bytes.size() && waited.Elapsed() < timeoutMs) {
    pollfd entry{fd, POLLOUT, 0};
    if (poll(&entry, 1, 10) <= 0) continue;
    const ssize_t sent = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent <= 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
      break;
    }
    done += static_cast<size_t>(sent);
  }
  return done;
}

// Reads one framed message within the time; false when none came whole (or the stream ended).
inline bool ReadFramed(int fd, uint32_t& type, std::string& payload, int timeoutMs = 5000) {
  std::string bytes;
  RealClock waited;
  auto fill = [&](size_t wanted) {
    while (bytes.size() < wanted) {
      const double left = timeoutMs - waited.Elapsed();
      if (left <= 0) return false;
      pollfd entry{fd, POLLIN, 0};
      if (poll(&entry, 1, static_cast<int>(left) + 1) <= 0) continue;
      char buffer[4096];
      const size_t want = std::min(sizeof(buffer), wanted - bytes.size());
      const ssize_t got = recv(fd, buffer, want, 0);
      if (got <= 0) return false;
      bytes.append(buffer, static_cast<size_t>(got));
    }
    return true;
  };
  if (!fill(8)) return false;
  uint32_t total = 0;
  std::memcpy(&type, bytes.data(), 4);
  std::memcpy(&total, bytes.data() + 4, 4);
  if (total < 8 || total > (1u << 24)) return false;
  if (!fill(total)) return false;
  payload = bytes.substr(8);
  return true;
}

// True once the peer has closed the stream (reads end), within the time.
inline bool StreamEnds(int fd, int timeoutMs) {
  RealClock waited;
  while (waited.Elapsed() < timeoutMs) {
    pollfd entry{fd, POLLIN, 0};
    if (poll(&entry, 1, 10) <= 0) continue;
    char buffer[65536];
    const ssize_t got = recv(fd, buffer, sizeof(buffer), MSG_DONTWAIT);
    if (got == 0) return true;
    if (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return true;
  }
  return false;
}

inline int DatagramSocket() { return socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0); }

inline bool SendDatagram(int fd, const Network::NetAddress& to, const std::string& bytes) {
  const sockaddr_in raw = ToSockaddr(to);
  return sendto(fd, bytes.data(), bytes.size(), MSG_DONTWAIT, reinterpret_cast<const sockaddr*>(&raw), sizeof(raw)) ==
         static_cast<ssize_t>(bytes.size());
}

// A listening stream on loopback, any port; its address in out.
inline int ListenStream(Network::NetAddress& out) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in raw{};
  raw.sin_family = AF_INET;
  raw.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&raw), sizeof(raw)) != 0 || listen(fd, 16) != 0) return -1;
  socklen_t length = sizeof(raw);
  getsockname(fd, reinterpret_cast<sockaddr*>(&raw), &length);
  out = Network::NetAddress("127.0.0.1", ntohs(raw.sin_port));
  return fd;
}

}  // namespace MultiplayerTesting
