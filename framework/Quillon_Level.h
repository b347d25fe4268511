#pragma once
// One screen of a game: an ordered stack of layers, the viewports it is drawn through, an optional
// juke box for its music, a clear colour and an optional Lua script.
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "core/Core_Object.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Viewport.h"
#include "math/Math_Color.h"

class LuaScript;

namespace Quillon {

// What a level needs of its juke box; the sound objects' juke box implements it.
class LevelJukeBox : public Core::Object {
 public:
  virtual void Update(float dt) = 0;
  virtual void StopMusic() = 0;
};

class Level : public Core::Object {
 public:
  static constexpr const char* ScriptClassName = "Level";

  Level() = default;
  Level(const Level&) = delete;
  Level& operator=(const Level&) = delete;
  ~Level() override;
  static Core::Object* Create();
  const char* GetClassName() const override { return "Quillon::Level"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(Level)); }
  LuaScript* GetScript() override { return m_script; }
  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

  // Script entries "OnStart", "OnEnd" and "Update" (with dt) when the level's script holds code.
  virtual void OnStart();
  virtual void OnEnd();
  virtual void Update(float dt);

  void SetName(const std::string& name) { m_name = name; }
  const std::string& GetName() const { return m_name; }
  // Gives the layer its index, appends it and hangs its node under the scene graph's root.
  void AddLayer(const Core::SmartPointer<Layer>& layer);
  uint32_t GetLayersCount() const { return static_cast<uint32_t>(m_layers.size()); }
  Layer* GetLayer(uint32_t index) const { return index < m_layers.size() ? m_layers[index].Get() : nullptr; }
  Layer* GetLayerByName(const std::string& name) const;
  // Null and viewports already listed are ignored.
  void AddViewport(Viewport* viewport);
  void RemoveViewport(Viewport* viewport);
  uint32_t GetViewportsCount() const { return static_cast<uint32_t>(m_viewports.size()); }
  Viewport* GetViewport(uint32_t index) const { return index < m_viewports.size() ? m_viewports[index].Get() : nullptr; }
  Viewport* GetViewportByName(const std::string& name) const;
  void SetJukeBox(LevelJukeBox* jukeBox) { m_jukeBox = jukeBox; }
  LevelJukeBox* GetJukeBox() const { return m_jukeBox.Get(); }
  void SetClearBackBuffer(bool clear) { m_clearBackBuffer = clear ? 1 : 0; }
  bool GetClearBackBuffer() const { return m_clearBackBuffer != 0; }
  void SetClearColor(const Math::Color& color) { m_clearColor = color; }
  const Math::Color& GetClearColor() const { return m_clearColor; }
  bool IsDestroyed() const { return m_destroyed != 0; }

  // Every layer's live objects, layer by layer in layer order (ascending ID within a layer).
  void GetGameObjects(std::list<GameObject*>& out) const;
  void GetGameObjectsByName(const std::string& name, std::list<GameObject*>& out) const;
  // The first live object of that ID over the layers in order (sprites' saved contact lists use it).
  GameObject* FindGameObjectById(uint32_t id) const;

  // The owned objects the script sees under their names.
  void AddManagedObject(Core::Object* object, const std::string& name);
  void SetScriptFile(const std::string& file) { m_scriptFile = file; }
  const std::string& GetScriptFile() const { return m_scriptFile; }
  // Creates the script when missing, binds "self", loads the file and runs "Constructor".
  void RunScript();
  // Calls a global function of the level's script, protected; false when it is missing or failed.
  bool CallScriptFunction(const char* name);

  // Per-frame passes, in the order the frame step runs them.
  void UpdatePass(float dt);
  void FirstHookPass(float dt);
  void SecondHookPass(float dt);
  void TransformPass();
  void RenderPass(float dt);
  void EndPass();
  // Once: layers destroyed, lists emptied, music stopped, scene root emptied, script destroyed.
  void Destroy();

 private:
  bool HasLoadedScript() const;
  // The partner IDs of every sprite's contact lists (a save restores them from here).
  void WriteSpriteContacts(Core::File& file);
  void ReadSpriteContacts(Core::File& file);

  LuaScript* m_script = nullptr;
  std::vector<Core::SmartPointer<Core::Object>> m_managedObjects;
  std::vector<std::string> m_managedObjectNames;
  std::string m_scriptFile;
  std::vector<Core::SmartPointer<Layer>> m_layers;
  std::vector<Core::SmartPointer<Viewport>> m_viewports;
  Math::Color m_clearColor{0.0f, 0.0f, 0.0f, 1.0f};
  std::string m_name;
  Core::SmartPointer<LevelJukeBox> m_jukeBox;
  uint8_t m_destroyed = 0;
  uint8_t m_clearBackBuffer = 0;
};

}  // namespace Quillon
