#pragma once
// A touching pair for one frame: a normal row that only pushes (restitution in the update, removal
// of the penetration in the post-collision correction) and a friction row bounded by the normal
// row's impulse. The normal points from the second body toward the first.
#include "physics/Physics_Joint.h"

namespace Physics2D {

class Contact : public Joint {
 public:
  VELKOR_DECLARE_CLASS(Contact);
  Contact();
  Contact(const Math::Vector2D& position, const Math::Vector2D& normal, const Math::Vector2D& anchor1,
          const Math::Vector2D& anchor2, float penetration, float restitution, float friction, uint8_t contactFlag);

  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  void Capture() override;
  void BuildRows() override;
  // The penetration left after the correction, measured along the normal between the two contact
  // points as they moved with their bodies; 0 once they have crossed over.
  float RefreshPenetration();

  void SetAnchor1(const Math::Vector2D& anchor) { m_anchor1 = anchor; }
  void SetAnchor2(const Math::Vector2D& anchor) { m_anchor2 = anchor; }
  const Math::Vector2D& GetPosition() const { return m_position; }
  const Math::Vector2D& GetNormal() const { return m_normal; }
  float GetPenetration() const { return m_penetration; }
  void SetPenetration(float penetration) { m_penetration = penetration; }
  float GetRestitution() const { return m_restitution; }
  float GetFriction() const { return m_friction; }
  uint8_t GetContactFlag() const { return m_contactFlag; }
  // A contact lives one frame, or one more when a new contact keeps it: a kept contact is not kept
  // again (not saved).
  bool WasKept() const { return m_wasKept; }
  void MarkKept() { m_wasKept = true; }

 protected:
  uint32_t GetDeclaredRowCount() const override { return 2; }

 private:
  Math::Vector2D m_position, m_normal, m_tangent, m_anchor1, m_anchor2, m_offset1, m_offset2;
  Math::Vector2D m_captureSeparation, m_currentSeparation, m_reserved;
  float m_reserved1 = 0.0f;
  float m_reserved2 = 0.0f;
  Math::Vector2D m_localPoint1, m_localPoint2, m_point1, m_point2, m_currentPoint1, m_currentPoint2, m_r1, m_r2;
  float m_penetration = 0.0f;
  float m_restitution = 0.0f;
  float m_friction = 0.0f;
  uint8_t m_contactFlag = 0;
  bool m_wasKept = false;
};

}  // namespace Physics2D
