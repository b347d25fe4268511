// A game object's Lua script: the script constructor and the protected calls of its entry points.
#include <lua.hpp>

#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_ScriptSupport.h"
#include "script/Lua_Script.h"
#include "script/Lua_ScriptEngine.h"

namespace Quillon {

namespace Script {

std::string ScriptPath(const std::string& file) {
  return GetGameServices().GetDirectory() + "\\Resources\\Scripts\\" + file;
}

bool PushGlobalFunction(lua_State* thread, const char* name) {
  lua_getglobal(thread, name);
  if (lua_isfunction(thread, -1)) return true;
  lua_pop(thread, 1);
  return false;
}

lua_State* BindSelf(LuaScript& script, Core::Object& self) {
  lua_State* thread = script.GetThread();
  if (thread != nullptr) {
    self.PushToLua(thread);
    lua_setglobal(thread, "self");
  }
  return thread;
}

bool StartObjectScript(Core::Object& self, LuaScript*& own, LuaScript*& shared, const std::string& file) {
  if (own == nullptr) own = LuaScript::Create();
  if (own == nullptr) return false;
  const std::string path = ScriptPath(file);
  LuaScript* loaded = LuaScript::FindByPath(path.c_str());
  shared = loaded == own ? nullptr : loaded;
  BindSelf(*own, self);
  if (shared != nullptr && !shared->IsEmpty()) {
    own->LoadCompiled(*shared);
  } else {
    shared = nullptr;
    own->Load(path.c_str());
  }
  return true;
}

}  // namespace Script

bool GameObject::HasLoadedScript() const { return m_ownScript != nullptr && !m_ownScript->IsEmpty(); }

void GameObject::RunScriptConstructor(bool callConstructor) {
  // Keeps the thread alive should the chunk release this object's script while it runs.
  Lua::CallScope scope;
  if (!Script::StartObjectScript(*this, m_ownScript, m_sharedScript, m_scriptFile)) return;
  m_scriptStarted = 1;
  // An object whose script has started takes part in the entry points that test the script flag;
  // nothing else would ever set it for an object built in code.
  if (HasLoadedScript()) m_scriptFlag = 1;
  if (callConstructor) CallScriptFunction("Constructor");
}

bool GameObject::CallScriptFunction(const char* name) {
  if (!HasLoadedScript()) return false;
  lua_State* thread = m_ownScript->GetThread();
  if (thread == nullptr || !Script::PushGlobalFunction(thread, name)) return false;
  return Lua::ProtectedCall(thread, 0, 0);
}

bool GameObject::CallScriptFunction(const char* name, float argument) {
  if (!HasLoadedScript()) return false;
  lua_State* thread = m_ownScript->GetThread();
  if (thread == nullptr || !Script::PushGlobalFunction(thread, name)) return false;
  lua_pushnumber(thread, argument);
  return Lua::ProtectedCall(thread, 1, 0);
}

bool GameObject::CallScriptFunction(const char* name, Core::Object* argument) {
  if (!HasLoadedScript()) return false;
  lua_State* thread = m_ownScript->GetThread();
  if (thread == nullptr || !Script::PushGlobalFunction(thread, name)) return false;
  if (argument != nullptr) {
    argument->PushToLua(thread);
  } else {
    lua_pushnil(thread);
  }
  return Lua::ProtectedCall(thread, 1, 0);
}

void GameObject::RunOnClone(const GameObject& source) {
  if (m_scriptFlag != 0 && m_ownScript != nullptr && m_cloneWithScript != 0) {
    CallScriptFunction("OnClone", const_cast<GameObject*>(&source));
  }
}

GameObject* GameObject::CloneWithScript() const {
  auto* clone = static_cast<GameObject*>(Clone());
  if (clone == nullptr) return nullptr;
  if (clone->m_ownScript != nullptr && clone->m_sharedScript != nullptr && !clone->m_sharedScript->IsEmpty()) {
    Script::BindSelf(*clone->m_ownScript, *clone);
    Lua::CallScope scope;
    clone->m_ownScript->LoadCompiled(*clone->m_sharedScript);
    // A copy's script is empty until its chunk is loaded here, so "OnClone" can only run now.
    clone->RunOnClone(*this);
  }
  return clone;
}

}  // namespace Quillon
