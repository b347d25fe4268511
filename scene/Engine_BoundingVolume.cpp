#include "scene/Engine_BoundingVolume.h"

#include "core/Core_Random.h"

namespace Engine {
namespace {
constexpr uint32_t kDebugIndices[36] = {0, 1, 5, 0, 5, 4, 3, 2, 1, 3, 1, 0, 3, 6, 2, 3, 7, 6,
                                        5, 6, 4, 4, 6, 7, 0, 7, 3, 0, 4, 7, 2, 6, 1, 6, 5, 1};
constexpr float kCorners[8][3] = {{5, 5, 5},   {-5, 5, 5},   {-5, 5, -5},  {5, 5, -5},
                                  {5, -5, 5},  {-5, -5, 5},  {-5, -5, -5}, {5, -5, -5}};

float RandomUnit() { return static_cast<float>(Core::Random() / static_cast<double>(Core::kRandomMaximum)); }
}  // namespace

BoundingVolume::BoundingVolume() : debugMesh(new ("Engine_Node", __LINE__) Mesh()) {
  debugMesh->AddPart(MeshPart{0, 35, -1, 1});
  const Math::Color color(RandomUnit(), RandomUnit(), RandomUnit(), 0.5f);
  for (int i = 0; i < 8; ++i) {
    debugMesh->AddPosition(Math::Vector3D());
    debugMesh->AddColor(color);
  }
  for (uint32_t index : kDebugIndices) debugMesh->AddIndex(index);
  for (int i = 0; i < 8; ++i) localBox.corners[i] = Math::Vector3D(kCorners[i][0], kCorners[i][1], kCorners[i][2]);
  worldBox = localBox;
}

BoundingVolume::BoundingVolume(const BoundingVolume& other)
    : worldBox(other.worldBox),
      localBox(other.localBox),
      debugMesh(other.debugMesh ? static_cast<Mesh*>(other.debugMesh->Clone()) : nullptr) {}

BoundingVolume& BoundingVolume::operator=(const BoundingVolume& other) {
  if (this == &other) return *this;
  worldBox = other.worldBox;
  localBox = other.localBox;
  debugMesh = other.debugMesh ? static_cast<Mesh*>(other.debugMesh->Clone()) : nullptr;
  return *this;
}

void BoundingVolume::Transform(const Math::Matrix4x4& m) {
  for (int i = 0; i < 8; ++i) worldBox.corners[i] = m * localBox.corners[i];
}

void BoundingVolume::Merge(const BoundingVolume& other) {
  const Math::BoundingBox own = worldBox;
  Math::BoundingBox::Merge(worldBox, own, other.worldBox, 0.0f);
}

void BoundingVolume::DrawDebug() {
  if (!debugMesh || debugMesh->GetPositionCount() < 8) return;
  for (uint32_t i = 0; i < 8; ++i) debugMesh->SetPosition(i, worldBox.corners[i]);
}

void BoundingVolume::Set(const Math::BoundingBox& box) {
  localBox = box;
  worldBox = box;
  DrawDebug();
}

}  // namespace Engine
