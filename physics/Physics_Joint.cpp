#include "physics/Physics_Joint.h"

#include "core/Core_File.h"
#include "physics/Physics_Settings.h"

namespace Physics2D {

int Joint::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "Joint"); }

bool Joint::IsStatic(const RigidBody* body) { return body == GetSettings().staticBody; }

void Joint::SetRow(uint32_t r, float x1, float y1, float a1, float x2, float y2, float a2) const {
  float* row = Row(r);
  row[0] = x1;
  row[1] = y1;
  row[2] = a1;
  row[3] = x2;
  row[4] = y2;
  row[5] = a2;
}

void Joint::Save(Core::File& file) {
  Core::WriteValue<uint32_t>(file, m_kind);
  Core::WriteValue<uint32_t>(file, m_rowCount);
  Core::WriteValue<uint32_t>(file, m_activeRowCount);
  Core::WriteValue<uint8_t>(file, m_active);
  Core::WriteValue<float>(file, m_errorReduction);
  Core::WriteValue<uint8_t>(file, GetSettings().postCollision ? 1 : 0);
  Core::WriteValue<uint8_t>(file, m_flag);
  // Written through the stream's object table: the engine's body vector and its joints share one
  // object per body when read back.
  file.WriteObject(m_body1.Get());
  file.WriteObject(m_body2.Get());
}

void Joint::Load(Core::File& file) {
  const uint32_t kind = Core::ReadValue<uint32_t>(file);
  const uint32_t rowCount = Core::ReadValue<uint32_t>(file);
  const uint32_t activeRowCount = Core::ReadValue<uint32_t>(file);
  const uint8_t active = Core::ReadValue<uint8_t>(file);
  const float errorReduction = Core::ReadValue<float>(file);
  const uint8_t postCollision = Core::ReadValue<uint8_t>(file);
  const uint8_t flag = Core::ReadValue<uint8_t>(file);
  Core::SmartPointer<RigidBody> body1;
  Core::SmartPointer<RigidBody> body2;
  Core::ReadObjectPointer(file, body1);
  Core::ReadObjectPointer(file, body2);
  if (file.HasFailed()) return;
  // The row count sizes the solver's arrays; a joint without bodies cannot build rows.
  if (rowCount != GetDeclaredRowCount() || activeRowCount > rowCount + 1 || !body1 || !body2) {
    file.Fail();
    return;
  }
  m_kind = kind;
  m_rowCount = rowCount;
  m_activeRowCount = activeRowCount;
  m_active = active != 0 ? 1 : 0;
  m_errorReduction = errorReduction;
  GetSettings().postCollision = postCollision != 0;
  m_flag = flag;
  m_body1 = body1;
  m_body2 = body2;
}

}  // namespace Physics2D
