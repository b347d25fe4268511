#include "scene/Engine_Mesh.h"

#include "renderer/Renderer_IRenderer.h"

namespace Engine {

// The client arrays hand the lists' storage to the renderer as plain floats.
static_assert(sizeof(Math::Vector3D) == 3 * sizeof(float), "positions are packed xyz");
static_assert(sizeof(Math::Vector2D) == 2 * sizeof(float), "coordinates are packed uv");
static_assert(sizeof(Math::Color) == 4 * sizeof(float), "colours are packed rgba");

Mesh::Mesh(const Mesh& other)
    : Core::Object(other),
      m_boundingBox(other.m_boundingBox),
      m_vector(other.m_vector),
      m_parts(other.m_parts),
      m_positions(other.m_positions),
      m_normals(other.m_normals),
      m_colors(other.m_colors),
      m_texCoords(other.m_texCoords),
      m_indices(other.m_indices),
      m_references(other.m_references),
      m_primitiveType(other.m_primitiveType) {}

Core::Object* Mesh::Clone() const { return new ("Engine_Mesh", 131) Mesh(*this); }

void Mesh::Clear() {
  m_parts.clear();
  m_positions.clear();
  m_normals.clear();
  m_colors.clear();
  m_texCoords.clear();
  m_indices.clear();
  m_references.clear();
}

void Mesh::BindArrays(Core::SmartPointer<Renderer::IRenderer> renderer) const {
  if (!m_positions.empty()) renderer->SetVertexArray(&m_positions[0].x);
  if (!m_indices.empty()) renderer->SetIndexArray32(m_indices.data());
  renderer->SetNormalArray(m_normals.empty() ? nullptr : &m_normals[0].x);
  renderer->SetColorArray(m_colors.empty() ? nullptr : &m_colors[0].r);
  renderer->SetSecondaryColorArray(nullptr);
  renderer->SetTextureCoordinateArray(0, m_texCoords.empty() ? nullptr : &m_texCoords[0].x);
  renderer->SetPrimitiveType(m_primitiveType);
}

void Mesh::DrawPart(Core::SmartPointer<Renderer::IRenderer> renderer, uint32_t part) const {
  renderer->DrawRange(m_parts[part].firstIndex, m_parts[part].lastIndex);
}

void Mesh::UnbindArrays(Core::SmartPointer<Renderer::IRenderer> renderer) const {
  renderer->SetVertexArray(nullptr);
  renderer->SetIndexArray32(nullptr);
  renderer->SetNormalArray(nullptr);
  renderer->SetColorArray(nullptr);
  renderer->SetSecondaryColorArray(nullptr);
  renderer->SetTextureCoordinateArray(0, nullptr);
}

}  // namespace Engine
