#pragma once
// Scenes shared by the physics tests and the benchmark: boxes on the static body (a ground at
// y = 0) and a simple broad phase that turns overlapping boxes into contacts.
#include <cstdint>
#include <vector>

#include "physics/Physics_Engine.h"

namespace PhysicsScenes {

struct Box {
  Physics2D::RigidBodyHandle handle = 0;
  float halfWidth = 0.5f;
  float halfHeight = 0.5f;
};

// A world of boxes whose contacts come from SweepContacts through the engine's contact callback.
class BoxWorld {
 public:
  BoxWorld();
  ~BoxWorld();
  BoxWorld(const BoxWorld&) = delete;
  BoxWorld& operator=(const BoxWorld&) = delete;

  Physics2D::PhysicsEngine& GetEngine() { return *m_engine; }
  const std::vector<Box>& GetBoxes() const { return m_boxes; }
  Physics2D::RigidBody* GetBody(size_t box) const;

  // A box of the given size and mass with its own gravity force (9.8 downward).
  Physics2D::RigidBodyHandle AddBox(float x, float y, float halfWidth, float halfHeight, float mass,
                                    uint32_t solverKind);
  void SetGround(bool ground) { m_ground = ground; }
  void SetRestitution(float restitution) { m_restitution = restitution; }
  void SetFriction(float friction) { m_friction = friction; }
  // Boxes closer than this already touch: resting boxes keep their contacts.
  void SetMargin(float margin) { m_margin = margin; }

  // One frame: Update, then PostCollisionUpdate (which asks for the contacts).
  void Step(float dt);
  // Hash of every body's position and orientation bits.
  uint64_t Hash() const;
  uint32_t GetLastContactCount() const { return m_lastContactCount; }

 private:
  static void ContactCallback(Physics2D::PhysicsEngine* engine, uint32_t data);
  void GenerateContacts();

  Core::SmartPointer<Physics2D::PhysicsEngine> m_engine;
  std::vector<Box> m_boxes;
  bool m_ground = true;
  float m_restitution = 0.3f;
  float m_friction = 0.5f;
  float m_margin = 0.01f;
  uint32_t m_slot = 0;
  uint32_t m_lastContactCount = 0;
  std::vector<uint32_t> m_order;
};

// Rows of boxes (1 x 1, mass 1) on the ground: base boxes at the bottom, one fewer in each row up.
void BuildPyramid(BoxWorld& world, uint32_t base, uint32_t solverKind);
// True while the top box is still above 90 % of its starting height and no box drifted sideways
// by more than half a box.
bool PyramidStands(const BoxWorld& world, const std::vector<float>& startX, const std::vector<float>& startY);
void RecordPositions(const BoxWorld& world, std::vector<float>& x, std::vector<float>& y);

}  // namespace PhysicsScenes
