#pragma once
// Forces attached to one rigid body, evaluated every step: a constant force or torque, gravity
// proportional to the body's mass, and linear and angular drag. A force may expire after its time
// to live.
#include "core/Core_Object.h"
#include "math/Math_Vector2D.h"

namespace Physics2D {

class RigidBody;

class Force : public Core::Object {
 public:
  Force() = default;
  Force(const Math::Vector2D& position, const Math::Vector2D& vector, float timeToLive);
  // A copy starts detached with nothing evaluated; it keeps its age and time to live.
  Force(const Force& other);

  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  virtual void Evaluate(float dt) = 0;

  // Binds the force to a body and records the application point in the body's coordinates.
  void Attach(RigidBody* body);
  // Binds a loaded force to its body again, keeping the body-space point it was saved with.
  void Reattach(RigidBody* body) { m_body = body; }
  // Ages the force, follows its body and evaluates; false once its time to live has run out.
  bool Update(float dt);

  void SetPosition(const Math::Vector2D& position) { m_position = position; }
  const Math::Vector2D& GetPosition() const { return m_position; }
  const Math::Vector2D& GetVector() const { return m_vector; }
  RigidBody* GetBody() const { return m_body; }
  float GetTime() const { return m_time; }
  void SetTimeToLive(float timeToLive) { m_timeToLive = timeToLive; }
  float GetTimeToLive() const { return m_timeToLive; }
  const Math::Vector2D& GetEvaluatedForce() const { return m_evaluatedForce; }
  float GetEvaluatedTorque() const { return m_evaluatedTorque; }

 protected:
  Math::Vector2D m_position;
  Math::Vector2D m_vector;
  RigidBody* m_body = nullptr;  // the body owns the force set: no reference held
  Math::Vector2D m_localPosition;
  Math::Vector2D m_arm;
  float m_time = 0.0f;
  float m_timeToLive = 0.0f;
  Math::Vector2D m_evaluatedForce;
  float m_evaluatedTorque = 0.0f;
};

class ConstantForce : public Force {
 public:
  VELKOR_DECLARE_CLASS(ConstantForce);
  enum Mode : uint32_t { PushMode = 0, TorqueMode = 1, PushWithMomentMode = 2 };

  ConstantForce() = default;
  ConstantForce(const Math::Vector2D& position, const Math::Vector2D& vector, float timeToLive, uint32_t mode)
      : Force(position, vector, timeToLive), m_mode(mode) {}
  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  void Evaluate(float dt) override;
  uint32_t GetMode() const { return m_mode; }

 private:
  uint32_t m_mode = PushMode;
};

class GravityForce : public Force {
 public:
  VELKOR_DECLARE_CLASS(GravityForce);
  GravityForce() : GravityForce(Math::Vector2D(0.0f, -1.0f), 9.8f) {}
  GravityForce(const Math::Vector2D& direction, float magnitude);
  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  void Evaluate(float dt) override;

 private:
  Math::Vector2D m_direction;
  float m_magnitude = 0.0f;
};

class DragForce : public Force {
 public:
  VELKOR_DECLARE_CLASS(DragForce);
  DragForce() = default;
  DragForce(float linearCoefficient, float angularCoefficient)
      : m_linearCoefficient(linearCoefficient), m_angularCoefficient(angularCoefficient) {}
  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  void Evaluate(float dt) override;

 private:
  float m_linearCoefficient = 0.0f;
  float m_angularCoefficient = 0.0f;
};

}  // namespace Physics2D
