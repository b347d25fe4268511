#pragma once
// A joint binds two bodies and writes linear constraint rows for the solver each step. Contacts are
// joints too.
#include <cstdint>

#include "core/Core_Object.h"
#include "math/Math_Vector2D.h"
#include "physics/Physics_ConstraintSolver.h"
#include "physics/Physics_RigidBody.h"

namespace Physics2D {

class Joint : public Core::Object {
 public:
  Joint() = default;

  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  // Records the rest state from the bodies' current poses.
  virtual void Capture() {}
  // Fixes the number of rows of this step.
  virtual void PrepareRows() { m_activeRowCount = m_rowCount; }
  virtual void BuildRows() = 0;

  // The solver arrays this joint writes during one step, each at the joint's first row.
  void SetViews(float* jacobian, float* error, float* softness, float* lower, float* upper, ConstraintRow* rows) {
    m_jacobian = jacobian;
    m_error = error;
    m_softness = softness;
    m_lower = lower;
    m_upper = upper;
    m_rows = rows;
  }

  bool IsActive() const { return m_active != 0; }
  void SetActive(bool active) { m_active = active ? 1 : 0; }
  uint32_t GetKind() const { return m_kind; }
  uint32_t GetRowCount() const { return m_rowCount; }
  uint32_t GetActiveRowCount() const { return m_activeRowCount; }
  float GetErrorReduction() const { return m_errorReduction; }
  RigidBody* GetBody1() const { return m_body1.Get(); }
  RigidBody* GetBody2() const { return m_body2.Get(); }
  void SetBody1(RigidBody* body) { m_body1 = body; }
  void SetBody2(RigidBody* body) { m_body2 = body; }

  // Scratch mark of the engine's list building (not saved).
  uint32_t m_listMark = 0;

 protected:
  // Row r of the joint: its six Jacobian entries.
  float* Row(uint32_t r) const { return m_jacobian + static_cast<size_t>(r) * 6; }
  // The rows a joint of this class declares; BuildRows writes exactly these (plus a nail's limit
  // row), so a loaded record that declares any other count fails the stream.
  virtual uint32_t GetDeclaredRowCount() const = 0;
  static bool IsStatic(const RigidBody* body);
  // Writes row r: body 1 linear pair and angle, body 2 linear pair and angle.
  void SetRow(uint32_t r, float x1, float y1, float a1, float x2, float y2, float a2) const;

  uint32_t m_kind = 0;
  uint32_t m_rowCount = 0;
  uint32_t m_activeRowCount = 0;
  uint8_t m_active = 1;
  float* m_jacobian = nullptr;
  float m_errorReduction = 0.0f;
  float* m_error = nullptr;
  float* m_softness = nullptr;
  float* m_lower = nullptr;
  float* m_upper = nullptr;
  ConstraintRow* m_rows = nullptr;
  uint8_t m_flag = 0;
  Core::SmartPointer<RigidBody> m_body1;
  Core::SmartPointer<RigidBody> m_body2;
};

}  // namespace Physics2D
