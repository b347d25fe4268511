// Object scripts: the script constructor, entry points and their order, shared compiled chunks,
// cloning with "OnClone", "ObjectFunction", the method tables and scripts that end their object.
#include <gtest/gtest.h>

#include "core/Core_File.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_ParticleEmitter.h"
#include "framework/Quillon_QlnNet.h"
#include "framework/Quillon_ScriptSupport.h"
#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_SpriteAnimation.h"
#include "script/Lua_Script.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

using Core::SmartPointer;
using Quillon::GameObject;
using Quillon::Layer;

class ObjectScriptTest : public FrameworkTest::FrameworkFixture {};

const char* kLifeScript = R"(
function Constructor() _G.log = (_G.log or "") .. "C" end
function OnStart() _G.log = _G.log .. "S" end
function Update(dt) _G.log = _G.log .. "U" .. dt end
function OnEnd() _G.log = _G.log .. "E" end
function Destroy() _G.log = _G.log .. "D"; self:Destroy() end
)";

TEST_F(ObjectScriptTest, EntryPointsRunAtTheirPointsOfTheObjectsLife) {
  SmartPointer<Layer> layer(new Layer(0.0f));
  SmartPointer<GameObject> object(new GameObject());
  object->SetScriptFile(WriteScript("life.lua", kLifeScript));
  object->RunScriptConstructor(true);
  EXPECT_TRUE(object->IsScriptStarted());
  EXPECT_TRUE(object->HasScriptFlag());
  layer->AddGameObject(object.Get());
  layer->Update(0.5f);
  object->Destroy();  // the script's own Destroy call finds the object already pending
  layer->Update(0.5f);
  EXPECT_EQ(GlobalString("log"), "CSU0.5DE");
  EXPECT_EQ(object->GetScript(), nullptr);  // released with the object's resources
}

TEST_F(ObjectScriptTest, ObjectsNamingOneFileShareItsCompiledChunkWithTheirOwnSelf) {
  const std::string file = WriteScript("named.lua", "function Constructor() _G['id_' .. self:GetName()] = self:GetID() end");
  SmartPointer<GameObject> a(new GameObject()), b(new GameObject());
  a->SetName("a");
  b->SetName("b");
  a->SetScriptFile(file);
  b->SetScriptFile(file);
  a->RunScriptConstructor(true);
  b->RunScriptConstructor(true);
  EXPECT_EQ(a->GetSharedScript(), nullptr);
  EXPECT_EQ(b->GetSharedScript(), a->GetScript());
  EXPECT_NE(b->GetScript(), a->GetScript());
  EXPECT_EQ(GlobalNumber("id_a"), a->GetID());
  EXPECT_EQ(GlobalNumber("id_b"), b->GetID());
}

TEST_F(ObjectScriptTest, ErrorsInEntryPointsAreIgnoredAndMissingFilesLeaveNoScript) {
  SmartPointer<GameObject> object(new GameObject());
  object->SetScriptFile(WriteScript("broken.lua", "function Update(dt) error('boom') end"));
  object->RunScriptConstructor(true);
  object->Tick(0.1f);
  object->Tick(0.1f);
  SmartPointer<GameObject> missing(new GameObject());
  missing->SetScriptFile("nowhere.lua");
  missing->RunScriptConstructor(true);
  EXPECT_FALSE(missing->HasScriptFlag());
  missing->Tick(0.1f);
  EXPECT_FALSE(boxes_.empty());  // the missing file is reported in the "Script Error" box
}

TEST_F(ObjectScriptTest, ScriptThatDestroysItsObjectDuringUpdateIsRemovedNextPass) {
  SmartPointer<Layer> layer(new Layer(0.0f));
  SmartPointer<GameObject> object(new GameObject());
  object->SetScriptFile(WriteScript("suicide.lua", "function Update(dt) self:Destroy(); _G.after = 1 end"));
  object->RunScriptConstructor(true);
  layer->AddGameObject(object.Get());
  GameObject* raw = object.Get();
  object.Reset();
  layer->Update(0.1f);
  EXPECT_EQ(GlobalNumber("after"), 1.0);
  EXPECT_EQ(layer->GetGameObjectsCount(), 1u);
  layer->Update(0.1f);
  EXPECT_EQ(layer->GetGameObjectsCount(), 0u);
  (void)raw;
}

TEST_F(ObjectScriptTest, ObjectFunctionCallsIntoTheObjectsScriptAndReturnsResults) {
  SmartPointer<GameObject> object(new GameObject());
  object->SetScriptFile(WriteScript("add.lua", "function Add(a, b, c) return a + b + c, 'done' end"));
  object->RunScriptConstructor(true);
  SetGlobal("object", object.Get());
  Run("_G.sum, _G.word = object:ObjectFunction('Add', 2, 1, 2, 3)");
  EXPECT_EQ(GlobalNumber("sum"), 6.0);
  EXPECT_EQ(GlobalString("word"), "done");
  Run("_G.none = object:ObjectFunction('Missing', 1)");
  lua_getglobal(main_, "none");
  EXPECT_TRUE(lua_isnil(main_, -1));
  lua_pop(main_, 1);
}

// Every owner kind, called by another script and by its own, with and without a count and
// arguments; a count that is no number asks for no result, as an absent one does.
TEST_F(ObjectScriptTest, ObjectFunctionOfEveryOwnerKindRunsForAnyCaller) {
  const std::string file = WriteScript("owner.lua", R"(
function F(...) _G.runs = _G.runs + 1; _G.got = table.concat({...}, ',') return ... end
function Own(...) _G.r = table.concat({self:ObjectFunction('F', ...)}, ',') end
)");
  std::vector<LuaScript*> handed;  // the owners that are given a script rather than a file
  auto hand = [&](Core::Object& owner) {
    handed.push_back(LuaScript::Create());
    Quillon::Script::BindSelf(*handed.back(), owner);
    handed.back()->Load(Quillon::Script::ScriptPath(file).c_str());
    return handed.back();
  };
  SmartPointer<GameObject> object(new Quillon::Sprite());
  SmartPointer<Quillon::Level> level(new Quillon::Level());
  SmartPointer<Quillon::PointEmitter> emitter(new Quillon::PointEmitter());
  SmartPointer<Quillon::SpriteAnimation> animation(new Quillon::SpriteAnimation("sheet.png", 1, 1, {0.1f}));
  object->SetScriptFile(file);
  object->RunScriptConstructor(true);
  level->SetScriptFile(file);
  level->RunScript();
  emitter->SetScriptFile(file);
  emitter->RunScript();
  animation->SetScript(hand(*animation));
  std::vector<Core::Object*> owners = {object.Get(), level.Get(), emitter.Get(), animation.Get()};
  SmartPointer<Quillon::Game> game;  // needs a window
  if (TestSupport::HasDisplay()) {
    game = new Quillon::Game(nullptr, Engine::DisplaySettings{320, 240, 60, 0, 0, 0}, 0);
    Quillon::SetGameServices(&services_);  // the game put its own in
    game->SetScript(hand(*game));
    owners.push_back(game.Get());
  }
  const struct {
    const char* args;
    const char* results;
    const char* got;
  } cases[] = {{"", "", ""}, {", 2, 'a', 'b'", "a,b", "a,b"}, {", 'two', 'a'", "", "a"}, {", nil, 'a'", "", "a"}};
  for (Core::Object* owner : owners) {
    SetGlobal("owner", owner);
    for (const auto& c : cases) {
      for (const std::string& call : {"_G.r = table.concat({owner:ObjectFunction('F'" + std::string(c.args) + ")}, ',')",
                                      "owner:ObjectFunction('Own', 0" + std::string(c.args) + ")"}) {
        Run("_G.runs, _G.r, _G.got = 0, 'unset', 'unset' " + call);
        const std::string where = owner->GetClassName() + std::string(": ") + call;
        EXPECT_EQ(GlobalNumber("runs"), 1.0) << where;
        EXPECT_EQ(GlobalString("r"), c.results) << where;
        EXPECT_EQ(GlobalString("got"), c.got) << where;
      }
    }
  }
  animation->SetScript(nullptr);
  if (game) game->SetScript(nullptr);
  game.Reset();
  for (LuaScript* script : handed) LuaScript::Destroy(script);
}

TEST_F(ObjectScriptTest, ScriptCloneRunsTheChunkInTheCopyAndThenOnClone) {
  SmartPointer<Layer> layer(new Layer(0.0f));
  // "Clone" belongs to the tables of the game-object kinds, not to the plain game object's.
  SmartPointer<GameObject> source(new Quillon::Sprite());
  source->SetName("Alien");
  source->SetScriptFile(WriteScript("clone.lua", R"(
function OnClone(from) _G.clonedFrom = from:GetName(); _G.cloneSelf = self:GetID() end
function MakeClone(layer) local copy = self:Clone(); copy:SetName('AlienClone'); layer:AddGameObject(copy); return copy:GetID() end
)"));
  source->RunScriptConstructor(true);
  SetGlobal("source", source.Get());
  SetGlobal("layer", layer.Get());
  Run("_G.copyId = source:ObjectFunction('MakeClone', 1, layer)");
  EXPECT_EQ(GlobalString("clonedFrom"), "Alien");
  EXPECT_EQ(GlobalNumber("cloneSelf"), GlobalNumber("copyId"));
  layer->Update(0.1f);
  ASSERT_EQ(layer->GetGameObjectsCount(), 1u);
  std::list<GameObject*> live;
  layer->GetGameObjects(live);
  EXPECT_EQ(live.front()->GetName(), "AlienClone");
  EXPECT_TRUE(live.front()->IsCloneWithScript());
  EXPECT_EQ(live.front()->GetSharedScript(), source->GetScript());
}

TEST_F(ObjectScriptTest, MethodsReadTheirArgumentsAndIgnoreMissingOnes) {
  SmartPointer<GameObject> object(new GameObject());
  SmartPointer<GameObject> carried(new GameObject());
  SetGlobal("object", object.Get());
  SetGlobal("carried", carried.Get());
  Run(R"(
object:SetPosition(CreatePoint())
object:SetPosition(3, 4)
local p = object:GetPosition()
_G.px, _G.py = p.X, p.Y
object:SetPosition(7)           -- one number: ignored
object:SetScale({X = 2, Y = 5})
_G.sy = object:GetScaleY()
object:Mount(carried)
_G.mounts = object:GetMountsCount()
_G.beyond = object:GetMount(5)
object:SetModulationG(0.25)
_G.g = object:GetModulationColor().G
object:SetName('named')
_G.name = object:GetName()
)");
  EXPECT_EQ(GlobalNumber("px"), 3.0);
  EXPECT_EQ(GlobalNumber("py"), 4.0);
  EXPECT_EQ(object->GetPositionX(), 3.0f);
  EXPECT_EQ(GlobalNumber("sy"), 5.0);
  EXPECT_EQ(GlobalNumber("mounts"), 1.0);
  EXPECT_EQ(GlobalNumber("g"), 0.25);
  EXPECT_EQ(GlobalString("name"), "named");
  EXPECT_EQ(carried->GetMountSupport(), object.Get());
}

TEST_F(ObjectScriptTest, AnAnimationsObjectFunctionCallsIntoItsOwnScriptWhenItHasOne) {
  SmartPointer<Quillon::SpriteAnimation> animation(new Quillon::SpriteAnimation("sheet.png", 1, 1, {0.1f}));
  SetGlobal("animation", animation.Get());
  Run("_G.unscripted = select('#', animation:ObjectFunction('Pair', 2))");
  EXPECT_EQ(GlobalNumber("unscripted"), 0.0);

  LuaScript* script = LuaScript::Create();
  const std::string file = WriteScript("animation.lua", "function Pair(a) return a, 'second' end function Fail() error('no') end");
  script->Load((services_.directory + "/Resources/Scripts/" + file).c_str());
  animation->SetScript(script);
  Run(R"(
_G.first, _G.second = animation:ObjectFunction('Pair', 2, 'given')
_G.capped = select('#', animation:ObjectFunction('Pair', 2147483647))
_G.missing = select('#', animation:ObjectFunction('Missing', 2))
_G.failed = select('#', animation:ObjectFunction('Fail', 1))
)");
  EXPECT_EQ(GlobalString("first"), "given");
  EXPECT_EQ(GlobalString("second"), "second");
  EXPECT_EQ(GlobalNumber("capped"), 256.0);
  EXPECT_EQ(GlobalNumber("missing"), 0.0);
  EXPECT_EQ(GlobalNumber("failed"), 0.0);
  animation->SetScript(nullptr);
  LuaScript::Destroy(script);
}

TEST_F(ObjectScriptTest, MethodTablesHaveTheirFullSize) {
  EXPECT_EQ(MethodCount("GameObject"), 111);
  EXPECT_EQ(MethodCount("Sprite"), 153);
  EXPECT_EQ(MethodCount("Text"), 113);
  EXPECT_EQ(MethodCount("Camera"), 114);
  EXPECT_EQ(MethodCount("Layer"), 27);
  EXPECT_EQ(MethodCount("Viewport"), 20);
  EXPECT_EQ(MethodCount("Level"), 21);
  EXPECT_EQ(MethodCount("SpriteAnimation"), 11);
}

TEST_F(ObjectScriptTest, SavedScriptedObjectRunsItsScriptAgainWhenLoaded) {
  SmartPointer<GameObject> object(new GameObject());
  object->SetScriptFile(WriteScript("persist.lua", R"(
function Constructor() _G.constructed = (_G.constructed or 0) + 1 end
function Save() _G.saved = 1 end
function Load() _G.loaded = self:GetName() end
)"));
  object->SetName("kept");
  object->RunScriptConstructor(true);
  SmartPointer<GameObject> loaded = RoundTrip(object.Get());
  EXPECT_EQ(GlobalNumber("saved"), 1.0);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(GlobalNumber("constructed"), 2.0);
  EXPECT_EQ(GlobalString("loaded"), "kept");
  EXPECT_NE(loaded->GetScript(), nullptr);
}

}  // namespace

namespace {

class ScriptMethodsTest : public FrameworkTest::FrameworkFixture {};

TEST_F(ScriptMethodsTest, ObjectFunctionFromTheObjectsOwnCode) {
  SmartPointer<GameObject> object(new GameObject());
  object->SetScriptFile(WriteScript("self.lua", R"(
function Twice(x) return 2 * x end
function Update(dt) _G.twice = self:ObjectFunction('Twice', 1, 21) end
)"));
  object->RunScriptConstructor(true);
  object->Tick(0.1f);
  EXPECT_EQ(GlobalNumber("twice"), 42.0);
}

// A hosting game that takes every network object and records whom it was given to.
struct OwnerServices : FrameworkTest::TestServices {
  std::vector<Quillon::QlnPlayer*> owners;
  SmartPointer<GameObject> archetype{new Quillon::Sprite()};
  bool IsNetworkGame() const override { return true; }
  bool IsServer() const override { return true; }
  bool AddNetObject(GameObject*, uint32_t, Quillon::QlnPlayer* owner) override {
    owners.push_back(owner);
    return true;
  }
  GameObject* FindNetObjectByName(const std::string&) const override { return archetype.Get(); }
};

TEST_F(ScriptMethodsTest, LayerGivesNetworkObjectsToTheOwnerPlayerAndToNobodyForAnythingElse) {
  OwnerServices net;
  static_cast<FrameworkTest::TestServices&>(net) = services_;
  Quillon::SetGameServices(&net);
  SmartPointer<Layer> layer(new Layer(1.0f));
  SmartPointer<Quillon::QlnPlayer> player(new Quillon::QlnPlayer());
  SmartPointer<GameObject> a(new GameObject()), b(new GameObject());
  SetGlobal("layer", layer.Get());
  SetGlobal("player", player.Get());
  SetGlobal("a", a.Get());
  SetGlobal("b", b.Get());
  Run(R"(
layer:AddGameObject(a, true, player)
layer:AddGameObject(b, true, 'player')
layer:AddNetworkGameObject('Ship', player)
layer:AddNetworkGameObject('Ship', layer)
)");
  EXPECT_EQ(net.owners, (std::vector<Quillon::QlnPlayer*>{player.Get(), nullptr, player.Get(), nullptr}));
  Quillon::SetGameServices(&services_);
}

TEST_F(ScriptMethodsTest, LayerMethodsCheckTheirArguments) {
  SmartPointer<Layer> layer(new Layer(1.0f));
  SmartPointer<GameObject> object(new GameObject());
  SetGlobal("layer", layer.Get());
  SetGlobal("object", object.Get());
  Run(R"(
layer:AddCollisionData(CreateVector(), 5)              -- two arguments: nothing
layer:AddCollisionData(CreateVector(), 'five', 0)      -- a string second argument: nothing
layer:SetCollisionProperties(CreateVector(), 640, 480)
layer:AddGameObject(object)
layer:SetName('front')
_G.name = layer:GetName()
_G.queued = layer:GetGameObjectsCount()
)");
  EXPECT_EQ(GlobalString("name"), "front");
  EXPECT_EQ(GlobalNumber("queued"), 0.0);
  EXPECT_EQ(layer->GetGridCellSize(), 100u);
  EXPECT_EQ(layer->GetGridWidth(), 640u);
  EXPECT_EQ(object->GetLayer(), layer.Get());
  layer->Update(0.1f);
  Run("_G.count = #layer:GetGameObjects()");
  EXPECT_EQ(GlobalNumber("count"), 1.0);
}

}  // namespace
