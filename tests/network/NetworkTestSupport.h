#pragma once
// Event recording and bounded waiting for the network tests. Every wait has a deadline, so a lost
// message fails a test instead of hanging it.
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "core/Core_Time.h"
#include "network/Network_Event.h"
#include "network/Network_Message.h"
#include "network/Network_Session.h"
#include "network/Network_Socket.h"

namespace NetworkTest {

constexpr double kWaitMs = 5000.0;

// What a test keeps of one event (the payload is copied: the engine frees its buffer).
struct Recorded {
  std::uint32_t kind = 0;
  std::uint32_t channelKind = 0;
  std::uint32_t messageType = 0;
  std::string payload;
  std::uint32_t size = 0;
  Network::NetAddress peer;
  std::uint8_t failed = 0;
};

class EventLog {
 public:
  Network::EventHandler Handler() {
    return [this](Network::NetEvent& event) {
      Recorded record;
      record.kind = event.kind;
      record.channelKind = event.channelKind;
      record.messageType = event.messageType;
      record.size = event.size;
      if (event.payload != nullptr) record.payload.assign(reinterpret_cast<const char*>(event.payload), event.payloadSize);
      record.peer = event.peer;
      record.failed = event.failed;
      std::lock_guard<std::mutex> lock(m_mutex);
      ++m_counts[record.kind];
      m_events.push_back(std::move(record));
      return true;
    };
  }

  std::vector<Recorded> Snapshot() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_events;
  }

  std::vector<Recorded> OfKind(std::uint32_t kind) {
    std::vector<Recorded> found;
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const Recorded& record : m_events) {
      if (record.kind == kind) found.push_back(record);
    }
    return found;
  }

  // Counted as the events arrive: the waits ask on every pump, and copying a log of tens of
  // thousands of events each time would make the test, not the session, the slow part.
  std::size_t Count(std::uint32_t kind) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_counts.find(kind);
    return found != m_counts.end() ? found->second : 0;
  }

  void Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_events.clear();
    m_counts.clear();
  }

 private:
  std::mutex m_mutex;
  std::vector<Recorded> m_events;
  std::map<std::uint32_t, std::size_t> m_counts;
};

// Dispatches the sessions' queues until the condition holds or the deadline passes.
inline bool PumpUntil(const std::vector<Network::Qln_Session*>& sessions, const std::function<bool()>& condition,
                      double timeoutMs = kWaitMs) {
  Core::Stopwatch waited;
  waited.Start();
  for (;;) {
    for (Network::Qln_Session* session : sessions) session->DispatchEvents(5, 1, nullptr, nullptr);
    if (condition()) return true;
    if (waited.GetElapsed() >= timeoutMs) return false;
  }
}

// One framed message as it goes on the wire: header, then payload.
inline std::string Frame(std::uint32_t type, const std::string& payload) {
  std::string bytes(8 + payload.size(), '\0');
  Network::WriteMessage(reinterpret_cast<std::uint8_t*>(&bytes[0]), type, payload.data(),
                        static_cast<std::uint32_t>(payload.size()));
  return bytes;
}

// A datagram channel of the kind on loopback that the session thread watches; its address (port
// 0 when it could not be opened).
inline Network::NetAddress OpenLoopbackDatagram(Network::Qln_Session* session, std::uint32_t kind,
                                                std::uint32_t options = Network::kOptionNonBlocking) {
  Network::NetAddress address;
  if (session->OpenChannel(kind, Network::kDatagramSocket, Network::NetAddress("127.0.0.1", 0),
                           Network::kModeWatchRead, options) != nullptr) {
    session->GetChannelAddress(kind, address);
  }
  return address;
}

// Starts the session hosting on loopback; the address peers connect to (port 0 when it could not).
inline Network::NetAddress HostOnLoopback(Network::Qln_Session* host) {
  Network::NetAddress listening;
  if (host->StartListening(Network::NetAddress("127.0.0.1", 0), 4)) {
    host->GetChannelAddress(Network::kChannelHostListen, listening);
  }
  return listening;
}

// A bare listening socket on loopback, not the engine's; its address.
inline Network::SocketHandle ListenOnLoopback(std::int32_t backlog, Network::NetAddress& address) {
  Network::SocketHandle listener = Network::Socket::Create(Network::kStreamSocket);
  Network::SocketAddress raw;
  if (Network::Socket::Bind(listener, Network::NetAddress("127.0.0.1", 0).GetSocketAddress()) &&
      Network::Socket::Listen(listener, backlog) && Network::Socket::GetLocalAddress(listener, raw)) {
    address.SetSocketAddress(raw);
  }
  return listener;
}

// One framed datagram from a socket of its own.
inline void SendDatagram(const Network::NetAddress& target, std::uint32_t type, const std::string& payload) {
  const std::string bytes = Frame(type, payload);
  Network::SocketHandle socket = Network::Socket::Create(Network::kDatagramSocket);
  Network::SocketStatus status;
  Network::Socket::SendTo(socket, bytes.data(), bytes.size(), target.GetSocketAddress(), status);
  Network::Socket::Close(socket);
}

// A bare TCP peer through the engine's own socket calls, for feeding the host exact bytes.
class RawPeer {
 public:
  explicit RawPeer(const Network::NetAddress& host) {
    m_socket = Network::Socket::Create(Network::kStreamSocket);
    Network::Socket::ApplyOption(m_socket, Network::kStreamSocket, Network::kOptionNoDelay);
    m_connected = Network::Socket::Connect(m_socket, host.GetSocketAddress()) == Network::SocketStatus::Done;
  }
  ~RawPeer() {
    Close();
    for (std::uint8_t* message : m_messages) Network::FreeMessage(message);
  }
  bool IsConnected() const { return m_connected; }
  bool Write(const std::string& bytes) {
    Network::SocketStatus status;
    return Network::Socket::Send(m_socket, bytes.data(), bytes.size(), status) == static_cast<std::int64_t>(bytes.size());
  }
  Network::NetAddress LocalAddress() const {
    Network::NetAddress address;
    Network::SocketAddress raw;
    if (Network::Socket::GetLocalAddress(m_socket, raw)) address.SetSocketAddress(raw);
    return address;
  }
  // True when the other side closed the connection within the wait.
  bool WaitForClose(std::int32_t timeoutMs = 5000) {
    Network::PollEntry entry;
    entry.socket = m_socket;
    entry.wanted = Network::kPollRead;
    if (Network::Socket::Poll(&entry, 1, timeoutMs) <= 0) return false;
    char byte;
    Network::SocketStatus status;
    return Network::Socket::Receive(m_socket, &byte, 1, status) <= 0;
  }
  // Everything that arrives until the other side closes (or the wait runs out).
  std::string ReadUntilClosed(double timeoutMs = 10000.0) {
    std::string received;
    Core::Stopwatch waited;
    waited.Start();
    while (waited.GetElapsed() < timeoutMs) {
      Network::PollEntry entry;
      entry.socket = m_socket;
      entry.wanted = Network::kPollRead;
      if (Network::Socket::Poll(&entry, 1, 100) <= 0) continue;
      char chunk[65536];
      Network::SocketStatus status;
      std::int64_t count = Network::Socket::Receive(m_socket, chunk, sizeof(chunk), status);
      if (count <= 0) break;
      received.append(chunk, static_cast<std::size_t>(count));
    }
    return received;
  }
  // The next whole message that arrives, within the wait.
  bool ReadMessage(std::uint32_t& type, std::string& payload, double timeoutMs = kWaitMs) {
    Core::Stopwatch waited;
    waited.Start();
    while (m_messages.empty()) {
      if (waited.GetElapsed() >= timeoutMs) return false;
      Network::PollEntry entry;
      entry.socket = m_socket;
      entry.wanted = Network::kPollRead;
      if (Network::Socket::Poll(&entry, 1, 10) <= 0) continue;
      std::uint8_t chunk[4096];
      Network::SocketStatus status;
      std::int64_t count = Network::Socket::Receive(m_socket, chunk, sizeof(chunk), status);
      if (count <= 0) return false;
      m_stream.Append(chunk, static_cast<std::size_t>(count), m_messages);
    }
    std::uint8_t* message = m_messages.front();
    m_messages.erase(m_messages.begin());
    type = Network::ReadMessageType(message);
    payload.assign(reinterpret_cast<const char*>(message) + 8, Network::ReadMessageLength(message) - 8);
    Network::FreeMessage(message);
    return true;
  }
  void Close() {
    Network::Socket::Close(m_socket);
    m_socket = Network::kInvalidSocket;
  }

 private:
  Network::SocketHandle m_socket = Network::kInvalidSocket;
  bool m_connected = false;
  Network::StreamBuffer m_stream;
  std::vector<std::uint8_t*> m_messages;
};

}  // namespace NetworkTest
