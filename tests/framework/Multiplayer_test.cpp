// The multiplayer layer on loopback: a host and a client in one process, each with its own level.
// Every wait has a deadline.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <thread>

#include "core/Core_File.h"
#include "core/Core_Time.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_NetworkFile.h"
#include "framework/Quillon_QlnNet.h"
#include "tests/framework/MultiplayerFixture.h"

using namespace Quillon;

namespace {

using namespace MultiplayerTesting;

TEST_F(MultiplayerTest, DiscoveryJoinPlayersTextAndPing) {
  EXPECT_EQ(host.Count(kQlnEventHostingStarted), 1u);
  EXPECT_TRUE(host.net->IsNetworkGame());
  EXPECT_FALSE(client.net->IsNetworkGame());
  QlnNet other;
  EXPECT_FALSE(other.StartSession(true, nullptr, "x", "", 5, 0, 60, 0, 0)) << "one session per process (here: two)";
  EXPECT_FALSE(host.net->StartHosting("again", 2, 1, 0.02f));

  ASSERT_TRUE(Pump([&] { return !client.net->GetSessionsFound().empty(); }));
  const QlnBroadcast found = client.net->GetSessionsFound()[0];
  EXPECT_EQ(found.networkId, "velkor");
  EXPECT_EQ(found.hostName, "Hoster");
  EXPECT_EQ(found.maxPlayers, 2u);
  EXPECT_EQ(found.players, 1u);
  EXPECT_EQ(found.passwordProtected, 1);
  EXPECT_TRUE(found.address == host.net->GetServerAddress());
  std::vector<std::shared_ptr<const QlnBroadcast>> copies;
  client.net->CopyDiscoveredSessions("velkor", copies);
  EXPECT_EQ(copies.size(), 1u);
  client.net->CopyDiscoveredSessions("other", copies);
  EXPECT_TRUE(copies.empty());

  // Wrong password: refused with -2, and nothing is left of the attempt on either side.
  EXPECT_FALSE(Join("nope"));
  ASSERT_EQ(client.answers.size(), 1u);
  EXPECT_EQ(client.answers[0], -2);
  EXPECT_EQ(host.net->GetDefaultGroup()->GetSize(), 1u);
  EXPECT_EQ(client.net->GetLocalPlayer(), nullptr);

  // The game refuses: -4.
  host.acceptJoins = false;
  EXPECT_FALSE(Join("pw"));
  EXPECT_EQ(client.answers.back(), -4);
  host.acceptJoins = true;

  ASSERT_TRUE(Join("pw"));
  EXPECT_TRUE(client.net->IsConnected());
  EXPECT_TRUE(client.net->IsNetworkGame());
  EXPECT_GT(client.answers.back(), 0);
  ASSERT_TRUE(Pump([&] { return client.net->GetDefaultGroup()->GetSize() == 2; })) << client.net->GetDefaultGroup()->GetSize();
  QlnPlayer* hostOnClient = client.net->FindPlayer("Hoster");
  ASSERT_NE(hostOnClient, nullptr);
  EXPECT_TRUE(hostOnClient->IsHost());
  EXPECT_TRUE(hostOnClient->GetAddress() == host.net->GetServerAddress());
  QlnPlayer* visitor = host.net->FindPlayer("Visitor");
  ASSERT_NE(visitor, nullptr);
  EXPECT_EQ(visitor->GetID(), client.net->GetLocalPlayer()->GetID());
  EXPECT_NE(visitor->GetKeyboard(), nullptr) << "a remote player's playback keyboard on the host";
  EXPECT_EQ(host.Count(kQlnEventPlayerJoined), 2u);

  // Text to everybody reaches the host's game (its player is in the default group).
  ASSERT_TRUE(client.net->SendTextMessage(true, "hello all", false));
  ASSERT_TRUE(Pump([&] { return !host.texts.empty(); }));
  EXPECT_EQ(host.texts[0], "hello all");
  EXPECT_TRUE(client.texts.empty()) << "the sender's own text comes back without an event";
  ASSERT_TRUE(host.net->SendTextMessageToPlayer(true, "just you", visitor, true));
  ASSERT_TRUE(Pump([&] { return !client.texts.empty(); }));
  EXPECT_EQ(client.texts[0], "just you");
  EXPECT_EQ(host.texts.back(), "just you") << "echoed locally";

  // Pings are answered and measured.
  ASSERT_TRUE(Pump([&] { return visitor->GetPingTime() > 0.0; }));

  // The client leaves: the host sees the connection go.
  client.net->Shutdown();
  ASSERT_TRUE(Pump([&] { return host.net->GetDefaultGroup()->GetSize() == 1; }));
  EXPECT_EQ(host.Count(kQlnEventPlayerLeft), 1u);
  EXPECT_FALSE(client.net->IsNetworkGame()) << "a shutdown returns to idle";
}

TEST_F(MultiplayerTest, HostObjectAppearsOnTheClientAndFollowsItsState) {
  ASSERT_TRUE(Join("pw"));
  Core::SmartPointer<GameObject> hostBase(new GameObject());
  Core::SmartPointer<GameObject> clientBase(new GameObject());
  ASSERT_TRUE(host.net->AddBaseNetObject(hostBase.Get(), "Ball"));
  ASSERT_TRUE(client.net->AddBaseNetObject(clientBase.Get(), "Ball"));
  Core::SmartPointer<GameObject> other(new GameObject());
  EXPECT_FALSE(client.net->AddBaseNetObject(other.Get(), "Ball"));
  EXPECT_EQ(other->GetNetworkName(), "0");

  Core::SmartPointer<GameObject> ball(static_cast<GameObject*>(hostBase->Clone()));
  ball->SetName("BallClone");
  ball->SetNetworkName("Ball");
  ball->SetPosition(10.0f, 20.0f);
  EXPECT_FALSE(client.net->AddNetObject(ball.Get(), 0, nullptr)) << "clients never create shared objects";
  ASSERT_TRUE(host.net->AddNetObject(ball.Get(), 0, nullptr));
  EXPECT_FALSE(host.net->AddNetObject(ball.Get(), 0, nullptr)) << "already replicated";
  host.level->GetLayer(0)->InsertGameObject(ball.Get());
  const NetObjectID* id = GetNetObjectID(ball.Get());
  ASSERT_NE(id, nullptr);
  EXPECT_EQ(id->GetOwner(), host.net->GetLocalPlayer()->GetID());

  // Joined on the host's own level: nothing switches, yet the client asks for the objects by itself.
  ASSERT_TRUE(Pump([&] { return client.net->GetReplicatedObjectsCount() == 1; }));
  GameObject* copy = client.net->FindNetObject(id->GetOwner(), id->GetId());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->GetName(), "BallClone");
  EXPECT_EQ(copy->GetNetworkName(), "Ball");
  EXPECT_FLOAT_EQ(copy->GetPositionX(), 10.0f);
  EXPECT_EQ(copy->GetLayer(), client.level->GetLayer(0));

  // Synchronisation: the first one snapped to the server's state; later ones are approached
  // half-way per frame by the replica's own step. The name travels in every record, so it tells
  // which record has arrived.
  ball->SetName("BallSynced");
  ASSERT_TRUE(Pump([&] { return copy->GetName() == "BallSynced"; }));
  ball->SetPosition(-30.0f, 45.5f);
  ball->SetRotationAngle(90.0f);
  ball->SetName("BallMoved");
  ReplicaServices replicaServices;
  SetGameServices(&replicaServices);
  ASSERT_TRUE(Pump([&] { return copy->GetName() == "BallMoved"; }));
  EXPECT_FLOAT_EQ(copy->GetPositionX(), 10.0f) << "no snap after the first synchronisation";
  copy->Tick(kStep);
  EXPECT_FLOAT_EQ(copy->GetPositionX(), -10.0f);
  EXPECT_FLOAT_EQ(copy->GetRotationAngle(), 45.0f);
  for (int i = 0; i < 40; ++i) copy->Tick(kStep);
  SetGameServices(nullptr);
  EXPECT_NEAR(copy->GetPositionX(), -30.0f, 1e-3f);
  EXPECT_NEAR(copy->GetPositionY(), 45.5f, 1e-3f);
  EXPECT_NEAR(copy->GetRotationAngle(), 90.0f, 1e-3f);

  // A later creation goes straight to the ready client.
  Core::SmartPointer<GameObject> second(static_cast<GameObject*>(hostBase->Clone()));
  second->SetNetworkName("Ball");
  ASSERT_TRUE(host.net->AddNetObject(second.Get(), 0, nullptr));
  host.level->GetLayer(0)->InsertGameObject(second.Get());
  ASSERT_TRUE(Pump([&] { return client.net->GetReplicatedObjectsCount() == 2; }));

  // Removal on the host reaches the client.
  ASSERT_TRUE(host.net->RemoveNetObject(ball.Get()));
  ASSERT_TRUE(Pump([&] { return client.net->GetReplicatedObjectsCount() == 1; }));
  EXPECT_EQ(client.net->FindNetObject(id->GetOwner(), id->GetId()), nullptr);

  // The level name is sent with every tick; a different one asks for a switch, the same does not.
  EXPECT_TRUE(client.levelRequests.empty());
  host.level->SetName("boss");
  ASSERT_TRUE(Pump([&] { return !client.levelRequests.empty(); }));
  EXPECT_EQ(client.levelRequests[0], "boss");
}

TEST_F(MultiplayerTest, ClientJoiningBeforeTheHostHasObjectsFollowsItAcrossALevelSwitch) {
  ASSERT_TRUE(Join("pw"));
  // No object exists yet: the empty list still makes the client ready.
  ASSERT_TRUE(Pump([&] { return client.net->GetLocalPlayer() && client.net->GetLocalPlayer()->IsReady(); }));
  Core::SmartPointer<GameObject> hostBase(new GameObject());
  Core::SmartPointer<GameObject> clientBase(new GameObject());
  ASSERT_TRUE(host.net->AddBaseNetObject(hostBase.Get(), "Ball"));
  ASSERT_TRUE(client.net->AddBaseNetObject(clientBase.Get(), "Ball"));
  Core::SmartPointer<GameObject> first(static_cast<GameObject*>(hostBase->Clone()));
  first->SetNetworkName("Ball");
  ASSERT_TRUE(host.net->AddNetObject(first.Get(), 0, nullptr));
  host.level->GetLayer(0)->InsertGameObject(first.Get());
  ASSERT_TRUE(Pump([&] { return client.net->GetReplicatedObjectsCount() == 1; }));
  const NetObjectID* firstId = GetNetObjectID(first.Get());
  ASSERT_NE(firstId, nullptr);
  const uint32_t firstOwner = firstId->GetOwner();
  const uint32_t firstNumber = firstId->GetId();

  // The host switches level the way the game does: the old level ends, then the new one is built.
  host.level->GetLayer(0)->RemoveGameObject(first.Get());
  host.level->Destroy();
  host.level = new Level();
  host.level->SetName("boss");
  host.level->AddLayer(Core::SmartPointer<Layer>(new Layer()));
  host.net->ClearNamedNetObjects();
  EXPECT_EQ(host.net->GetReplicatedObjectsCount(), 0u) << "the ended level's objects are neither synchronised nor held";
  EXPECT_EQ(first->GetReferenceCount(), 1u);
  ASSERT_TRUE(host.net->AddBaseNetObject(hostBase.Get(), "Ball"));
  Core::SmartPointer<GameObject> second(static_cast<GameObject*>(hostBase->Clone()));
  second->SetNetworkName("Ball");
  second->SetPosition(77.0f, 0.0f);
  ASSERT_TRUE(host.net->AddNetObject(second.Get(), 0, nullptr));
  host.level->GetLayer(0)->InsertGameObject(second.Get());

  // The client is asked to follow and does, as the game's switch does.
  ASSERT_TRUE(Pump([&] { return !client.levelRequests.empty(); }));
  EXPECT_EQ(client.levelRequests.back(), "boss");
  client.level->Destroy();
  client.level = new Level();
  client.level->SetName("boss");
  client.level->AddLayer(Core::SmartPointer<Layer>(new Layer()));
  client.net->ClearNamedNetObjects();
  ASSERT_TRUE(client.net->AddBaseNetObject(clientBase.Get(), "Ball"));
  client.net->SendLevelSwitched();
  const NetObjectID* secondId = GetNetObjectID(second.Get());
  ASSERT_NE(secondId, nullptr);
  ASSERT_TRUE(Pump([&] { return client.net->FindNetObject(secondId->GetOwner(), secondId->GetId()) != nullptr; }));
  EXPECT_EQ(client.net->GetReplicatedObjectsCount(), 1u) << "only the new level's objects";
  EXPECT_EQ(client.net->FindNetObject(firstOwner, firstNumber), nullptr);
  GameObject* copy = client.net->FindNetObject(secondId->GetOwner(), secondId->GetId());
  EXPECT_EQ(copy->GetLayer(), client.level->GetLayer(0));
  EXPECT_FLOAT_EQ(copy->GetPositionX(), 77.0f);
}

TEST_F(MultiplayerTest, HostileMessagesAreDropped) {
  ASSERT_TRUE(Join("pw"));
  // The host's player record may follow the answer in a later read.
  ASSERT_TRUE(Pump([&] { return client.net->GetDefaultGroup()->GetSize() == 2; }));
  // Ready once the host's (empty) object list has come.
  ASSERT_TRUE(Pump([&] { return client.net->GetLocalPlayer()->IsReady(); }));
  Core::SmartPointer<GameObject> clientBase(new GameObject());
  ASSERT_TRUE(client.net->AddBaseNetObject(clientBase.Get(), "Ball"));
  QlnNet& c = *client.net;
  const Network::NetAddress server = host.net->GetServerAddress();
  const uint32_t stream = Network::kChannelClientStream;

  // Unknown types, empty payloads, payloads shorter than their fields.
  for (uint32_t type = 0; type < 40; ++type) {
    c.HandleClientMessage(stream, server, type, nullptr, 0);
    const uint8_t junk[3] = {1, 2, 3};
    c.HandleClientMessage(stream, server, type, junk, sizeof(junk));
  }
  EXPECT_TRUE(c.IsConnected());
  EXPECT_EQ(c.GetDefaultGroup()->GetSize(), 2u);

  // An object list whose count lies, then one naming no base object, then one cut short.
  NetworkFile lying;
  Core::WriteValue<uint32_t>(lying, 1000000);
  c.HandleClientMessage(stream, server, kQlnObjectList, lying.GetData(), lying.GetSize());
  EXPECT_EQ(c.GetReplicatedObjectsCount(), 0u);
  NetworkFile unknown;
  Core::WriteValue<uint32_t>(unknown, 1);
  Core::WriteValue<uint32_t>(unknown, 0);
  unknown.WriteString("NoSuchBase");
  Core::WriteValue<uint32_t>(unknown, 12345);
  c.HandleClientMessage(stream, server, kQlnObjectList, unknown.GetData(), unknown.GetSize());
  EXPECT_EQ(c.GetReplicatedObjectsCount(), 0u);

  Core::SmartPointer<GameObject> source(new GameObject());
  source->SetNetworkId(Core::SmartPointer<Core::Object>(new NetObjectID(7, 99)));
  NetworkFile full;
  Core::WriteValue<uint32_t>(full, 0);
  full.WriteString("Ball");
  source->NetworkSave(full);
  for (uint32_t cut = 0; cut < full.GetSize(); ++cut) {
    c.HandleClientMessage(stream, server, kQlnCreateObject, full.GetData(), cut);
  }
  EXPECT_EQ(c.GetReplicatedObjectsCount(), 0u) << "no truncated record makes an object";
  // The same entry whole but for a layer that does not exist, then sound.
  std::vector<uint8_t> bytes(full.GetData(), full.GetData() + full.GetSize());
  const uint32_t badLayer = 17;
  std::memcpy(bytes.data(), &badLayer, 4);
  c.HandleClientMessage(stream, server, kQlnCreateObject, bytes.data(), static_cast<uint32_t>(bytes.size()));
  EXPECT_EQ(c.GetReplicatedObjectsCount(), 0u);
  c.HandleClientMessage(stream, server, kQlnCreateObject, full.GetData(), full.GetSize());
  ASSERT_EQ(c.GetReplicatedObjectsCount(), 1u);
  c.HandleClientMessage(stream, server, kQlnCreateObject, full.GetData(), full.GetSize());
  EXPECT_EQ(c.GetReplicatedObjectsCount(), 1u) << "a second object under a taken id is dropped";

  // An object list whose first entry is sound but whose second is cut short: the replicas stay as
  // they were (the list is read whole before anything changes), then a sound list replaces them.
  Core::SmartPointer<GameObject> listed(new GameObject());
  listed->SetNetworkId(Core::SmartPointer<Core::Object>(new NetObjectID(7, 100)));
  NetworkFile entry;
  Core::WriteValue<uint32_t>(entry, 0);
  entry.WriteString("Ball");
  listed->NetworkSave(entry);
  for (uint32_t cut = 0; cut < entry.GetSize(); ++cut) {
    NetworkFile list;
    Core::WriteValue<uint32_t>(list, 2);
    list.Write(entry.GetData(), entry.GetSize());
    list.Write(entry.GetData(), cut);
    c.HandleClientMessage(stream, server, kQlnObjectList, list.GetData(), list.GetSize());
    ASSERT_EQ(c.GetReplicatedObjectsCount(), 1u) << cut;
    ASSERT_NE(c.FindNetObject(7, 99), nullptr) << cut;
  }
  {
    NetworkFile list;
    Core::WriteValue<uint32_t>(list, 2);
    list.Write(full.GetData(), full.GetSize());
    list.Write(entry.GetData(), entry.GetSize());
    c.HandleClientMessage(stream, server, kQlnObjectList, list.GetData(), list.GetSize());
    EXPECT_EQ(c.GetReplicatedObjectsCount(), 2u);
    EXPECT_NE(c.FindNetObject(7, 100), nullptr);
    NetworkFile only;
    Core::WriteValue<uint32_t>(only, 1);
    only.Write(full.GetData(), full.GetSize());
    c.HandleClientMessage(stream, server, kQlnObjectList, only.GetData(), only.GetSize());
    EXPECT_EQ(c.GetReplicatedObjectsCount(), 1u) << "a replica the host no longer lists goes";
    EXPECT_EQ(c.FindNetObject(7, 100), nullptr);
  }

  // Sync for a stale id, and a sync carrying a NaN position: neither changes the object.
  GameObject* copy = c.FindNetObject(7, 99);
  ASSERT_NE(copy, nullptr);
  const float before = copy->GetPositionX();
  NetworkFile stale;
  Core::WriteValue<uint32_t>(stale, 1);
  Core::WriteValue<uint32_t>(stale, 7);
  Core::WriteValue<uint32_t>(stale, 100);
  source->SetPosition(5.0f, 5.0f);
  source->NetworkSyncSend(stale);
  c.HandleClientMessage(Network::kChannelClientDatagram, server, kQlnSyncObject, stale.GetData(), stale.GetSize());
  EXPECT_EQ(copy->GetPositionX(), before);
  NetworkFile poisoned;
  Core::WriteValue<uint32_t>(poisoned, 1);
  Core::WriteValue<uint32_t>(poisoned, 7);
  Core::WriteValue<uint32_t>(poisoned, 99);
  source->SetPosition(std::nanf(""), 1.0f);
  source->NetworkSyncSend(poisoned);
  c.HandleClientMessage(Network::kChannelClientDatagram, server, kQlnSyncObject, poisoned.GetData(), poisoned.GetSize());
  EXPECT_EQ(copy->GetPositionX(), before);

  // Messages that do not come from the server are ignored, even well-formed ones.
  const uint32_t removal[2] = {7, 99};
  c.HandleClientMessage(stream, Network::NetAddress("127.0.0.1", 1), kQlnRemoveObject, reinterpret_cast<const uint8_t*>(removal), 8);
  EXPECT_EQ(c.GetReplicatedObjectsCount(), 1u);

  // Text without its terminating zero, and from a sender that is not in the session.
  const uint8_t unterminated[] = {2, 0, 0, 0, 1, 0, 0, 0, 'h', 'i'};
  c.HandleClientMessage(stream, server, kQlnText, unterminated, sizeof(unterminated));
  const uint8_t stranger[] = {77, 0, 0, 0, 1, 0, 0, 0, 'h', 'i', 0};
  c.HandleClientMessage(stream, server, kQlnText, stranger, sizeof(stranger));
  EXPECT_TRUE(client.texts.empty());

  // The host: a player speaks only for itself, from its own address.
  QlnNet& h = *host.net;
  QlnPlayer* visitor = h.FindPlayer("Visitor");
  ASSERT_NE(visitor, nullptr);
  uint8_t spoofed[11] = {};
  const uint32_t visitorId = visitor->GetID();
  std::memcpy(spoofed, &visitorId, 4);
  const uint32_t everybody = 1;
  std::memcpy(spoofed + 4, &everybody, 4);
  spoofed[8] = 'x';
  h.HandleHostMessage(Network::kChannelHostListen, Network::NetAddress("127.0.0.1", 9), kQlnText, spoofed, 10);
  h.HandleHostMessage(Network::kChannelHostListen, visitor->GetAddress(), kQlnText, spoofed, 9);
  EXPECT_TRUE(host.texts.empty());
  h.HandleHostMessage(Network::kChannelHostListen, visitor->GetAddress(), kQlnText, spoofed, 10);
  EXPECT_EQ(host.texts.size(), 1u);
  // Group creation with a member list cut mid-id, and one naming a stranger as owner.
  uint8_t group[] = {0, 0, 0, 0, 50, 0, 0, 0, 'g', 0, 1, 0};
  std::memcpy(group, &visitorId, 4);
  h.HandleHostMessage(Network::kChannelHostListen, visitor->GetAddress(), kQlnCreateGroup, group, sizeof(group));
  EXPECT_EQ(h.GetGroupsCount(), 0u);
  h.HandleHostMessage(Network::kChannelHostListen, Network::NetAddress("127.0.0.1", 9), kQlnCreateGroup, group, 10);
  EXPECT_EQ(h.GetGroupsCount(), 0u);
  h.HandleHostMessage(Network::kChannelHostListen, visitor->GetAddress(), kQlnCreateGroup, group, 10);
  EXPECT_EQ(h.GetGroupsCount(), 1u);
  // A join request without its terminators makes no player.
  const uint8_t join[] = {'p', 'w', 0, 1, 2, 3};
  h.HandleHostMessage(Network::kChannelHostListen, Network::NetAddress("127.0.0.1", 9), kQlnJoinRequest, join, sizeof(join));
  EXPECT_EQ(h.GetDefaultGroup()->GetSize(), 2u);
}

TEST(NetworkFileTest, StringsObjectsAndIds) {
  NetworkFile empty;
  empty.WriteString("");
  EXPECT_EQ(empty.GetSize(), 4u);
  NetworkFile emptyIn(empty.GetData(), empty.GetSize());
  std::string kept = "kept";
  emptyIn.ReadString(kept);
  EXPECT_EQ(kept, "kept");

  NetworkFile nothing;
  nothing.WriteNetworkObject(nullptr);
  EXPECT_EQ(nothing.GetSize(), 1u);
  NetworkFile nothingIn(nothing.GetData(), nothing.GetSize());
  EXPECT_EQ(nothingIn.ReadNetworkObject().Get(), nullptr);
  EXPECT_FALSE(nothingIn.HasFailed());

  // A registered game object round-trips; an unregistered class name or a non-game-object class
  // makes nothing.
  Core::SmartPointer<GameObject> object(new GameObject());
  object->SetName("thing");
  object->SetPosition(3.0f, 4.0f);
  NetworkFile out;
  out.WriteNetworkObject(object.Get());
  NetworkFile in(out.GetData(), out.GetSize());
  Core::SmartPointer<GameObject> back = in.ReadNetworkObject();
  ASSERT_NE(back.Get(), nullptr);
  EXPECT_EQ(back->GetName(), "thing");
  EXPECT_FLOAT_EQ(back->GetPositionY(), 4.0f);
  EXPECT_FALSE(back->IsNetworkObject()) << "no id written, none read";

  for (const char* name : {"No::Such::Class", "Quillon::Layer"}) {
    NetworkFile hostile;
    Core::WriteValue<uint8_t>(hostile, 1);
    hostile.WriteString(name);
    Core::WriteValue<uint32_t>(hostile, 0);
    NetworkFile hostileIn(hostile.GetData(), hostile.GetSize());
    EXPECT_EQ(hostileIn.ReadNetworkObject().Get(), nullptr) << name;
    EXPECT_TRUE(hostileIn.HasFailed());
  }
  NetworkFile huge;
  Core::WriteValue<uint8_t>(huge, 1);
  Core::WriteValue<uint32_t>(huge, 0xFFFFFFF0u);
  NetworkFile hugeIn(huge.GetData(), huge.GetSize());
  EXPECT_EQ(hugeIn.ReadNetworkObject().Get(), nullptr);

  const uint32_t first = NetObjectID::NextId();
  EXPECT_GE(first, 1u);
  EXPECT_EQ(NetObjectID::NextId(), first + 1);
}

}  // namespace
