// The multiplayer layer's session control, players, groups, sending and per-frame update.
#include "framework/Quillon_QlnNet.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "core/Core_Time.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_NetworkFile.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "network/Network_Session.h"
#include "platform/PAL_ThreadManager.h"

namespace Quillon {

namespace {

// Sessions of one process may run on threads of their own (a test's host and clients).
std::atomic<uint32_t> g_playerIdCounter{0};
std::atomic<uint32_t> g_groupIdCounter{0};
std::atomic<uint32_t> g_sessionLimit{1};
std::atomic<uint32_t> g_activeSessions{0};

constexpr uint32_t kDefaultGroupId = 1;

template <typename T>
void Append(std::vector<uint8_t>& bytes, const T& value) {
  const std::size_t at = bytes.size();
  bytes.resize(at + sizeof(T));
  std::memcpy(bytes.data() + at, &value, sizeof(T));
}

void AppendText(std::vector<uint8_t>& bytes, const std::string& text) {
  bytes.insert(bytes.end(), text.begin(), text.end());
  bytes.push_back(0);
}

QlnNet::Environment DefaultEnvironment() {
  QlnNet::Environment environment;
  environment.currentLevel = [] { return GetGameServices().GetCurrentLevel(); };
  environment.switchLevel = [](const std::string& name) {
    if (Game* game = Game::GetInstance()) game->GoToLevel(name);
  };
  environment.keyboard = []() -> Input::Keyboard* { return Input::Keyboard::GetInstance(); };
  environment.mouse = []() -> Input::Mouse* { return Input::Mouse::GetInstance(); };
  return environment;
}

}  // namespace

// ---- Players and groups ---------------------------------------------------------------------------

QlnPlayer::QlnPlayer(const std::string& name, bool local, bool host, const Network::NetAddress& address)
    : m_name(name), m_local(local ? 1 : 0), m_host(host ? 1 : 0), m_address(address) {}

uint32_t QlnPlayer::NextId() { return ++g_playerIdCounter; }

int QlnPlayer::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, ScriptClassName); }

Input::Keyboard* QlnPlayer::GetKeyboard() const {
  if (m_local != 0 && m_host != 0) return Input::Keyboard::GetInstance();
  return m_keyboard.Get();
}

Input::Mouse* QlnPlayer::GetMouse() const {
  if (m_local != 0 && m_host != 0) return Input::Mouse::GetInstance();
  return m_mouse.Get();
}

void QlnPlayer::SetNetworkDevices(const Core::SmartPointer<Input::Keyboard>& keyboard,
                                  const Core::SmartPointer<Input::Mouse>& mouse) {
  m_keyboard = keyboard;
  m_mouse = mouse;
}

QlnGroup::QlnGroup(const std::string& name, QlnPlayer* owner) : m_name(name), m_id(++g_groupIdCounter), m_owner(owner) {}

int QlnGroup::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, ScriptClassName); }

void QlnGroup::Sort() {
  Players refiled;
  for (const auto& entry : m_players) refiled.emplace(entry.second->GetID(), entry.second);
  m_players.swap(refiled);
}

bool QlnGroup::AddPlayer(QlnPlayer* player) {
  if (player == nullptr) return false;
  return m_players.emplace(player->GetID(), Core::SmartPointer<QlnPlayer>(player)).second;
}

bool QlnGroup::RemovePlayer(uint32_t id) { return m_players.erase(id) > 0; }

bool QlnGroup::RemovePlayer(const std::string& name) {
  for (auto it = m_players.begin(); it != m_players.end(); ++it) {
    if (it->second->GetName() == name) {
      m_players.erase(it);
      return true;
    }
  }
  return false;
}

QlnPlayer* QlnGroup::QueryPlayer(uint32_t id) const {
  auto found = m_players.find(id);
  return found != m_players.end() ? found->second.Get() : nullptr;
}

QlnPlayer* QlnGroup::QueryPlayer(const std::string& name) const {
  for (const auto& entry : m_players) {
    if (entry.second->GetName() == name) return entry.second.Get();
  }
  return nullptr;
}

std::vector<Core::SmartPointer<QlnPlayer>> QlnGroup::CopyPlayers() const {
  std::vector<Core::SmartPointer<QlnPlayer>> players;
  players.reserve(m_players.size());
  for (const auto& entry : m_players) players.push_back(entry.second);
  return players;
}

// ---- Session control ------------------------------------------------------------------------------

QlnNet::QlnNet() : QlnNet(DefaultEnvironment()) {}

QlnNet::QlnNet(Environment environment) : m_environment(std::move(environment)) {
  Environment defaults = DefaultEnvironment();
  if (!m_environment.currentLevel) m_environment.currentLevel = defaults.currentLevel;
  if (!m_environment.switchLevel) m_environment.switchLevel = defaults.switchLevel;
  if (!m_environment.keyboard) m_environment.keyboard = defaults.keyboard;
  if (!m_environment.mouse) m_environment.mouse = defaults.mouse;
  m_defaultGroup = new (__FILE__, __LINE__) QlnGroup("All_Players", nullptr);
  // Senders name everybody with this id, whatever the group counter stood at.
  m_defaultGroup->SetID(kDefaultGroupId);
}

QlnNet::~QlnNet() {
  Shutdown();
  m_manager.DestroySessions();
}

void QlnNet::SetSessionLimit(uint32_t limit) { g_sessionLimit = limit; }

bool QlnNet::IsActive() const { return m_session != nullptr; }

Level* QlnNet::CurrentLevel() const { return m_environment.currentLevel ? m_environment.currentLevel() : nullptr; }

bool QlnNet::StartSession(bool host, EventCallback callback, const std::string& sessionName,
                          const std::string& password, uint32_t dispatchTimeBudget, uint32_t dispatchIdleWait,
                          uint32_t syncRate, uint16_t broadcastPort, uint16_t listenPort) {
  if (IsActive()) return false;
  // The slot is taken before the session is made, so two threads cannot both take the last one.
  uint32_t active = g_activeSessions.load();
  do {
    if (active >= g_sessionLimit) return false;
  } while (!g_activeSessions.compare_exchange_weak(active, active + 1));
  if (host) {
    m_session = m_manager.CreateSession(sessionName, password, !password.empty(),
                                        [this](Network::NetEvent& event) { return HostEvent(event); }, 0, false, 0, 0,
                                        1);
  } else {
    m_session = m_manager.CreateSession(sessionName, "", false,
                                        [this](Network::NetEvent& event) { return ClientEvent(event); }, 0, false, 0,
                                        0, 1);
    if (m_session != nullptr && !m_session->OpenDiscoveryListener(broadcastPort)) {
      m_manager.DestroySession(m_session);
      m_session = nullptr;
    }
  }
  if (m_session == nullptr) {
    --g_activeSessions;
    return false;
  }
  m_callback = std::move(callback);
  m_dispatchTimeBudget = dispatchTimeBudget;
  m_dispatchIdleWait = dispatchIdleWait;
  m_isHost = host ? 1 : 0;
  m_hosting = 0;
  m_connected = 0;
  m_broadcastPort = broadcastPort;
  m_listenPort = listenPort;
  m_syncRate = syncRate == 0 ? 1 : syncRate;
  m_syncPeriod = 1.0f / static_cast<float>(m_syncRate);
  m_syncAccumulator = 0.0f;
  m_secondAccumulator = 0.0f;
  return true;
}

bool QlnNet::StartSession(const NetworkSessionSettings& settings, NetworkEventHandler handler) {
  EventCallback callback;
  if (handler != nullptr) callback = [handler](const NetworkEvent& event) { return handler(event); };
  return StartSession(settings.host, callback, settings.sessionName, settings.password, settings.dispatchTimeBudget,
                      settings.dispatchIdleWait, settings.syncRate, settings.broadcastPort, settings.listenPort);
}

bool QlnNet::StartHosting(const std::string& playerName, uint32_t maxPlayers, uint32_t broadcastScope,
                          float intervalSeconds) {
  if (!IsActive() || m_isHost == 0 || m_hosting != 0) return false;
  if (!m_session->StartListening(Network::NetAddress(m_session->GetLocalAddressText(), m_listenPort), maxPlayers)) {
    return false;
  }
  m_maxPlayers = maxPlayers;
  m_session->GetChannelAddress(Network::kChannelHostListen, m_serverAddress);
  m_localPlayerName = playerName;
  m_broadcastScope = broadcastScope;
  m_broadcastInterval = intervalSeconds;
  const bool datagram = m_session->OpenChannel(Network::kChannelHostDatagram, Network::kDatagramSocket, m_serverAddress,
                                               Network::kModeWatchRead, Network::kOptionNonBlocking) != nullptr;
  bool broadcasting = false;
  if (datagram) {
    // The host counts itself before its player exists.
    std::vector<uint8_t> announcement = BuildAnnouncement();
    uint32_t players = 1;
    std::memcpy(announcement.data() + 20, &players, 4);
    const double intervalMs = static_cast<double>(intervalSeconds) * 1000.0;
    const uint32_t interval = intervalMs > 0.0 && intervalMs < 4.0e9 ? static_cast<uint32_t>(intervalMs) : 0;
    broadcasting = m_session->StartBroadcast(m_broadcastPort, broadcastScope, interval, kQlnAnnouncement,
                                             announcement.data(), static_cast<uint32_t>(announcement.size()), 0);
  }
  if (!datagram || !broadcasting) {
    m_session->CloseChannels(Network::kChannelHostDatagram, true);
    m_session->StopHosting();
    return false;
  }
  NetworkEvent hosted;
  hosted.type = kQlnEventHostingStarted;
  Post(hosted);
  // The game's hook may have ended the session.
  if (!IsActive()) return false;
  m_hosting = 1;
  Core::SmartPointer<QlnPlayer> player(new (__FILE__, __LINE__) QlnPlayer(playerName, true, true, m_serverAddress));
  player->SetID(QlnPlayer::NextId());
  m_localPlayer = player;
  AddPlayerToSession(player.Get());
  m_serverAddress = player->GetAddress();
  return true;
}

bool QlnNet::JoinSession(const std::string& playerName, const Network::NetAddress& server,
                         const std::string& password) {
  // The session's own player count bounds the players the host may announce, when it is known.
  uint32_t sessionPlayers = 0;
  for (const QlnBroadcast& found : m_sessionsFound) {
    if (found.address == server) sessionPlayers = found.maxPlayers;
  }
  return JoinAnnouncedSession(playerName, server, password, sessionPlayers);
}

bool QlnNet::ConnectWithin(const Network::NetAddress& server, const Network::RealStopwatch& waited) {
  // The session thread connects the stream: a host that does not answer holds this thread no
  // longer than the join's own time.
  if (m_session->OpenChannel(Network::kChannelClientStream, Network::kStreamSocket, Network::NetAddress(), 0,
                             Network::kOptionNonBlocking) == nullptr) {
    return false;
  }
  m_connectFailed = false;
  if (m_session->Connect(Network::kChannelClientStream, server)) {
    Network::NetAddress remote;
    while (waited.GetElapsed() < kJoinWaitMs && IsActive()) {
      if (m_session->GetChannelRemoteAddress(Network::kChannelClientStream, remote) && remote == server) return true;
      // A refused connect is told by an event: a host that is gone costs no more than a moment.
      m_session->DispatchEvents(1, 1, nullptr, nullptr);
      if (m_connectFailed || !IsActive()) break;
    }
  }
  if (!IsActive()) return false;
  m_session->CloseChannels(Network::kChannelClientStream, true);
  return false;
}

void QlnNet::AwaitJoinAnswer(const Network::RealStopwatch& waited) {
  // The stream is not watched by the session thread yet: the answer is read here.
  while (!m_joinAnswered && m_session != nullptr && waited.GetElapsed() < kJoinWaitMs) {
    std::vector<Network::NetEvent> events;
    if (!m_session->ReceiveNow(Network::kChannelClientStream, events, 0)) break;
    for (Network::NetEvent& event : events) Network::Qln_Session::Deliver(event);
    if (events.empty()) PAL::ThreadManager::Sleep(1, nullptr);
  }
}

bool QlnNet::JoinAnnouncedSession(const std::string& playerName, const Network::NetAddress& server,
                                  const std::string& password, uint32_t sessionPlayers) {
  if (!IsActive() || m_isHost != 0 || m_connected != 0) return false;
  // A new join replaces one still waiting for its answer.
  if (m_joinPending) AbandonJoin();
  Network::RealStopwatch waited;
  waited.Start();
  if (!ConnectWithin(server, waited)) return false;
  Network::NetAddress local;
  m_session->GetChannelAddress(Network::kChannelClientStream, local);
  if (m_session->OpenChannel(Network::kChannelClientDatagram, Network::kDatagramSocket, local, Network::kModeWatchRead,
                             Network::kOptionNonBlocking) == nullptr) {
    m_session->CloseChannels(Network::kChannelClientStream, true);
    return false;
  }
  m_serverAddress = server;
  m_localPlayerName = playerName;
  // The host and this machine count among the players, whatever the announcement said.
  m_playerLimit = sessionPlayers == 0 ? kMaximumPlayers : std::min(std::max<uint32_t>(sessionPlayers, 2), kMaximumPlayers);
  Core::SmartPointer<QlnPlayer> player(new (__FILE__, __LINE__) QlnPlayer(playerName, true, false, local));
  m_localPlayer = player;
  AddPlayerToSession(player.Get());
  // The game's hook may have ended the session.
  if (!IsActive()) return false;

  std::vector<uint8_t> request;
  AppendText(request, password);
  const std::vector<uint8_t> record = PlayerRecord(*player);
  request.insert(request.end(), record.begin(), record.end());
  m_joinAnswered = false;
  m_objectsRequested = false;
  // Queued: the session thread writes what the socket does not take at once.
  const bool sent = m_session->Send(Network::kChannelClientStream, kQlnJoinRequest, request.data(),
                                    static_cast<uint32_t>(request.size()), server);
  if (sent) AwaitJoinAnswer(waited);
  if (m_connected != 0 && IsActive()) {
    CompleteJoin();
    return true;
  }
  if (sent && !m_joinAnswered && IsActive() && m_localPlayer) {
    // A host slower than the frame may wait still answers: the per-frame update reads on, and an
    // acceptance then is told by the join-answer and joined events.
    m_joinPending = true;
    m_joinStarted = waited;
    return false;
  }
  AbandonJoin();
  return false;
}

void QlnNet::CompleteJoin() {
  m_joinPending = false;
  m_session->SetChannelMode(Network::kChannelClientStream, Network::kModeWatchRead);
  m_defaultGroup->Sort();
  NetworkEvent joined;
  joined.type = kQlnEventJoined;
  Post(joined);
}

void QlnNet::AbandonJoin() {
  m_joinPending = false;
  if (m_localPlayer) m_defaultGroup->RemovePlayer(m_localPlayer->GetID());
  m_localPlayer.Reset();
  m_defaultGroup->Clear();
  if (IsActive()) {
    m_session->CloseChannels(Network::kChannelClientStream, true);
    m_session->CloseChannels(Network::kChannelClientDatagram, true);
  }
}

void QlnNet::ContinueJoin() {
  std::vector<Network::NetEvent> events;
  const bool open = m_session->ReceiveNow(Network::kChannelClientStream, events, 0);
  for (Network::NetEvent& event : events) Network::Qln_Session::Deliver(event);
  // The game's hook may have ended the session, or joined again.
  if (!IsActive() || !m_joinPending) return;
  if (m_connected != 0) {
    CompleteJoin();
  } else if (!open || m_joinAnswered || m_joinStarted.GetElapsed() >= kJoinAnswerMs) {
    AbandonJoin();
  }
}

bool QlnNet::JoinSession(const std::string& playerName, const QlnBroadcast& session, const std::string& password) {
  return JoinAnnouncedSession(playerName, session.address, password, session.maxPlayers);
}

bool QlnNet::Shutdown() {
  if (!IsActive()) return false;
  m_baseObjects.clear();
  m_replicated.clear();
  // The end does not wait on what a peer queued: the session is forgotten before it closes, so the
  // events its close still delivers (whatever the peers sent and nobody read) reach handlers that
  // drop them unread.
  Network::Qln_Session* session = m_session;
  m_session = nullptr;
  m_manager.DestroySession(session);
  --g_activeSessions;
  // A later session starts from idle: no role, no players, no groups, no stale discoveries.
  m_isHost = 0;
  m_hosting = 0;
  m_connected = 0;
  m_joinPending = false;
  m_localPlayer.Reset();
  m_defaultGroup->Clear();
  m_groups.clear();
  m_sessionsFound.clear();
  m_pings.clear();
  return true;
}

bool QlnNet::IsNetworkGame() const {
  if (!m_localPlayer) return false;
  return m_isHost != 0 ? m_hosting != 0 : m_connected != 0;
}

// ---- Players --------------------------------------------------------------------------------------

bool QlnNet::Post(const NetworkEvent& event) {
  if (!m_callback) return false;
  return m_callback(event);
}

bool QlnNet::Post(uint32_t type, QlnPlayer* player) {
  NetworkEvent event;
  event.type = type;
  event.player = player;
  // The game holds the player for the length of the call.
  Core::SmartPointer<QlnPlayer> keep(player);
  return Post(event);
}

std::vector<uint8_t> QlnNet::PlayerRecord(const QlnPlayer& player) const {
  std::vector<uint8_t> record;
  Append<uint32_t>(record, player.GetID());
  Append<uint8_t>(record, player.IsHost() ? 1 : 0);
  Append(record, player.GetAddress().GetSocketAddress());
  AppendText(record, player.GetName());
  return record;
}

bool QlnNet::AddPlayerToSession(QlnPlayer* player) {
  if (player == nullptr || !IsActive()) return false;
  Core::SmartPointer<QlnPlayer> keep(player);
  if (m_hosting == 0 && player->IsHost()) {
    Network::NetAddress remote;
    if (m_session->GetChannelRemoteAddress(Network::kChannelClientStream, remote)) player->SetAddress(remote);
  }
  if (m_hosting != 0) {
    player->SetNetworkDevices(Input::KeyboardImp::Create(), Input::MouseImp::Create());
    const std::vector<uint8_t> record = PlayerRecord(*player);
    for (const auto& other : m_defaultGroup->CopyPlayers()) {
      if (other->IsLocal()) continue;
      m_session->Send(Network::kChannelHostListen, kQlnPlayerRecord, record.data(),
                      static_cast<uint32_t>(record.size()), other->GetAddress());
    }
  }
  if (!m_defaultGroup->AddPlayer(player)) return false;
  Post(kQlnEventPlayerJoined, player);
  return true;
}

void QlnNet::EndClientSide() {
  m_connected = 0;
  m_session->CloseChannels(Network::kChannelClientStream, false);
  m_session->CloseChannels(Network::kChannelClientDatagram, false);
  NetworkEvent ended;
  ended.type = kQlnEventSessionEnded;
  m_defaultGroup->Clear();
  m_localPlayer.Reset();
  Post(ended);
}

void QlnNet::EndHostSide() {
  m_hosting = 0;
  m_session->CloseChannels(Network::kChannelHostDatagram, false);
  NetworkEvent ended;
  ended.type = kQlnEventSessionEnded;
  m_defaultGroup->Clear();
  m_localPlayer.Reset();
  m_session->StopHosting();
  Post(ended);
}

void QlnNet::RemovePlayer(QlnPlayer* player) {
  if (player == nullptr || !IsActive()) return;
  Core::SmartPointer<QlnPlayer> keep(player);
  if (m_defaultGroup->QueryPlayer(player->GetID()) != player) return;
  Post(kQlnEventPlayerLeft, player);
  // The game's hook may have ended the session, which took the players with it.
  if (!IsActive()) return;
  m_defaultGroup->RemovePlayer(player->GetID());
  RemoveGroupsOf(player);
  if (m_hosting != 0 && !player->IsLocal()) {
    const std::vector<uint8_t> record = PlayerRecord(*player);
    for (const auto& other : m_defaultGroup->CopyPlayers()) {
      if (other->IsLocal()) continue;
      m_session->Send(Network::kChannelHostListen, kQlnPlayerLeft, record.data(), static_cast<uint32_t>(record.size()),
                      other->GetAddress());
    }
  }
  const bool isLocal = player == m_localPlayer.Get();
  if (isLocal && m_connected != 0) EndClientSide();
  if (player->IsHost()) {
    if (m_connected != 0) EndClientSide();
    if (m_hosting != 0) EndHostSide();
  }
}

QlnPlayer* QlnNet::FindPlayer(uint32_t id) const { return m_defaultGroup->QueryPlayer(id); }

QlnPlayer* QlnNet::FindPlayer(const std::string& name) const { return m_defaultGroup->QueryPlayer(name); }

QlnPlayer* QlnNet::FindPlayerByAddress(const Network::NetAddress& address) const {
  for (const auto& entry : m_defaultGroup->GetPlayers()) {
    if (entry.second->GetAddress() == address) return entry.second.Get();
  }
  return nullptr;
}

QlnPlayer* QlnNet::RemoteSender(uint32_t id, const Network::NetAddress& peer) const {
  QlnPlayer* player = FindPlayer(id);
  if (player == nullptr || player->IsLocal() || !(player->GetAddress() == peer)) return nullptr;
  return player;
}

void QlnNet::RemoveGroupsOf(QlnPlayer* player) {
  // A departed player's groups go with it (nobody inherits them), and it
  // leaves the groups of the others.
  m_groups.erase(std::remove_if(m_groups.begin(), m_groups.end(),
                                [player](const Core::SmartPointer<QlnGroup>& group) { return group->GetOwner() == player; }),
                 m_groups.end());
  for (const auto& group : m_groups) group->RemovePlayer(player->GetID());
}

size_t QlnNet::CountGroupsOwnedBy(const QlnPlayer* owner) const {
  return static_cast<size_t>(std::count_if(m_groups.begin(), m_groups.end(),
                                            [owner](const Core::SmartPointer<QlnGroup>& group) { return group->GetOwner() == owner; }));
}

size_t QlnNet::GroupShare() const {
  // Every player of a full session can still make its share of the table.
  const size_t players = std::max<size_t>(m_maxPlayers, 1);
  return std::max<size_t>(kMaximumGroups / players, 1);
}

QlnGroup* QlnNet::QueryGroup(uint32_t id, QlnPlayer* owner) const {
  if (owner == nullptr) owner = m_localPlayer.Get();
  for (const auto& group : m_groups) {
    if (group->GetID() == id && (group->GetOwner() == nullptr || group->GetOwner() == owner)) return group.Get();
  }
  return nullptr;
}

QlnGroup* QlnNet::QueryGroup(const std::string& name, QlnPlayer* owner) const {
  if (owner == nullptr) owner = m_localPlayer.Get();
  for (const auto& group : m_groups) {
    if (group->GetName() == name && (group->GetOwner() == nullptr || group->GetOwner() == owner)) return group.Get();
  }
  return nullptr;
}

bool QlnNet::CreateGroup(QlnGroup* group) {
  if (group == nullptr || !m_localPlayer || !IsActive()) return false;
  Core::SmartPointer<QlnGroup> keep(group);
  if (m_hosting != 0) {
    m_groups.emplace_back(group);
    return true;
  }
  if (m_connected == 0 || group->GetSize() == 0) return false;
  group->SetOwner(m_localPlayer.Get());
  std::vector<uint8_t> message;
  Append<uint32_t>(message, m_localPlayer->GetID());
  Append<uint32_t>(message, group->GetID());
  AppendText(message, group->GetName());
  for (const auto& entry : group->GetPlayers()) Append<uint32_t>(message, entry.second->GetID());
  if (!SendMessage(kQlnCreateGroup, message.data(), static_cast<uint32_t>(message.size()), nullptr, true)) return false;
  m_groups.emplace_back(group);
  return true;
}

bool QlnNet::DestroyGroup(QlnGroup* group) {
  if (group == nullptr || !IsActive()) return false;
  Core::SmartPointer<QlnGroup> keep(group);
  auto found = std::find_if(m_groups.begin(), m_groups.end(), [group](const auto& g) { return g.Get() == group; });
  if (m_hosting != 0) {
    if (found == m_groups.end()) return false;
    m_groups.erase(found);
    return true;
  }
  if (m_connected == 0 || !m_localPlayer) return false;
  std::vector<uint8_t> message;
  Append<uint32_t>(message, m_localPlayer->GetID());
  Append<uint32_t>(message, group->GetID());
  if (!SendMessage(kQlnDestroyGroup, message.data(), static_cast<uint32_t>(message.size()), nullptr, true)) return false;
  if (found != m_groups.end()) m_groups.erase(found);
  return true;
}

// ---- Sending --------------------------------------------------------------------------------------

bool QlnNet::SendMessage(uint32_t type, const void* data, uint32_t size, QlnGroup* group, bool reliable) {
  if (!IsActive()) return false;
  if (m_isHost == 0) {
    if (m_connected == 0) return false;
    return m_session->Send(reliable ? Network::kChannelClientStream : Network::kChannelClientDatagram, type, data, size,
                           m_serverAddress);
  }
  if (m_hosting == 0) return false;
  if (group == nullptr) group = m_defaultGroup.Get();
  bool all = true;
  for (const auto& player : group->CopyPlayers()) {
    if (player->IsLocal()) continue;
    all = m_session->Send(reliable ? Network::kChannelHostListen : Network::kChannelHostDatagram, type, data, size,
                          player->GetAddress()) &&
          all;
  }
  return all;
}

bool QlnNet::SendMessageToPlayer(uint32_t type, const void* data, uint32_t size, QlnPlayer* target, bool reliable) {
  if (!IsActive()) return false;
  if (m_isHost != 0) {
    if (m_hosting == 0 || target == nullptr) return false;
    return m_session->Send(reliable ? Network::kChannelHostListen : Network::kChannelHostDatagram, type, data, size,
                           target->GetAddress());
  }
  return SendMessage(type, data, size, nullptr, reliable);
}

bool QlnNet::SendText(bool reliable, const std::string& text, uint32_t targetId, QlnGroup* group, QlnPlayer* player,
                      bool echo) {
  if (!m_localPlayer) return false;
  Core::SmartPointer<QlnPlayer> local(m_localPlayer);
  std::vector<uint8_t> message;
  Append<uint32_t>(message, local->GetID());
  Append<uint32_t>(message, targetId);
  AppendText(message, text);
  const uint32_t size = static_cast<uint32_t>(message.size());
  // A client's text goes on through the host, which relays no more than this.
  if (m_isHost == 0 && size > kMaximumRelayedMessage) return false;
  const bool sent = player != nullptr ? SendMessageToPlayer(kQlnText, message.data(), size, player, reliable)
                                      : SendMessage(kQlnText, message.data(), size, group, reliable);
  if (sent && echo && m_callback) {
    NetworkEvent event;
    event.type = kQlnEventText;
    event.text = &text;
    event.player = local.Get();
    Post(event);
  }
  return sent;
}

bool QlnNet::SendTextMessage(bool reliable, const std::string& text, bool echo) {
  return SendText(reliable, text, kDefaultGroupId, nullptr, nullptr, echo);
}

bool QlnNet::SendTextMessageToGroup(bool reliable, const std::string& text, QlnGroup* group, bool echo) {
  if (group == nullptr) return false;
  return SendText(reliable, text, group->GetID(), group, nullptr, echo);
}

bool QlnNet::SendTextMessageToPlayer(bool reliable, const std::string& text, QlnPlayer* target, bool echo) {
  if (target == nullptr) return false;
  return SendText(reliable, text, target->GetID(), nullptr, target, echo);
}

void QlnNet::SendLevelSwitched() {
  if (!m_localPlayer || m_isHost != 0) return;
  // The previous level's replicas went with it; until the host's list arrives, objects and
  // synchronisation records name nothing here.
  m_replicated.clear();
  m_localPlayer->SetReady(false);
  const uint32_t id = m_localPlayer->GetID();
  m_objectsRequested = SendMessage(kQlnRequestObjects, &id, sizeof(id), nullptr, true);
}

// ---- Announcements and discovery ---------------------------------------------------------------

std::vector<uint8_t> QlnNet::BuildAnnouncement() const {
  std::vector<uint8_t> bytes;
  Append(bytes, m_serverAddress.GetSocketAddress());
  Append<uint32_t>(bytes, m_maxPlayers);
  Append<uint32_t>(bytes, m_defaultGroup->GetSize());
  Append<uint8_t>(bytes, m_session != nullptr && m_session->IsPasswordProtected() ? 1 : 0);
  const std::string name = m_session != nullptr ? m_session->GetSessionName() : std::string();
  Append<uint32_t>(bytes, static_cast<uint32_t>(name.size() + 1));
  AppendText(bytes, name);
  AppendText(bytes, m_localPlayerName);
  return bytes;
}

void QlnNet::CopyDiscoveredSessions(const std::string& networkId,
                                    std::vector<std::shared_ptr<const QlnBroadcast>>& out) const {
  out.clear();
  for (const QlnBroadcast& session : m_sessionsFound) {
    if (session.networkId == networkId) out.push_back(std::make_shared<const QlnBroadcast>(session));
  }
}

void QlnNet::RestartDiscovery() {
  if (IsActive() && m_isHost == 0 && m_connected == 0) m_session->OpenDiscoveryListener(m_broadcastPort);
}

// ---- Per frame --------------------------------------------------------------------------------------

void QlnNet::UpdatePlayerInput(float dt) {
  (void)dt;
  if (!IsActive()) return;
  for (const auto& entry : m_defaultGroup->GetPlayers()) {
    const QlnPlayer* player = entry.second.Get();
    if (m_isHost != 0 && player->IsLocal()) continue;
    if (Input::Keyboard* keyboard = player->GetKeyboard()) keyboard->Reset();
  }
}

void QlnNet::SendSync() {
  if (Level* level = CurrentLevel()) {
    std::vector<uint8_t> name;
    AppendText(name, level->GetName());
    SendMessage(kQlnLevelName, name.data(), static_cast<uint32_t>(name.size()), nullptr, false);
  }
  ReleaseStaleObjects();
  const uint32_t count = static_cast<uint32_t>(m_replicated.size());
  for (const auto& object : std::vector<Core::SmartPointer<GameObject>>(m_replicated)) {
    const NetObjectID* id = GetNetObjectID(object.Get());
    if (id == nullptr) continue;
    NetworkFile file;
    Core::WriteValue<uint32_t>(file, count);
    Core::WriteValue<uint32_t>(file, id->GetOwner());
    Core::WriteValue<uint32_t>(file, id->GetId());
    object->SetNetworkFile(&file);
    object->NetworkSyncSend(file);
    object->SetNetworkFile(nullptr);
    SendMessage(kQlnSyncObject, file.GetData(), file.GetSize(), nullptr, false);
  }
}

void QlnNet::Update(float dt) {
  if (!IsActive()) return;
  m_syncAccumulator += dt;
  m_secondAccumulator += dt;
  for (QlnBroadcast& session : m_sessionsFound) session.age += dt;
  m_sessionsFound.erase(std::remove_if(m_sessionsFound.begin(), m_sessionsFound.end(),
                                       [this](const QlnBroadcast& s) { return s.age >= m_broadcastTimeOut; }),
                        m_sessionsFound.end());
  const auto tick = [this, dt] {
    if (m_syncAccumulator < m_syncPeriod) return false;
    ++m_ticksThisSecond;
    m_syncAccumulator -= m_syncPeriod;
    // No catching up after a long frame.
    if (m_syncAccumulator > dt) m_syncAccumulator = dt;
    return true;
  };
  if (m_isHost != 0) {
    m_pings.clear();
    if (m_hosting != 0 && m_localPlayer) {
      const uint32_t hostId = m_localPlayer->GetID();
      for (const auto& player : m_defaultGroup->CopyPlayers()) {
        if (player->IsLocal()) continue;
        m_pings.push_back({player->GetID(), Core::GetTime()});
        m_session->Send(Network::kChannelHostDatagram, kQlnPing, &hostId, sizeof(hostId), player->GetAddress());
      }
      const std::vector<uint8_t> announcement = BuildAnnouncement();
      m_session->SetBroadcastData(announcement.data(), static_cast<uint32_t>(announcement.size()));
    }
    m_session->DispatchEvents(m_dispatchTimeBudget, m_dispatchIdleWait, nullptr, nullptr);
    if (IsActive() && tick() && m_hosting != 0) SendSync();
  } else {
    if (tick() && m_localPlayer && m_connected != 0) {
      const uint32_t id = m_localPlayer->GetID();
      Input::Keyboard* keyboard = m_environment.keyboard ? m_environment.keyboard() : nullptr;
      if (keyboard != nullptr && keyboard->AnyKey()) {
        void* state = nullptr;
        int32_t size = 0;
        keyboard->GetState(state, size);
        if (state != nullptr && size > 0) {
          std::vector<uint8_t> message;
          Append<uint32_t>(message, id);
          message.insert(message.end(), static_cast<uint8_t*>(state), static_cast<uint8_t*>(state) + size);
          SendMessage(kQlnKeyboardState, message.data(), static_cast<uint32_t>(message.size()), nullptr, false);
        }
      }
      Input::Mouse* mouse = m_environment.mouse ? m_environment.mouse() : nullptr;
      if (mouse != nullptr) {
        void* state = nullptr;
        int32_t size = 0;
        mouse->GetState(state, size);
        if (state != nullptr && size > 0) {
          std::vector<uint8_t> message;
          Append<uint32_t>(message, id);
          message.insert(message.end(), static_cast<uint8_t*>(state), static_cast<uint8_t*>(state) + size);
          SendMessage(kQlnMouseState, message.data(), static_cast<uint32_t>(message.size()), nullptr, false);
        }
      }
    }
    if (IsActive() && m_joinPending) ContinueJoin();
    if (IsActive()) m_session->DispatchEvents(m_dispatchTimeBudget, m_dispatchIdleWait, nullptr, nullptr);
  }
  if (m_secondAccumulator >= 1.0f) {
    m_measuredTicks = m_ticksThisSecond > 0 ? m_ticksThisSecond : 1;
    m_ticksThisSecond = 0;
    m_secondAccumulator -= 1.0f;
    if (m_secondAccumulator > dt) m_secondAccumulator = dt;
  }
}

// ---- Factory ----------------------------------------------------------------------------------------

namespace {
std::unique_ptr<GameNetwork> MakeMultiplayer() { return std::make_unique<QlnNet>(); }
struct InstallAtStart {
  InstallAtStart() { SetGameNetworkFactory(&MakeMultiplayer); }
} g_installAtStart;
}  // namespace

void InstallMultiplayer() { SetGameNetworkFactory(&MakeMultiplayer); }

}  // namespace Quillon
