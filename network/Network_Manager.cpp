#include "network/Network_Manager.h"

#include <algorithm>
#include <utility>

namespace Network {

Qln_Network_Manager::~Qln_Network_Manager() { DestroySessions(); }

bool Qln_Network_Manager::StartWinsock() {
  if (m_started) return false;
  m_started = 1;
  return true;
}

Qln_Session* Qln_Network_Manager::CreateSession(const std::string& name, const std::string& password,
                                                bool passwordFlag, EventHandler handler, std::int32_t priority,
                                                bool threaded, std::uint32_t maximumHandlerThreads,
                                                std::uint32_t waitPeriodMs, std::uint32_t selectTimeoutMs) {
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
  {
    std::lock_guard<std::mutex> lock(m_sessionsMutex);
    if (std::none_of(m_sessions.begin(), m_sessions.end(),
                     [session](const Core::SmartPointer<Qln_Session>& item) { return item.Get() == session; })) {
      return false;
    }
  }
  if (!session->Close()) return false;
  Forget(session);
  return true;
}

void Qln_Network_Manager::DestroySessions() {
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
