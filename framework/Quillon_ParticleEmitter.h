#pragma once
// Where a particle system's new particles are born and which way they start to move. The shapes
// sample a point, a line segment, a circle outline, a disk, a rectangle outline or a filled
// rectangle; the base class asks its Lua script, so a game can write emitters of any shape.
#include <cstdint>
#include <string>
#include <vector>

#include "core/Core_Object.h"
#include "math/Math_Vector2D.h"

class LuaScript;

namespace Quillon {

class ParticleEmitter : public Core::Object {
 public:
  static constexpr const char* ScriptClassName = "ParticleEmitter";

  ParticleEmitter() = default;
  // Copies nothing of the script: Clone makes the script copy once the copy is whole.
  ParticleEmitter(const ParticleEmitter& other) : Core::Object(other) {}
  ParticleEmitter& operator=(const ParticleEmitter&) = delete;
  ~ParticleEmitter() override;
  VELKOR_DECLARE_CLASS(ParticleEmitter);
  LuaScript* GetScript() override { return m_ownScript; }
  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

  // One new particle's start; outputs the base cannot fill keep what the caller put there.
  virtual void GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction);
  // Once per frame: the script's "Update" with dt.
  virtual void Update(float dt);

  // Scripting, as game objects have it.
  void SetScriptFile(const std::string& file) { m_scriptFile = file; }
  const std::string& GetScriptFile() const { return m_scriptFile; }
  bool HasScriptFlag() const { return m_scriptFlag != 0; }
  bool IsCloneWithScript() const { return m_cloneWithScript != 0; }
  LuaScript* GetSharedScript() const { return m_sharedScript; }
  // Creates the own script when missing, binds "self", loads the file (or the chunk of the script
  // that loaded it already), runs "Constructor" and sets the script flag.
  void RunScript();
  void AddManagedObject(Core::Object* object, const std::string& name);
  uint32_t GetManagedObjectsCount() const { return static_cast<uint32_t>(m_managedObjects.size()); }

 protected:
  // The script half of Clone: the copy shares this emitter's script and, when it runs one, gets its
  // own script with this emitter's chunk and copies of the managed objects.
  void CopyScriptTo(ParticleEmitter& copy) const;
  bool HasLoadedScript() const;
  virtual void SaveShape(Core::File& file) { (void)file; }
  virtual void LoadShape(Core::File& file) { (void)file; }

 private:
  std::vector<Core::SmartPointer<Core::Object>> m_managedObjects;
  std::vector<std::string> m_managedObjectNames;
  uint8_t m_cloneWithScript = 0;
  uint8_t m_scriptStarted = 0;
  LuaScript* m_sharedScript = nullptr;
  LuaScript* m_ownScript = nullptr;
  std::string m_scriptFile;
  uint8_t m_scriptFlag = 0;
};

class PointEmitter : public ParticleEmitter {
 public:
  static constexpr const char* ScriptClassName = "PointEmitter";
  VELKOR_DECLARE_CLASS(PointEmitter);
  int PushToLua(lua_State* state) override;
  void GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) override;

  float minimumAngle = 0.0f;  // degrees
  float maximumAngle = 360.0f;
  Math::Vector2D position;

 protected:
  void SaveShape(Core::File& file) override;
  void LoadShape(Core::File& file) override;
};

class LineEmitter : public ParticleEmitter {
 public:
  static constexpr const char* ScriptClassName = "LineEmitter";
  VELKOR_DECLARE_CLASS(LineEmitter);
  int PushToLua(lua_State* state) override;
  // Directions are the left normal of start-to-end.
  void GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) override;

  Math::Vector2D start;
  Math::Vector2D end;

 protected:
  void SaveShape(Core::File& file) override;
  void LoadShape(Core::File& file) override;
};

class CircleEmitter : public ParticleEmitter {
 public:
  static constexpr const char* ScriptClassName = "CircleEmitter";
  VELKOR_DECLARE_CLASS(CircleEmitter);
  int PushToLua(lua_State* state) override;
  void GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) override;

  Math::Vector2D center;
  float radius = 100.0f;

 protected:
  void SaveShape(Core::File& file) override;
  void LoadShape(Core::File& file) override;
};

class DiskEmitter : public ParticleEmitter {
 public:
  static constexpr const char* ScriptClassName = "DiskEmitter";
  VELKOR_DECLARE_CLASS(DiskEmitter);
  int PushToLua(lua_State* state) override;
  // The distance from the centre is uniform, so particles crowd towards the centre.
  void GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) override;

  Math::Vector2D center;
  float radius = 100.0f;

 protected:
  void SaveShape(Core::File& file) override;
  void LoadShape(Core::File& file) override;
};

class RectangleEmitter : public ParticleEmitter {
 public:
  static constexpr const char* ScriptClassName = "RectangleEmitter";
  RectangleEmitter() : RectangleEmitter(0.0f, 0.0f, 100.0f, 100.0f) {}
  // Corners counter-clockwise from the bottom left (y up); the outward axes rely on that order.
  RectangleEmitter(float x, float y, float width, float height);
  VELKOR_DECLARE_CLASS(RectangleEmitter);
  int PushToLua(lua_State* state) override;
  void GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) override;

  Math::Vector2D corners[4];

 protected:
  void SaveShape(Core::File& file) override;
  void LoadShape(Core::File& file) override;
};

class FilledRectangleEmitter : public RectangleEmitter {
 public:
  static constexpr const char* ScriptClassName = "FilledRectangleEmitter";
  FilledRectangleEmitter() = default;
  FilledRectangleEmitter(float x, float y, float width, float height) : RectangleEmitter(x, y, width, height) {}
  VELKOR_DECLARE_CLASS(FilledRectangleEmitter);
  int PushToLua(lua_State* state) override;
  // Anywhere inside; the direction is a random side's outward axis, whatever the point.
  void GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) override;
};

}  // namespace Quillon
