#include "PhysicsScenes.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "physics/Physics_Force.h"

namespace PhysicsScenes {

namespace {
// The callback's data word is a u32: worlds are found through this table.
std::vector<BoxWorld*>& Worlds() {
  static std::vector<BoxWorld*> worlds;
  return worlds;
}

struct Oriented {
  Math::Vector2D center;
  Math::Vector2D axis[2];  // unit x and y axes of the box
  float half[2];
};

Oriented MakeOriented(const Physics2D::RigidBody& body, const Box& box) {
  Oriented o;
  o.center = body.GetPosition();
  const Math::Matrix3x3& r = body.GetRotationMatrix();
  o.axis[0] = Math::Vector2D(r.m[0], r.m[3]);
  o.axis[1] = Math::Vector2D(r.m[1], r.m[4]);
  o.half[0] = box.halfWidth;
  o.half[1] = box.halfHeight;
  return o;
}

float Project(const Oriented& o, const Math::Vector2D& axis) {
  return o.half[0] * std::fabs(o.axis[0].Dot(axis)) + o.half[1] * std::fabs(o.axis[1].Dot(axis));
}

struct Manifold {
  int count = 0;
  Math::Vector2D points[2];
  float separations[2] = {0.0f, 0.0f};
  Math::Vector2D normal;  // from the reference box toward the incident box
  bool referenceIsFirst = true;
};

// Separating-axis test over both boxes' face normals; the incident box's face is clipped against
// the side planes of the reference face (up to two points).
bool Collide(const Oriented& a, const Oriented& b, float margin, Manifold& out) {
  const Math::Vector2D d = b.center - a.center;
  float best = -3.4e38f;
  int bestBox = 0;
  int bestAxis = 0;
  for (int box = 0; box < 2; ++box) {
    const Oriented& o = box == 0 ? a : b;
    for (int k = 0; k < 2; ++k) {
      const Math::Vector2D axis = o.axis[k];
      const float separation = std::fabs(d.Dot(axis)) - Project(a, axis) - Project(b, axis);
      if (separation > margin) return false;
      // Prefer the first box's faces on near ties so the choice does not flicker.
      if (separation > best + 1e-4f) {
        best = separation;
        bestBox = box;
        bestAxis = k;
      }
    }
  }
  const Oriented& reference = bestBox == 0 ? a : b;
  const Oriented& incident = bestBox == 0 ? b : a;
  Math::Vector2D normal = reference.axis[bestAxis];
  const Math::Vector2D toIncident = incident.center - reference.center;
  if (toIncident.Dot(normal) < 0.0f) normal = -normal;

  // Incident face: the one most opposed to the normal.
  int incidentAxis = 0;
  float most = 0.0f;
  for (int k = 0; k < 2; ++k) {
    const float dot = std::fabs(incident.axis[k].Dot(normal));
    if (dot > most) {
      most = dot;
      incidentAxis = k;
    }
  }
  Math::Vector2D incidentNormal = incident.axis[incidentAxis];
  if (incidentNormal.Dot(normal) > 0.0f) incidentNormal = -incidentNormal;
  const Math::Vector2D faceCenter = incident.center + incidentNormal * incident.half[incidentAxis];
  const Math::Vector2D side = incident.axis[1 - incidentAxis] * incident.half[1 - incidentAxis];
  Math::Vector2D clip[2] = {faceCenter - side, faceCenter + side};

  // Clip against the reference face's two side planes.
  const Math::Vector2D tangent = reference.axis[1 - bestAxis];
  const float extent = reference.half[1 - bestAxis];
  const float centerT = reference.center.Dot(tangent);
  for (int s = 0; s < 2; ++s) {
    const float sign = s == 0 ? 1.0f : -1.0f;
    const float limit = sign * centerT + extent;
    const float d0 = sign * clip[0].Dot(tangent) - limit;
    const float d1 = sign * clip[1].Dot(tangent) - limit;
    if (d0 > 0.0f && d1 > 0.0f) return false;
    if (d0 > 0.0f) clip[0] = clip[0] + (clip[1] - clip[0]) * (d0 / (d0 - d1));
    if (d1 > 0.0f) clip[1] = clip[1] + (clip[0] - clip[1]) * (d1 / (d1 - d0));
  }
  const float faceOffset = reference.center.Dot(normal) + reference.half[bestAxis];
  out.count = 0;
  for (const Math::Vector2D& point : clip) {
    const float separation = point.Dot(normal) - faceOffset;
    if (separation <= margin) {
      out.points[out.count] = point;
      out.separations[out.count] = separation;
      ++out.count;
    }
  }
  out.normal = normal;
  out.referenceIsFirst = bestBox == 0;
  return out.count > 0;
}
}  // namespace

BoxWorld::BoxWorld() : m_engine(new (__FILE__, __LINE__) Physics2D::PhysicsEngine()) {
  auto& worlds = Worlds();
  m_slot = static_cast<uint32_t>(worlds.size());
  for (uint32_t i = 0; i < worlds.size(); ++i) {
    if (worlds[i] == nullptr) {
      m_slot = i;
      break;
    }
  }
  if (m_slot == worlds.size()) worlds.push_back(nullptr);
  worlds[m_slot] = this;
  m_engine->SetContactListUpdate(&ContactCallback);
  m_engine->SetContactListUpdateData(m_slot);
}

BoxWorld::~BoxWorld() {
  Worlds()[m_slot] = nullptr;
  m_engine->SetContactListUpdate(nullptr);
}

Physics2D::RigidBody* BoxWorld::GetBody(size_t box) const {
  return m_engine->GetRigidBody(m_boxes[box].handle).Get();
}

Physics2D::RigidBodyHandle BoxWorld::AddBox(float x, float y, float halfWidth, float halfHeight, float mass,
                                            uint32_t solverKind) {
  const float width = 2.0f * halfWidth;
  const float height = 2.0f * halfHeight;
  const float inertia = mass * (width * width + height * height) / 12.0f;
  Core::SmartPointer<Physics2D::RigidBody> body(new (__FILE__, __LINE__) Physics2D::RigidBody(
      Physics2D::MassProperties(mass, inertia, Math::Vector2D()), solverKind, nullptr, nullptr, nullptr));
  body->SetPosition(Math::Vector2D(x, y));
  const Physics2D::RigidBodyHandle handle = m_engine->AddRigidBody(body);
  uint32_t forceId = 0;
  m_engine->AddRigidBodyForce(handle, Core::SmartPointer<Physics2D::Force>(new (__FILE__, __LINE__)
                                                                               Physics2D::GravityForce()),
                              forceId);
  Box box;
  box.handle = handle;
  box.halfWidth = halfWidth;
  box.halfHeight = halfHeight;
  m_boxes.push_back(box);
  return handle;
}

void BoxWorld::Step(float dt) {
  m_engine->Update(dt);
  m_engine->PostCollisionUpdate(dt);
}

void BoxWorld::ContactCallback(Physics2D::PhysicsEngine*, uint32_t data) {
  auto& worlds = Worlds();
  if (data < worlds.size() && worlds[data] != nullptr) worlds[data]->GenerateContacts();
}

void BoxWorld::GenerateContacts() {
  m_lastContactCount = 0;
  const size_t count = m_boxes.size();
  std::vector<Oriented> shapes(count);
  std::vector<float> minX(count), maxX(count), minY(count), maxY(count);
  for (size_t i = 0; i < count; ++i) {
    shapes[i] = MakeOriented(*GetBody(i), m_boxes[i]);
    const float ex = Project(shapes[i], Math::Vector2D(1.0f, 0.0f));
    const float ey = Project(shapes[i], Math::Vector2D(0.0f, 1.0f));
    minX[i] = shapes[i].center.x - ex;
    maxX[i] = shapes[i].center.x + ex;
    minY[i] = shapes[i].center.y - ey;
    maxY[i] = shapes[i].center.y + ey;
  }

  // Ground first: the rows the solver meets first carry the weight of everything above.
  if (m_ground) {
    for (size_t i = 0; i < count; ++i) {
      if (minY[i] > m_margin) continue;
      const Oriented& o = shapes[i];
      for (int cx = -1; cx <= 1; cx += 2) {
        for (int cy = -1; cy <= 1; cy += 2) {
          const Math::Vector2D corner =
              o.center + o.axis[0] * (o.half[0] * static_cast<float>(cx)) + o.axis[1] * (o.half[1] * static_cast<float>(cy));
          if (corner.y > m_margin) continue;
          Core::SmartPointer<Physics2D::Contact> contact(new (__FILE__, __LINE__) Physics2D::Contact(
              corner, Math::Vector2D(0.0f, 1.0f), o.center, Math::Vector2D(), -corner.y, m_restitution, m_friction, 0));
          m_engine->AddContact(m_boxes[i].handle, 0, contact.Get());
          ++m_lastContactCount;
        }
      }
    }
  }

  // Sweep along x, then the candidate pairs in index order (bottom rows first in a pyramid).
  m_order.resize(count);
  for (uint32_t i = 0; i < count; ++i) m_order[i] = i;
  std::sort(m_order.begin(), m_order.end(), [&](uint32_t a, uint32_t b) {
    return minX[a] < minX[b] || (minX[a] == minX[b] && a < b);
  });
  std::vector<std::pair<uint32_t, uint32_t>> pairs;
  for (size_t s = 0; s < count; ++s) {
    const uint32_t i = m_order[s];
    for (size_t t = s + 1; t < count; ++t) {
      const uint32_t j = m_order[t];
      if (minX[j] > maxX[i] + m_margin) break;
      if (minY[j] > maxY[i] + m_margin || minY[i] > maxY[j] + m_margin) continue;
      pairs.emplace_back(std::min(i, j), std::max(i, j));
    }
  }
  std::sort(pairs.begin(), pairs.end());
  for (const auto& pair : pairs) {
    Manifold manifold;
    if (!Collide(shapes[pair.first], shapes[pair.second], m_margin, manifold)) continue;
    const uint32_t incident = manifold.referenceIsFirst ? pair.second : pair.first;
    const uint32_t reference = manifold.referenceIsFirst ? pair.first : pair.second;
    for (int p = 0; p < manifold.count; ++p) {
      Core::SmartPointer<Physics2D::Contact> contact(new (__FILE__, __LINE__) Physics2D::Contact(
          manifold.points[p], manifold.normal, shapes[incident].center, shapes[reference].center,
          -manifold.separations[p], m_restitution, m_friction, 1));
      m_engine->AddContact(m_boxes[incident].handle, m_boxes[reference].handle, contact.Get());
      ++m_lastContactCount;
    }
  }
}

uint64_t BoxWorld::Hash() const {
  uint64_t hash = 14695981039346656037ull;
  auto mix = [&](float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    for (int b = 0; b < 4; ++b) {
      hash ^= (bits >> (8 * b)) & 0xffu;
      hash *= 1099511628211ull;
    }
  };
  for (size_t i = 0; i < m_boxes.size(); ++i) {
    const Physics2D::RigidBody* body = GetBody(i);
    mix(body->GetPosition().x);
    mix(body->GetPosition().y);
    mix(body->GetOrientationRadians());
  }
  return hash;
}

void BuildPyramid(BoxWorld& world, uint32_t base, uint32_t solverKind) {
  const float size = 1.0f;
  const float spacing = 1.05f;
  for (uint32_t row = 0; row < base; ++row) {
    const uint32_t inRow = base - row;
    const float y = 0.5f * size + static_cast<float>(row) * size;
    for (uint32_t i = 0; i < inRow; ++i) {
      const float x = (static_cast<float>(i) - 0.5f * static_cast<float>(inRow - 1)) * spacing;
      world.AddBox(x, y, 0.5f * size, 0.5f * size, 1.0f, solverKind);
    }
  }
}

void RecordPositions(const BoxWorld& world, std::vector<float>& x, std::vector<float>& y) {
  x.clear();
  y.clear();
  for (size_t i = 0; i < world.GetBoxes().size(); ++i) {
    x.push_back(world.GetBody(i)->GetPosition().x);
    y.push_back(world.GetBody(i)->GetPosition().y);
  }
}

bool PyramidStands(const BoxWorld& world, const std::vector<float>& startX, const std::vector<float>& startY) {
  const size_t count = world.GetBoxes().size();
  if (count == 0 || startX.size() != count) return false;
  const Physics2D::RigidBody* top = world.GetBody(count - 1);
  if (!(top->GetPosition().y >= 0.9f * startY[count - 1])) return false;
  for (size_t i = 0; i < count; ++i) {
    if (!(std::fabs(world.GetBody(i)->GetPosition().x - startX[i]) <= 0.5f)) return false;
  }
  return true;
}

}  // namespace PhysicsScenes
