#pragma once
// The one drawing interface of the engine: the scene graph, the render queue, the GUI and the render
// states talk to it and to nothing else of the graphics library.
#include <cstdint>

#include "core/Core_Object.h"
#include "math/Math_Color.h"
#include "math/Math_Matrix4x4.h"
#include "math/Math_Vector3D.h"
#include "math/Math_Vector4D.h"
#include "platform/PAL_Window.h"
#include "renderer/Renderer_RenderStates.h"

namespace Renderer {

class ITexture;
class Light;
class Surface;

// What the renderer is created with; GetDescriptor returns it whole, with the live full-screen and
// vertical-sync flags.
struct RendererDescriptor {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t refreshRate = 60;
  uint32_t samples = 0;
  uint32_t colorBits = 32;
  uint32_t depthBits = 24;
  uint32_t stencilBits = 8;
  PAL::Window* window = nullptr;  // borrowed
  uint8_t fullScreen = 0;
  uint8_t verticalSync = 0;

  RendererDescriptor() = default;
  // Refresh rate and colour depth come from the desktop's display mode when the adapter knows it.
  RendererDescriptor(uint32_t widthPixels, uint32_t heightPixels);
};

struct Viewport {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  float nearDepth = 0.0f;
  float farDepth = 1.0f;
};

// A hardware vertex or index buffer. Nothing in the engine makes one yet; the renderer only binds them.
class HardwareBuffer : public Core::Object {
 public:
  virtual void Bind() = 0;
  virtual void Unbind() = 0;
  virtual bool Is32Bit() const = 0;
  virtual const void* GetData() const = 0;
};

// Primitive types as the renderer's draw calls take them; 3 and anything else draw nothing.
namespace PrimitiveType {
enum : int32_t { Points = 0, Lines = 1, LineStrip = 2, TriangleList = 4, TriangleStrip = 5, TriangleFan = 6 };
}

class IRenderer : public Core::Object {
 public:
  static constexpr uint32_t kTextureSlots = 32;
  static constexpr uint32_t kLightCount = 8;
  static constexpr uint32_t kTextureMatrixCount = 8;

  // Creates the OpenGL renderer and records it as the renderer singleton. The descriptor's window
  // keeps the visual it was created with: for the descriptor's bits and samples, create it with
  // GetWindowVisual's answer.
  static Core::SmartPointer<IRenderer> Create(const RendererDescriptor& descriptor);
  // The visual a window needs for the descriptor's pixel format: the format the display offers for
  // its colour, depth and stencil bits and samples (the renderer chooses the same one), or those
  // bits themselves when the display cannot list its formats.
  static PAL::WindowVisual GetWindowVisual(const RendererDescriptor& descriptor);
  // The singleton (null before creation and after it is destroyed).
  static Core::SmartPointer<IRenderer> GetInstance();
  // Records any renderer as the singleton; tests hand in their fake.
  static void SetInstance(IRenderer* renderer);

  ~IRenderer() override;
  const char* GetClassName() const override { return "Renderer::IRenderer"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(IRenderer)); }

  // Setters copy the record into the renderer's cache and send it; getters copy the cache out.
  virtual void SetMaterial(const Material& state) = 0;
  virtual void SetNormalizeNormalsState(const NormalizeNormalsState& state) = 0;
  virtual void SetLightingState(const LightingState& state) = 0;
  virtual void SetTextureUnit7State(const TextureUnit7State& state) = 0;
  virtual void SetTextureUnit6State(const TextureUnit6State& state) = 0;
  virtual void SetTextureUnit5State(const TextureUnit5State& state) = 0;
  virtual void SetTextureUnit4State(const TextureUnit4State& state) = 0;
  virtual void SetTextureUnit3State(const TextureUnit3State& state) = 0;
  virtual void SetTextureUnit2State(const TextureUnit2State& state) = 0;
  virtual void SetTextureUnit1State(const TextureUnit1State& state) = 0;
  virtual void SetTextureUnit0State(const TextureUnit0State& state) = 0;
  virtual void SetLineState(const LineState& state) = 0;
  virtual void SetPointState(const PointState& state) = 0;
  virtual void SetDitheringState(const DitheringState& state) = 0;
  virtual void SetTriangleOffsetState(const TriangleOffsetState& state) = 0;
  virtual void SetStencilBufferState(const StencilBufferState& state) = 0;
  virtual void SetDepthBufferState(const DepthBufferState& state) = 0;
  virtual void SetShadingState(const ShadingState& state) = 0;
  virtual void SetFillingState(const FillingState& state) = 0;
  virtual void SetFogState(const FogState& state) = 0;
  virtual void SetCullingState(const CullingState& state) = 0;
  virtual void SetAlphaTestingState(const AlphaTestingState& state) = 0;
  virtual void SetAlphaBlendingState(const AlphaBlendingState& state) = 0;
  virtual void SetScissorState(const ScissorState& state) = 0;
  virtual void SetColorMaskState(const ColorMaskState& state) = 0;

  virtual void GetMaterial(Material& state) const = 0;
  virtual void GetNormalizeNormalsState(NormalizeNormalsState& state) const = 0;
  virtual void GetLightingState(LightingState& state) const = 0;
  virtual void GetTextureUnit7State(TextureUnit7State& state) const = 0;
  virtual void GetTextureUnit6State(TextureUnit6State& state) const = 0;
  virtual void GetTextureUnit5State(TextureUnit5State& state) const = 0;
  virtual void GetTextureUnit4State(TextureUnit4State& state) const = 0;
  virtual void GetTextureUnit3State(TextureUnit3State& state) const = 0;
  virtual void GetTextureUnit2State(TextureUnit2State& state) const = 0;
  virtual void GetTextureUnit1State(TextureUnit1State& state) const = 0;
  virtual void GetTextureUnit0State(TextureUnit0State& state) const = 0;
  virtual void GetLineState(LineState& state) const = 0;
  virtual void GetPointState(PointState& state) const = 0;
  virtual void GetDitheringState(DitheringState& state) const = 0;
  virtual void GetTriangleOffsetState(TriangleOffsetState& state) const = 0;
  virtual void GetStencilBufferState(StencilBufferState& state) const = 0;
  virtual void GetDepthBufferState(DepthBufferState& state) const = 0;
  virtual void GetShadingState(ShadingState& state) const = 0;
  virtual void GetFillingState(FillingState& state) const = 0;
  virtual void GetFogState(FogState& state) const = 0;
  virtual void GetCullingState(CullingState& state) const = 0;
  virtual void GetAlphaTestingState(AlphaTestingState& state) const = 0;
  virtual void GetAlphaBlendingState(AlphaBlendingState& state) const = 0;
  virtual void GetScissorState(ScissorState& state) const = 0;
  virtual void GetColorMaskState(ColorMaskState& state) const = 0;

  virtual void SetTexture(uint32_t unit, const Core::SmartPointer<ITexture>& texture) = 0;
  virtual Core::SmartPointer<ITexture> GetTexture(uint32_t unit) const = 0;
  // Indices 0..7; others are ignored.
  virtual void SetLight(uint32_t index, const Core::SmartPointer<Light>& light) = 0;
  virtual Core::SmartPointer<Light> GetLight(uint32_t index) const = 0;
  virtual void SetTextureGenerationPlane(const Math::Vector4D& plane) = 0;
  virtual void SetColor(const Math::Color& color) = 0;
  virtual Math::Color GetColor() const = 0;

  // Client arrays are borrowed: they must stay alive until the draw that uses them.
  virtual void SetVertexArray(const float* vertices) = 0;
  virtual void SetNormalArray(const float* normals) = 0;
  virtual void SetColorArray(const float* colors) = 0;
  virtual void SetSecondaryColorArray(const float* colors) = 0;
  virtual void SetTextureCoordinateArray(uint32_t unit, const float* coordinates) = 0;
  virtual void SetIndexArray32(const uint32_t* indices) = 0;
  virtual void SetIndexArray16(const uint16_t* indices) = 0;
  virtual void SetPrimitiveType(int32_t primitive) = 0;
  virtual int32_t GetPrimitiveType() const = 0;

  // Draws vertices (or indices) first..last; last = first - 1 draws nothing.
  virtual void DrawRange(uint32_t first, uint32_t last) = 0;
  virtual void Draw(uint32_t count) = 0;
  virtual void DrawPrimitives(int32_t primitive, int32_t first, uint32_t primitiveCount) = 0;
  virtual void DrawIndexedFromBuffer(int32_t primitive, uint32_t first, uint32_t count) = 0;
  virtual void SetVertexBuffer(uint32_t stream, const Core::SmartPointer<HardwareBuffer>& buffer) = 0;
  virtual void SetIndexBuffer(const Core::SmartPointer<HardwareBuffer>& buffer) = 0;

  // Queues a copy of part of a surface to window pixels (origin bottom left), drawn by Present.
  virtual void DrawSurface(const Core::SmartPointer<Surface>& surface, int32_t x, int32_t y, int32_t left,
                           int32_t bottom, int32_t right, int32_t top, bool flipX, bool flipY) = 0;
  virtual void DrawRectangle(float x1, float y1, float x2, float y2) = 0;
  virtual void EnableLineStipple(bool enable) = 0;
  virtual bool IsLineStippleEnabled() const = 0;
  virtual void SetLineStipplePattern(uint16_t pattern) = 0;
  virtual uint16_t GetLineStipplePattern() const = 0;
  virtual void SetLineStippleFactor(int32_t factor) = 0;
  virtual int32_t GetLineStippleFactor() const = 0;

  // Draws the queued surface copies on top and swaps the buffers.
  virtual bool Present() = 0;

  virtual void SetViewport(const Viewport& viewport) = 0;
  virtual Viewport GetViewport() const = 0;
  virtual void SetModelMatrix(const Math::Matrix4x4& matrix) = 0;
  virtual Math::Matrix4x4 GetModelMatrix() const = 0;
  virtual void SetViewMatrix(const Math::Matrix4x4& matrix) = 0;
  virtual Math::Matrix4x4 GetViewMatrix() const = 0;
  virtual void SetProjectionMatrix(const Math::Matrix4x4& matrix) = 0;
  virtual Math::Matrix4x4 GetProjectionMatrix() const = 0;
  // Units 0..7; others are ignored (the getter answers the identity).
  virtual void SetTextureMatrix(uint32_t unit, const Math::Matrix4x4& matrix) = 0;
  virtual Math::Matrix4x4 GetTextureMatrix(uint32_t unit) const = 0;
  // World to window coordinates and back; false (out unchanged) on failure.
  virtual bool Project(Math::Vector3D& out, const Math::Vector3D& in) const = 0;
  virtual bool UnProject(Math::Vector3D& out, const Math::Vector3D& in) const = 0;

  virtual void ClearColorBuffer(const Math::Color& color) = 0;
  virtual void ClearDepthBuffer(float depth) = 0;
  virtual void ClearStencilBuffer(int32_t stencil) = 0;
  virtual void ClearBuffers(const Math::Color& color, float depth, int32_t stencil) = 0;
  // Reads the back buffer as tightly packed RGB rows, bottom row first: width x height x 3 bytes.
  virtual void ReadPixels(void* buffer) = 0;

  virtual void SetDescriptor(const RendererDescriptor& descriptor) = 0;
  virtual RendererDescriptor GetDescriptor() const = 0;
  virtual void GetVersion(int32_t& major, int32_t& minor, int32_t& revision) const = 0;
  virtual void ToggleFullScreen() = 0;
  virtual void SetVSync(bool enabled) = 0;
  virtual bool IsVSync() const = 0;
};

}  // namespace Renderer
