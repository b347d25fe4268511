#include "framework/Quillon_Level.h"

#include <algorithm>

#include <lua.hpp>

#include "audio/Sound_Engine.h"
#include "core/Core_File.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_ScriptSupport.h"
#include "math/Math_Color.h"
#include "math/Math_Vector3D.h"
#include "scene/Engine_SceneGraph.h"
#include "script/Lua_Script.h"
#include "script/Lua_ScriptEngine.h"

namespace Quillon {

namespace {
const Core::ClassRegistration g_levelRegistration("Quillon::Level", &Level::Create);
}

Core::Object* Level::Create() { return new (__FILE__, __LINE__) Level(); }

Level::~Level() { Destroy(); }

int Level::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, ScriptClassName); }

bool Level::HasLoadedScript() const { return m_script != nullptr && !m_script->IsEmpty(); }

bool Level::CallScriptFunction(const char* name) {
  if (!HasLoadedScript()) return false;
  lua_State* thread = m_script->GetThread();
  if (thread == nullptr || !Script::PushGlobalFunction(thread, name)) return false;
  return Lua::ProtectedCall(thread, 0, 0);
}

void Level::OnStart() { CallScriptFunction("OnStart"); }

void Level::OnEnd() { CallScriptFunction("OnEnd"); }

void Level::Update(float dt) {
  if (!HasLoadedScript()) return;
  lua_State* thread = m_script->GetThread();
  if (thread == nullptr || !Script::PushGlobalFunction(thread, "Update")) return;
  lua_pushnumber(thread, dt);
  Lua::ProtectedCall(thread, 1, 0);
}

void Level::AddLayer(const Core::SmartPointer<Layer>& layer) {
  if (!layer) return;
  layer->SetIndex(static_cast<uint32_t>(m_layers.size()));
  m_layers.push_back(layer);
  if (Engine::SceneGraph* sceneGraph = GetGameServices().GetSceneGraph()) sceneGraph->AddChild(layer->GetNode());
}

Layer* Level::GetLayerByName(const std::string& name) const {
  for (const auto& layer : m_layers) {
    if (layer->GetName() == name) return layer.Get();
  }
  return nullptr;
}

void Level::AddViewport(Viewport* viewport) {
  if (viewport == nullptr) return;
  for (const auto& existing : m_viewports) {
    if (existing.Get() == viewport) return;
  }
  m_viewports.emplace_back(viewport);
}

void Level::RemoveViewport(Viewport* viewport) {
  for (auto it = m_viewports.begin(); it != m_viewports.end(); ++it) {
    if (it->Get() == viewport) {
      m_viewports.erase(it);
      return;
    }
  }
}

Viewport* Level::GetViewportByName(const std::string& name) const {
  for (const auto& viewport : m_viewports) {
    if (viewport->GetName() == name) return viewport.Get();
  }
  return nullptr;
}

void Level::GetGameObjects(std::list<GameObject*>& out) const {
  out.clear();
  std::list<GameObject*> layerObjects;
  for (const auto& layer : m_layers) {
    layer->GetGameObjects(layerObjects);
    out.splice(out.end(), layerObjects);
  }
}

void Level::GetGameObjectsByName(const std::string& name, std::list<GameObject*>& out) const {
  out.clear();
  std::list<GameObject*> layerObjects;
  for (const auto& layer : m_layers) {
    layer->GetGameObjectsByName(name, layerObjects);
    out.splice(out.end(), layerObjects);
  }
}

GameObject* Level::FindGameObjectById(uint32_t id) const {
  for (const auto& layer : m_layers) {
    if (GameObject* object = layer->FindGameObjectById(id)) return object;
  }
  return nullptr;
}

void Level::AddManagedObject(Core::Object* object, const std::string& name) {
  m_managedObjects.emplace_back(object);
  m_managedObjectNames.push_back(name);
}

void Level::RunScript() {
  if (m_script == nullptr) m_script = LuaScript::Create();
  if (m_script == nullptr) return;
  Script::BindSelf(*m_script, *this);
  Lua::CallScope scope;
  m_script->Load(Script::ScriptPath(m_scriptFile).c_str());
  CallScriptFunction("Constructor");
}

// ---- Passes -------------------------------------------------------------------------------------

void Level::UpdatePass(float dt) {
  Update(dt);
  for (size_t i = 0; i < m_layers.size(); ++i) {
    Core::SmartPointer<Layer> layer = m_layers[i];
    layer->Update(dt);
  }
  if (Camera* listener = Camera::GetActiveListener()) {
    if (Sound::SoundEngine* sound = GetGameServices().GetSoundEngine()) {
      Layer* layer = listener->GetLayer();
      sound->SetListenerPosition(Math::Vector3D(listener->GetPositionX(), listener->GetPositionY(),
                                                layer ? layer->GetZOrder() : 0.0f));
    }
  }
  if (m_jukeBox) m_jukeBox->Update(dt);
}

void Level::FirstHookPass(float dt) {
  for (auto& layer : m_layers) layer->RunFirstHook(dt);
}

void Level::SecondHookPass(float dt) {
  for (auto& layer : m_layers) layer->RunSecondHook(dt);
}

void Level::TransformPass() {
  for (auto& layer : m_layers) layer->RefreshTransforms();
}

void Level::RenderPass(float dt) {
  (void)dt;
  Engine::SceneGraph* sceneGraph = GetGameServices().GetSceneGraph();
  if (sceneGraph != nullptr) sceneGraph->SetViewportCount(static_cast<uint32_t>(m_viewports.size()));
  for (size_t i = 0; i < m_viewports.size(); ++i) {
    if (sceneGraph != nullptr) sceneGraph->SetViewportIndex(static_cast<uint32_t>(i));
    m_viewports[i]->Render();
  }
}

void Level::EndPass() {
  for (auto& layer : m_layers) layer->EndGameObjects();
}

void Level::Destroy() {
  if (m_destroyed != 0) return;
  m_destroyed = 1;
  for (auto& layer : m_layers) layer->Destroy();
  m_layers.clear();
  m_viewports.clear();
  if (m_jukeBox) {
    m_jukeBox->StopMusic();
    m_jukeBox.Reset();
  }
  if (Engine::SceneGraph* sceneGraph = GetGameServices().GetSceneGraph()) sceneGraph->RemoveAllChildren();
  if (m_script != nullptr) {
    LuaScript* script = m_script;
    m_script = nullptr;
    LuaScript::Destroy(script);
  }
  m_managedObjects.clear();
  m_managedObjectNames.clear();
}

// ---- Persistence --------------------------------------------------------------------------------

void Level::Save(Core::File& file) {
  Core::WriteObjectVector(file, m_layers);
  Core::WriteObjectVector(file, m_viewports);
  Math::WriteColor(file, m_clearColor);
  file << m_name;
  file.WriteObject(m_jukeBox.Get());
  Core::WriteValue<uint8_t>(file, m_destroyed);
  Core::WriteValue<uint8_t>(file, m_clearBackBuffer);
  file << (m_script != nullptr ? m_scriptFile : std::string());
  WriteSpriteContacts(file);
  if (HasLoadedScript()) {
    for (auto& object : m_managedObjects) {
      if (object) object->Save(file);
    }
    CallScriptFunction("Save");
  }
}

void Level::Load(Core::File& file) {
  std::vector<Core::SmartPointer<Layer>> layers;
  Core::ReadObjectVector(file, layers);
  for (auto& layer : layers) {
    if (layer) AddLayer(layer);
  }
  Core::ReadObjectVector(file, m_viewports);
  m_viewports.erase(std::remove(m_viewports.begin(), m_viewports.end(), nullptr), m_viewports.end());
  Math::ReadColor(file, m_clearColor);
  file >> m_name;
  Core::SmartPointer<LevelJukeBox> jukeBox;
  Core::ReadObjectPointer(file, jukeBox);
  m_jukeBox = jukeBox;
  Core::ReadValue(file, m_destroyed);
  Core::ReadValue(file, m_clearBackBuffer);
  file >> m_scriptFile;
  if (!IsScriptNameInsideScripts(m_scriptFile)) {
    m_scriptFile.clear();
    file.Fail();
  }
  ReadSpriteContacts(file);
  if (file.HasFailed()) return;
  if (!m_scriptFile.empty()) RunScript();
  if (HasLoadedScript()) {
    for (auto& object : m_managedObjects) {
      if (object) object->Load(file);
    }
    CallScriptFunction("Load");
  }
}

}  // namespace Quillon
