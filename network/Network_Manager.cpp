#include "network/Network_Manager.h"

#include <algorithm>
#include <utility>

namespace Network {

Qln_Network_Manager::~Qln_Network_Manager() {
  DestroySessions();
  {
    // A handler on another thread may still be letting go of sessions through us (its own close
    // still delivering), or even making one.
    std::unique_lock<std::mutex> lock(m_sessionsMutex);
    const std::thread::id self = std::this_thread::get_id();
    m_callerLeft.wait(lock, [this, self] {
      return std::all_of(m_callers.begin(), m_callers.end(), [self](std::thread::id caller) { return caller == self; });
    });
  }
  DestroySessions();
}

Qln_Network_Manager::Call::Call(const Qln_Network_Manager& manager) : m_manager(manager) {
  std::lock_guard<std::mutex> lock(m_manager.m_sessionsMutex);
  m_manager.m_callers.push_back(std::this_thread::get_id());
}

Qln_Network_Manager::Call::~Call() {
  std::lock_guard<std::mutex> lock(m_manager.m_sessionsMutex);
  auto found = std::find(m_manager.m_callers.begin(), m_manager.m_callers.end(), std::this_thread::get_id());
  if (found != m_manager.m_callers.end()) m_manager.m_callers.erase(found);
  m_manager.m_callerLeft.notify_all();
}

bool Qln_Network_Manager::StartWinsock() {
  if (m_started) return false;
  m_started = 1;
  return true;
}

Qln_Session* Qln_Network_Manager::CreateSession(const std::string& name, const std::string& password,
                                                bool passwordFlag, EventHandler handler, std::int32_t priority,
                                                bool threaded, std::uint32_t maximumHandlerThreads,
                                                std::uint32_t waitPeriodMs, std::uint32_t selectTimeoutMs) {
  Call call(*this);
  Core::SmartPointer<Qln_Session> session = new ("Network_Engine", __LINE__) Qln_Session();
  if (!session->Initialize(name, password, passwordFlag, std::move(handler), priority, threaded,
                           maximumHandlerThreads, waitPeriodMs, selectTimeoutMs)) {
    return nullptr;
  }
  {
    std::lock_guard<std::mutex> lock(m_sessionsMutex);
    m_sessions.push_back(session);
  }
  return session.Get();
}

bool Qln_Network_Manager::DestroySession(Qln_Session* session) {
  if (session == nullptr) return false;
  Call call(*this);
  // Held through the close: another thread may let go of it meanwhile.
  Core::SmartPointer<Qln_Session> held;
  {
    std::lock_guard<std::mutex> lock(m_sessionsMutex);
    auto found = std::find_if(m_sessions.begin(), m_sessions.end(),
                              [session](const Core::SmartPointer<Qln_Session>& item) { return item.Get() == session; });
    if (found == m_sessions.end()) return false;
    held = *found;
  }
  // Closed first, or closing on another thread (its destruction then waits for that close), or
  // closing further out on this one: it goes all the same.
  session->Close();
  Forget(session);
  return true;
}

void Qln_Network_Manager::DestroySessions() {
  Call call(*this);
  // Closed one by one, so a handler that runs during a close still finds the others whole.
  for (;;) {
    Core::SmartPointer<Qln_Session> session;
    {
      std::lock_guard<std::mutex> lock(m_sessionsMutex);
      if (m_sessions.empty()) return;
      session = m_sessions.back();
    }
    session->Close();
    Forget(session.Get());
  }
}

std::size_t Qln_Network_Manager::GetSessionCount() const {
  std::lock_guard<std::mutex> lock(m_sessionsMutex);
  return m_sessions.size();
}

void Qln_Network_Manager::Forget(const Qln_Session* session) {
  // A handler of the close may have let go of it already; the last reference goes out of the lock,
  // for the destruction waits for handlers that may come back here.
  Core::SmartPointer<Qln_Session> last;
  std::lock_guard<std::mutex> lock(m_sessionsMutex);
  auto found = std::find_if(m_sessions.begin(), m_sessions.end(),
                            [session](const Core::SmartPointer<Qln_Session>& item) { return item.Get() == session; });
  if (found == m_sessions.end()) return;
  last = *found;
  m_sessions.erase(found);
}

}  // namespace Network
