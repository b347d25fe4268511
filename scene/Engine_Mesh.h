#pragma once
// The engine's geometry container: flat per-vertex lists in the layout the renderer's client arrays
// take directly, a 32-bit index list and parts, each a range of indices drawn in one call.
#include <cstdint>
#include <vector>

#include "core/Core_Object.h"
#include "math/Math_BoundingBox.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector3D.h"
#include "math/Math_Vector4D.h"

namespace Renderer {
class IRenderer;
}

namespace Engine {

struct MeshPart {
  uint32_t firstIndex = 0;
  uint32_t lastIndex = 0;  // inclusive
  int32_t reserved = -1;
  uint8_t transparent = 0;  // items drawing this part go to the blended list
};

class Mesh : public Core::Object {
 public:
  Mesh() = default;
  Mesh(const Mesh& other);
  Mesh& operator=(const Mesh&) = delete;
  ~Mesh() override = default;
  Core::Object* Clone() const override;

  void AddPart(const MeshPart& part) { m_parts.push_back(part); }
  void AddPosition(const Math::Vector3D& position) { m_positions.push_back(position); }
  void AddNormal(const Math::Vector3D& normal) { m_normals.push_back(normal); }
  void AddColor(const Math::Color& color) { m_colors.push_back(color); }
  void AddTexCoord(const Math::Vector2D& coordinate) { m_texCoords.push_back(coordinate); }
  void AddIndex(uint32_t index) { m_indices.push_back(index); }
  using Core::Object::AddReference;  // the reference count's, beside the kept-object list's
  void AddReference(const Core::SmartPointer<Core::Object>& object) { m_references.push_back(object); }

  // Callers keep index below the list sizes.
  void SetPosition(uint32_t index, const Math::Vector3D& position) { m_positions[index] = position; }
  void SetColor(uint32_t index, const Math::Color& color) { m_colors[index] = color; }
  void SetTexCoord(uint32_t index, const Math::Vector2D& coordinate) { m_texCoords[index] = coordinate; }
  MeshPart& GetPart(uint32_t index) { return m_parts[index]; }
  const MeshPart& GetPart(uint32_t index) const { return m_parts[index]; }

  void ResizePositions(uint32_t count) { m_positions.resize(count); }
  void ResizeColors(uint32_t count) { m_colors.resize(count); }
  void ResizeTexCoords(uint32_t count) { m_texCoords.resize(count); }
  // Every list to size 0; capacity kept for the next frame.
  void Clear();

  uint32_t GetPartCount() const { return static_cast<uint32_t>(m_parts.size()); }
  uint32_t GetPositionCount() const { return static_cast<uint32_t>(m_positions.size()); }
  uint32_t GetIndexCount() const { return static_cast<uint32_t>(m_indices.size()); }
  uint32_t GetReferenceCount() const { return static_cast<uint32_t>(m_references.size()); }
  const std::vector<Math::Vector3D>& GetPositions() const { return m_positions; }
  const std::vector<Math::Color>& GetColors() const { return m_colors; }
  const std::vector<Math::Vector2D>& GetTexCoords() const { return m_texCoords; }
  const std::vector<uint32_t>& GetIndices() const { return m_indices; }
  const Core::SmartPointer<Core::Object>& GetReference(uint32_t index) const { return m_references[index]; }
  int32_t GetPrimitiveType() const { return m_primitiveType; }

  void BindArrays(Core::SmartPointer<Renderer::IRenderer> renderer) const;
  void DrawPart(Core::SmartPointer<Renderer::IRenderer> renderer, uint32_t part) const;
  void UnbindArrays(Core::SmartPointer<Renderer::IRenderer> renderer) const;

 private:
  Math::BoundingBox m_boundingBox;
  Math::Vector4D m_vector{0.0f, 0.0f, 0.0f, 1.0f};
  std::vector<MeshPart> m_parts;
  std::vector<Math::Vector3D> m_positions;
  std::vector<Math::Vector3D> m_normals;
  std::vector<Math::Color> m_colors;
  std::vector<Math::Vector2D> m_texCoords;
  std::vector<uint32_t> m_indices;
  std::vector<Core::SmartPointer<Core::Object>> m_references;
  int32_t m_primitiveType = 4;
};

}  // namespace Engine
