// Script methods of "Text" and "Camera".
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_ScriptSupport.h"
#include "framework/Quillon_Text.h"

namespace Quillon {
namespace Script {

namespace {

Text* TextSelf(lua_State* state) { return CheckSelf<Text>(state, Text::ScriptClassName); }
Camera* CameraSelf(lua_State* state) { return CheckSelf<Camera>(state, Camera::ScriptClassName); }

const TableEdit kNoCollisionData = {
    {"ChangeNetworkOwner", "GetCollidedCircleData", "GetCollidedLineSegmentData", "GetCollidedTileMapData",
     "GetCollidedSpriteData"},
    {}};

const std::vector<Lua::Method> g_textMethods =
    BuildDerivedTable(kNoCollisionData, {{"SaveNetworkData", SaveNetworkData},
                                         {"LoadNetworkData", LoadNetworkData},
                                         {"SetText", &SetString<Text, TextSelf, &Text::SetText>},
                                         {"GetText", &GetString<Text, TextSelf, &Text::GetText>},
                                         {"SetHUDObject", &SetBoolean<Text, TextSelf, &Text::SetHUDObject>},
                                         {"IsHUDObject", &GetBoolean<Text, TextSelf, &Text::IsHUDObject>},
                                         {"Clone", CloneObject}});
const Lua::MethodTable g_textTable(Text::ScriptClassName, g_textMethods.data(), g_textMethods.size());

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

const std::vector<Lua::Method> g_cameraMethods =
    BuildDerivedTable(CameraEdit(), {{"SaveNetworkData", SaveNetworkData},
                                     {"LoadNetworkData", LoadNetworkData},
                                     ManagedObjectMethod(),
                                     {"SetFOV", &SetFloat<Camera, CameraSelf, &Camera::SetFOV>},
                                     {"GetFOV", &GetNumber<Camera, CameraSelf, &Camera::GetFOV>},
                                     {"UpdateFromKeyboard", &Call<Camera, CameraSelf, &Camera::UpdateFromKeyboard>},
                                     {"MakeActiveListener", &Call<Camera, CameraSelf, &Camera::MakeActiveListener>},
                                     {"IsActiveListener", &GetBoolean<Camera, CameraSelf, &Camera::IsActiveListener>},
                                     {"Clone", CloneObject}});
const Lua::MethodTable g_cameraTable(Camera::ScriptClassName, g_cameraMethods.data(), g_cameraMethods.size());

}  // namespace

}  // namespace Script
}  // namespace Quillon
