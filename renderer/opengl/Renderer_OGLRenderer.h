#pragma once
// The OpenGL implementation of the renderer interface, on fixed-function OpenGL 1.x with GLU, over
// the platform layer's window and context.
#include <memory>
#include <string>
#include <vector>

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_Light.h"
#include "renderer/Renderer_StateCache.h"
#include "renderer/Renderer_Surface.h"
#include "renderer/opengl/Renderer_Adapter.h"
#include "renderer/opengl/Renderer_RenderingContext.h"

namespace Renderer {

class OGLRenderer;
class TextureManager;

// Drawing queued for the end of the frame, on top of the scene.
class RasterCommand : public Core::Object {
 public:
  virtual void Execute(OGLRenderer& renderer) = 0;
};

class DrawSurfaceCommand : public RasterCommand {
 public:
  Core::SmartPointer<Surface> surface;
  int32_t x = 0, y = 0;
  int32_t left = 0, bottom = 0, right = 0, top = 0;
  uint8_t flipX = 0, flipY = 0;
  void Execute(OGLRenderer& renderer) override;
};

// The part of a surface copy that lands in the viewport: the source rectangle is first clipped to
// the surface, then the destination to the viewport, skipping the hidden source columns and rows.
struct SurfaceCopy {
  bool visible = false;
  int32_t destinationLeft = 0, destinationBottom = 0, width = 0, height = 0;
  int32_t sourceColumn = 0, sourceRow = 0;
};
SurfaceCopy ClipSurfaceCopy(int32_t surfaceWidth, int32_t surfaceHeight, int32_t x, int32_t y, int32_t left,
                            int32_t bottom, int32_t right, int32_t top, int32_t viewportWidth, int32_t viewportHeight);

class OGLRenderer : public IRenderer {
 public:
  explicit OGLRenderer(const RendererDescriptor& descriptor);
  ~OGLRenderer() override;
  const char* GetClassName() const override { return "Renderer::OGLRenderer"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(OGLRenderer)); }

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
  void ReadPixels(void* buffer) override;

  void SetDescriptor(const RendererDescriptor& descriptor) override;
  RendererDescriptor GetDescriptor() const override;
  void GetVersion(int32_t& major, int32_t& minor, int32_t& revision) const override;
  void ToggleFullScreen() override;
  void SetVSync(bool enabled) override;
  bool IsVSync() const override;

  // Whether the name is in the GL extension list of the context.
  bool HasGLExtension(const char* name) const;
  const std::vector<std::string>& GetGLExtensions() const { return m_glExtensions; }
  const std::vector<std::string>& GetGLUExtensions() const { return m_gluExtensions; }
  const std::vector<std::string>& GetWindowSystemExtensions() const { return m_windowSystemExtensions; }
  bool HasMultitexture() const { return m_multitexture != 0; }
  int32_t GetTextureUnitCount() const { return m_textureUnits; }
  bool IsSwapControlAvailable() const { return m_swapControl != 0; }
  TextureManager* GetTextureManager() const { return m_textureManager.get(); }
  // The renderer that textures are made for (the singleton when it is an OGLRenderer).
  static OGLRenderer* GetCurrent();

 private:
  void SelectUnit(uint32_t unit, bool limitTo32);
  void ApplyTextureUnit(uint32_t unit, const TexturingState& state);
  void LoadModelView();
  void DrawVertices(int32_t primitive, uint32_t first, uint32_t count);
  void ApplyVSync();

  AdapterUser m_adapterUser;
  RendererDescriptor m_descriptor;
  uint8_t m_multitexture = 0;
  int32_t m_textureUnits = 1;
  uint8_t m_swapControl = 0;
  Core::SmartPointer<ITexture> m_textures[kTextureSlots];
  Math::Matrix4x4 m_model, m_view, m_modelView, m_projection;
  Math::Matrix4x4 m_textureMatrices[kTextureMatrixCount];
  Viewport m_viewport;
  uint32_t m_activeUnit = 0;
  Core::SmartPointer<HardwareBuffer> m_vertexBuffers[16];
  Core::SmartPointer<HardwareBuffer> m_indexBuffer;
  const float* m_vertices = nullptr;
  const float* m_colors = nullptr;
  const float* m_secondaryColors = nullptr;
  const float* m_textureCoordinates = nullptr;
  const float* m_normals = nullptr;
  const void* m_indices = nullptr;
  bool m_indices16 = false;
  uint32_t m_drawCount = 0, m_drawFirst = 0, m_drawLast = 0;
  int32_t m_primitive = PrimitiveType::TriangleList;
  Math::Color m_color{0.0f, 0.0f, 0.0f, 1.0f};
  Core::SmartPointer<Light> m_lights[kLightCount];
  std::vector<Core::SmartPointer<RasterCommand>> m_rasterCommands;
  Math::Vector4D m_generationPlane{0.0f, 0.0f, 0.0f, 0.0f};
  StateCache m_cache;
  int32_t m_savedX = 0, m_savedY = 0, m_savedWidth = 0, m_savedHeight = 0;
  uint8_t m_stipple = 0;
  uint16_t m_stipplePattern = 0xAAAA;
  int32_t m_stippleFactor = 1;
  std::vector<std::string> m_glExtensions, m_gluExtensions, m_windowSystemExtensions;
  Core::SmartPointer<RenderingContext> m_context;
  std::unique_ptr<TextureManager> m_textureManager;
};

}  // namespace Renderer
