// Script methods of "Text" and "Camera".
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_ScriptSupport.h"
#include "framework/Quillon_Text.h"

namespace Quillon {
namespace Script {

namespace {

constexpr int kArg = kFirstArgument;

Text* TextSelf(lua_State* state) { return CheckSelf<Text>(state, Text::ScriptClassName); }
Camera* CameraSelf(lua_State* state) { return CheckSelf<Camera>(state, Camera::ScriptClassName); }

int SetText(lua_State* state) {
  Text* self = TextSelf(state);
  if (HasArguments(state, 1)) self->SetText(luaL_checkstring(state, kArg));
  return 0;
}
int GetText(lua_State* state) {
  const std::string& text = TextSelf(state)->GetText();
  lua_pushlstring(state, text.data(), text.size());
  return 1;
}
int SetHUDObject(lua_State* state) {
  Text* self = TextSelf(state);
  if (HasArguments(state, 1)) self->SetHUDObject(ToBoolean(state, kArg));
  return 0;
}
int IsHUDObject(lua_State* state) {
  lua_pushboolean(state, TextSelf(state)->IsHUDObject());
  return 1;
}

const TableEdit kNoCollisionData = {
    {"ChangeNetworkOwner", "GetCollidedCircleData", "GetCollidedLineSegmentData", "GetCollidedTileMapData",
     "GetCollidedSpriteData"},
    {}};

const std::vector<Lua::Method> g_textMethods =
    BuildDerivedTable(kNoCollisionData, {{"SaveNetworkData", SaveNetworkData},
                                         {"LoadNetworkData", LoadNetworkData},
                                         {"SetText", SetText},
                                         {"GetText", GetText},
                                         {"SetHUDObject", SetHUDObject},
                                         {"IsHUDObject", IsHUDObject},
                                         {"Clone", CloneObject}});
const Lua::MethodTable g_textTable(Text::ScriptClassName, g_textMethods.data(), g_textMethods.size());

int SetFOV(lua_State* state) {
  Camera* self = CameraSelf(state);
  if (HasArguments(state, 1)) self->SetFOV(ToFloat(state, kArg));
  return 0;
}
int GetFOV(lua_State* state) {
  lua_pushnumber(state, CameraSelf(state)->GetFOV());
  return 1;
}
int UpdateFromKeyboard(lua_State* state) {
  CameraSelf(state)->UpdateFromKeyboard();
  return 0;
}
int MakeActiveListener(lua_State* state) {
  CameraSelf(state)->MakeActiveListener();
  return 0;
}
int IsActiveListener(lua_State* state) {
  lua_pushboolean(state, CameraSelf(state)->IsActiveListener());
  return 1;
}

const Lua::Method& ManagedObjectMethod() {
  static const Lua::Method method = [] {
    for (const Lua::Method& m : GameObjectMethods()) {
      if (std::string(m.name) == "AddManagedObject") return m;
    }
    return Lua::Method{"AddManagedObject", nullptr};
  }();
  return method;
}

TableEdit CameraEdit() {
  TableEdit edit = kNoCollisionData;
  edit.leftOut.push_back("AddManagedObject");
  return edit;
}

const std::vector<Lua::Method> g_cameraMethods = BuildDerivedTable(CameraEdit(), {{"SaveNetworkData", SaveNetworkData},
                                                                                  {"LoadNetworkData", LoadNetworkData},
                                                                                  ManagedObjectMethod(),
                                                                                  {"SetFOV", SetFOV},
                                                                                  {"GetFOV", GetFOV},
                                                                                  {"UpdateFromKeyboard", UpdateFromKeyboard},
                                                                                  {"MakeActiveListener", MakeActiveListener},
                                                                                  {"IsActiveListener", IsActiveListener},
                                                                                  {"Clone", CloneObject}});
const Lua::MethodTable g_cameraTable(Camera::ScriptClassName, g_cameraMethods.data(), g_cameraMethods.size());

}  // namespace

}  // namespace Script
}  // namespace Quillon
