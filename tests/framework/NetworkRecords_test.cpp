// The records sprites, texts and sounds add to a game object's network records, and the script
// values carried in them: what the server writes arrives whole on a replica, and a record cut
// short changes nothing.
#include <gtest/gtest.h>

#include "core/Core_File.h"
#include "framework/Quillon_NetworkFile.h"
#include "framework/Quillon_SoundObject.h"
#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_SpriteAnimation.h"
#include "framework/Quillon_Text.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "tests/scene/SceneTestHelpers.h"

namespace {

using Core::SmartPointer;
using Quillon::NetworkFile;

class NetworkRecordsTest : public FrameworkTest::FrameworkFixture {
 protected:
  void SetUp() override {
    FrameworkFixture::SetUp();
    SceneTest::RegisterTextureSize("sheet.png", 256, 128);
  }
  SmartPointer<Quillon::SpriteAnimation> Sheet(const std::string& name, size_t frames) {
    SmartPointer<Quillon::SpriteAnimation> animation(
        new Quillon::SpriteAnimation("sheet.png", 4, 2, std::vector<float>(frames, 0.1f)));
    animation->SetName(name);
    return animation;
  }
  // The server's synchronisation record of source, read by replica (through the virtual slot, as
  // the multiplayer layer calls it); false when the reader failed.
  static bool Sync(Quillon::GameObject& source, Quillon::GameObject& replica, uint32_t cut = 0xFFFFFFFFu) {
    NetworkFile written;
    source.SetNetworkFile(&written);
    source.NetworkSyncSend(written);
    source.SetNetworkFile(nullptr);
    NetworkFile reader(written.GetData(), std::min(cut, written.GetSize()));
    replica.SetNetworkFile(&reader);
    replica.NetworkSyncReceive(reader);
    replica.SetNetworkFile(nullptr);
    return !reader.HasFailed();
  }
};

TEST_F(NetworkRecordsTest, SpriteReplicaShowsTheServersAnimationFrameAndFlips) {
  auto run = Sheet("run", 6);
  auto jump = Sheet("jump", 3);
  SmartPointer<Quillon::Sprite> server(new Quillon::Sprite({run.Get(), jump.Get()}));
  SmartPointer<Quillon::Sprite> replica(static_cast<Quillon::Sprite*>(server->Clone()));
  replica->SetPlaying(true);
  server->SetCurrentAnimationName("jump", true);
  server->SetCurrentFrameIndex(2, true);
  server->SetFlipHorizontal(true);
  server->SetHUDObject(true);
  server->SetPosition(12.0f, -4.0f);

  // Cut anywhere, nothing of the sprite's own part changes.
  NetworkFile whole;
  server->NetworkSyncSend(whole);
  for (uint32_t cut = 0; cut < whole.GetSize(); cut += 3) {
    SmartPointer<Quillon::Sprite> probe(static_cast<Quillon::Sprite*>(replica->Clone()));
    Sync(*server, *probe, cut);
    EXPECT_EQ(probe->GetCurrentAnimationName(), "run") << cut;
    EXPECT_FALSE(probe->GetFlipHorizontal()) << cut;
  }

  ASSERT_TRUE(Sync(*server, *replica));
  EXPECT_EQ(replica->GetCurrentAnimationName(), "jump");
  EXPECT_EQ(replica->GetCurrentAnimationIndex(), 1u);
  EXPECT_EQ(replica->GetCurrentFrameIndex(), 2u);
  EXPECT_TRUE(replica->GetFlipHorizontal());
  EXPECT_FALSE(replica->GetFlipVertical());
  EXPECT_TRUE(replica->IsHUDObject());
  EXPECT_FALSE(replica->IsPlaying()) << "a replica shows the server's frames, not its own animation";

  // A record naming an animation or frame the replica lacks is refused field by field.
  SmartPointer<Quillon::Sprite> small(new Quillon::Sprite({run.Get()}));
  ASSERT_TRUE(Sync(*server, *small));
  EXPECT_EQ(small->GetCurrentAnimationName(), "run");
  EXPECT_LT(small->GetCurrentFrameIndex(), 6u);
}

TEST_F(NetworkRecordsTest, TextIsCreatedAndKeptInStepWithTheServersText) {
  SmartPointer<Quillon::Text> server(new Quillon::Text("score 10", ""));
  server->SetPosition(3.0f, 4.0f);
  NetworkFile created;
  server->NetworkSave(created);
  SmartPointer<Quillon::Text> replica(new Quillon::Text("", ""));
  NetworkFile reader(created.GetData(), created.GetSize());
  replica->NetworkLoad(reader);
  ASSERT_FALSE(reader.HasFailed());
  EXPECT_EQ(replica->GetText(), "score 10");

  server->SetText("score 20");
  server->SetHUDObject(true);
  ASSERT_TRUE(Sync(*server, *replica));
  EXPECT_EQ(replica->GetText(), "score 20");
  EXPECT_TRUE(replica->IsHUDObject());

  server->SetText("score 30");
  NetworkFile whole;
  server->NetworkSyncSend(whole);
  EXPECT_FALSE(Sync(*server, *replica, whole.GetSize() - 1));
  EXPECT_EQ(replica->GetText(), "score 20") << "a record cut short changes nothing";
}

TEST_F(NetworkRecordsTest, SoundStateReachesTheReplicaThroughTheNetworkSlots) {
  SmartPointer<Quillon::Sound> server(new Quillon::Sound());
  SmartPointer<Quillon::Sound> replica(new Quillon::Sound());
  server->SetVolume(0.25f);
  server->SetPitch(1.5f);
  server->SetIntensity(7.0f);
  server->SetLooping(true);
  server->SetPosition(9.0f, 1.0f);
  // Called through the game object, as the multiplayer layer does.
  ASSERT_TRUE(Sync(static_cast<Quillon::GameObject&>(*server), static_cast<Quillon::GameObject&>(*replica)));
  EXPECT_FLOAT_EQ(replica->GetVolume(), 0.25f);
  EXPECT_FLOAT_EQ(replica->GetPitch(), 1.5f);
  EXPECT_FLOAT_EQ(replica->GetIntensity(), 7.0f);
  EXPECT_TRUE(replica->GetLooping());
}

TEST_F(NetworkRecordsTest, ScriptValuesTravelAsTaggedValueLists) {
  SmartPointer<Quillon::Sprite> object(new Quillon::Sprite({Sheet("run", 2).Get()}));
  NetworkFile file;
  object->SetNetworkFile(&file);
  SetGlobal("object", object.Get());
  Run("object:SaveNetworkData(true, 3, 'a', nil)");
  Run("object:SaveNetworkData(CreateColor(), CreateVector(), { className = 'Other' }, print, coroutine.create(function() end))");
  object->SetNetworkFile(nullptr);
  Run("_G.outside = select('#', object:LoadNetworkData())");
  EXPECT_EQ(GlobalNumber("outside"), 0.0) << "nothing without a network file in use";

  // The first list byte for byte.
  NetworkFile expected;
  Core::WriteValue<uint32_t>(expected, 4);
  expected.WriteString("tbool");
  Core::WriteValue<uint8_t>(expected, 1);
  expected.WriteString("tnum");
  Core::WriteValue<double>(expected, 3.0);
  expected.WriteString("string");
  expected.WriteString("a");
  expected.WriteString("nil");
  ASSERT_GE(file.GetSize(), expected.GetSize());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.GetData()), expected.GetSize()),
            std::string(reinterpret_cast<const char*>(expected.GetData()), expected.GetSize()));

  NetworkFile reader(file.GetData(), file.GetSize());
  object->SetNetworkFile(&reader);
  Run("_G.n1 = select('#', object:LoadNetworkData())");
  object->SetNetworkFile(nullptr);
  // Read once more from the start for the values themselves.
  NetworkFile again(file.GetData(), file.GetSize());
  object->SetNetworkFile(&again);
  Run("local b, n, s, z = object:LoadNetworkData(); _G.ok1 = (b == true and n == 3 and s == 'a' and z == nil) and 1 or 0");
  Run("local c, v, o, f, t = object:LoadNetworkData(); _G.second = select('#', c, v, o, f, t);"
      "_G.ok2 = (c.className == 'Color' and c.A == 1 and v.className == 'Vector2D' and o == nil and f == nil and t == nil) and 1 or 0");
  object->SetNetworkFile(nullptr);
  EXPECT_EQ(GlobalNumber("n1"), 4.0);
  EXPECT_EQ(GlobalNumber("ok1"), 1.0);
  EXPECT_EQ(GlobalNumber("ok2"), 1.0);

  // A list cut anywhere pushes nothing and never reads past its end.
  for (uint32_t cut = 0; cut < file.GetSize(); ++cut) {
    NetworkFile cutShort(file.GetData(), cut);
    object->SetNetworkFile(&cutShort);
    Run("_G.cutCount = select('#', object:LoadNetworkData())");
    object->SetNetworkFile(nullptr);
    const double count = GlobalNumber("cutCount");
    EXPECT_TRUE(count == 0.0 || count == 4.0) << cut;
  }
  // A huge count in a tiny payload.
  NetworkFile lying;
  Core::WriteValue<uint32_t>(lying, 0x7FFFFFFF);
  NetworkFile lyingReader(lying.GetData(), lying.GetSize());
  object->SetNetworkFile(&lyingReader);
  Run("_G.lyingCount = select('#', object:LoadNetworkData())");
  object->SetNetworkFile(nullptr);
  EXPECT_EQ(GlobalNumber("lyingCount"), 0.0);
}

TEST_F(NetworkRecordsTest, ObjectFunctionCapsTheResultCountAScriptAsksFor) {
  const std::string script = WriteScript("many.lua", "function Three() return 1, 2, 3 end");
  SmartPointer<Quillon::Sprite> object(new Quillon::Sprite({Sheet("run", 2).Get()}));
  object->SetScriptFile(script);
  object->RunScriptConstructor(true);
  SetGlobal("object", object.Get());
  Run("_G.count = select('#', object:ObjectFunction('Three', 2147483647))");
  EXPECT_GE(GlobalNumber("count"), 3.0);
  EXPECT_LE(GlobalNumber("count"), 256.0);
  Run("_G.a, _G.b = object:ObjectFunction('Three', 2)");
  EXPECT_EQ(GlobalNumber("b"), 2.0);
}

}  // namespace
