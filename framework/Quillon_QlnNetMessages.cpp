// The multiplayer layer's receive side: transport events and the parsing of every message type.
// Each payload is read through a bounded reader; a message that does not fit its layout, or names
// a player, group or object that does not exist, is dropped whole.
#include <algorithm>
#include <cstring>

#include "core/Core_Time.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_NetworkFile.h"
#include "framework/Quillon_QlnNet.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"

namespace Quillon {

namespace {

// Reads a payload front to back; any read past its end fails the reader for good.
class PayloadReader {
 public:
  PayloadReader(const uint8_t* data, uint32_t size) : m_data(data), m_size(data != nullptr ? size : 0) {}

  bool U32(uint32_t& value) { return Bytes(&value, sizeof(value)); }
  bool U8(uint8_t& value) { return Bytes(&value, sizeof(value)); }
  bool Bytes(void* out, uint32_t count) {
    if (m_failed || count > m_size - m_position) return Fail();
    if (count > 0) std::memcpy(out, m_data + m_position, count);
    m_position += count;
    return true;
  }
  // Text ended by a zero byte that lies inside the payload.
  bool Text(std::string& text) {
    if (m_failed || m_position >= m_size) return Fail();
    const auto* start = m_data + m_position;
    const auto* end = static_cast<const uint8_t*>(std::memchr(start, 0, m_size - m_position));
    if (end == nullptr) return Fail();
    text.assign(reinterpret_cast<const char*>(start), static_cast<size_t>(end - start));
    m_position += static_cast<uint32_t>(end - start) + 1;
    return true;
  }
  uint32_t Remaining() const { return m_failed ? 0 : m_size - m_position; }
  const uint8_t* Current() const { return m_data + m_position; }

 private:
  bool Fail() {
    m_failed = true;
    return false;
  }
  const uint8_t* m_data;
  uint32_t m_size;
  uint32_t m_position = 0;
  bool m_failed = false;
};

struct PlayerRecordFields {
  uint32_t id = 0;
  uint8_t host = 0;
  Network::SocketAddress address;
  std::string name;
};

bool ReadPlayerRecord(PayloadReader& reader, PlayerRecordFields& record) {
  return reader.U32(record.id) && reader.U8(record.host) && reader.Bytes(&record.address, sizeof(record.address)) &&
         reader.Text(record.name);
}

Network::NetAddress ToAddress(const Network::SocketAddress& socketAddress) {
  Network::NetAddress address;
  address.SetSocketAddress(socketAddress);
  address.UpdateText();
  return address;
}

}  // namespace

// ---- Transport events -----------------------------------------------------------------------------

bool QlnNet::IsCurrentEvent(const Network::NetEvent& event) const {
  // Once the session is shut down (from a hook too), what its close still delivers is dropped.
  return m_session != nullptr && (event.session == nullptr || event.session == m_session);
}

bool QlnNet::HostEvent(Network::NetEvent& event) {
  if (!IsCurrentEvent(event)) return true;
  switch (event.kind) {
    case Network::kEventMessageReceived:
      HandleHostMessage(event.channelKind, event.peer, event.messageType, event.payload, event.payloadSize);
      break;
    case Network::kEventChannelClosed:
      // The listening channel itself went away: the session is over.
      if (event.channelKind == Network::kChannelHostListen && m_hosting != 0 && m_localPlayer) {
        RemovePlayer(m_localPlayer.Get());
      }
      break;
    case Network::kEventConnectionClosed:
      if (event.channelKind == Network::kChannelHostListen) {
        QlnPlayer* player = FindPlayerByAddress(event.peer);
        if (player != nullptr && !player->IsLocal()) RemovePlayer(player);
      }
      break;
    default:
      break;
  }
  return true;
}

bool QlnNet::ClientEvent(Network::NetEvent& event) {
  if (!IsCurrentEvent(event)) return true;
  switch (event.kind) {
    case Network::kEventMessageReceived:
      HandleClientMessage(event.channelKind, event.peer, event.messageType, event.payload, event.payloadSize);
      break;
    case Network::kEventConnectFinished:
      if (event.channelKind == Network::kChannelClientStream && event.failed != 0) m_connectFailed = true;
      break;
    case Network::kEventChannelClosed:
    case Network::kEventConnectionClosed:
      if (event.channelKind == Network::kChannelClientStream && m_connected != 0 && m_localPlayer) {
        // The close of a stream from an earlier, failed join arrives late: only the loss of the
        // open one ends the session.
        Network::NetAddress remote;
        if (!m_session->GetChannelRemoteAddress(Network::kChannelClientStream, remote)) RemovePlayer(m_localPlayer.Get());
      }
      break;
    default:
      break;
  }
  return true;
}

// ---- Host -------------------------------------------------------------------------------------------

void QlnNet::HandleJoinRequest(const Network::NetAddress& peer, uint32_t channelKind, const uint8_t* payload,
                               uint32_t size) {
  PayloadReader reader(payload, size);
  std::string password;
  PlayerRecordFields record;
  if (!reader.Text(password) || !ReadPlayerRecord(reader, record)) return;
  int32_t code = 0;
  Core::SmartPointer<QlnPlayer> player;
  if (m_defaultGroup->GetSize() >= m_maxPlayers) {
    code = -1;
  } else if (m_session->IsPasswordProtected() && password != m_session->GetPassword()) {
    code = -2;
  } else if (FindPlayerByAddress(peer) != nullptr) {
    // A connection that already is a player cannot join a second time.
    code = -3;
  } else {
    // The player's address is where its connection comes from, whatever the record claims.
    player = new (__FILE__, __LINE__) QlnPlayer(record.name, false, false, peer);
    player->SetID(QlnPlayer::NextId());
    NetworkEvent request;
    request.type = kQlnEventJoinRequest;
    request.player = player.Get();
    code = Post(request) ? 0 : -4;
    // The game's hook may have ended the session: nobody is left to answer.
    if (!IsActive() || m_hosting == 0) return;
  }
  if (code == 0) code = static_cast<int32_t>(player->GetID());
  // Before the answer goes: the player's next messages may be of any size, and its join time ends.
  if (code > 0) m_session->SetChannelJoined(channelKind, peer, true);
  // Queued for the session thread to write: a peer that does not read cannot hold this thread.
  m_session->Send(channelKind, kQlnJoinReply, &code, sizeof(code), peer);
  if (code <= 0 || !player) return;
  for (const auto& existing : m_defaultGroup->CopyPlayers()) {
    const std::vector<uint8_t> bytes = PlayerRecord(*existing);
    m_session->Send(channelKind, kQlnPlayerRecord, bytes.data(), static_cast<uint32_t>(bytes.size()), peer);
  }
  AddPlayerToSession(player.Get());
}

void QlnNet::HandleCreateGroup(const Network::NetAddress& peer, const uint8_t* payload, uint32_t size) {
  PayloadReader reader(payload, size);
  uint32_t ownerId = 0;
  uint32_t groupId = 0;
  std::string name;
  if (!reader.U32(ownerId) || !reader.U32(groupId) || !reader.Text(name)) return;
  QlnPlayer* owner = RemoteSender(ownerId, peer);
  if (owner == nullptr || reader.Remaining() % 4 != 0 || m_groups.size() >= kMaximumGroups) return;
  // One player cannot take the table from the others.
  if (CountGroupsOwnedBy(owner) >= GroupShare()) return;
  Core::SmartPointer<QlnGroup> group(new (__FILE__, __LINE__) QlnGroup(name, owner));
  group->SetID(groupId);
  uint32_t member = 0;
  while (reader.Remaining() >= 4 && reader.U32(member)) {
    if (QlnPlayer* player = FindPlayer(member)) group->AddPlayer(player);
  }
  m_groups.push_back(group);
}

void QlnNet::HandleDestroyGroup(const Network::NetAddress& peer, const uint8_t* payload, uint32_t size) {
  PayloadReader reader(payload, size);
  uint32_t ownerId = 0;
  uint32_t groupId = 0;
  if (!reader.U32(ownerId) || !reader.U32(groupId)) return;
  QlnPlayer* owner = RemoteSender(ownerId, peer);
  if (owner == nullptr) return;
  QlnGroup* group = QueryGroup(groupId, owner);
  if (group == nullptr) return;
  m_groups.erase(std::find_if(m_groups.begin(), m_groups.end(), [group](const auto& g) { return g.Get() == group; }));
}

void QlnNet::RelayGroupMessage(const Network::NetAddress& peer, uint32_t type, const uint8_t* payload, uint32_t size) {
  // A relay costs the host one copy per member: what it takes on is bounded.
  if (size > kMaximumRelayedMessage) return;
  PayloadReader reader(payload, size);
  uint32_t senderId = 0;
  uint32_t targetId = 0;
  if (!reader.U32(senderId) || !reader.U32(targetId)) return;
  QlnPlayer* sender = RemoteSender(senderId, peer);
  if (sender == nullptr) return;
  Core::SmartPointer<QlnPlayer> keepSender(sender);
  std::string text;
  uint32_t dataKind = 0;
  uint32_t dataSize = 0;
  const uint8_t* data = nullptr;
  if (type == kQlnText) {
    if (!reader.Text(text)) return;
  } else {
    if (!reader.U32(dataKind) || !reader.U32(dataSize) || dataSize > reader.Remaining()) return;
    data = dataSize > 0 ? reader.Current() : nullptr;
  }
  QlnGroup* group = targetId == m_defaultGroup->GetID() ? m_defaultGroup.Get() : QueryGroup(targetId, sender);
  if (group == nullptr) return;
  Core::SmartPointer<QlnGroup> keepGroup(group);
  // Each copy is queued for the session thread: a member that does not read holds nobody up.
  SendMessage(type, payload, size, group, true);
  if (!m_localPlayer || group->QueryPlayer(m_localPlayer->GetID()) == nullptr) return;
  NetworkEvent event;
  event.player = sender;
  if (type == kQlnText) {
    event.type = kQlnEventText;
    event.text = &text;
  } else {
    event.type = kQlnEventData;
    event.dataKind = dataKind;
    event.size = dataSize;
    event.data = data;
  }
  Post(event);
}

void QlnNet::HandleHostMessage(uint32_t channelKind, const Network::NetAddress& peer, uint32_t type,
                               const uint8_t* payload, uint32_t size) {
  if (m_session == nullptr || m_hosting == 0) return;
  const bool stream = channelKind == Network::kChannelHostListen;
  if (!stream && channelKind != Network::kChannelHostDatagram) return;
  PayloadReader reader(payload, size);
  switch (type) {
    case kQlnJoinRequest:
      if (stream) HandleJoinRequest(peer, channelKind, payload, size);
      return;
    case kQlnCreateGroup:
      HandleCreateGroup(peer, payload, size);
      return;
    case kQlnDestroyGroup:
      HandleDestroyGroup(peer, payload, size);
      return;
    case kQlnRemoveObject: {
      uint32_t ownerId = 0;
      uint32_t objectId = 0;
      if (!stream || !reader.U32(ownerId) || !reader.U32(objectId)) return;
      // A client withdraws only the objects it owns.
      QlnPlayer* sender = FindPlayerByAddress(peer);
      if (sender == nullptr || sender->IsLocal() || sender->GetID() != ownerId) return;
      if (FindNetObject(ownerId, objectId) == nullptr) return;
      RemoveReplicated(ownerId, objectId);
      SendMessage(kQlnRemoveObject, payload, 8, nullptr, true);
      return;
    }
    case kQlnText:
    case kQlnData:
      RelayGroupMessage(peer, type, payload, size);
      return;
    case kQlnKeyboardState:
    case kQlnMouseState: {
      uint32_t playerId = 0;
      if (!reader.U32(playerId)) return;
      QlnPlayer* player = RemoteSender(playerId, peer);
      if (player == nullptr) return;
      const int32_t recordSize = static_cast<int32_t>(std::min<uint32_t>(reader.Remaining(), INT32_MAX));
      if (type == kQlnKeyboardState) {
        if (Input::Keyboard* keyboard = player->GetKeyboard()) keyboard->SetState(reader.Current(), recordSize);
      } else {
        if (Input::Mouse* mouse = player->GetMouse()) mouse->SetState(reader.Current(), recordSize);
      }
      return;
    }
    case kQlnRequestObjects: {
      uint32_t playerId = 0;
      if (!reader.U32(playerId)) return;
      if (QlnPlayer* player = RemoteSender(playerId, peer)) SendNetObjects(player);
      return;
    }
    case kQlnPingReply: {
      uint32_t playerId = 0;
      if (!reader.U32(playerId)) return;
      QlnPlayer* player = RemoteSender(playerId, peer);
      if (player == nullptr) return;
      double ping = 0.0;
      for (const PingRecord& record : m_pings) {
        if (record.playerId == playerId) ping = Core::GetTime() - record.sendTime;
      }
      player->SetPingTime(ping);
      return;
    }
    default:
      return;
  }
}

// ---- Client -----------------------------------------------------------------------------------------

void QlnNet::HandleAnnouncement(const Network::NetAddress& peer, const uint8_t* payload, uint32_t size) {
  if (m_connected != 0 || payload == nullptr || size < 29) return;
  PayloadReader reader(payload, size);
  Network::SocketAddress socketAddress;
  QlnBroadcast found;
  uint32_t length = 0;
  if (!reader.Bytes(&socketAddress, sizeof(socketAddress)) || !reader.U32(found.maxPlayers) ||
      !reader.U32(found.players) || !reader.U8(found.passwordProtected) || !reader.U32(length) ||
      length > reader.Remaining()) {
    return;
  }
  const char* name = reinterpret_cast<const char*>(reader.Current());
  found.networkId.assign(name, strnlen(name, length));
  std::string skip(length, '\0');
  reader.Bytes(&skip[0], length);
  const char* host = reinterpret_cast<const char*>(reader.Current());
  found.hostName.assign(host, strnlen(host, reader.Remaining()));
  // The host is the machine the announcement came from; only its listening port is its word. A
  // sender cannot point clients (and their passwords) at another machine.
  found.address = peer;
  found.address.SetPort(ToAddress(socketAddress).GetPort());
  found.address.UpdateText();
  found.age = 0.0f;
  size_t fromSender = 0;
  for (QlnBroadcast& session : m_sessionsFound) {
    if (session.address == found.address) {
      session = found;
      return;
    }
    fromSender += session.address.GetAddress() == found.address.GetAddress() ? 1 : 0;
  }
  // One machine may host a few games, not fill the list.
  if (fromSender >= kMaximumSessionsPerMachine) return;
  if (m_sessionsFound.size() < kMaximumSessionsFound) m_sessionsFound.push_back(found);
}

void QlnNet::HandleJoinReply(const uint8_t* payload, uint32_t size) {
  PayloadReader reader(payload, size);
  int32_t code = 0;
  if (m_connected != 0 || m_joinAnswered || !m_localPlayer || !reader.Bytes(&code, sizeof(code))) return;
  m_joinAnswered = true;
  NetworkEvent answer;
  answer.type = kQlnEventJoinAnswer;
  answer.data = &code;
  answer.size = sizeof(code);
  Post(answer);
  // The game's hook may have ended the session.
  if (!IsActive() || code <= 0 || !m_localPlayer) return;
  m_connected = 1;
  m_session->CloseClientChannel(false);
  // Filed again under the id the host gave.
  Core::SmartPointer<QlnPlayer> local(m_localPlayer);
  m_defaultGroup->RemovePlayer(local->GetID());
  local->SetID(static_cast<uint32_t>(code));
  m_defaultGroup->AddPlayer(local.Get());
}

void QlnNet::HandlePlayerRecord(const uint8_t* payload, uint32_t size) {
  PayloadReader reader(payload, size);
  PlayerRecordFields record;
  if (m_connected == 0 || !ReadPlayerRecord(reader, record)) return;
  if (record.id == 0 || FindPlayer(record.id) != nullptr) return;
  // No more players than the session holds, whatever the host sends.
  if (m_defaultGroup->GetSize() >= m_playerLimit) return;
  Core::SmartPointer<QlnPlayer> player(
      new (__FILE__, __LINE__) QlnPlayer(record.name, false, record.host != 0, ToAddress(record.address)));
  player->SetID(record.id);
  AddPlayerToSession(player.Get());
}

void QlnNet::HandlePlayerLeftRecord(const uint8_t* payload, uint32_t size) {
  PayloadReader reader(payload, size);
  PlayerRecordFields record;
  if (m_connected == 0 || !ReadPlayerRecord(reader, record)) return;
  if (QlnPlayer* player = FindPlayer(record.id)) RemovePlayer(player);
}

void QlnNet::HandleReplicaMessage(uint32_t type, bool stream, const uint8_t* payload, uint32_t size) {
  switch (type) {
    case kQlnCreateObject: {
      if (!stream || !m_localPlayer || !m_localPlayer->IsReady()) return;
      NetworkFile file(payload, size);
      ObjectEntry entry;
      if (ReadObjectEntry(file, entry)) InsertObjectEntry(entry);
      return;
    }
    case kQlnObjectList:
      if (stream && m_localPlayer) ApplyObjectList(payload, size);
      return;
    case kQlnRemoveObject: {
      PayloadReader reader(payload, size);
      uint32_t ownerId = 0;
      uint32_t objectId = 0;
      if (stream && reader.U32(ownerId) && reader.U32(objectId)) RemoveReplicated(ownerId, objectId);
      return;
    }
    case kQlnSyncObject: {
      if (!m_localPlayer || !m_localPlayer->IsReady()) return;
      NetworkFile file(payload, size);
      Core::ReadValue<uint32_t>(file);
      const uint32_t ownerId = Core::ReadValue<uint32_t>(file);
      const uint32_t objectId = Core::ReadValue<uint32_t>(file);
      if (file.HasFailed()) return;
      GameObject* object = FindNetObject(ownerId, objectId);
      if (object == nullptr) return;
      Core::SmartPointer<GameObject> keep(object);
      object->SetNetworkFile(&file);
      object->NetworkSyncReceive(file);
      object->SetNetworkFile(nullptr);
      return;
    }
    default:
      return;
  }
}

void QlnNet::PostPlayerMessage(uint32_t type, const uint8_t* payload, uint32_t size) {
  PayloadReader reader(payload, size);
  uint32_t senderId = 0;
  uint32_t targetId = 0;
  if (!reader.U32(senderId) || !reader.U32(targetId)) return;
  QlnPlayer* sender = FindPlayer(senderId);
  if (sender == nullptr || sender->IsLocal()) return;
  Core::SmartPointer<QlnPlayer> keep(sender);
  NetworkEvent event;
  event.player = sender;
  std::string text;
  if (type == kQlnText) {
    if (!reader.Text(text)) return;
    event.type = kQlnEventText;
    event.text = &text;
  } else {
    uint32_t dataKind = 0;
    uint32_t dataSize = 0;
    if (!reader.U32(dataKind) || !reader.U32(dataSize) || dataSize > reader.Remaining()) return;
    event.type = kQlnEventData;
    event.dataKind = dataKind;
    event.size = dataSize;
    event.data = dataSize > 0 ? reader.Current() : nullptr;
  }
  Post(event);
}

void QlnNet::FollowHostLevel(const uint8_t* payload, uint32_t size) {
  PayloadReader reader(payload, size);
  std::string name;
  if (!reader.Text(name) || m_connected == 0) return;
  Level* level = CurrentLevel();
  if (level != nullptr && level->GetName() == name) {
    // Joined on the host's level: nothing will switch, so the objects are asked for here.
    if (m_localPlayer && !m_localPlayer->IsReady() && !m_objectsRequested) SendLevelSwitched();
    return;
  }
  if (m_environment.switchLevel) m_environment.switchLevel(name);
}

void QlnNet::HandleClientMessage(uint32_t channelKind, const Network::NetAddress& peer, uint32_t type,
                                 const uint8_t* payload, uint32_t size) {
  if (m_session == nullptr) return;
  if (channelKind == Network::kChannelDiscovery) {
    if (type == kQlnAnnouncement) HandleAnnouncement(peer, payload, size);
    return;
  }
  // Everything else comes from the server only, on the client's own channels.
  if (channelKind != Network::kChannelClientStream && channelKind != Network::kChannelClientDatagram) return;
  if (!(peer == m_serverAddress)) return;
  const bool stream = channelKind == Network::kChannelClientStream;
  switch (type) {
    case kQlnJoinReply:
      if (stream) HandleJoinReply(payload, size);
      return;
    case kQlnPlayerRecord:
      if (stream) HandlePlayerRecord(payload, size);
      return;
    case kQlnPlayerLeft:
      if (stream) HandlePlayerLeftRecord(payload, size);
      return;
    case kQlnCreateObject:
    case kQlnObjectList:
    case kQlnRemoveObject:
    case kQlnSyncObject:
      HandleReplicaMessage(type, stream, payload, size);
      return;
    case kQlnText:
    case kQlnData:
      PostPlayerMessage(type, payload, size);
      return;
    case kQlnLevelName:
      FollowHostLevel(payload, size);
      return;
    case kQlnPing:
      if (m_localPlayer && m_connected != 0) {
        const uint32_t id = m_localPlayer->GetID();
        SendMessage(kQlnPingReply, &id, sizeof(id), nullptr, false);
      }
      return;
    default:
      return;
  }
}

// ---- Network objects ------------------------------------------------------------------------------

bool QlnNet::ReadObjectEntry(NetworkFile& file, ObjectEntry& entry) {
  entry.layerIndex = Core::ReadValue<uint32_t>(file);
  std::string name;
  file.ReadString(name);
  if (file.HasFailed()) return false;
  GameObject* base = FindNetObjectByName(name);
  // Without the object it was cloned from, the entry's length is unknown: nothing after it can be read.
  if (base == nullptr) return false;
  Core::SmartPointer<Core::Object> cloned(base->Clone());
  auto* clone = dynamic_cast<GameObject*>(cloned.Get());
  if (clone == nullptr) return false;
  clone->SetNetworkFile(&file);
  clone->NetworkLoad(file);
  clone->SetNetworkFile(nullptr);
  if (file.HasFailed()) return false;
  clone->SetNetworkName(base->GetNetworkName());
  entry.object = clone;
  return true;
}

void QlnNet::InsertObjectEntry(const ObjectEntry& entry) {
  GameObject* clone = entry.object.Get();
  const NetObjectID* id = GetNetObjectID(clone);
  // Only an object with an id no other replica holds can be named by later messages.
  if (id == nullptr || FindNetObject(id->GetOwner(), id->GetId()) != nullptr) return;
  Level* level = CurrentLevel();
  Layer* layer = level != nullptr ? level->GetLayer(entry.layerIndex) : nullptr;
  if (layer == nullptr) return;
  layer->AddGameObject(clone, false, nullptr);
  if (clone->GetLayer() != layer) return;
  m_replicated.emplace_back(clone);
}

void QlnNet::ApplyObjectList(const uint8_t* payload, uint32_t size) {
  NetworkFile file(payload, size);
  const uint32_t count = Core::ReadValue<uint32_t>(file);
  // Each entry holds at least its layer index and its name's length.
  if (file.HasFailed() || !file.CheckCount(count, 8)) return;
  // The whole list is read before anything changes: a list cut short or naming an object this
  // machine cannot build leaves the replicas as they were.
  std::vector<ObjectEntry> entries(count);
  for (ObjectEntry& entry : entries) {
    if (!ReadObjectEntry(file, entry)) return;
  }
  // The list is the host's whole state: replicas it no longer names go.
  for (const auto& object : std::vector<Core::SmartPointer<GameObject>>(m_replicated)) {
    const NetObjectID* id = GetNetObjectID(object.Get());
    if (id == nullptr) {
      EraseReplicatedObject(object.Get());
      continue;
    }
    bool listed = false;
    for (const ObjectEntry& entry : entries) {
      const NetObjectID* listedId = GetNetObjectID(entry.object.Get());
      listed = listed || (listedId != nullptr && listedId->GetOwner() == id->GetOwner() && listedId->GetId() == id->GetId());
    }
    if (!listed) RemoveReplicated(id->GetOwner(), id->GetId());
  }
  for (const ObjectEntry& entry : entries) InsertObjectEntry(entry);
  m_objectsRequested = false;
  if (m_localPlayer) m_localPlayer->SetReady(true);
}

void QlnNet::RemoveReplicated(uint32_t owner, uint32_t id) {
  GameObject* object = FindNetObject(owner, id);
  if (object == nullptr) return;
  Core::SmartPointer<GameObject> keep(object);
  EraseReplicatedObject(object);
  if (Layer* layer = object->GetLayer()) {
    if (!object->IsDestructionPending()) layer->QueueGameObjectRemoval(object);
  }
}

GameObject* QlnNet::FindNetObject(uint32_t owner, uint32_t id) const {
  for (const auto& object : m_replicated) {
    const NetObjectID* netId = GetNetObjectID(object.Get());
    if (netId != nullptr && netId->GetOwner() == owner && netId->GetId() == id && !object->IsDestroyed()) {
      return object.Get();
    }
  }
  return nullptr;
}

bool QlnNet::AddNetObject(GameObject* object, uint32_t layerIndex, QlnPlayer* owner) {
  if (object == nullptr || !m_localPlayer || !IsActive() || m_isHost == 0 || m_hosting == 0) return false;
  for (const auto& existing : m_replicated) {
    if (existing.Get() == object) return false;
  }
  Core::SmartPointer<NetObjectID> id(new (__FILE__, __LINE__)
                                         NetObjectID(owner != nullptr ? owner->GetID() : m_localPlayer->GetID(),
                                                     NetObjectID::NextId()));
  id->SetCreatedHere(true);
  object->SetNetworkId(Core::SmartPointer<Core::Object>(id.Get()));
  NetworkFile file;
  Core::WriteValue<uint32_t>(file, layerIndex);
  file.WriteString(object->GetNetworkName());
  object->SetNetworkFile(&file);
  object->NetworkSave(file);
  object->SetNetworkFile(nullptr);
  SendMessage(kQlnCreateObject, file.GetData(), file.GetSize(), nullptr, true);
  m_replicated.emplace_back(object);
  return true;
}

bool QlnNet::RemoveNetObject(GameObject* object) {
  const NetObjectID* id = GetNetObjectID(object);
  if (id == nullptr || !m_localPlayer || !IsActive() || (m_hosting == 0 && m_connected == 0)) return false;
  const uint32_t message[2] = {id->GetOwner(), id->GetId()};
  SendMessage(kQlnRemoveObject, message, sizeof(message), nullptr, true);
  if (m_hosting != 0) EraseReplicatedObject(object);
  return true;
}

bool QlnNet::AddBaseNetObject(GameObject* object, const std::string& name) {
  if (object == nullptr || FindNetObjectByName(name) != nullptr) return false;
  object->SetNetworkName(name);
  m_baseObjects.emplace_back(object);
  return true;
}

GameObject* QlnNet::FindNetObjectByName(const std::string& name) const {
  for (const auto& object : m_baseObjects) {
    if (object->GetNetworkName() == name) return object.Get();
  }
  return nullptr;
}

void QlnNet::AddReplicatedObject(GameObject* object) {
  if (object != nullptr && IsActive()) m_replicated.emplace_back(object);
}

void QlnNet::EraseReplicatedObject(GameObject* object) {
  if (!IsActive()) return;
  auto found = std::find_if(m_replicated.begin(), m_replicated.end(), [object](const auto& o) { return o.Get() == object; });
  if (found != m_replicated.end()) m_replicated.erase(found);
}

void QlnNet::RemoveNetObjectsControlledBy(QlnPlayer* player) {
  if (player == nullptr) return;
  for (const auto& object : std::vector<Core::SmartPointer<GameObject>>(m_replicated)) {
    const NetObjectID* id = GetNetObjectID(object.Get());
    if (id == nullptr || id->GetOwner() != player->GetID()) continue;
    if (Layer* layer = object->GetLayer()) layer->RemoveGameObject(object.Get());
  }
}

void QlnNet::ClearNamedNetObjects() {
  m_baseObjects.clear();
  if (m_isHost != 0) ReleaseStaleObjects();
}

void QlnNet::ReleaseStaleObjects() {
  Level* level = CurrentLevel();
  m_replicated.erase(std::remove_if(m_replicated.begin(), m_replicated.end(),
                                    [level](const Core::SmartPointer<GameObject>& object) {
                                      Layer* layer = object->GetLayer();
                                      return object->IsDestroyed() || layer == nullptr || level == nullptr ||
                                             level->GetLayer(layer->GetIndex()) != layer;
                                    }),
                     m_replicated.end());
}

void QlnNet::DestroyNetObjects() {
  for (const auto& object : std::vector<Core::SmartPointer<GameObject>>(m_replicated)) {
    Layer* layer = object->GetLayer();
    if (layer != nullptr && !object->IsDestructionPending() && !object->IsDestroyed()) {
      layer->QueueGameObjectRemoval(object.Get());
    }
  }
  m_replicated.clear();
}

void QlnNet::SendNetObjects(QlnPlayer* player) {
  if (player == nullptr) return;
  ReleaseStaleObjects();
  // Sent even when empty: the list is what makes the client ready for the objects that follow.
  NetworkFile file;
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_replicated.size()));
  for (const auto& object : m_replicated) {
    Layer* layer = object->GetLayer();
    Core::WriteValue<uint32_t>(file, layer != nullptr ? layer->GetIndex() : 0xFFFFFFFFu);
    file.WriteString(object->GetNetworkName());
    object->SetNetworkFile(&file);
    object->NetworkSave(file);
    object->SetNetworkFile(nullptr);
  }
  SendMessageToPlayer(kQlnObjectList, file.GetData(), file.GetSize(), player, true);
}

}  // namespace Quillon
