#pragma once
// The network engine's entry point: it starts the socket library and owns the sessions.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/Core_Object.h"
#include "network/Network_Session.h"

namespace Network {

class Qln_Network_Manager : public Core::Object {
 public:
  Qln_Network_Manager() = default;
  ~Qln_Network_Manager() override;
  Qln_Network_Manager(const Qln_Network_Manager&) = delete;
  Qln_Network_Manager& operator=(const Qln_Network_Manager&) = delete;

  // POSIX sockets need no start-up; the flag keeps the once-only answer callers expect.
  bool StartWinsock();
  bool IsWinsockStarted() const { return m_started != 0; }

  // A new initialised session, or null when it cannot be initialised.
  Qln_Session* CreateSession(const std::string& name, const std::string& password, bool passwordFlag,
                             EventHandler handler, std::int32_t priority, bool threaded,
                             std::uint32_t maximumHandlerThreads, std::uint32_t waitPeriodMs,
                             std::uint32_t selectTimeoutMs);
  // Closes (unless it is closed or closing) and deletes a session of this manager; false for null
  // or a session not in the list. A handler may make these calls on any thread; the manager's
  // destruction waits for them.
  bool DestroySession(Qln_Session* session);
  void DestroySessions();
  std::size_t GetSessionCount() const;

 private:
  // A call of the manager under way on the calling thread.
  class Call {
   public:
    explicit Call(const Qln_Network_Manager& manager);
    ~Call();
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;

   private:
    const Qln_Network_Manager& m_manager;
  };
  // Takes the session out of the list, wherever a handler's own letting go has left it.
  void Forget(const Qln_Session* session);
  std::uint8_t m_started = 0;
  // A handler on a worker may let go of its session while the owner makes or drops others. Never
  // held across a close, whose handlers may come back here.
  mutable std::mutex m_sessionsMutex;
  std::vector<Core::SmartPointer<Qln_Session>> m_sessions;
  // The threads inside a call, under the mutex; told when one leaves.
  mutable std::vector<std::thread::id> m_callers;
  mutable std::condition_variable m_callerLeft;
};

}  // namespace Network
