#include "tests/renderer/FakeRenderer.h"

#include <algorithm>
#include <cstring>

#include "renderer/Renderer_Surface.h"

namespace Renderer {

int FakeTexture::liveCount = 0;

FakeTexture::FakeTexture(const Core::String& name, int32_t width, int32_t height, uint32_t handle)
    : m_name(name), m_width(width), m_height(height), m_handle(handle) {
  ++liveCount;
}

FakeTexture::~FakeTexture() { --liveCount; }

FakeRenderer::FakeRenderer(const RendererDescriptor& descriptor) : m_descriptor(descriptor) {
  m_viewport.width = static_cast<int32_t>(descriptor.width);
  m_viewport.height = static_cast<int32_t>(descriptor.height);
}

FakeRenderer::~FakeRenderer() = default;

Core::SmartPointer<FakeRenderer> FakeRenderer::Install(const RendererDescriptor& descriptor) {
  Core::SmartPointer<FakeRenderer> renderer(new FakeRenderer(descriptor));
  IRenderer::SetInstance(renderer.Get());
  return renderer;
}

size_t FakeRenderer::CountCalls(const std::string& operation) const {
  return static_cast<size_t>(std::count(calls.begin(), calls.end(), operation));
}

void FakeRenderer::ClearLog() {
  calls.clear();
  draws.clear();
  surfaces.clear();
  colorClears.clear();
  presentCount = 0;
}

#define FAKE_STATE(Name, Type, member)                                   \
  void FakeRenderer::Set##Name(const Type& state) {                     \
    Record("Set" #Name);                                                \
    m_cache.member = state;                                             \
  }                                                                     \
  void FakeRenderer::Get##Name(Type& state) const { state = m_cache.member; }

FAKE_STATE(Material, Material, material)
FAKE_STATE(NormalizeNormalsState, NormalizeNormalsState, normalizeNormals)
FAKE_STATE(LightingState, LightingState, lighting)
FAKE_STATE(TextureUnit7State, TextureUnit7State, textureUnit7)
FAKE_STATE(TextureUnit6State, TextureUnit6State, textureUnit6)
FAKE_STATE(TextureUnit5State, TextureUnit5State, textureUnit5)
FAKE_STATE(TextureUnit4State, TextureUnit4State, textureUnit4)
FAKE_STATE(TextureUnit3State, TextureUnit3State, textureUnit3)
FAKE_STATE(TextureUnit2State, TextureUnit2State, textureUnit2)
FAKE_STATE(TextureUnit1State, TextureUnit1State, textureUnit1)
FAKE_STATE(TextureUnit0State, TextureUnit0State, textureUnit0)
FAKE_STATE(LineState, LineState, line)
FAKE_STATE(PointState, PointState, point)
FAKE_STATE(DitheringState, DitheringState, dithering)
FAKE_STATE(TriangleOffsetState, TriangleOffsetState, triangleOffset)
FAKE_STATE(StencilBufferState, StencilBufferState, stencilBuffer)
FAKE_STATE(DepthBufferState, DepthBufferState, depthBuffer)
FAKE_STATE(ShadingState, ShadingState, shading)
FAKE_STATE(FillingState, FillingState, filling)
FAKE_STATE(FogState, FogState, fog)
FAKE_STATE(CullingState, CullingState, culling)
FAKE_STATE(AlphaTestingState, AlphaTestingState, alphaTesting)
FAKE_STATE(AlphaBlendingState, AlphaBlendingState, alphaBlending)
FAKE_STATE(ScissorState, ScissorState, scissor)
FAKE_STATE(ColorMaskState, ColorMaskState, colorMask)

#undef FAKE_STATE

void FakeRenderer::SetTexture(uint32_t unit, const Core::SmartPointer<ITexture>& texture) {
  Record("SetTexture");
  if (unit < kTextureSlots) m_textures[unit] = texture;
}

Core::SmartPointer<ITexture> FakeRenderer::GetTexture(uint32_t unit) const {
  return unit < kTextureSlots ? m_textures[unit] : nullptr;
}

void FakeRenderer::SetLight(uint32_t index, const Core::SmartPointer<Light>& light) {
  Record("SetLight");
  if (index < kLightCount) m_lights[index] = light;
}

Core::SmartPointer<Light> FakeRenderer::GetLight(uint32_t index) const {
  return index < kLightCount ? m_lights[index] : nullptr;
}

void FakeRenderer::SetTextureGenerationPlane(const Math::Vector4D& plane) {
  Record("SetTextureGenerationPlane");
  m_generationPlane = plane;
}

void FakeRenderer::SetColor(const Math::Color& color) {
  Record("SetColor");
  m_color = color;
}

Math::Color FakeRenderer::GetColor() const { return m_color; }

void FakeRenderer::SetVertexArray(const float* vertices) {
  Record("SetVertexArray");
  m_vertices = vertices;
}
void FakeRenderer::SetNormalArray(const float*) { Record("SetNormalArray"); }
void FakeRenderer::SetColorArray(const float* colors) {
  Record("SetColorArray");
  colorArray = colors;
}
void FakeRenderer::SetSecondaryColorArray(const float*) { Record("SetSecondaryColorArray"); }
void FakeRenderer::SetTextureCoordinateArray(uint32_t unit, const float* coordinates) {
  Record("SetTextureCoordinateArray");
  if (unit == 0) m_textureCoordinates = coordinates;
}
void FakeRenderer::SetIndexArray32(const uint32_t* indices) {
  Record("SetIndexArray32");
  m_indices = indices;
}
void FakeRenderer::SetIndexArray16(const uint16_t* indices) {
  Record("SetIndexArray16");
  m_indices = indices;
}
void FakeRenderer::SetPrimitiveType(int32_t primitive) {
  Record("SetPrimitiveType");
  m_primitive = primitive;
}
int32_t FakeRenderer::GetPrimitiveType() const { return m_primitive; }

void FakeRenderer::RecordDraw(int32_t primitive, uint32_t first, uint32_t count, bool indexed) {
  if (count == 0 || m_vertices == nullptr || primitive == 3 || primitive < 0 || primitive > 6) return;
  DrawCall draw;
  draw.primitive = primitive;
  draw.first = primitive == PrimitiveType::TriangleList ? first : 0;
  draw.count = count;
  draw.indexed = indexed;
  draw.vertices = m_vertices;
  draw.textureCoordinates = m_textureCoordinates;
  draw.boundTexture = m_textures[0] ? m_textures[0]->GetHandle() : 0;
  draw.blending = m_cache.alphaBlending;
  draws.push_back(draw);
}

void FakeRenderer::DrawRange(uint32_t first, uint32_t last) {
  Record("DrawRange");
  RecordDraw(m_primitive, first, last + 1 - first, m_indices != nullptr);
}

void FakeRenderer::Draw(uint32_t count) {
  Record("Draw");
  RecordDraw(m_primitive, 0, count, m_indices != nullptr);
}

void FakeRenderer::DrawPrimitives(int32_t primitive, int32_t first, uint32_t primitiveCount) {
  Record("DrawPrimitives");
  uint32_t vertices = 0;
  switch (primitive) {
    case PrimitiveType::Points: vertices = primitiveCount; break;
    case PrimitiveType::Lines: vertices = 2 * primitiveCount; break;
    case PrimitiveType::LineStrip: vertices = primitiveCount + 1; break;
    case PrimitiveType::TriangleList: vertices = 3 * primitiveCount; break;
    case PrimitiveType::TriangleStrip:
    case PrimitiveType::TriangleFan: vertices = primitiveCount + 2; break;
    default: return;
  }
  RecordDraw(primitive, static_cast<uint32_t>(first), vertices, false);
}

void FakeRenderer::DrawIndexedFromBuffer(int32_t primitive, uint32_t first, uint32_t count) {
  Record("DrawIndexedFromBuffer");
  if (m_indexBuffer) RecordDraw(primitive, first, count, true);
}

void FakeRenderer::SetVertexBuffer(uint32_t stream, const Core::SmartPointer<HardwareBuffer>& buffer) {
  Record("SetVertexBuffer");
  if (stream < 16) m_vertexBuffers[stream] = buffer;
}

void FakeRenderer::SetIndexBuffer(const Core::SmartPointer<HardwareBuffer>& buffer) {
  Record("SetIndexBuffer");
  m_indexBuffer = buffer;
}

void FakeRenderer::DrawSurface(const Core::SmartPointer<Surface>& surface, int32_t x, int32_t y, int32_t left,
                               int32_t bottom, int32_t right, int32_t top, bool flipX, bool flipY) {
  Record("DrawSurface");
  surfaces.push_back(SurfaceCall{surface, x, y, left, bottom, right, top, flipX, flipY});
}

void FakeRenderer::DrawRectangle(float, float, float, float) { Record("DrawRectangle"); }
void FakeRenderer::EnableLineStipple(bool enable) {
  Record("EnableLineStipple");
  m_stipple = enable;
}
bool FakeRenderer::IsLineStippleEnabled() const { return m_stipple; }
void FakeRenderer::SetLineStipplePattern(uint16_t pattern) {
  Record("SetLineStipplePattern");
  m_stipplePattern = pattern;
}
uint16_t FakeRenderer::GetLineStipplePattern() const { return m_stipplePattern; }
void FakeRenderer::SetLineStippleFactor(int32_t factor) {
  Record("SetLineStippleFactor");
  m_stippleFactor = factor;
}
int32_t FakeRenderer::GetLineStippleFactor() const { return m_stippleFactor; }

bool FakeRenderer::Present() {
  Record("Present");
  ++presentCount;
  return presentResult;
}

void FakeRenderer::SetViewport(const Viewport& viewport) {
  Record("SetViewport");
  m_viewport = viewport;
}
Viewport FakeRenderer::GetViewport() const { return m_viewport; }
void FakeRenderer::SetModelMatrix(const Math::Matrix4x4& matrix) {
  Record("SetModelMatrix");
  m_model = matrix;
}
Math::Matrix4x4 FakeRenderer::GetModelMatrix() const { return m_model; }
void FakeRenderer::SetViewMatrix(const Math::Matrix4x4& matrix) {
  Record("SetViewMatrix");
  m_view = matrix;
}
Math::Matrix4x4 FakeRenderer::GetViewMatrix() const { return m_view; }
void FakeRenderer::SetProjectionMatrix(const Math::Matrix4x4& matrix) {
  Record("SetProjectionMatrix");
  m_projection = matrix;
}
Math::Matrix4x4 FakeRenderer::GetProjectionMatrix() const { return m_projection; }
void FakeRenderer::SetTextureMatrix(uint32_t unit, const Math::Matrix4x4& matrix) {
  Record("SetTextureMatrix");
  if (unit < kTextureMatrixCount) m_textureMatrices[unit] = matrix;
}
Math::Matrix4x4 FakeRenderer::GetTextureMatrix(uint32_t unit) const {
  return unit < kTextureMatrixCount ? m_textureMatrices[unit] : Math::Matrix4x4();
}

namespace {
// out = m * (x, y, z, w) in doubles, m column-major.
void Transform(const double m[16], const double in[4], double out[4]) {
  for (int r = 0; r < 4; ++r) out[r] = m[r] * in[0] + m[4 + r] * in[1] + m[8 + r] * in[2] + m[12 + r] * in[3];
}
void Multiply(const Math::Matrix4x4& a, const Math::Matrix4x4& b, double out[16]) {
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += static_cast<double>(a.m[k * 4 + r]) * b.m[c * 4 + k];
      out[c * 4 + r] = sum;
    }
}
}  // namespace

bool FakeRenderer::Project(Math::Vector3D& out, const Math::Vector3D& in) const {
  double mvp[16];
  Multiply(m_projection, m_view * m_model, mvp);
  double point[4] = {in.x, in.y, in.z, 1.0}, clip[4];
  Transform(mvp, point, clip);
  if (clip[3] == 0.0) return false;
  const double nx = clip[0] / clip[3], ny = clip[1] / clip[3], nz = clip[2] / clip[3];
  out.x = static_cast<float>(m_viewport.x + (nx + 1.0) * 0.5 * m_viewport.width);
  out.y = static_cast<float>(m_viewport.y + (ny + 1.0) * 0.5 * m_viewport.height);
  out.z = static_cast<float>((nz + 1.0) * 0.5);
  return true;
}

bool FakeRenderer::UnProject(Math::Vector3D& out, const Math::Vector3D& in) const {
  Math::Matrix4x4 mvp = m_projection * (m_view * m_model);
  if (mvp.Determinant() == 0.0f) return false;
  Math::Matrix4x4 inverse = mvp.GetInverse();
  double m[16];
  for (int i = 0; i < 16; ++i) m[i] = inverse.m[i];
  if (m_viewport.width == 0 || m_viewport.height == 0) return false;
  double ndc[4] = {(in.x - m_viewport.x) * 2.0 / m_viewport.width - 1.0,
                   (in.y - m_viewport.y) * 2.0 / m_viewport.height - 1.0, in.z * 2.0 - 1.0, 1.0};
  double world[4];
  Transform(m, ndc, world);
  if (world[3] == 0.0) return false;
  out = Math::Vector3D(static_cast<float>(world[0] / world[3]), static_cast<float>(world[1] / world[3]),
                       static_cast<float>(world[2] / world[3]));
  return true;
}

void FakeRenderer::ClearColorBuffer(const Math::Color& color) {
  Record("ClearColorBuffer");
  m_clearColor = color;
  colorClears.push_back(color);
}
void FakeRenderer::ClearDepthBuffer(float) { Record("ClearDepthBuffer"); }
void FakeRenderer::ClearStencilBuffer(int32_t) { Record("ClearStencilBuffer"); }
void FakeRenderer::ClearBuffers(const Math::Color& color, float, int32_t) {
  Record("ClearBuffers");
  m_clearColor = color;
  colorClears.push_back(color);
}

void FakeRenderer::ReadPixels(void* buffer) {
  Record("ReadPixels");
  auto* bytes = static_cast<unsigned char*>(buffer);
  const auto channel = [](float value) {
    return static_cast<unsigned char>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
  };
  const size_t pixels = static_cast<size_t>(m_descriptor.width) * m_descriptor.height;
  for (size_t i = 0; i < pixels; ++i) {
    bytes[i * 3 + 0] = channel(m_clearColor.r);
    bytes[i * 3 + 1] = channel(m_clearColor.g);
    bytes[i * 3 + 2] = channel(m_clearColor.b);
  }
}

void FakeRenderer::SetDescriptor(const RendererDescriptor& descriptor) {
  Record("SetDescriptor");
  m_descriptor = descriptor;
}
RendererDescriptor FakeRenderer::GetDescriptor() const { return m_descriptor; }
void FakeRenderer::GetVersion(int32_t& major, int32_t& minor, int32_t& revision) const {
  major = 0;
  minor = 1;
  revision = 0;
}
void FakeRenderer::ToggleFullScreen() {
  Record("ToggleFullScreen");
  m_descriptor.fullScreen = m_descriptor.fullScreen ? 0 : 1;
}
void FakeRenderer::SetVSync(bool enabled) {
  Record("SetVSync");
  m_descriptor.verticalSync = enabled ? 1 : 0;
}
bool FakeRenderer::IsVSync() const { return m_descriptor.verticalSync != 0; }

}  // namespace Renderer
