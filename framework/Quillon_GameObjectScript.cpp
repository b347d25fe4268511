// Script methods of "GameObject", and the pieces every game-object kind's table shares.
#include <algorithm>
#include <cmath>

#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_NetworkFile.h"
#include "framework/Quillon_QlnNet.h"
#include "framework/Quillon_ScriptSupport.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "script/Lua_Script.h"
#include "script/Lua_ScriptEngine.h"

namespace Quillon {
namespace Script {

Core::Object* ToObject(lua_State* state, int index) {
  void* pointer = nullptr;
  const Lua::MethodTable* table = Lua::GetEngineUserdata(state, index, &pointer);
  // Only classes of the object hierarchy push through PushCoreObject; other userdata hold values.
  if (table == nullptr || table->GetCrossStatePush() != &Lua::PushCoreObject) return nullptr;
  return static_cast<Core::Object*>(pointer);
}

int32_t ToInteger(lua_State* state, int index) {
  const lua_Number value = luaL_checknumber(state, index);
  if (!(value > -2147483649.0 && value < 2147483648.0)) return 0;
  return static_cast<int32_t>(value);
}

uint32_t ToUnsigned(lua_State* state, int index) {
  const lua_Number value = luaL_checknumber(state, index);
  if (!(value >= 0.0) || value >= 4294967296.0) return 0;
  return static_cast<uint32_t>(value);
}

int PushObjectOrNil(lua_State* state, Core::Object* object) {
  if (object == nullptr) {
    lua_pushnil(state);
    return 1;
  }
  object->PushToLua(state);
  return 1;
}

int PushObjectList(lua_State* state, const std::list<GameObject*>& objects) {
  lua_createtable(state, static_cast<int>(objects.size()), 0);
  int key = 1;
  for (GameObject* object : objects) {
    object->PushToLua(state);
    lua_rawseti(state, -2, key++);
  }
  return 1;
}

namespace {

// The object's own code calling "ObjectFunction" on itself: the function and arguments are on this
// very stack, so no values cross between threads.
int CallOwnFunction(lua_State* state, int resultCount) {
  // Called as self:ObjectFunction("F") the count is absent too, and there are no arguments.
  const int argumentCount = std::max(lua_gettop(state) - 3, 0);
  if (!lua_checkstack(state, argumentCount + resultCount + 2)) return 0;
  lua_getglobal(state, lua_tostring(state, kFirstArgument));
  if (!lua_isfunction(state, -1)) {
    lua_pop(state, 1);
    return 0;
  }
  for (int i = 0; i < argumentCount; ++i) lua_pushvalue(state, 4 + i);
  const int base = lua_gettop(state) - argumentCount - 1;
  if (!Lua::ProtectedCall(state, argumentCount, resultCount)) return 0;
  return lua_gettop(state) - base;
}

}  // namespace

int ObjectFunction(lua_State* state, Core::Object* self) {
  if (!HasArguments(state, 1) || lua_type(state, kFirstArgument) != LUA_TSTRING) return 0;
  // A script may ask for any count; more results than this are never handed back (and a count
  // near the int limit would overflow the stack checks below). A count that is no number asks for
  // none, as an absent one does.
  constexpr int32_t kMaximumResults = 256;
  const int resultCount =
      lua_isnumber(state, 3) ? static_cast<int>(std::min(std::max<int32_t>(ToInteger(state, 3), 0), kMaximumResults))
                             : 0;
  LuaScript* script = self->GetScript();
  if (script == nullptr || script->IsEmpty() || script->GetThread() == nullptr) return 0;
  lua_State* thread = script->GetThread();
  if (thread == state) return CallOwnFunction(state, resultCount);
  if (!lua_checkstack(thread, resultCount + lua_gettop(state) + 4)) return 0;
  Lua::CallScope scope;
  const int base = lua_gettop(thread);
  lua_getglobal(thread, lua_tostring(state, kFirstArgument));
  if (!lua_isfunction(thread, -1)) {
    lua_settop(thread, base);
    return 0;
  }
  const int argumentCount = lua_gettop(state) > 3 ? LuaScript::CopyValues(state, thread, 2, 0) : 0;
  if (!Lua::ProtectedCall(thread, argumentCount, resultCount) || !lua_checkstack(state, resultCount + 2)) {
    lua_settop(thread, base);
    return 0;
  }
  const int pushed = resultCount > 0 ? LuaScript::CopyValues(thread, state, 0, resultCount) : 0;
  lua_settop(thread, base);
  return pushed;
}

namespace {

constexpr int kArg = kFirstArgument;

int ObjectFunction(lua_State* state) {
  Core::Object* self = ToObject(state, 1);
  if (self == nullptr) luaL_typerror(state, 1, "GameObject");
  return Script::ObjectFunction(state, self);
}

int AddManagedObject(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (!HasArguments(state, 2)) return 0;
  GameObject* object = ToObjectOf<GameObject>(state, kArg);
  if (object == nullptr || lua_type(state, kArg + 1) != LUA_TSTRING) return 0;
  self->AddManagedObject(object, lua_tostring(state, kArg + 1));
  return 0;
}

int Mount(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (GameObject* child = HasArguments(state, 1) ? ToObjectOf<GameObject>(state, kArg) : nullptr) self->Mount(child);
  return 0;
}

int UnMount(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (GameObject* child = HasArguments(state, 1) ? ToObjectOf<GameObject>(state, kArg) : nullptr) self->UnMount(child);
  return 0;
}

int GetMount(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (!HasArguments(state, 1)) return 0;
  // An index past the end gives nil rather than a read beyond the list.
  return PushObjectOrNil(state, self->GetMount(ToUnsigned(state, kArg)));
}

int IsMounted(lua_State* state) {
  lua_pushboolean(state, SelfObject(state)->GetMountSupport() != nullptr);
  return 1;
}

int GetMountSupport(lua_State* state) { return PushObjectOrNil(state, SelfObject(state)->GetMountSupport()); }

int GetLayer(lua_State* state) { return PushObjectOrNil(state, SelfObject(state)->GetLayer()); }

int SetName(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (!HasArguments(state, 1)) return 0;
  self->SetName(luaL_checkstring(state, kArg));
  return 0;
}

// A point table, or x and y numbers.
bool ReadPoint(lua_State* state, Math::Vector2D& point) {
  if (!HasArguments(state, 1)) return false;
  if (IsTable(state, kArg)) {
    point = LuaScript::ToPoint2D(state, kArg);
    return true;
  }
  if (!HasArguments(state, 2)) return false;
  point = Math::Vector2D(ToFloat(state, kArg), ToFloat(state, kArg + 1));
  return true;
}

int SetPosition(lua_State* state) {
  GameObject* self = SelfObject(state);
  Math::Vector2D point;
  if (ReadPoint(state, point)) self->SetPosition(point);
  return 0;
}

int SetOldPosition(lua_State* state) {
  GameObject* self = SelfObject(state);
  Math::Vector2D point;
  if (ReadPoint(state, point)) self->SetOldPosition(point);
  return 0;
}

int SetDirection(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (HasArguments(state, 2)) self->SetDirection(ToFloat(state, kArg), ToFloat(state, kArg + 1));
  return 0;
}

int GetDirectionX(lua_State* state) {
  lua_pushnumber(state, SelfObject(state)->GetDirection().x);
  return 1;
}

int GetDirectionY(lua_State* state) {
  lua_pushnumber(state, SelfObject(state)->GetDirection().y);
  return 1;
}

int SetScale(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (!HasArguments(state, 1)) return 0;
  if (IsTable(state, kArg)) {
    const Math::Vector2D scale = LuaScript::ToVector2D(state, kArg);
    self->SetScale(scale.x, scale.y);
  } else if (HasArguments(state, 2)) {
    self->SetScale(ToFloat(state, kArg), ToFloat(state, kArg + 1));
  }
  return 0;
}

int GetScale(lua_State* state) {
  GameObject* self = SelfObject(state);
  LuaScript::PushVector2D(state, self->GetScaleX(), self->GetScaleY());
  return 1;
}

int SetCenter(lua_State* state) {
  GameObject* self = SelfObject(state);
  Math::Vector2D point;
  if (ReadPoint(state, point)) self->SetCenter(point);
  return 0;
}

int SetCenterX(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (HasArguments(state, 1)) self->SetCenter(Math::Vector2D(ToFloat(state, kArg), self->GetCenter().y));
  return 0;
}

int SetCenterY(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (HasArguments(state, 1)) self->SetCenter(Math::Vector2D(self->GetCenter().x, ToFloat(state, kArg)));
  return 0;
}

int GetCenterX(lua_State* state) {
  lua_pushnumber(state, SelfObject(state)->GetCenter().x);
  return 1;
}

int GetCenterY(lua_State* state) {
  lua_pushnumber(state, SelfObject(state)->GetCenter().y);
  return 1;
}

template <int Component>
int SetModulationComponent(lua_State* state) {
  GameObject* self = SelfObject(state);
  if (!HasArguments(state, 1)) return 0;
  Math::Color color = self->GetModulationColor();
  float* components[] = {&color.r, &color.g, &color.b};
  *components[Component] = ToFloat(state, kArg);
  self->SetModulationColor(color);
  return 0;
}

template <int Component>
int GetModulationComponent(lua_State* state) {
  const Math::Color& c = SelfObject(state)->GetModulationColor();
  const float components[] = {c.r, c.g, c.b};
  lua_pushnumber(state, components[Component]);
  return 1;
}

// On the server of a network game, the devices of the player who owns the object (a remote
// player's are played back from its messages); otherwise this machine's own.
int GetNetworkKeyboard(lua_State* state) {
  GameObject* self = SelfObject(state);
  const GameServices& services = GetGameServices();
  QlnPlayer* owner = services.IsNetworkGame() && services.IsServer() ? self->GetNetworkOwner() : nullptr;
  return PushObjectOrNil(state, owner != nullptr ? owner->GetKeyboard() : Input::Keyboard::GetInstance());
}

int GetNetworkMouse(lua_State* state) {
  GameObject* self = SelfObject(state);
  const GameServices& services = GetGameServices();
  QlnPlayer* owner = services.IsNetworkGame() && services.IsServer() ? self->GetNetworkOwner() : nullptr;
  return PushObjectOrNil(state, owner != nullptr ? owner->GetMouse() : Input::Mouse::GetInstance());
}

int GetNetworkOwner(lua_State* state) {
  QlnPlayer* owner = SelfObject(state)->GetNetworkOwner();
  if (owner == nullptr) return 0;
  return owner->PushToLua(state);
}

int ChangeNetworkOwner(lua_State* state) {
  GameObject* self = SelfObject(state);
  QlnPlayer* player = HasArguments(state, 1) ? ToObjectOf<QlnPlayer>(state, kArg) : nullptr;
  lua_pushboolean(state, self->ChangeNetworkOwner(player) ? 1 : 0);
  return 1;
}

int RunScript(lua_State* state) {
  SelfObject(state)->RunScriptConstructor(true);
  return 0;
}

}  // namespace

int CloneObject(lua_State* state) {
  GameObject* self = SelfObject(state);
  GameObject* clone = self->CloneWithScript();
  if (clone == nullptr) return 0;
  return PushObjectOrNil(state, clone);
}

// The network file is in use only inside the multiplayer layer's calls; outside them nothing is
// written or read. Each value is a tag and its payload; a value no tag describes (a thread) is
// written as "nil", and a record that gives no script value back is read as nil, so that the
// writer's count and the reader's results always agree.
int SaveNetworkData(lua_State* state) {
  GameObject* self = SelfObject(state);
  NetworkFile* file = self->GetNetworkFile();
  const int count = lua_gettop(state) - 1;
  if (file == nullptr || count < 1) return 0;
  // Argument checks first: a bad table raises its error before anything is written.
  for (int index = 2; index <= count + 1; ++index) {
    if (lua_type(state, index) != LUA_TTABLE) continue;
    lua_getfield(state, index, "className");
    const bool named = lua_type(state, -1) == LUA_TSTRING;
    lua_pop(state, 1);
    if (!named) luaL_argerror(state, index, "a table needs a string \"className\"");
  }
  Core::WriteValue<uint32_t>(*file, static_cast<uint32_t>(count));
  for (int index = 2; index <= count + 1; ++index) {
    switch (lua_type(state, index)) {
      case LUA_TBOOLEAN:
        file->WriteString("tbool");
        Core::WriteValue<uint8_t>(*file, lua_toboolean(state, index) ? 1 : 0);
        break;
      case LUA_TLIGHTUSERDATA:
        file->WriteString("tldata");
        break;
      case LUA_TNUMBER:
        file->WriteString("tnum");
        Core::WriteValue<double>(*file, lua_tonumber(state, index));
        break;
      case LUA_TSTRING: {
        size_t length = 0;
        const char* text = lua_tolstring(state, index, &length);
        file->WriteString("string");
        file->WriteString(std::string(text, length));
        break;
      }
      case LUA_TTABLE: {
        lua_getfield(state, index, "className");
        const std::string className = lua_tostring(state, -1);
        lua_pop(state, 1);
        file->WriteString("ttable");
        file->WriteString(className);
        if (className == "Point2D" || className == "Vector2D") {
          const Math::Vector2D v = LuaScript::ToVector2D(state, index);
          Core::WriteValue<double>(*file, v.x);
          Core::WriteValue<double>(*file, v.y);
        } else if (className == "Color") {
          const Math::Color c = LuaScript::ToColor(state, index);
          Core::WriteValue<double>(*file, c.r);
          Core::WriteValue<double>(*file, c.g);
          Core::WriteValue<double>(*file, c.b);
          Core::WriteValue<double>(*file, c.a);
        }
        break;
      }
      case LUA_TFUNCTION:
        file->WriteString("tfun");
        break;
      case LUA_TUSERDATA:
        file->WriteString("tuser");
        break;
      default:
        file->WriteString("nil");
        break;
    }
  }
  return 0;
}

int LoadNetworkData(lua_State* state) {
  GameObject* self = SelfObject(state);
  NetworkFile* file = self->GetNetworkFile();
  if (file == nullptr) return 0;
  const uint32_t count = Core::ReadValue<uint32_t>(*file);
  // Every record holds at least its tag's length; a count the payload cannot hold reads nothing.
  if (file->HasFailed() || count == 0 || !file->CheckCount(count, 4) || !lua_checkstack(state, static_cast<int>(count) + 4)) {
    return 0;
  }
  const int base = lua_gettop(state);
  for (uint32_t i = 0; i < count; ++i) {
    std::string tag;
    file->ReadString(tag);
    if (tag == "tbool") {
      const uint8_t value = Core::ReadValue<uint8_t>(*file);
      lua_pushboolean(state, value != 0);
    } else if (tag == "tnum") {
      lua_pushnumber(state, Core::ReadValue<double>(*file));
    } else if (tag == "string") {
      std::string text;
      file->ReadString(text);
      lua_pushlstring(state, text.data(), text.size());
    } else if (tag == "ttable") {
      std::string className;
      file->ReadString(className);
      if (className == "Point2D" || className == "Vector2D") {
        const double x = Core::ReadValue<double>(*file);
        const double y = Core::ReadValue<double>(*file);
        if (className == "Point2D") {
          LuaScript::PushPoint2D(state, static_cast<float>(x), static_cast<float>(y));
        } else {
          LuaScript::PushVector2D(state, static_cast<float>(x), static_cast<float>(y));
        }
      } else if (className == "Color") {
        double c[4];
        for (double& channel : c) channel = Core::ReadValue<double>(*file);
        LuaScript::PushColor(state, static_cast<float>(c[0]), static_cast<float>(c[1]), static_cast<float>(c[2]),
                             static_cast<float>(c[3]));
      } else {
        lua_pushnil(state);
      }
    } else if (tag == "nil" || tag == "tuser" || tag == "tldata" || tag == "tfun") {
      lua_pushnil(state);
    } else {
      // A tag no writer makes: the rest cannot be read.
      file->Fail();
    }
    if (file->HasFailed()) {
      lua_settop(state, base);
      return 0;
    }
  }
  return static_cast<int>(count);
}

const std::vector<Lua::Method>& GameObjectMethods() {
  using namespace Attachment;
  static const std::vector<Lua::Method> methods = {
      {"ObjectFunction", ObjectFunction},
      {"AddManagedObject", AddManagedObject},
      {"Mount", Mount},
      {"GetMount", GetMount},
      {"UnMount", UnMount},
      {"GetMountsCount", &GetNumber<GameObject, SelfObject, &GameObject::GetMountsCount>},
      {"IsMounted", IsMounted},
      {"GetMountSupport", GetMountSupport},
      {"GetLayer", GetLayer},
      {"SetName", SetName},
      {"GetName", &GetString<GameObject, SelfObject, &GameObject::GetName>},
      {"GetID", &GetNumber<GameObject, SelfObject, &GameObject::GetID>},
      {"SetLifeTime", &SetFloat<GameObject, SelfObject, &GameObject::SetLifeTime>},
      {"GetLifeTime", &GetNumber<GameObject, SelfObject, &GameObject::GetLifeTime>},
      {"GetAge", &GetNumber<GameObject, SelfObject, &GameObject::GetAge>},
      {"ResetAge", &Call<GameObject, SelfObject, &GameObject::ResetAge>},
      {"SetVisible", &SetBoolean<GameObject, SelfObject, &GameObject::SetVisible>},
      {"GetVisible", &GetBoolean<GameObject, SelfObject, &GameObject::IsVisible>},
      {"Destroy", &Call<GameObject, SelfObject, &GameObject::Destroy>},
      {"IsDestroyed", &GetBoolean<GameObject, SelfObject, &GameObject::IsDestroyed>},
      {"SetPosition", SetPosition},
      {"SetPositionX", &SetFloat<GameObject, SelfObject, &GameObject::SetPositionX>},
      {"SetPositionY", &SetFloat<GameObject, SelfObject, &GameObject::SetPositionY>},
      {"GetPosition", &GetPoint<GameObject, SelfObject, &GameObject::GetPosition>},
      {"GetPositionX", &GetNumber<GameObject, SelfObject, &GameObject::GetPositionX>},
      {"GetPositionY", &GetNumber<GameObject, SelfObject, &GameObject::GetPositionY>},
      {"SetOldPosition", SetOldPosition},
      {"SetZOrder", &SetFloat<GameObject, SelfObject, &GameObject::SetZOrder>},
      {"GetZOrder", &GetNumber<GameObject, SelfObject, &GameObject::GetZOrder>},
      {"SetRotationAngle", &SetFloat<GameObject, SelfObject, &GameObject::SetRotationAngle>},
      {"SetOldRotationAngle", &SetFloat<GameObject, SelfObject, &GameObject::SetOldRotationAngle>},
      {"GetRotationAngle", &GetNumber<GameObject, SelfObject, &GameObject::GetRotationAngle>},
      {"SetDirection", SetDirection},
      {"SetDirectionX", &SetFloat<GameObject, SelfObject, &GameObject::SetDirectionX>},
      {"SetDirectionY", &SetFloat<GameObject, SelfObject, &GameObject::SetDirectionY>},
      {"GetDirection", &GetVector<GameObject, SelfObject, &GameObject::GetDirection>},
      {"GetDirectionX", GetDirectionX},
      {"GetDirectionY", GetDirectionY},
      {"SetScale", SetScale},
      {"SetScaleX", &SetFloat<GameObject, SelfObject, &GameObject::SetScaleX>},
      {"SetScaleY", &SetFloat<GameObject, SelfObject, &GameObject::SetScaleY>},
      {"GetScale", GetScale},
      {"GetScaleX", &GetNumber<GameObject, SelfObject, &GameObject::GetScaleX>},
      {"GetScaleY", &GetNumber<GameObject, SelfObject, &GameObject::GetScaleY>},
      {"SetCenter", SetCenter},
      {"SetCenterX", SetCenterX},
      {"SetCenterY", SetCenterY},
      {"GetCenter", &GetPoint<GameObject, SelfObject, &GameObject::GetCenter>},
      {"GetCenterX", GetCenterX},
      {"GetCenterY", GetCenterY},
      {"SetModulationColor", &SetColor<GameObject, SelfObject, &GameObject::SetModulationColor>},
      {"SetModulationR", SetModulationComponent<0>},
      {"SetModulationG", SetModulationComponent<1>},
      {"SetModulationB", SetModulationComponent<2>},
      {"GetModulationColor", &GetColor<GameObject, SelfObject, &GameObject::GetModulationColor>},
      {"GetModulationR", GetModulationComponent<0>},
      {"GetModulationG", GetModulationComponent<1>},
      {"GetModulationB", GetModulationComponent<2>},
      {"SetOpacity", &SetFloat<GameObject, SelfObject, &GameObject::SetOpacity>},
      {"GetOpacity", &GetNumber<GameObject, SelfObject, &GameObject::GetOpacity>},
      {"AddCollision", AddCollision},
      {"RemoveCollision", RemoveCollision},
      {"ObjectInCollision", ObjectInCollision},
      {"GetCollisionId", &GetNumber<GameObject, SelfObject, &GameObject::GetCollisionId>},
      {"GetCollisionObject", GetCollisionObject},
      {"GetTileMapCollisionObject", GetTileMapCollisionObject},
      {"AddPhysicalProperties", AddPhysicalProperties},
      {"RemovePhysicalProperties", RemovePhysicalProperties},
      {"SetMassProperties", SetMassProperties},
      {"GetMassProperties", GetMassProperties},
      {"GetCenterOfMass", GetCenterOfMass},
      {"SetVelocity", SetVelocity},
      {"GetVelocity", GetVelocity},
      {"SetAngularVelocity", SetAngularVelocity},
      {"GetAngularVelocity", GetAngularVelocity},
      {"SetSpeed", SetSpeed},
      {"GetSpeed", GetSpeed},
      {"SetVelocityDirection", SetVelocityDirection},
      {"GetVelocityDirection", GetVelocityDirection},
      {"AddForce", AddForce},
      {"RemoveForce", RemoveForce},
      {"RemoveAllForces", RemoveAllForces},
      {"GetPhysicsId", &GetNumber<GameObject, SelfObject, &GameObject::GetPhysicsId>},
      {"GetNetworkKeyboard", GetNetworkKeyboard},
      {"GetNetworkMouse", GetNetworkMouse},
      {"GetNetworkOwner", GetNetworkOwner},
      {"ChangeNetworkOwner", ChangeNetworkOwner},
      {"GetNumberOfCollidedSprites", GetNumberOfCollidedSprites},
      {"GetNumberOfCollidedCircles", GetNumberOfCollidedCircles},
      {"GetNumberOfCollidedLineSegments", GetNumberOfCollidedLineSegments},
      {"GetNumberOfCollidedTileMaps", GetNumberOfCollidedTileMaps},
      {"GetCollidedSprite", GetCollidedSprite},
      {"GetCollidedTileMap", GetCollidedTileMap},
      {"IsCollidedWithSprite", IsCollidedWithSprite},
      {"IsCollidedWithSpriteLineSegment", IsCollidedWithSpriteLineSegment},
      {"IsCollidedWithSpriteCircle", IsCollidedWithSpriteCircle},
      {"IsCollidedWithLineSegment", IsCollidedWithLineSegment},
      {"IsCollidedWithCircle", IsCollidedWithCircle},
      {"IsCollidedWithTileMap", IsCollidedWithTileMap},
      {"IsMyLineSegmentCollided", IsMyLineSegmentCollided},
      {"IsMyCircleCollided", IsMyCircleCollided},
      {"GetTileMapNewEntries_UsingBoundingRectangle", GetTileMapNewEntries_UsingBoundingRectangle},
      {"GetTileMapStaticEntries_UsingBoundingRectangle", GetTileMapStaticEntries_UsingBoundingRectangle},
      {"GetTileMapNewEntries_UsingHotSpot", GetTileMapNewEntries_UsingHotSpot},
      {"GetTileMapStaticEntries_UsingHotSpot", GetTileMapStaticEntries_UsingHotSpot},
      {"GetCollidedCircleData", GetCollidedCircleData},
      {"GetCollidedLineSegmentData", GetCollidedLineSegmentData},
      {"GetCollidedTileMapData", GetCollidedTileMapData},
      {"GetCollidedSpriteData", GetCollidedSpriteData},
      {"SetScript", &SetString<GameObject, SelfObject, &GameObject::SetScriptFile>},
      {"RunScript", RunScript},
  };
  return methods;
}

std::vector<Lua::Method> BuildDerivedTable(const TableEdit& edit, std::initializer_list<Lua::Method> own) {
  const std::vector<Lua::Method>& base = GameObjectMethods();
  auto named = [](const std::vector<std::string>& names, const char* name) {
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  std::vector<std::string> movedNames;
  for (const auto& move : edit.moved) movedNames.push_back(move.first);
  std::vector<Lua::Method> table;
  for (const Lua::Method& method : base) {
    if (named(edit.leftOut, method.name) || named(movedNames, method.name)) continue;
    table.push_back(method);
  }
  for (const auto& move : edit.moved) {
    auto source = std::find_if(base.begin(), base.end(), [&](const Lua::Method& m) { return move.first == m.name; });
    if (source == base.end()) continue;
    auto after = std::find_if(table.begin(), table.end(), [&](const Lua::Method& m) { return move.second == m.name; });
    table.insert(after == table.end() ? table.end() : after + 1, *source);
  }
  table.insert(table.end(), own.begin(), own.end());
  return table;
}

namespace {
const Lua::MethodTable g_gameObjectTable(GameObject::ScriptClassName, GameObjectMethods().data(),
                                         GameObjectMethods().size());
}  // namespace

}  // namespace Script
}  // namespace Quillon
