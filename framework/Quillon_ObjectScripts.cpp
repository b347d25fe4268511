// A game object's Lua script: the script constructor and the protected calls of its entry points.
#include <lua.hpp>

#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_GameServices.h"
#include "script/Lua_Script.h"
#include "script/Lua_ScriptEngine.h"

namespace Quillon {

bool GameObject::HasLoadedScript() const { return m_ownScript != nullptr && !m_ownScript->IsEmpty(); }

void GameObject::RunScriptConstructor(bool callConstructor) {
  if (m_ownScript == nullptr) m_ownScript = LuaScript::Create();
  if (m_ownScript == nullptr) return;
  const std::string path = GetGameServices().GetDirectory() + "\\Resources\\Scripts\\" + m_scriptFile;
  LuaScript* shared = LuaScript::FindByPath(path.c_str());
  m_sharedScript = shared == m_ownScript ? nullptr : shared;
  lua_State* thread = m_ownScript->GetThread();
  if (thread != nullptr) {
    PushToLua(thread);
    lua_setglobal(thread, "self");
  }
  // Keeps the thread alive should the chunk release this object's script while it runs.
  Lua::CallScope scope;
  if (m_sharedScript != nullptr && !m_sharedScript->IsEmpty()) {
    m_ownScript->LoadCompiled(*m_sharedScript);
  } else {
    m_sharedScript = nullptr;
    m_ownScript->Load(path.c_str());
  }
  m_scriptStarted = 1;
  // An object whose script has started takes part in the entry points that test the script flag;
  // nothing else would ever set it for an object built in code.
  if (HasLoadedScript()) m_scriptFlag = 1;
  if (callConstructor) CallScriptFunction("Constructor");
}

namespace {

// Pushes the global function of that name; false (stack unchanged) when there is none.
bool PushFunction(lua_State* thread, const char* name) {
  lua_getglobal(thread, name);
  if (lua_isfunction(thread, -1)) return true;
  lua_pop(thread, 1);
  return false;
}

}  // namespace

bool GameObject::CallScriptFunction(const char* name) {
  if (!HasLoadedScript()) return false;
  lua_State* thread = m_ownScript->GetThread();
  if (thread == nullptr || !PushFunction(thread, name)) return false;
  return Lua::ProtectedCall(thread, 0, 0);
}

bool GameObject::CallScriptFunction(const char* name, float argument) {
  if (!HasLoadedScript()) return false;
  lua_State* thread = m_ownScript->GetThread();
  if (thread == nullptr || !PushFunction(thread, name)) return false;
  lua_pushnumber(thread, argument);
  return Lua::ProtectedCall(thread, 1, 0);
}

bool GameObject::CallScriptFunction(const char* name, Core::Object* argument) {
  if (!HasLoadedScript()) return false;
  lua_State* thread = m_ownScript->GetThread();
  if (thread == nullptr || !PushFunction(thread, name)) return false;
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
    lua_State* thread = clone->m_ownScript->GetThread();
    if (thread != nullptr) {
      clone->PushToLua(thread);
      lua_setglobal(thread, "self");
    }
    Lua::CallScope scope;
    clone->m_ownScript->LoadCompiled(*clone->m_sharedScript);
    // A copy's script is empty until its chunk is loaded here, so "OnClone" can only run now.
    clone->RunOnClone(*this);
  }
  return clone;
}

}  // namespace Quillon
