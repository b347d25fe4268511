#include "framework/Quillon_ParticleEmitter.h"

#include <cmath>

#include <lua.hpp>

#include "core/Core_File.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_Random.h"
#include "framework/Quillon_ScriptSupport.h"
#include "math/Math_Stream.h"
#include "script/Lua_Script.h"
#include "script/Lua_ScriptEngine.h"

namespace Quillon {

namespace {

// Degrees to radians with the single-precision value of pi / 180.
constexpr float kDegreesToRadians = 0.01745329238474369f;
constexpr float kTwoPi = 6.2831855f;

// The "X" and "Y" numbers of a table; false (out untouched) for anything else. Never raises: a
// script's result is read outside any protected call.
bool ReadXY(lua_State* state, int index, Math::Vector2D& out) {
  if (lua_type(state, index) != LUA_TTABLE) return false;
  lua_getfield(state, index, "X");
  lua_getfield(state, index < 0 ? index - 1 : index, "Y");
  const bool numbers = lua_type(state, -2) == LUA_TNUMBER && lua_type(state, -1) == LUA_TNUMBER;
  if (numbers) out = Math::Vector2D(static_cast<float>(lua_tonumber(state, -2)), static_cast<float>(lua_tonumber(state, -1)));
  lua_pop(state, 2);
  return numbers;
}

const Math::Vector2D kSideAxes[4] = {{0.0f, -1.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {-1.0f, 0.0f}};

}  // namespace

// Each class: registry entry, Clone with the script copy, name, size, script class.
#define QUILLON_EMITTER_CLASS(ClassType, name)                                                                 \
  Core::Object* ClassType::Create() { return new (__FILE__, __LINE__) ClassType(); }                         \
  Core::Object* ClassType::Clone() const {                                                                     \
    auto* copy = new (__FILE__, __LINE__) ClassType(*this);                                                    \
    CopyScriptTo(*copy);                                                                                       \
    return copy;                                                                                               \
  }                                                                                                            \
  const char* ClassType::GetClassName() const { return name; }                                                 \
  uint32_t ClassType::GetSize() const { return static_cast<uint32_t>(sizeof(ClassType)); }                    \
  int ClassType::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, ScriptClassName); } \
  static const Core::ClassRegistration g_registration##ClassType(name, &ClassType::Create)

QUILLON_EMITTER_CLASS(ParticleEmitter, "Quillon::ParticleEmitter");
QUILLON_EMITTER_CLASS(PointEmitter, "Quillon::PointEmitter");
QUILLON_EMITTER_CLASS(LineEmitter, "Quillon::LineEmitter");
QUILLON_EMITTER_CLASS(CircleEmitter, "Quillon::CircleEmitter");
QUILLON_EMITTER_CLASS(DiskEmitter, "Quillon::DiskEmitter");
QUILLON_EMITTER_CLASS(RectangleEmitter, "Quillon::RectangleEmitter");
QUILLON_EMITTER_CLASS(FilledRectangleEmitter, "Quillon::FilledRectangleEmitter");

#undef QUILLON_EMITTER_CLASS

// ---- Base: scripting ----------------------------------------------------------------------------

ParticleEmitter::~ParticleEmitter() {
  std::vector<Core::SmartPointer<Core::Object>> managed;
  managed.swap(m_managedObjects);
  m_managedObjectNames.clear();
  managed.clear();
  if (m_ownScript != nullptr) {
    LuaScript* script = m_ownScript;
    m_ownScript = nullptr;
    LuaScript::Destroy(script);
  }
}

bool ParticleEmitter::HasLoadedScript() const { return m_ownScript != nullptr && !m_ownScript->IsEmpty(); }

void ParticleEmitter::RunScript() {
  Lua::CallScope scope;
  if (!Script::StartObjectScript(*this, m_ownScript, m_sharedScript, m_scriptFile)) return;
  m_scriptStarted = 1;
  lua_State* thread = m_ownScript->GetThread();
  if (HasLoadedScript() && thread != nullptr && Script::PushGlobalFunction(thread, "Constructor")) {
    Lua::ProtectedCall(thread, 0, 0);
  }
  m_scriptFlag = 1;
}

void ParticleEmitter::AddManagedObject(Core::Object* object, const std::string& name) {
  m_managedObjects.emplace_back(object);
  m_managedObjectNames.push_back(name);
}

void ParticleEmitter::CopyScriptTo(ParticleEmitter& copy) const {
  copy.m_scriptFlag = m_scriptFlag;
  copy.m_scriptFile = m_scriptFile;
  copy.m_sharedScript = m_ownScript;
  copy.m_cloneWithScript = 0;
  copy.m_ownScript = nullptr;
  if (m_scriptFlag == 0 || m_ownScript == nullptr) return;
  copy.m_cloneWithScript = 1;
  copy.m_ownScript = LuaScript::Create();
  if (copy.m_ownScript == nullptr) return;
  lua_State* thread = Script::BindSelf(*copy.m_ownScript, copy);
  {
    Lua::CallScope scope;
    copy.m_ownScript->LoadCompiled(*m_ownScript);
  }
  for (size_t i = 0; i < m_managedObjects.size(); ++i) {
    Core::Object* source = m_managedObjects[i].Get();
    Core::Object* clone = source != nullptr ? source->Clone() : nullptr;
    copy.AddManagedObject(clone, m_managedObjectNames[i]);
    if (clone != nullptr && thread != nullptr) {
      clone->PushToLua(thread);
      lua_setglobal(thread, m_managedObjectNames[i].c_str());
    }
  }
}

void ParticleEmitter::Update(float dt) {
  if (m_scriptFlag == 0 || !HasLoadedScript()) return;
  lua_State* thread = m_ownScript->GetThread();
  if (thread == nullptr || !Script::PushGlobalFunction(thread, "Update")) return;
  lua_pushnumber(thread, dt);
  Lua::ProtectedCall(thread, 1, 0);
}

void ParticleEmitter::GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) {
  if (m_scriptFlag == 0 || !HasLoadedScript()) return;
  lua_State* thread = m_ownScript->GetThread();
  if (thread == nullptr) return;
  const int base = lua_gettop(thread);
  if (!Script::PushGlobalFunction(thread, "GetPositionAndDirection")) return;
  lua_pushnumber(thread, dt);
  if (!Lua::ProtectedCall(thread, 1, 2)) {
    lua_settop(thread, base);
    return;
  }
  Math::Vector2D newPosition = position;
  Math::Vector2D newDirection = direction;
  // Both results or neither: a half-answer would pair a new position with a stale direction.
  if (ReadXY(thread, -2, newPosition) && ReadXY(thread, -1, newDirection)) {
    position = newPosition;
    direction = newDirection;
  }
  lua_settop(thread, base);
}

// ---- Base: persistence --------------------------------------------------------------------------

void ParticleEmitter::Save(Core::File& file) {
  Core::WriteValue<uint8_t>(file, m_scriptFlag);
  file << m_scriptFile;
  Core::WriteValue<uint8_t>(file, m_cloneWithScript);
  Core::WriteValue<uint8_t>(file, m_scriptStarted);
  if (m_scriptFlag != 0 && HasLoadedScript()) {
    for (auto& managed : m_managedObjects) {
      if (managed) managed->Save(file);
    }
    lua_State* thread = m_ownScript->GetThread();
    if (thread != nullptr && Script::PushGlobalFunction(thread, "Save")) Lua::ProtectedCall(thread, 0, 0);
  }
  SaveShape(file);
}

void ParticleEmitter::Load(Core::File& file) {
  Core::ReadValue(file, m_scriptFlag);
  std::string scriptFile;
  file >> scriptFile;
  if (!IsScriptNameInsideScripts(scriptFile)) {
    scriptFile.clear();
    file.Fail();
  }
  m_scriptFile = scriptFile;
  Core::ReadValue(file, m_cloneWithScript);
  Core::ReadValue(file, m_scriptStarted);
  m_sharedScript = nullptr;
  if (file.HasFailed()) return;
  if (m_scriptFlag != 0 && !m_scriptFile.empty() && m_scriptStarted != 0) RunScript();
  if (HasLoadedScript()) {
    for (auto& managed : m_managedObjects) {
      if (managed) managed->Load(file);
    }
    lua_State* thread = m_ownScript->GetThread();
    if (thread != nullptr && Script::PushGlobalFunction(thread, "Load")) Lua::ProtectedCall(thread, 0, 0);
  }
  LoadShape(file);
}

// ---- Shapes -------------------------------------------------------------------------------------

void PointEmitter::GetPositionAndDirection(float dt, Math::Vector2D& outPosition, Math::Vector2D& direction) {
  (void)dt;
  outPosition = position;
  const float angle = RandomFloat(minimumAngle, maximumAngle) * kDegreesToRadians;
  direction = Math::Vector2D(std::cos(angle), std::sin(angle));
}

void PointEmitter::SaveShape(Core::File& file) {
  Math::WriteVector2D(file, position);
  Core::WriteValue<float>(file, minimumAngle);
  Core::WriteValue<float>(file, maximumAngle);
}

void PointEmitter::LoadShape(Core::File& file) {
  Math::ReadVector2D(file, position);
  Core::ReadValue(file, minimumAngle);
  Core::ReadValue(file, maximumAngle);
}

void LineEmitter::GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) {
  (void)dt;
  const float t = RandomFloat(0.0f, 1.0f);
  const Math::Vector2D d(end.x - start.x, end.y - start.y);
  position = Math::Vector2D(start.x + d.x * t, start.y + d.y * t);
  const float length = std::sqrt(d.x * d.x + d.y * d.y);
  if (length >= 0.0005f) direction = Math::Vector2D(-d.y / length, d.x / length);
}

void LineEmitter::SaveShape(Core::File& file) {
  Math::WriteVector2D(file, start);
  Math::WriteVector2D(file, end);
}

void LineEmitter::LoadShape(Core::File& file) {
  Math::ReadVector2D(file, start);
  Math::ReadVector2D(file, end);
}

void CircleEmitter::GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) {
  (void)dt;
  const float angle = RandomFloat(0.0f, kTwoPi);
  direction = Math::Vector2D(std::cos(angle), std::sin(angle));
  position = Math::Vector2D(center.x + radius * direction.x, center.y + radius * direction.y);
}

void CircleEmitter::SaveShape(Core::File& file) {
  Math::WriteVector2D(file, center);
  Core::WriteValue<float>(file, radius);
}

void CircleEmitter::LoadShape(Core::File& file) {
  Math::ReadVector2D(file, center);
  Core::ReadValue(file, radius);
}

void DiskEmitter::GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) {
  (void)dt;
  const float distance = RandomFloat(0.0f, radius);
  const float angle = RandomFloat(0.0f, kTwoPi);
  direction = Math::Vector2D(std::cos(angle), std::sin(angle));
  position = Math::Vector2D(center.x + distance * direction.x, center.y + distance * direction.y);
}

void DiskEmitter::SaveShape(Core::File& file) {
  Math::WriteVector2D(file, center);
  Core::WriteValue<float>(file, radius);
}

void DiskEmitter::LoadShape(Core::File& file) {
  Math::ReadVector2D(file, center);
  Core::ReadValue(file, radius);
}

RectangleEmitter::RectangleEmitter(float x, float y, float width, float height) {
  corners[0] = Math::Vector2D(x, y);
  corners[1] = Math::Vector2D(x + width, y);
  corners[2] = Math::Vector2D(x + width, y + height);
  corners[3] = Math::Vector2D(x, y + height);
}

void RectangleEmitter::GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) {
  (void)dt;
  const int side = RandomRound(3.0f) & 3;
  const Math::Vector2D& from = corners[side];
  const Math::Vector2D& to = corners[(side + 1) % 4];
  const float t = RandomFloat(0.0f, 1.0f);
  position = Math::Vector2D(from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t);
  direction = kSideAxes[side];
}

void RectangleEmitter::SaveShape(Core::File& file) {
  for (const Math::Vector2D& corner : corners) Math::WriteVector2D(file, corner);
}

void RectangleEmitter::LoadShape(Core::File& file) {
  for (Math::Vector2D& corner : corners) Math::ReadVector2D(file, corner);
}

void FilledRectangleEmitter::GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction) {
  (void)dt;
  position = Math::Vector2D(RandomFloat(corners[0].x, corners[1].x), RandomFloat(corners[0].y, corners[3].y));
  direction = kSideAxes[RandomRound(3.0f) & 3];
}

}  // namespace Quillon
