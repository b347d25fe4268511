// The layer: deferred membership, the name index, the per-frame pass order, destruction and the
// stored form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Core_File.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Layer.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

using Core::SmartPointer;
using Quillon::GameObject;
using Quillon::Layer;

class LayerTest : public FrameworkTest::FrameworkFixture {};

// Records its life in a shared log.
class LoggingObject : public GameObject {
 public:
  explicit LoggingObject(std::vector<std::string>* log) : m_log(log) {}
  void OnStart() override { m_log->push_back("start " + GetName()); }
  void OnEnd() override { m_log->push_back("end " + GetName()); }
  void Update(float) override { m_log->push_back("update " + GetName()); }
  void ReleaseResources() override {
    if (!IsDestroyed()) m_log->push_back("release " + GetName());
    GameObject::ReleaseResources();
  }
  void FirstFrameHook(float) override { m_log->push_back("first " + GetName()); }

 private:
  std::vector<std::string>* m_log;
};

SmartPointer<LoggingObject> Make(std::vector<std::string>* log, const std::string& name) {
  SmartPointer<LoggingObject> object(new LoggingObject(log));
  object->SetName(name);
  return object;
}

std::vector<GameObject*> Live(const Layer& layer) {
  std::list<GameObject*> objects;
  layer.GetGameObjects(objects);
  return std::vector<GameObject*>(objects.begin(), objects.end());
}

std::vector<GameObject*> Named(const Layer& layer, const std::string& name) {
  std::list<GameObject*> objects;
  layer.GetGameObjectsByName(name, objects);
  return std::vector<GameObject*>(objects.begin(), objects.end());
}

TEST_F(LayerTest, AdditionsWaitForThePassAndRefuseObjectsAlreadyPlacedOrRemoved) {
  std::vector<std::string> log;
  SmartPointer<Layer> layer(new Layer(2.0f)), other(new Layer(1.0f));
  auto object = Make(&log, "a");
  layer->AddGameObject(object.Get());
  EXPECT_EQ(object->GetLayer(), layer.Get());
  EXPECT_TRUE(Live(*layer).empty());
  EXPECT_EQ(Named(*layer, "a").size(), 1u);  // named at once
  layer->AddGameObject(object.Get());
  other->AddGameObject(object.Get());
  EXPECT_EQ(layer->GetPendingAdditionsCount(), 1u);
  EXPECT_EQ(other->GetPendingAdditionsCount(), 0u);
  layer->Update(0.1f);
  EXPECT_EQ(Live(*layer), std::vector<GameObject*>{object.Get()});
  EXPECT_EQ(layer->GetNode()->GetChildCount(), 1u);
  layer->RemoveGameObject(object.Get());
  layer->Update(0.1f);
  EXPECT_TRUE(object->IsDestroyed());
  EXPECT_EQ(layer->GetNode()->GetChildCount(), 0u);
  layer->AddGameObject(object.Get());
  EXPECT_EQ(layer->GetPendingAdditionsCount(), 0u);
}

TEST_F(LayerTest, AddedAndRemovedInOneFrameStartsThenEnds) {
  std::vector<std::string> log;
  SmartPointer<Layer> layer(new Layer(0.0f));
  auto object = Make(&log, "x");
  layer->AddGameObject(object.Get());
  layer->RemoveGameObject(object.Get());
  layer->Update(0.1f);
  EXPECT_EQ(log, (std::vector<std::string>{"start x", "end x", "release x"}));
  EXPECT_TRUE(Live(*layer).empty());
}

TEST_F(LayerTest, PassTicksInAscendingIdAndObjectsQueuedDuringTicksWaitAFrame) {
  std::vector<std::string> log;
  SmartPointer<Layer> layer(new Layer(0.0f));
  auto first = Make(&log, "first");
  auto second = Make(&log, "second");
  layer->AddGameObject(second.Get());
  layer->AddGameObject(first.Get());
  layer->Update(0.1f);
  EXPECT_EQ(log, (std::vector<std::string>{"start second", "start first", "update first", "update second"}));
  log.clear();
  layer->RunFirstHook(0.1f);
  EXPECT_EQ(log, (std::vector<std::string>{"first first", "first second"}));
}

TEST_F(LayerTest, DestroyedObjectLivesUntilTheNextPass) {
  std::vector<std::string> log;
  SmartPointer<Layer> layer(new Layer(0.0f));
  auto object = Make(&log, "d");
  layer->AddGameObject(object.Get());
  layer->Update(0.1f);
  log.clear();
  object->Destroy();
  object->Destroy();
  EXPECT_TRUE(object->IsDestructionPending());
  EXPECT_EQ(layer->GetPendingRemovalsCount(), 1u);
  EXPECT_TRUE(Named(*layer, "d").empty());
  EXPECT_EQ(layer->GetGameObjectsCount(), 1u);
  GameObject* raw = object.Get();
  object.Reset();  // the layer still holds it
  EXPECT_EQ(raw->GetName(), "d");
  layer->Update(0.1f);
  EXPECT_EQ(log, (std::vector<std::string>{"end d", "release d"}));
  EXPECT_EQ(layer->GetGameObjectsCount(), 0u);
}

TEST_F(LayerTest, NameIndexKeepsQueueingOrderAndEmptiedNames) {
  std::vector<std::string> log;
  SmartPointer<Layer> layer(new Layer(0.0f));
  auto a = Make(&log, "twin");
  auto b = Make(&log, "twin");
  layer->AddGameObject(a.Get());
  layer->AddGameObject(b.Get());
  EXPECT_EQ(Named(*layer, "twin"), (std::vector<GameObject*>{a.Get(), b.Get()}));
  a->SetName("single");
  EXPECT_EQ(Named(*layer, "twin"), std::vector<GameObject*>{b.Get()});
  EXPECT_EQ(Named(*layer, "single"), std::vector<GameObject*>{a.Get()});
  b->SetName("other");
  EXPECT_TRUE(Named(*layer, "twin").empty());
  EXPECT_EQ(layer->GetNameIndexSize(), 3u);  // "twin" stays a key
  EXPECT_TRUE(Named(*layer, "never").empty());
  // Renaming to the same name leaves the index alone.
  b->SetName("other");
  EXPECT_EQ(Named(*layer, "other").size(), 1u);
}

TEST_F(LayerTest, StartHooksThatAddObjectsAreServedInTheSamePass) {
  class Spawner : public GameObject {
   public:
    SmartPointer<GameObject> child{new GameObject()};
    void OnStart() override { GetLayer()->AddGameObject(child.Get()); }
  };
  SmartPointer<Layer> layer(new Layer(0.0f));
  SmartPointer<Spawner> spawner(new Spawner());
  layer->AddGameObject(spawner.Get());
  layer->Update(0.1f);
  EXPECT_EQ(layer->GetGameObjectsCount(), 2u);
}

TEST_F(LayerTest, DestroyReleasesLiveAndQueuedObjects) {
  std::vector<std::string> log;
  SmartPointer<Layer> layer(new Layer(0.0f));
  auto live = Make(&log, "live");
  auto queued = Make(&log, "queued");
  layer->AddGameObject(live.Get());
  layer->Update(0.1f);
  layer->AddGameObject(queued.Get());
  layer->Destroy();
  layer->Destroy();
  EXPECT_TRUE(live->IsDestroyed());
  EXPECT_TRUE(queued->IsDestroyed());
  EXPECT_EQ(queued->GetLayer(), nullptr);
  EXPECT_TRUE(layer->IsDestroyed());
}

TEST_F(LayerTest, TransformationPlacesThePlaneAtItsDepth) {
  SmartPointer<Layer> layer(new Layer(-5.0f));
  EXPECT_EQ(layer->GetNode()->GetTransform()->m[14], -5.0f);
  layer->SetScale(2.0f, 3.0f);
  layer->SetRotation(90.0f);
  Math::Vector3D point = *layer->GetNode()->GetTransform() * Math::Vector3D(1.0f, 0.0f, 0.0f);
  EXPECT_NEAR(point.x, 0.0f, 1e-5f);
  EXPECT_NEAR(point.y, 2.0f, 1e-5f);
  EXPECT_NEAR(point.z, -5.0f, 1e-5f);
}

TEST_F(LayerTest, SavedLayerLoadsItsObjectsQueuesAndNames) {
  Core::MemoryFile empty;
  SmartPointer<Layer>(new Layer())->Save(empty);
  EXPECT_EQ(empty.GetBuffer().GetSize(), 96u) << "an empty layer's record";
  std::vector<std::string> log;
  SmartPointer<Layer> layer(new Layer(3.0f));
  layer->SetName("ground");
  SmartPointer<GameObject> a(new GameObject()), b(new GameObject()), c(new GameObject());
  a->SetName("a");
  b->SetName("b");
  c->SetName("c");
  layer->AddGameObject(a.Get());
  layer->AddGameObject(b.Get());
  layer->Update(0.1f);
  layer->AddGameObject(c.Get());
  layer->RemoveGameObject(b.Get());
  layer->SetCollisionDataColor(Math::Color(0.5f, 0.25f, 1.0f, 1.0f));
  SmartPointer<Layer> loaded = RoundTrip(layer.Get());
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->GetName(), "ground");
  EXPECT_EQ(loaded->GetZOrder(), 3.0f);
  EXPECT_EQ(loaded->GetGameObjectsCount(), 2u);
  EXPECT_EQ(loaded->GetNode()->GetChildCount(), 2u);
  EXPECT_EQ(loaded->GetPendingAdditionsCount(), 1u);
  EXPECT_EQ(loaded->GetPendingRemovalsCount(), 1u);
  EXPECT_EQ(Named(*loaded, "c").size(), 1u);
  EXPECT_TRUE(Named(*loaded, "b").empty());
  EXPECT_EQ(loaded->GetCollisionDataColor(), Math::Color(0.5f, 0.25f, 1.0f, 1.0f));
  ASSERT_NE(loaded->FindGameObjectById(a->GetID()), nullptr);
  EXPECT_EQ(loaded->FindGameObjectById(a->GetID())->GetLayer(), loaded.Get());
  loaded->Update(0.1f);
  EXPECT_EQ(loaded->GetGameObjectsCount(), 2u);  // c joined, b left
}

TEST_F(LayerTest, ALayerFirstMetInsideAnObjectsRecordIsItsLayerOnlyWhenItListsIt) {
  // An object carried across layers writes the later layer inside the carrier's record. A link to a
  // layer that does not list the object (a hand-made file) is dropped, and that layer, with what
  // it holds, goes with the stream.
  SmartPointer<Layer> first(new Layer(1.0f)), second(new Layer(2.0f)), stray(new Layer(3.0f));
  SmartPointer<GameObject> carrier(new GameObject()), carried(new GameObject()), lost(new GameObject()),
      inside(new GameObject());
  first->AddGameObject(carrier.Get());
  first->AddGameObject(lost.Get());
  second->AddGameObject(carried.Get());
  stray->AddGameObject(inside.Get());
  carrier->Mount(carried.Get());
  lost->SetLayer(stray.Get());
  Core::MemoryFile file;
  file.WriteObject(first.Get());
  file.WriteObject(second.Get());
  SmartPointer<Layer> loadedFirst, loadedSecond;
  {
    Core::MemoryFile reader(file.GetBuffer().GetData(), file.GetBuffer().GetSize());
    loadedFirst = dynamic_cast<Layer*>(reader.ReadObject());
    loadedSecond = dynamic_cast<Layer*>(reader.ReadObject());
  }
  ASSERT_TRUE(loadedFirst && loadedSecond);
  loadedFirst->Update(0.1f);
  loadedSecond->Update(0.1f);
  GameObject* loadedCarrier = loadedFirst->FindGameObjectById(carrier->GetID());
  ASSERT_TRUE(loadedCarrier != nullptr && loadedCarrier->GetMountsCount() == 1u);
  EXPECT_EQ(loadedCarrier->GetMount(0), loadedSecond->FindGameObjectById(carried->GetID()));
  EXPECT_EQ(loadedCarrier->GetMount(0)->GetLayer(), loadedSecond.Get());
  ASSERT_NE(loadedFirst->FindGameObjectById(lost->GetID()), nullptr);
  EXPECT_EQ(loadedFirst->FindGameObjectById(lost->GetID())->GetLayer(), nullptr);
}

TEST_F(LayerTest, CorruptLayerRecordsFailWithoutCrashing) {
  SmartPointer<Layer> layer(new Layer(1.0f));
  SmartPointer<GameObject> object(new GameObject());
  layer->AddGameObject(object.Get());
  layer->Update(0.1f);
  Core::MemoryFile file;
  file.WriteObject(layer.Get());
  const auto& buffer = file.GetBuffer();
  for (uint32_t size = 0; size < buffer.GetSize(); size += 3) {
    Core::MemoryFile reader(buffer.GetData(), size);
    SmartPointer<Core::Object> loaded(reader.ReadObject());
    EXPECT_TRUE(reader.HasFailed()) << size;
  }
  // A name-index count far beyond the stream.
  std::vector<unsigned char> bytes(buffer.GetData(), buffer.GetData() + buffer.GetSize());
  const uint32_t header = 1 + 4 + 14 + 4;
  const uint32_t countOffset = header + 4 + 16 + 4 + 2;
  bytes[countOffset + 3] = 0x7F;
  Core::MemoryFile hostile(bytes.data(), static_cast<uint32_t>(bytes.size()));
  SmartPointer<Core::Object> loaded(hostile.ReadObject());
  EXPECT_TRUE(hostile.HasFailed());
}

}  // namespace
