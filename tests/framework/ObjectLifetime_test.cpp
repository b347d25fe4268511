// Game objects at the edges of their lives: removed twice, copied while on their way out, shown by a
// viewport whose camera went elsewhere, named scripts from saved games, network owners and the
// component manager.
#include <gtest/gtest.h>

#include "core/Core_File.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_NetworkFile.h"
#include "framework/Quillon_QlnNet.h"
#include "framework/Quillon_Viewport.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

using Core::SmartPointer;
using Quillon::GameObject;

class ObjectLifetimeTest : public FrameworkTest::FrameworkFixture {};

class CountingObject : public GameObject {
 public:
  explicit CountingObject(int* ends) : m_ends(ends) {}
  void OnEnd() override { ++*m_ends; }

 private:
  int* m_ends;
};

// Services of a running network game with one known player.
class NetworkServices : public FrameworkTest::TestServices {
 public:
  bool server = true;
  SmartPointer<Quillon::QlnPlayer> local;
  SmartPointer<Quillon::QlnPlayer> remote;
  bool IsNetworkGame() const override { return true; }
  bool IsServer() const override { return server; }
  Quillon::QlnPlayer* FindNetworkPlayer(uint32_t id) const override {
    if (local && local->GetID() == id) return local.Get();
    if (remote && remote->GetID() == id) return remote.Get();
    return nullptr;
  }
  Quillon::QlnPlayer* GetLocalNetworkPlayer() const override { return local.Get(); }
};

TEST_F(ObjectLifetimeTest, AnObjectRemovedTwiceEndsOnce) {
  SmartPointer<Quillon::Layer> layer(new Quillon::Layer());
  int ends = 0;
  SmartPointer<CountingObject> object(new CountingObject(&ends));
  layer->InsertGameObject(object.Get());
  layer->Update(0.0f);
  layer->RemoveGameObject(object.Get());
  layer->RemoveGameObject(object.Get());
  layer->QueueGameObjectRemoval(object.Get());
  layer->Update(0.0f);
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(layer->GetGameObjectsCount(), 0u);
}

TEST_F(ObjectLifetimeTest, ACopyOfAnObjectOnItsWayOutStartsAlive) {
  SmartPointer<Quillon::Layer> layer(new Quillon::Layer());
  SmartPointer<GameObject> source(new GameObject());
  layer->InsertGameObject(source.Get());
  layer->Update(0.0f);
  source->Destroy();
  ASSERT_TRUE(source->IsDestructionPending());
  SmartPointer<GameObject> pendingCopy(static_cast<GameObject*>(source->Clone()));
  EXPECT_FALSE(pendingCopy->IsDestructionPending());
  EXPECT_FALSE(pendingCopy->IsDestroyed());
  layer->Update(0.0f);
  SmartPointer<GameObject> lateCopy(static_cast<GameObject*>(source->Clone()));
  EXPECT_FALSE(lateCopy->IsDestroyed());
  // The copy lives a whole life of its own: it joins a layer and its Destroy takes it out.
  layer->InsertGameObject(lateCopy.Get());
  layer->Update(0.0f);
  EXPECT_EQ(layer->GetGameObjectsCount(), 1u);
  lateCopy->Destroy();
  EXPECT_TRUE(lateCopy->IsDestructionPending());
  layer->Update(0.0f);
  EXPECT_EQ(layer->GetGameObjectsCount(), 0u);
}

TEST_F(ObjectLifetimeTest, AViewportKeepsItsCameraAlive) {
  SmartPointer<Quillon::Viewport> viewport(new Quillon::Viewport());
  {
    SmartPointer<Quillon::Camera> camera(new Quillon::Camera());
    viewport->SetCamera(camera.Get());
  }
  ASSERT_NE(viewport->GetCamera(), nullptr);
  // Read after its other holder let go: the sanitizer build catches a freed camera here.
  EXPECT_EQ(viewport->GetCamera()->GetReferenceCount(), 1u);
  SmartPointer<Quillon::Viewport> copy(new Quillon::Viewport(*viewport));
  viewport->SetCamera(nullptr);
  EXPECT_EQ(viewport->GetCamera(), nullptr);
  ASSERT_NE(copy->GetCamera(), nullptr);
  EXPECT_EQ(copy->GetCamera()->GetReferenceCount(), 1u);
}

TEST_F(ObjectLifetimeTest, ScriptNamesFromSavedGamesStayInTheScriptFolder) {
  for (const char* inside : {"", "enemy.lua", "ai/enemy.lua", "ai\\enemy.lua", "..lua", "a..b.lua"}) {
    EXPECT_TRUE(Quillon::IsScriptNameInsideScripts(inside)) << inside;
  }
  for (const char* outside : {"..", "../x.lua", "..\\x.lua", "ai/../../x.lua", "ai\\..\\..\\x.lua", "/etc/x.lua",
                              "\\x.lua", "C:\\x.lua", "ai/.."}) {
    EXPECT_FALSE(Quillon::IsScriptNameInsideScripts(outside)) << outside;
  }
  SmartPointer<GameObject> object(new GameObject());
  object->SetScriptFile("..\\..\\outside.lua");
  Core::MemoryFile file;
  file.WriteObject(object.Get());
  Core::MemoryFile reader(file.GetBuffer().GetData(), file.GetBuffer().GetSize());
  SmartPointer<Core::Object> loaded(reader.ReadObject());
  EXPECT_TRUE(reader.HasFailed());
  EXPECT_EQ(loaded.Get(), nullptr);
}

TEST_F(ObjectLifetimeTest, NetworkOwnersDevicesAndTheComponentManager) {
  NetworkServices network;
  network.directory = services_.directory;
  network.local = new Quillon::QlnPlayer("host", true, true, Network::NetAddress());
  network.local->SetID(3);
  network.remote = new Quillon::QlnPlayer("guest", false, false, Network::NetAddress());
  network.remote->SetID(4);
  network.remote->SetNetworkDevices(Input::KeyboardImp::Create(), Input::MouseImp::Create());
  Quillon::SetGameServices(&network);

  SmartPointer<GameObject> object(new GameObject());
  EXPECT_FALSE(object->ChangeNetworkOwner(network.remote.Get())) << "no network id";
  EXPECT_EQ(object->GetNetworkOwner(), nullptr);
  object->SetNetworkId(SmartPointer<Core::Object>(new Quillon::NetObjectID(3, 42)));
  EXPECT_EQ(object->GetNetworkOwner(), network.local.Get());
  ASSERT_TRUE(object->ChangeNetworkOwner(network.remote.Get()));
  EXPECT_EQ(object->GetNetworkOwner(), network.remote.Get());
  EXPECT_EQ(Quillon::GetNetObjectID(object.Get())->GetId(), 42u) << "the id number stays";

  // Scripts see the owner and, on the server, the owner's devices.
  SetGlobal("object", object.Get());
  SetGlobal("guest", network.remote.Get());
  SetGlobal("host", network.local.Get());
  Run("_G.sameOwner = object:GetNetworkOwner() ~= nil and 1 or 0");
  EXPECT_EQ(GlobalNumber("sameOwner"), 1.0);
  // No application runs here, so this machine has no devices: what a script gets is the guest's.
  ASSERT_EQ(Input::Keyboard::GetInstance(), nullptr);
  Run("_G.devices = (object:GetNetworkKeyboard() ~= nil and object:GetNetworkMouse() ~= nil) and 1 or 0");
  EXPECT_EQ(GlobalNumber("devices"), 1.0);
  network.server = false;
  Run("_G.devices = (object:GetNetworkKeyboard() == nil and object:GetNetworkMouse() == nil) and 1 or 0");
  EXPECT_EQ(GlobalNumber("devices"), 1.0) << "a client's scripts get its own devices";
  network.server = true;
  Run("_G.changed = object:ChangeNetworkOwner(host) and 1 or 0");
  EXPECT_EQ(GlobalNumber("changed"), 1.0);
  EXPECT_EQ(object->GetNetworkOwner(), network.local.Get());
  // Null means this machine's player.
  ASSERT_TRUE(object->ChangeNetworkOwner(network.remote.Get()));
  ASSERT_TRUE(object->ChangeNetworkOwner(nullptr));
  EXPECT_EQ(object->GetNetworkOwner(), network.local.Get());

  EXPECT_EQ(object->GetComponentManager(), nullptr);
  EXPECT_TRUE(object->CreateComponentManager());
  Quillon::QlnComponentManager* first = object->GetComponentManager();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetComponentCount(), 0u);
  network.server = false;
  EXPECT_FALSE(object->CreateComponentManager());
  EXPECT_NE(object->GetComponentManager(), nullptr);
  SmartPointer<GameObject> copy(static_cast<GameObject*>(object->Clone()));
  EXPECT_EQ(copy->GetComponentManager(), nullptr);
  Quillon::SetGameServices(&services_);
}

}  // namespace
