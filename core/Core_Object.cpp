#include "core/Core_Object.h"

#include <cstring>
#include <lua.hpp>

namespace Core {

namespace {
Object* CreateNothing() { return nullptr; }
}  // namespace

LuaScript* Object::GetScript() { return nullptr; }

int Object::PushToLua(lua_State* state) { return PushObjectToLua(state, this, "Object"); }

Object* Object::Clone() const { return new (__FILE__, __LINE__) Object(*this); }

void Object::Save(File&) {}

void Object::Load(File&) {}

const char* Object::GetClassName() const { return "Object"; }

uint32_t Object::GetSize() const { return static_cast<uint32_t>(sizeof(Object)); }

Object* Object::Create() { return new (__FILE__, __LINE__) Object(); }

static const ClassRegistration g_objectRegistration("Object", &Object::Create);

int PushObjectToLua(lua_State* state, Object* object, const char* scriptName) {
  auto* slot = static_cast<Object**>(lua_newuserdata(state, sizeof(Object*)));
  *slot = object;
  lua_getfield(state, LUA_REGISTRYINDEX, scriptName);
  lua_setmetatable(state, -2);
  return 1;
}

ClassRegistration::ClassRegistration() : m_name(""), m_create(&CreateNothing), m_throwPointer(nullptr) {
  GetClassRegistry().emplace(m_name, *this);
}

ClassRegistration::ClassRegistration(const char* name, CreateFunction create, ThrowPointerFunction throwPointer)
    : m_name(name ? name : ""), m_create(create ? create : &CreateNothing), m_throwPointer(throwPointer) {
  GetClassRegistry().emplace(m_name, *this);  // emplace keeps an existing record: first wins
}

bool ClassNameLess::operator()(const char* a, const char* b) const { return std::strcmp(a, b) < 0; }

ClassRegistry& GetClassRegistry() {
  static ClassRegistry registry;
  return registry;
}

Object* CreateObject(const char* name) {
  if (name == nullptr) return nullptr;
  ClassRegistry& registry = GetClassRegistry();
  auto found = registry.find(name);
  if (found == registry.end()) return nullptr;
  return found->second.GetCreateFunction()();
}

}  // namespace Core
