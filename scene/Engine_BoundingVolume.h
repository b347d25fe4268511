#pragma once
// The box every node carries: in its own space, in world space, and as a mesh for the debug view.
#include "core/Core_Object.h"
#include "math/Math_BoundingBox.h"
#include "math/Math_Matrix4x4.h"
#include "scene/Engine_Mesh.h"

namespace Engine {

class BoundingVolume {
 public:
  BoundingVolume();
  // Copies both boxes and clones the debug mesh.
  BoundingVolume(const BoundingVolume& other);
  BoundingVolume& operator=(const BoundingVolume& other);

  // Each world corner = m x the matching local corner; centre and planes are left as they are.
  void Transform(const Math::Matrix4x4& m);
  // World box = the box enclosing both world boxes.
  void Merge(const BoundingVolume& other);
  // Copies the world corners into the debug mesh's vertices.
  void DrawDebug();
  // Local and world box = box.
  void Set(const Math::BoundingBox& box);

  Math::BoundingBox worldBox;
  Math::BoundingBox localBox;
  Core::SmartPointer<Mesh> debugMesh;
};

}  // namespace Engine
