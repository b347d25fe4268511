#pragma once
// Event recording and bounded waiting for the network tests. Every wait has a deadline, so a lost
// message fails a test instead of hanging it.
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "core/Core_Time.h"
#include "network/Network_Event.h"
#include "network/Network_Session.h"

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
      m_events.push_back(record);
      return true;
    };
  }

  std::vector<Recorded> Snapshot() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_events;
  }

  std::vector<Recorded> OfKind(std::uint32_t kind) {
    std::vector<Recorded> found;
    for (const Recorded& record : Snapshot()) {
      if (record.kind == kind) found.push_back(record);
    }
    return found;
  }

  std::size_t Count(std::uint32_t kind) { return OfKind(kind).size(); }

  void Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_events.clear();
  }

 private:
  std::mutex m_mutex;
  std::vector<Recorded> m_events;
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

}  // namespace NetworkTest
