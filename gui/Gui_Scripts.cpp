// Script method tables of the GUI: "HUD", "Control", "Form", "Button", "RadioButton" and
// "NRectangle". Argument 1 is the object itself; a setter without its argument does nothing, a
// getter pushes one result. Arguments are read into plain values before any engine call, so a
// script error never jumps over a C++ destructor.
#include <lua.hpp>

#include <string>
#include <vector>

#include "gui/Gui_Button.h"
#include "gui/Gui_Control.h"
#include "gui/Gui_Form.h"
#include "gui/Gui_HUD.h"
#include "gui/Gui_RadioButton.h"
#include "gui/Gui_Rectangle.h"
#include "script/Lua_MethodTable.h"
#include "script/Lua_Script.h"

namespace GUI {

namespace {

constexpr int kFirstArgument = 2;
const char* const kControlNames[] = {"Control", "Form", "Button", "RadioButton"};

int ArgumentCount(lua_State* state) { return lua_gettop(state) - 1; }
bool HasArgument(lua_State* state) { return ArgumentCount(state) >= 1; }

// A GUI control userdata at index (any of the four script classes), or null.
Control* ToControl(lua_State* state, int index) {
  for (const char* name : kControlNames) {
    if (void* object = Lua::ToUserdata(state, index, name))
      return dynamic_cast<Control*>(static_cast<Core::Object*>(object));
  }
  return nullptr;
}

Control* SelfControl(lua_State* state) {
  Control* control = ToControl(state, 1);
  if (control == nullptr) luaL_argerror(state, 1, "GUI control expected");
  return control;
}

template <typename T>
T* SelfAs(lua_State* state) {
  T* object = dynamic_cast<T*>(SelfControl(state));
  if (object == nullptr) luaL_argerror(state, 1, "wrong GUI control class");
  return object;
}

int PushBool(lua_State* state, bool value) {
  lua_pushboolean(state, value ? 1 : 0);
  return 1;
}

int PushNumber(lua_State* state, double value) {
  lua_pushnumber(state, value);
  return 1;
}

int PushString(lua_State* state, const std::string& text) {
  lua_pushlstring(state, text.data(), text.size());
  return 1;
}

int PushObject(lua_State* state, Core::Object* object) { return object != nullptr ? object->PushToLua(state) : 0; }

// ---------------------------------------------------------------- Control

int SetPosition(lua_State* state) {
  Control* self = SelfControl(state);
  const int count = ArgumentCount(state);
  if (count < 1) return 0;
  Math::Vector2D p;
  if (count == 1) {
    p = LuaScript::ToPoint2D(state, kFirstArgument);
  } else {
    p = Math::Vector2D(static_cast<float>(luaL_checknumber(state, kFirstArgument)),
                       static_cast<float>(luaL_checknumber(state, kFirstArgument + 1)));
  }
  self->SetPosition(p);
  return 0;
}

int SetPositionX(lua_State* state) {
  Control* self = SelfControl(state);
  if (!HasArgument(state)) return 0;
  const auto x = static_cast<float>(luaL_checknumber(state, kFirstArgument));
  self->SetPosition(Math::Vector2D(x, self->GetPosition().y));
  return 0;
}

int SetPositionY(lua_State* state) {
  Control* self = SelfControl(state);
  if (!HasArgument(state)) return 0;
  const auto y = static_cast<float>(luaL_checknumber(state, kFirstArgument));
  self->SetPosition(Math::Vector2D(self->GetPosition().x, y));
  return 0;
}

int GetPosition(lua_State* state) {
  const Math::Vector2D p = SelfControl(state)->GetPosition();
  LuaScript::PushPoint2D(state, p.x, p.y);
  return 1;
}
int GetPositionX(lua_State* state) { return PushNumber(state, SelfControl(state)->GetPosition().x); }
int GetPositionY(lua_State* state) { return PushNumber(state, SelfControl(state)->GetPosition().y); }

int SetWidth(lua_State* state) {
  Control* self = SelfControl(state);
  if (HasArgument(state)) self->SetWidth(static_cast<float>(luaL_checknumber(state, kFirstArgument)));
  return 0;
}
int SetHeight(lua_State* state) {
  Control* self = SelfControl(state);
  if (HasArgument(state)) self->SetHeight(static_cast<float>(luaL_checknumber(state, kFirstArgument)));
  return 0;
}
int GetWidth(lua_State* state) { return PushNumber(state, SelfControl(state)->GetWidth()); }
int GetHeight(lua_State* state) { return PushNumber(state, SelfControl(state)->GetHeight()); }

int SetControlSize(lua_State* state) {
  Control* self = SelfControl(state);
  if (!HasArgument(state)) return 0;
  const Size size = ToSize(state, kFirstArgument);
  self->SetSize(Math::Vector2D(size.width, size.height));
  return 0;
}
int GetControlSize(lua_State* state) {
  Control* self = SelfControl(state);
  PushSize(state, self->GetWidth(), self->GetHeight());
  return 1;
}

// String setters: the text is copied only after the argument check that may raise.
template <void (*Apply)(Control*, const std::string&)>
int StringSetter(lua_State* state) {
  Control* self = SelfControl(state);
  if (!HasArgument(state)) return 0;
  size_t length = 0;
  const char* text = luaL_checklstring(state, kFirstArgument, &length);
  Apply(self, std::string(text, length));
  return 0;
}
void ApplySkin(Control* c, const std::string& s) { c->SetSkin(s); }
void ApplyText(Control* c, const std::string& s) { c->SetText(s); }
void ApplyFont(Control* c, const std::string& s) { c->SetFont(s); }
void ApplyName(Control* c, const std::string& s) { c->SetName(s); }
void ApplyPicture(Control* c, const std::string& s) {
  if (auto* form = dynamic_cast<Form*>(c)) form->SetPicture(s);
}

int GetSkin(lua_State* state) { return PushString(state, SelfControl(state)->GetSkin()); }
int GetText(lua_State* state) { return PushString(state, SelfControl(state)->GetText()); }
int GetFont(lua_State* state) { return PushString(state, SelfControl(state)->GetFontName()); }
int GetName(lua_State* state) { return PushString(state, SelfControl(state)->GetName()); }

int SetVisible(lua_State* state) {
  Control* self = SelfControl(state);
  if (HasArgument(state)) self->SetVisible(lua_toboolean(state, kFirstArgument) != 0);
  return 0;
}
int GetVisible(lua_State* state) { return PushBool(state, SelfControl(state)->IsVisible()); }

int SetModulationColor(lua_State* state) {
  Control* self = SelfControl(state);
  if (HasArgument(state)) self->SetModulationColor(LuaScript::ToColor(state, kFirstArgument));
  return 0;
}
int GetModulationColor(lua_State* state) {
  const Math::Color c = SelfControl(state)->GetModulationColor();
  LuaScript::PushColor(state, c.r, c.g, c.b, c.a);
  return 1;
}
int SetTextModulationColor(lua_State* state) {
  Control* self = SelfControl(state);
  if (HasArgument(state)) self->SetTextModulationColor(LuaScript::ToColor(state, kFirstArgument));
  return 0;
}
int GetTextModulationColor(lua_State* state) {
  const Math::Color c = SelfControl(state)->GetTextModulationColor();
  LuaScript::PushColor(state, c.r, c.g, c.b, c.a);
  return 1;
}

int SetOpacity(lua_State* state) {
  Control* self = SelfControl(state);
  if (HasArgument(state)) self->SetOpacity(static_cast<float>(luaL_checknumber(state, kFirstArgument)));
  return 0;
}
int GetOpacity(lua_State* state) { return PushNumber(state, SelfControl(state)->GetEffectiveOpacity()); }

int SetEnabled(lua_State* state) {
  Control* self = SelfControl(state);
  if (HasArgument(state)) self->SetEnabled(lua_toboolean(state, kFirstArgument) != 0);
  return 0;
}
int GetEnabled(lua_State* state) { return PushBool(state, SelfControl(state)->IsEnabled()); }

int SetTabStop(lua_State* state) {
  Control* self = SelfControl(state);
  if (HasArgument(state)) self->SetTabStop(lua_toboolean(state, kFirstArgument) != 0);
  return 0;
}
int GetTabStop(lua_State* state) { return PushBool(state, SelfControl(state)->GetTabStop()); }
int SetTabIndex(lua_State* state) {
  Control* self = SelfControl(state);
  if (HasArgument(state)) self->SetTabIndex(static_cast<int32_t>(luaL_checkinteger(state, kFirstArgument)));
  return 0;
}
int GetTabIndex(lua_State* state) {
  lua_pushinteger(state, SelfControl(state)->GetTabIndex());
  return 1;
}

int Destroy(lua_State* state) {
  SelfControl(state)->RequestClose();
  return 0;
}

int GetRectangle(lua_State* state) { return SelfControl(state)->GetRectangle().PushToLua(state); }
int GetClientRectangle(lua_State* state) { return SelfControl(state)->GetClientRectangle().PushToLua(state); }
int GetFocused(lua_State* state) { return PushBool(state, SelfControl(state)->IsFocused()); }

int SetUserData(lua_State* state) {
  Control* self = SelfControl(state);
  if (!HasArgument(state)) return 0;
  void* object = nullptr;
  const Lua::MethodTable* table = Lua::GetEngineUserdata(state, kFirstArgument, &object);
  // Only objects of the engine's object hierarchy can be held.
  if (table != nullptr && table->GetCrossStatePush() == &Lua::PushCoreObject)
    self->SetUserData(static_cast<Core::Object*>(object));
  else if (lua_isnil(state, kFirstArgument))
    self->SetUserData(nullptr);
  return 0;
}
int GetUserData(lua_State* state) { return PushObject(state, SelfControl(state)->GetUserData()); }

int AddControl(lua_State* state) {
  Control* self = SelfControl(state);
  if (!HasArgument(state)) return 0;
  if (Control* child = ToControl(state, kFirstArgument)) self->AddControl(child);
  return 0;
}

int GetControl(lua_State* state) {
  Control* self = SelfControl(state);
  if (!HasArgument(state)) return 0;
  Control* child = nullptr;
  if (lua_type(state, kFirstArgument) == LUA_TNUMBER) {
    const lua_Number index = lua_tonumber(state, kFirstArgument);
    if (index >= 0 && index < static_cast<lua_Number>(self->GetControlsCount()))
      child = self->GetControl(static_cast<uint32_t>(index));
  } else if (lua_type(state, kFirstArgument) == LUA_TSTRING) {
    size_t length = 0;
    const char* name = lua_tolstring(state, kFirstArgument, &length);
    child = self->GetControl(std::string(name, length));
  }
  return PushObject(state, child);
}

int GetParent(lua_State* state) { return PushObject(state, SelfControl(state)->GetParent()); }
int GetControlsCount(lua_State* state) { return PushNumber(state, SelfControl(state)->GetControlsCount()); }
int UpdatePosition(lua_State* state) {
  SelfControl(state)->UpdatePosition();
  return 0;
}

const Lua::Method kControlMethods[] = {
    {"SetPosition", &SetPosition},
    {"SetPositionX", &SetPositionX},
    {"SetPositionY", &SetPositionY},
    {"GetPosition", &GetPosition},
    {"GetPositionX", &GetPositionX},
    {"GetPositionY", &GetPositionY},
    {"SetWidth", &SetWidth},
    {"SetHeight", &SetHeight},
    {"GetWidth", &GetWidth},
    {"GetHeight", &GetHeight},
    {"SetControlSize", &SetControlSize},
    {"GetControlSize", &GetControlSize},
    {"SetSkin", &StringSetter<&ApplySkin>},
    {"GetSkin", &GetSkin},
    {"SetText", &StringSetter<&ApplyText>},
    {"GetText", &GetText},
    {"SetVisible", &SetVisible},
    {"GetVisible", &GetVisible},
    {"SetFont", &StringSetter<&ApplyFont>},
    {"GetFont", &GetFont},
    {"SetModulationColor", &SetModulationColor},
    {"GetModulationColor", &GetModulationColor},
    {"SetTextModulationColor", &SetTextModulationColor},
    {"GetTextModulationColor", &GetTextModulationColor},
    {"SetOpacity", &SetOpacity},
    {"GetOpacity", &GetOpacity},
    {"SetEnabled", &SetEnabled},
    {"GetEnabled", &GetEnabled},
    {"SetName", &StringSetter<&ApplyName>},
    {"GetName", &GetName},
    {"SetTabStop", &SetTabStop},
    {"GetTabStop", &GetTabStop},
    {"SetTabIndex", &SetTabIndex},
    {"GetTabIndex", &GetTabIndex},
    {"Destroy", &Destroy},
    {"GetRectangle", &GetRectangle},
    {"GetClientRectangle", &GetClientRectangle},
    {"GetFocused", &GetFocused},
    {"SetUserData", &SetUserData},
    {"GetUserData", &GetUserData},
    {"AddControl", &AddControl},
    {"GetControl", &GetControl},
    {"GetParent", &GetParent},
    {"GetControlsCount", &GetControlsCount},
    {"UpdatePosition", &UpdatePosition},
};

// The control entries a derived table repeats after its own, in the control table's order.
std::vector<Lua::Method> WithControlMethods(std::initializer_list<Lua::Method> own,
                                            std::initializer_list<const char*> shared) {
  std::vector<Lua::Method> methods(own);
  for (const char* name : shared)
    for (const Lua::Method& method : kControlMethods)
      if (std::string(method.name) == name) methods.push_back(method);
  return methods;
}

// ---------------------------------------------------------------- Form

int FormClose(lua_State* state) {
  SelfAs<Form>(state)->OnCloseClicked(nullptr);
  return 0;
}
int FormSetVisible(lua_State* state) {
  Form* self = SelfAs<Form>(state);
  if (HasArgument(state)) self->SetVisible(lua_toboolean(state, kFirstArgument) != 0);
  return 0;
}

template <void (Form::*Setter)(bool)>
int FormBoolSetter(lua_State* state) {
  Form* self = SelfAs<Form>(state);
  if (HasArgument(state)) (self->*Setter)(lua_toboolean(state, kFirstArgument) != 0);
  return 0;
}
template <bool (Form::*Getter)() const>
int FormBoolGetter(lua_State* state) {
  return PushBool(state, (SelfAs<Form>(state)->*Getter)());
}
template <void (Form::*Setter)(float)>
int FormNumberSetter(lua_State* state) {
  Form* self = SelfAs<Form>(state);
  if (HasArgument(state)) (self->*Setter)(static_cast<float>(luaL_checknumber(state, kFirstArgument)));
  return 0;
}
template <float (Form::*Getter)() const>
int FormNumberGetter(lua_State* state) {
  return PushNumber(state, (SelfAs<Form>(state)->*Getter)());
}
int FormGetPicture(lua_State* state) { return PushString(state, SelfAs<Form>(state)->GetPicture()); }
int FormSetInactiveColor(lua_State* state) {
  Form* self = SelfAs<Form>(state);
  if (HasArgument(state)) self->SetInactiveModulationColor(LuaScript::ToColor(state, kFirstArgument));
  return 0;
}
int FormGetInactiveColor(lua_State* state) {
  const Math::Color c = SelfAs<Form>(state)->GetInactiveModulationColor();
  LuaScript::PushColor(state, c.r, c.g, c.b, c.a);
  return 1;
}

const std::vector<Lua::Method> kFormMethods = WithControlMethods(
    {
        {"Close", &FormClose},
        {"SetPosition", &SetPosition},
        {"SetOpacity", &SetOpacity},
        {"SetVisible", &FormSetVisible},
        {"SetModal", &FormBoolSetter<&Form::SetModal>},
        {"GetModal", &FormBoolGetter<&Form::GetModal>},
        {"SetShowOnlyControls", &FormBoolSetter<&Form::SetShowOnlyControls>},
        {"GetShowOnlyControls", &FormBoolGetter<&Form::GetShowOnlyControls>},
        {"SetPicture", &StringSetter<&ApplyPicture>},
        {"GetPicture", &FormGetPicture},
        {"SetInactiveModulationColor", &FormSetInactiveColor},
        {"GetInactiveModulationColor", &FormGetInactiveColor},
        {"SetCloseButtonVisible", &FormBoolSetter<&Form::SetCloseButtonVisible>},
        {"GetCloseButtonVisible", &FormBoolGetter<&Form::GetCloseButtonVisible>},
        {"SetCaptionHeight", &FormNumberSetter<&Form::SetCaptionHeight>},
        {"GetCaptionHeight", &FormNumberGetter<&Form::GetCaptionHeight>},
        {"SetBottomBorderHeight", &FormNumberSetter<&Form::SetBottomBorderHeight>},
        {"GetBottomBorderHeight", &FormNumberGetter<&Form::GetBottomBorderHeight>},
        {"SetLeftBorderWidth", &FormNumberSetter<&Form::SetLeftBorderWidth>},
        {"GetLeftBorderWidth", &FormNumberGetter<&Form::GetLeftBorderWidth>},
        {"SetRightBorderWidth", &FormNumberSetter<&Form::SetRightBorderWidth>},
        {"GetRightBorderWidth", &FormNumberGetter<&Form::GetRightBorderWidth>},
    },
    {"SetPositionX", "SetPositionY", "GetPosition", "GetPositionX", "GetPositionY", "SetWidth", "GetWidth",
     "SetHeight", "GetHeight", "SetControlSize", "GetControlSize", "SetSkin", "GetSkin", "SetText", "GetText",
     "GetVisible", "SetFont", "GetFont", "SetModulationColor", "GetModulationColor", "SetTextModulationColor",
     "GetTextModulationColor", "GetOpacity", "SetEnabled", "GetEnabled", "SetName", "GetName", "SetTabStop",
     "GetTabStop", "SetTabIndex", "GetTabIndex", "Destroy", "GetRectangle", "GetClientRectangle", "GetFocused",
     "SetUserData", "GetUserData", "AddControl", "GetControl", "GetParent", "GetControlsCount", "UpdatePosition"});

// ---------------------------------------------------------------- Button and RadioButton

const std::initializer_list<const char*> kSharedButtonMethods = {
    "SetPositionX", "SetPositionY", "GetPosition", "GetPositionX", "GetPositionY", "SetWidth", "GetWidth",
    "SetHeight", "GetHeight", "SetControlSize", "GetControlSize", "SetSkin", "GetSkin", "SetText", "GetText",
    "GetVisible", "SetFont", "GetFont", "GetModulationColor", "SetTextModulationColor", "GetTextModulationColor",
    "GetOpacity", "GetEnabled", "SetName", "GetName", "SetTabStop", "GetTabStop", "SetTabIndex", "GetTabIndex",
    "Destroy", "GetRectangle", "GetClientRectangle", "GetFocused", "SetUserData", "GetUserData", "AddControl",
    "GetControl", "GetParent", "GetControlsCount"};

const std::vector<Lua::Method> kButtonMethods = WithControlMethods(
    {
        {"SetModulationColor", &SetModulationColor},
        {"SetPosition", &SetPosition},
        {"SetOpacity", &SetOpacity},
        {"SetVisible", &SetVisible},
        {"SetEnabled", &SetEnabled},
        {"UpdatePosition", &UpdatePosition},
    },
    kSharedButtonMethods);

int RadioSetPosition(lua_State* state) {
  Control* self = SelfAs<RadioButton>(state);
  if (!HasArgument(state)) return 0;
  self->SetPosition(LuaScript::ToPoint2D(state, kFirstArgument));
  return 0;
}
int RadioSetChecked(lua_State* state) {
  RadioButton* self = SelfAs<RadioButton>(state);
  if (HasArgument(state)) self->SetChecked(lua_toboolean(state, kFirstArgument) != 0);
  return 0;
}
int RadioGetChecked(lua_State* state) { return PushBool(state, SelfAs<RadioButton>(state)->IsChecked()); }

const std::vector<Lua::Method> kRadioButtonMethods = WithControlMethods(
    {
        {"UpdatePosition", &UpdatePosition},
        {"SetModulationColor", &SetModulationColor},
        {"SetPosition", &RadioSetPosition},
        {"SetOpacity", &SetOpacity},
        {"SetVisible", &SetVisible},
        {"SetEnabled", &SetEnabled},
        {"SetChecked", &RadioSetChecked},
        {"GetChecked", &RadioGetChecked},
    },
    kSharedButtonMethods);

// ---------------------------------------------------------------- HUD

HUD* SelfHUD(lua_State* state) { return Lua::CheckSelf<HUD>(state, "HUD"); }

int HUDShowCursor(lua_State* state) {
  HUD* self = SelfHUD(state);
  if (HasArgument(state)) self->ShowCursor(lua_toboolean(state, kFirstArgument) != 0);
  return 0;
}
int HUDIsCursorVisible(lua_State* state) { return PushBool(state, SelfHUD(state)->IsCursorVisible()); }
int HUDIsLoading(lua_State* state) { return PushBool(state, SelfHUD(state)->IsLoading()); }

int HUDAddForm(lua_State* state) {
  HUD* self = SelfHUD(state);
  if (!HasArgument(state)) return 0;
  // A form already shown, or one inside another control, is not added a second time.
  auto* form = dynamic_cast<Form*>(ToControl(state, kFirstArgument));
  if (form == nullptr || form->GetParent() != nullptr) return 0;
  for (const auto& existing : self->GetForms())
    if (existing.Get() == form) return 0;
  self->AddForm(form);
  return 0;
}

int HUDGetForm(lua_State* state) {
  HUD* self = SelfHUD(state);
  if (!HasArgument(state)) return 0;
  const auto& forms = self->GetForms();
  if (lua_type(state, kFirstArgument) == LUA_TNUMBER) {
    const lua_Number position = lua_tonumber(state, kFirstArgument);
    if (forms.empty() || !(position >= 0) || position >= static_cast<lua_Number>(forms.size())) return 0;
    return PushObject(state, forms[static_cast<size_t>(position)].Get());
  }
  if (lua_type(state, kFirstArgument) == LUA_TSTRING) {
    size_t length = 0;
    const char* name = lua_tolstring(state, kFirstArgument, &length);
    return PushObject(state, self->FindFormByName(std::string(name, length)));
  }
  return 0;
}

const Lua::Method kHUDMethods[] = {
    {"ShowCursor", &HUDShowCursor}, {"IsCursorVisible", &HUDIsCursorVisible}, {"AddForm", &HUDAddForm},
    {"GetForm", &HUDGetForm},       {"IsLoading", &HUDIsLoading},
};

// ---------------------------------------------------------------- NRectangle

NRectangle* SelfRectangle(lua_State* state) { return Lua::CheckSelf<NRectangle>(state, "NRectangle"); }

int RectZeroize(lua_State* state) {
  *SelfRectangle(state) = NRectangle();
  return 0;
}
int RectSetPosition(lua_State* state) {
  NRectangle* self = SelfRectangle(state);
  if (HasArgument(state)) self->SetPosition(LuaScript::ToPoint2D(state, kFirstArgument));
  return 0;
}
int RectGetPosition(lua_State* state) {
  NRectangle* self = SelfRectangle(state);
  LuaScript::PushPoint2D(state, self->left, self->bottom);
  return 1;
}
int RectSetSize(lua_State* state) {
  NRectangle* self = SelfRectangle(state);
  if (!HasArgument(state)) return 0;
  const Size size = ToSize(state, kFirstArgument);
  self->width = size.width;
  self->height = size.height;
  return 0;
}
int RectGetSize(lua_State* state) {
  NRectangle* self = SelfRectangle(state);
  PushSize(state, self->width, self->height);
  return 1;
}
template <float NRectangle::*Field>
int RectSetField(lua_State* state) {
  NRectangle* self = SelfRectangle(state);
  if (HasArgument(state)) self->*Field = static_cast<float>(luaL_checknumber(state, kFirstArgument));
  return 0;
}
template <float NRectangle::*Field>
int RectGetField(lua_State* state) {
  return PushNumber(state, SelfRectangle(state)->*Field);
}
int RectGetRight(lua_State* state) { return PushNumber(state, SelfRectangle(state)->GetRight()); }
int RectGetTop(lua_State* state) { return PushNumber(state, SelfRectangle(state)->GetTop()); }
int RectIsInside(lua_State* state) {
  NRectangle* self = SelfRectangle(state);
  if (ArgumentCount(state) < 2) return 0;
  const auto x = static_cast<float>(luaL_checknumber(state, kFirstArgument));
  const auto y = static_cast<float>(luaL_checknumber(state, kFirstArgument + 1));
  return PushBool(state, self->Contains(x, y));
}
int RectIsValid(lua_State* state) { return PushBool(state, SelfRectangle(state)->IsValid()); }
int RectTranslate(lua_State* state) {
  NRectangle* self = SelfRectangle(state);
  if (ArgumentCount(state) < 2) return 0;
  const auto dx = static_cast<float>(luaL_checknumber(state, kFirstArgument));
  const auto dy = static_cast<float>(luaL_checknumber(state, kFirstArgument + 1));
  self->left += dx;
  self->bottom += dy;
  return 0;
}
int RectIntersect(lua_State* state) {
  SelfRectangle(state);
  if (ArgumentCount(state) < 2) return 0;
  const NRectangle a = *Lua::CheckSelf<NRectangle>(state, "NRectangle", kFirstArgument);
  const NRectangle b = *Lua::CheckSelf<NRectangle>(state, "NRectangle", kFirstArgument + 1);
  NRectangle out;
  NRectangle::Intersect(out, a, b);
  return out.PushToLua(state);
}

const Lua::Method kRectangleMethods[] = {
    {"LuaZeroize", &RectZeroize},
    {"SetPosition", &RectSetPosition},
    {"GetPosition", &RectGetPosition},
    {"SetSize", &RectSetSize},
    {"GetSize", &RectGetSize},
    {"SetLeft", &RectSetField<&NRectangle::left>},
    {"SetBottom", &RectSetField<&NRectangle::bottom>},
    {"SetWidth", &RectSetField<&NRectangle::width>},
    {"SetHeight", &RectSetField<&NRectangle::height>},
    {"GetLeft", &RectGetField<&NRectangle::left>},
    {"GetBottom", &RectGetField<&NRectangle::bottom>},
    {"GetWidth", &RectGetField<&NRectangle::width>},
    {"GetHeight", &RectGetField<&NRectangle::height>},
    {"GetRight", &RectGetRight},
    {"GetTop", &RectGetTop},
    {"IsInside", &RectIsInside},
    {"IsValid", &RectIsValid},
    {"Translate", &RectTranslate},
    {"Intersect", &RectIntersect},
};

// A rectangle is pushed as a copy that the script owns, so it needs no engine object to cross states.
int PushRectangleCopy(lua_State* target, void* object) {
  return static_cast<NRectangle*>(object)->PushToLua(target);
}
int PushHUD(lua_State* target, void* object) { return static_cast<HUD*>(object)->PushToLua(target); }

const Lua::MethodTable g_controlTable("Control", kControlMethods);
const Lua::MethodTable g_formTable("Form", kFormMethods.data(), kFormMethods.size());
const Lua::MethodTable g_buttonTable("Button", kButtonMethods.data(), kButtonMethods.size());
const Lua::MethodTable g_radioButtonTable("RadioButton", kRadioButtonMethods.data(), kRadioButtonMethods.size());
const Lua::MethodTable g_hudTable("HUD", kHUDMethods, &PushHUD);
const Lua::MethodTable g_rectangleTable("NRectangle", kRectangleMethods, &PushRectangleCopy);

}  // namespace

int Control::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "Control"); }
int Form::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "Form"); }
int Button::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "Button"); }
int RadioButton::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "RadioButton"); }
int HUD::PushToLua(lua_State* state) { return Lua::PushPointer(state, this, "HUD"); }
int NRectangle::PushToLua(lua_State* state) const { return Lua::PushCopy(state, *this, "NRectangle"); }

Size ToSize(lua_State* state, int index) {
  Size size;
  if (!lua_istable(state, index)) return size;
  const int table = index > 0 || index <= LUA_REGISTRYINDEX ? index : lua_gettop(state) + index + 1;
  lua_getfield(state, table, "Width");
  size.width = static_cast<float>(lua_tonumber(state, -1));
  lua_pop(state, 1);
  lua_getfield(state, table, "Height");
  size.height = static_cast<float>(lua_tonumber(state, -1));
  lua_pop(state, 1);
  return size;
}

int PushSize(lua_State* state, float width, float height) {
  lua_getglobal(state, "CreateSize");
  // Without a working "CreateSize" a plain table carries the two fields.
  if (!lua_isfunction(state, -1) || lua_pcall(state, 0, 1, 0) != 0 || !lua_istable(state, -1)) {
    lua_pop(state, 1);
    lua_newtable(state);
  }
  lua_pushnumber(state, width);
  lua_setfield(state, -2, "Width");
  lua_pushnumber(state, height);
  lua_setfield(state, -2, "Height");
  return lua_gettop(state);
}

}  // namespace GUI
