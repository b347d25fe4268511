#pragma once
// A renderer that draws nothing and records what it is asked to do, with the real renderer's state
// cache rules (setters copy into the cache, getters copy it out, start-up values as the real one).
// Tests of effects, the scene graph and the render queue run against it without a display.
#include <string>
#include <vector>

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_Light.h"
#include "renderer/Renderer_StateCache.h"

namespace Renderer {

// A texture that is only a name, a size and a handle number; counts live instances.
class FakeTexture : public ITexture {
 public:
  static int liveCount;
  FakeTexture(const Core::String& name, int32_t width, int32_t height, uint32_t handle);
  ~FakeTexture() override;
  int32_t GetWidth() const override { return m_width; }
  int32_t GetHeight() const override { return m_height; }
  int32_t GetDepth() const override { return 0; }
  int32_t GetType() const override { return 1; }
  uint32_t GetHandle() const override { return m_handle; }
  void Reload() override {}
  void ReleaseHandle() override {}
  bool HasMipmaps() const override { return false; }
  const Core::String& GetName() const override { return m_name; }

 private:
  Core::String m_name;
  int32_t m_width, m_height;
  uint32_t m_handle;
};

class FakeRenderer : public IRenderer {
 public:
  struct DrawCall {
    int32_t primitive = 0;
    uint32_t first = 0;
    uint32_t count = 0;  // vertices or indices
    bool indexed = false;
    const float* vertices = nullptr;
    const float* textureCoordinates = nullptr;
    uint32_t boundTexture = 0;  // handle on unit 0 at the time of the draw
    AlphaBlendingState blending;  // as it stood at the time of the draw
  };
  struct SurfaceCall {
    Core::SmartPointer<Surface> surface;
    int32_t x, y, left, bottom, right, top;
    bool flipX, flipY;
  };

  // Every call of the interface except the getters, by operation name, in order.
  std::vector<std::string> calls;
  // The array the last SetColorArray was handed (null for none).
  const float* colorArray = nullptr;
  std::vector<DrawCall> draws;
  std::vector<SurfaceCall> surfaces;
  std::vector<Math::Color> colorClears;
  uint32_t presentCount = 0;
  bool presentResult = true;

  explicit FakeRenderer(const RendererDescriptor& descriptor = RendererDescriptor(640, 480));
  ~FakeRenderer() override;
  // Makes a fake and records it as the renderer singleton (the caller's pointer keeps it alive).
  static Core::SmartPointer<FakeRenderer> Install(const RendererDescriptor& descriptor = RendererDescriptor(640, 480));

  // The cache as it stands, for direct inspection.
  const StateCache& GetCache() const { return m_cache; }
  // How many times the operation was called since the last ClearLog.
  size_t CountCalls(const std::string& operation) const;
  void ClearLog();

  void SetMaterial(const Material& state) override;
  void SetNormalizeNormalsState(const NormalizeNormalsState& state) override;
  void SetLightingState(const LightingState& state) override;
  void SetTextureUnit7State(const TextureUnit7State& state) override;
  void SetTextureUnit6State(const TextureUnit6State& state) override;
  void SetTextureUnit5State(const TextureUnit5State& state) override;
  void SetTextureUnit4State(const TextureUnit4State& state) override;
  void SetTextureUnit3State(const TextureUnit3State& state) override;
  void SetTextureUnit2State(const TextureUnit2State& state) override;
  void SetTextureUnit1State(const TextureUnit1State& state) override;
  void SetTextureUnit0State(const TextureUnit0State& state) override;
  void SetLineState(const LineState& state) override;
  void SetPointState(const PointState& state) override;
  void SetDitheringState(const DitheringState& state) override;
  void SetTriangleOffsetState(const TriangleOffsetState& state) override;
  void SetStencilBufferState(const StencilBufferState& state) override;
  void SetDepthBufferState(const DepthBufferState& state) override;
  void SetShadingState(const ShadingState& state) override;
  void SetFillingState(const FillingState& state) override;
  void SetFogState(const FogState& state) override;
  void SetCullingState(const CullingState& state) override;
  void SetAlphaTestingState(const AlphaTestingState& state) override;
  void SetAlphaBlendingState(const AlphaBlendingState& state) override;
  void SetScissorState(const ScissorState& state) override;
  void SetColorMaskState(const ColorMaskState& state) override;

  void GetMaterial(Material& state) const override;
  void GetNormalizeNormalsState(NormalizeNormalsState& state) const override;
  void GetLightingState(LightingState& state) const override;
  void GetTextureUnit7State(TextureUnit7State& state) const override;
  void GetTextureUnit6State(TextureUnit6State& state) const override;
  void GetTextureUnit5State(TextureUnit5State& state) const override;
  void GetTextureUnit4State(TextureUnit4State& state) const override;
  void GetTextureUnit3State(TextureUnit3State& state) const override;
  void GetTextureUnit2State(TextureUnit2State& state) const override;
  void GetTextureUnit1State(TextureUnit1State& state) const override;
  void GetTextureUnit0State(TextureUnit0State& state) const override;
  void GetLineState(LineState& state) const override;
  void GetPointState(PointState& state) const override;
  void GetDitheringState(DitheringState& state) const override;
  void GetTriangleOffsetState(TriangleOffsetState& state) const override;
  void GetStencilBufferState(StencilBufferState& state) const override;
  void GetDepthBufferState(DepthBufferState& state) const override;
  void GetShadingState(ShadingState& state) const override;
  void GetFillingState(FillingState& state) const override;
  void GetFogState(FogState& state) const override;
  void GetCullingState(CullingState& state) const override;
  void GetAlphaTestingState(AlphaTestingState& state) const override;
  void GetAlphaBlendingState(AlphaBlendingState& state) const override;
  void GetScissorState(ScissorState& state) const override;
  void GetColorMaskState(ColorMaskState& state) const override;

  void SetTexture(uint32_t unit, const Core::SmartPointer<ITexture>& texture) override;
  Core::SmartPointer<ITexture> GetTexture(uint32_t unit) const override;
  void SetLight(uint32_t index, const Core::SmartPointer<Light>& light) override;
  Core::SmartPointer<Light> GetLight(uint32_t index) const override;
  void SetTextureGenerationPlane(const Math::Vector4D& plane) override;
  void SetColor(const Math::Color& color) override;
  Math::Color GetColor() const override;

  void SetVertexArray(const float* vertices) override;
  void SetNormalArray(const float* normals) override;
  void SetColorArray(const float* colors) override;
  void SetSecondaryColorArray(const float* colors) override;
  void SetTextureCoordinateArray(uint32_t unit, const float* coordinates) override;
  void SetIndexArray32(const uint32_t* indices) override;
  void SetIndexArray16(const uint16_t* indices) override;
  void SetPrimitiveType(int32_t primitive) override;
  int32_t GetPrimitiveType() const override;

  void DrawRange(uint32_t first, uint32_t last) override;
  void Draw(uint32_t count) override;
  void DrawPrimitives(int32_t primitive, int32_t first, uint32_t primitiveCount) override;
  void DrawIndexedFromBuffer(int32_t primitive, uint32_t first, uint32_t count) override;
  void SetVertexBuffer(uint32_t stream, const Core::SmartPointer<HardwareBuffer>& buffer) override;
  void SetIndexBuffer(const Core::SmartPointer<HardwareBuffer>& buffer) override;

  void DrawSurface(const Core::SmartPointer<Surface>& surface, int32_t x, int32_t y, int32_t left, int32_t bottom,
                   int32_t right, int32_t top, bool flipX, bool flipY) override;
  void DrawRectangle(float x1, float y1, float x2, float y2) override;
  void EnableLineStipple(bool enable) override;
  bool IsLineStippleEnabled() const override;
  void SetLineStipplePattern(uint16_t pattern) override;
  uint16_t GetLineStipplePattern() const override;
  void SetLineStippleFactor(int32_t factor) override;
  int32_t GetLineStippleFactor() const override;

  bool Present() override;

  void SetViewport(const Viewport& viewport) override;
  Viewport GetViewport() const override;
  void SetModelMatrix(const Math::Matrix4x4& matrix) override;
  Math::Matrix4x4 GetModelMatrix() const override;
  void SetViewMatrix(const Math::Matrix4x4& matrix) override;
  Math::Matrix4x4 GetViewMatrix() const override;
  void SetProjectionMatrix(const Math::Matrix4x4& matrix) override;
  Math::Matrix4x4 GetProjectionMatrix() const override;
  void SetTextureMatrix(uint32_t unit, const Math::Matrix4x4& matrix) override;
  Math::Matrix4x4 GetTextureMatrix(uint32_t unit) const override;
  bool Project(Math::Vector3D& out, const Math::Vector3D& in) const override;
  bool UnProject(Math::Vector3D& out, const Math::Vector3D& in) const override;

  void ClearColorBuffer(const Math::Color& color) override;
  void ClearDepthBuffer(float depth) override;
  void ClearStencilBuffer(int32_t stencil) override;
  void ClearBuffers(const Math::Color& color, float depth, int32_t stencil) override;
  // Fills the buffer with the last clear colour.
  void ReadPixels(void* buffer) override;

  void SetDescriptor(const RendererDescriptor& descriptor) override;
  RendererDescriptor GetDescriptor() const override;
  void GetVersion(int32_t& major, int32_t& minor, int32_t& revision) const override;
  void ToggleFullScreen() override;
  void SetVSync(bool enabled) override;
  bool IsVSync() const override;

 private:
  void Record(const std::string& operation) { calls.push_back(operation); }
  void RecordDraw(int32_t primitive, uint32_t first, uint32_t count, bool indexed);

  RendererDescriptor m_descriptor;
  StateCache m_cache;
  Core::SmartPointer<ITexture> m_textures[kTextureSlots];
  Core::SmartPointer<Light> m_lights[kLightCount];
  Math::Vector4D m_generationPlane{0.0f, 0.0f, 0.0f, 0.0f};
  Math::Color m_color{0.0f, 0.0f, 0.0f, 1.0f};
  const float* m_vertices = nullptr;
  const float* m_textureCoordinates = nullptr;
  const void* m_indices = nullptr;
  int32_t m_primitive = PrimitiveType::TriangleList;
  Core::SmartPointer<HardwareBuffer> m_vertexBuffers[16];
  Core::SmartPointer<HardwareBuffer> m_indexBuffer;
  bool m_stipple = false;
  uint16_t m_stipplePattern = 0xAAAA;
  int32_t m_stippleFactor = 1;
  Viewport m_viewport;
  Math::Matrix4x4 m_model, m_view, m_projection;
  Math::Matrix4x4 m_textureMatrices[kTextureMatrixCount];
  Math::Color m_clearColor{0.0f, 0.0f, 0.0f, 0.0f};
};

}  // namespace Renderer
