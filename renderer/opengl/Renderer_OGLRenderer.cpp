#include "renderer/opengl/Renderer_OGLRenderer.h"

#include <algorithm>
#include <typeinfo>

#include "platform/PAL_Window.h"
#include "platform/PAL_WindowGL.h"
#include "renderer/opengl/Renderer_OpenGL.h"
#include "renderer/opengl/Renderer_TextureOGL.h"

namespace Renderer {

namespace {

GLenum CompareToGL(uint32_t value) {
  switch (value) {
    case CompareFunction::Less: return GL_LESS;
    case CompareFunction::Equal: return GL_EQUAL;
    case CompareFunction::LessOrEqual: return GL_LEQUAL;
    case CompareFunction::Greater: return GL_GREATER;
    case CompareFunction::GreaterOrEqual: return GL_GEQUAL;
    case CompareFunction::NotEqual: return GL_NOTEQUAL;
    case CompareFunction::Always: return GL_ALWAYS;
    default: return GL_NEVER;
  }
}

GLenum StencilToGL(uint32_t value) {
  switch (value) {
    case StencilOperation::Zero: return GL_ZERO;
    case StencilOperation::Replace: return GL_REPLACE;
    case StencilOperation::Increment: return GL_INCR;
    case StencilOperation::Decrement: return GL_DECR;
    case StencilOperation::Invert: return GL_INVERT;
    default: return GL_KEEP;
  }
}

GLenum BlendToGL(uint32_t value) {
  switch (value) {
    case BlendFactor::One: return GL_ONE;
    case BlendFactor::SourceColor: return GL_SRC_COLOR;
    case BlendFactor::OneMinusSourceColor: return GL_ONE_MINUS_SRC_COLOR;
    case BlendFactor::DestinationColor: return GL_DST_COLOR;
    case BlendFactor::OneMinusDestinationColor: return GL_ONE_MINUS_DST_COLOR;
    case BlendFactor::SourceAlpha: return GL_SRC_ALPHA;
    case BlendFactor::OneMinusSourceAlpha: return GL_ONE_MINUS_SRC_ALPHA;
    case BlendFactor::DestinationAlpha: return GL_DST_ALPHA;
    case BlendFactor::OneMinusDestinationAlpha: return GL_ONE_MINUS_DST_ALPHA;
    case BlendFactor::SourceAlphaSaturate: return GL_SRC_ALPHA_SATURATE;
    default: return GL_ZERO;
  }
}

GLint ApplyModeToGL(uint32_t value) {
  switch (value) {
    case TextureApplyMode::Replace: return GL_REPLACE;
    case TextureApplyMode::Decal: return GL_DECAL;
    case TextureApplyMode::Modulate: return GL_MODULATE;
    default: return GL_BLEND;
  }
}

GLint WrapToGL(uint32_t value) {
  switch (value) {
    case TextureWrap::Repeat: return GL_REPEAT;
    case TextureWrap::ClampToEdge: return GL_CLAMP_TO_EDGE;
    case TextureWrap::ClampToBorder: return GL_CLAMP_TO_BORDER;
    default: return GL_CLAMP;
  }
}

// -1 for the primitive types that draw nothing.
GLenum PrimitiveToGL(int32_t primitive, bool& drawable) {
  drawable = true;
  switch (primitive) {
    case PrimitiveType::Points: return GL_POINTS;
    case PrimitiveType::Lines: return GL_LINES;
    case PrimitiveType::LineStrip: return GL_LINE_STRIP;
    case PrimitiveType::TriangleList: return GL_TRIANGLES;
    case PrimitiveType::TriangleStrip: return GL_TRIANGLE_STRIP;
    case PrimitiveType::TriangleFan: return GL_TRIANGLE_FAN;
    default: drawable = false; return GL_POINTS;
  }
}

void Enable(GLenum capability, bool on) {
  if (on)
    glEnable(capability);
  else
    glDisable(capability);
}

void ColorArray(const Math::Color& c, GLfloat out[4]) {
  out[0] = c.r;
  out[1] = c.g;
  out[2] = c.b;
  out[3] = c.a;
}

// What the renderer asks of the display for a descriptor: its colour, depth and stencil bits, any
// channel split, its samples, and buffers swapped by exchange.
PixelFormatRecord PixelFormatRequest(const RendererDescriptor& descriptor) {
  PixelFormatRecord request;
  request.colorBits = descriptor.colorBits;
  request.depthBits = descriptor.depthBits;
  request.stencilBits = descriptor.stencilBits;
  request.samples = descriptor.samples;
  request.multisampling = descriptor.samples != 0;
  request.swapMethod = 1;
  return request;
}

void ClientArray(GLenum array, const void* pointer) {
  if (pointer)
    glEnableClientState(array);
  else
    glDisableClientState(array);
}

}  // namespace

Core::SmartPointer<IRenderer> IRenderer::Create(const RendererDescriptor& descriptor) {
  Core::SmartPointer<IRenderer> renderer(new (__FILE__, __LINE__) OGLRenderer(descriptor));
  SetInstance(renderer.Get());
  return renderer;
}

PAL::WindowVisual IRenderer::GetWindowVisual(const RendererDescriptor& descriptor) {
  AdapterUser user;
  const Adapter* adapter = user.GetAdapter();
  PAL::WindowVisual visual;
  const int32_t chosen = adapter->GetPixelFormat(PixelFormatRequest(descriptor));
  if (const PixelFormatRecord* format = adapter->FindPixelFormat(chosen)) {
    visual.redBits = format->redBits;
    visual.greenBits = format->greenBits;
    visual.blueBits = format->blueBits;
    visual.alphaBits = format->alphaBits;
    visual.depthBits = format->depthBits;
    visual.stencilBits = format->stencilBits;
    visual.samples = format->multisampling ? format->samples : 0;
    visual.x11VisualId = format->visual;
    return visual;
  }
  // The display cannot list its formats (or offers none that fits): ask for the bits themselves.
  const uint32_t colorBits = descriptor.colorBits;
  visual.redBits = visual.blueBits = colorBits <= 16 ? 5 : 8;
  visual.greenBits = colorBits <= 16 ? 6 : 8;
  visual.alphaBits = colorBits >= 32 ? 8 : 0;
  visual.depthBits = descriptor.depthBits;
  visual.stencilBits = descriptor.stencilBits;
  visual.samples = descriptor.samples;
  return visual;
}

OGLRenderer* OGLRenderer::GetCurrent() {
  Core::SmartPointer<IRenderer> renderer = IRenderer::GetInstance();
  return dynamic_cast<OGLRenderer*>(renderer.Get());
}

OGLRenderer::OGLRenderer(const RendererDescriptor& descriptor) : m_descriptor(descriptor) {
  m_viewport.width = static_cast<int32_t>(descriptor.width);
  m_viewport.height = static_cast<int32_t>(descriptor.height);
  m_savedWidth = m_viewport.width;
  m_savedHeight = m_viewport.height;
  PAL::Window* window = m_descriptor.window;
  Adapter* adapter = m_adapterUser.GetAdapter();

  if (m_descriptor.fullScreen) {
    adapter->SetWantedDisplayMode(
        DisplayModeRecord{m_descriptor.width, m_descriptor.height, m_descriptor.colorBits, m_descriptor.refreshRate});
    adapter->SetFullScreen(true, window);
    if (!adapter->IsFullScreen()) m_descriptor.fullScreen = 0;  // a refused mode keeps the window
  }

  m_context = new (__FILE__, __LINE__) RenderingContext(window);
  if (!m_context->MakeCurrent(nullptr)) {
    m_textureManager = std::make_unique<TextureManager>();
    return;  // no window or no context: nothing can be drawn, but nothing crashes either
  }
  adapter->DescribeCurrentContext();
  // The window's visual was fixed when it was made (with GetWindowVisual's answer, when its maker
  // asked): the window records the format it really has, the chosen one when that is it.
  const int32_t chosen = adapter->GetPixelFormat(PixelFormatRequest(m_descriptor));
  const int32_t obtained = adapter->GetWindowPixelFormat(*window, chosen);
  window->SetPixelFormat(obtained != 0 ? obtained : chosen);

  m_glExtensions = SplitExtensionString(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
  m_gluExtensions = SplitExtensionString(reinterpret_cast<const char*>(gluGetString(GLU_EXTENSIONS)));
  m_windowSystemExtensions = m_context->GetExtensions().windowSystem;

  if (HasGLExtension("GL_ARB_multitexture") && GetEntryPoints().activeTexture != nullptr) {
    m_multitexture = 1;
    GLint units = 1;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
    m_textureUnits = std::max<GLint>(1, units);
  }
  m_swapControl = adapter->IsSwapControlAvailable() ? 1 : 0;
  ApplyVSync();

  glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
  glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
  glHint(GL_FOG_HINT, GL_NICEST);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
  glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
  glEnable(GL_LINE_SMOOTH);
  glEnable(GL_POINT_SMOOTH);

  SetModelMatrix(Math::Matrix4x4());
  SetViewMatrix(Math::Matrix4x4());
  SetProjectionMatrix(Math::Matrix4x4());
  SelectUnit(0, true);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  SelectUnit(0, true);

  Viewport viewport;
  viewport.width = static_cast<int32_t>(m_descriptor.width);
  viewport.height = static_cast<int32_t>(m_descriptor.height);
  SetViewport(viewport);

  m_textureManager = std::make_unique<TextureManager>();
}

OGLRenderer::~OGLRenderer() {
  // Textures that outlive the renderer are cut loose first: they must not reach the manager or GL.
  m_textureManager.reset();
  for (auto& texture : m_textures) texture.Reset();
  m_rasterCommands.clear();
  m_context.Reset();
  if (m_descriptor.fullScreen) m_adapterUser.GetAdapter()->SetFullScreen(false, m_descriptor.window);
}

bool OGLRenderer::HasGLExtension(const char* name) const {
  return std::find(m_glExtensions.begin(), m_glExtensions.end(), name) != m_glExtensions.end();
}

void OGLRenderer::SelectUnit(uint32_t unit, bool limitTo32) {
  if (m_multitexture && unit < static_cast<uint32_t>(m_textureUnits) && (!limitTo32 || unit < 32)) {
    m_activeUnit = unit;
    GetEntryPoints().activeTexture(GL_TEXTURE0_ARB + unit);
  } else {
    m_activeUnit = 0;
  }
}

// ---- states ----

void OGLRenderer::SetMaterial(const Material& state) {
  m_cache.material = state;
  GLfloat color[4];
  ColorArray(state.ambient, color);
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, color);
  ColorArray(state.diffuse, color);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, color);
  ColorArray(state.specular, color);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, color);
  ColorArray(state.emission, color);
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, color);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, state.shininess);
}

void OGLRenderer::SetNormalizeNormalsState(const NormalizeNormalsState& state) {
  m_cache.normalizeNormals = state;
  Enable(GL_NORMALIZE, state.enabled != 0);
}

void OGLRenderer::SetLightingState(const LightingState& state) {
  m_cache.lighting = state;
  Enable(GL_LIGHTING, state.enabled != 0);
  glLightModelf(GL_LIGHT_MODEL_LOCAL_VIEWER, state.localViewer ? 1.0f : 0.0f);
  GLfloat color[4];
  ColorArray(state.ambient, color);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, color);
}

void OGLRenderer::ApplyTextureUnit(uint32_t unit, const TexturingState& state) {
  CopyTextureUnitFields(m_cache.TextureUnit(unit), state);
  SelectUnit(unit, false);
  const Core::SmartPointer<ITexture>& texture = m_textures[m_activeUnit];
  if (!texture) return;
  const GLenum target = state.oneDimensional ? GL_TEXTURE_1D : GL_TEXTURE_2D;
  const bool mipmaps = texture->HasMipmaps();
  GLint magnification = GL_NEAREST, minification = GL_NEAREST;
  if (state.filter == TextureFilter::Linear) {
    magnification = GL_LINEAR;
    minification = mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
  } else if (state.filter == TextureFilter::Nearest) {
    minification = mipmaps ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST;
  }
  Enable(target, state.enabled != 0);
  glTexParameteri(target, GL_TEXTURE_MAG_FILTER, magnification);
  glTexParameteri(target, GL_TEXTURE_MIN_FILTER, minification);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, ApplyModeToGL(state.applyMode));
  glTexParameteri(target, GL_TEXTURE_WRAP_S, WrapToGL(state.wrapS));
  if (target != GL_TEXTURE_1D) glTexParameteri(target, GL_TEXTURE_WRAP_T, WrapToGL(state.wrapT));

  if (state.generationMode == 1) {
    if (state.oneDimensional) {
      const GLfloat plane[4] = {m_generationPlane.x, m_generationPlane.y, m_generationPlane.z, m_generationPlane.w};
      glEnable(GL_TEXTURE_GEN_S);
      glTexGenfv(GL_S, GL_OBJECT_PLANE, plane);
      glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    } else {
      static const GLfloat planes[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
      const GLenum coordinates[4] = {GL_S, GL_T, GL_R, GL_Q};
      const GLenum generation[4] = {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q};
      for (int i = 0; i < 4; ++i) {
        glEnable(generation[i]);
        glTexGeni(coordinates[i], GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
        glTexGenfv(coordinates[i], GL_EYE_PLANE, planes[i]);
      }
    }
  } else {
    glDisable(GL_TEXTURE_GEN_S);
    if (!state.oneDimensional) {
      glDisable(GL_TEXTURE_GEN_T);
      glDisable(GL_TEXTURE_GEN_R);
      glDisable(GL_TEXTURE_GEN_Q);
    }
  }
}

#define VELKOR_SET_TEXTURE_UNIT(N) \
  void OGLRenderer::SetTextureUnit##N##State(const TextureUnit##N##State& state) { ApplyTextureUnit(N, state); }
VELKOR_SET_TEXTURE_UNIT(7)
VELKOR_SET_TEXTURE_UNIT(6)
VELKOR_SET_TEXTURE_UNIT(5)
VELKOR_SET_TEXTURE_UNIT(4)
VELKOR_SET_TEXTURE_UNIT(3)
VELKOR_SET_TEXTURE_UNIT(2)
VELKOR_SET_TEXTURE_UNIT(1)
VELKOR_SET_TEXTURE_UNIT(0)
#undef VELKOR_SET_TEXTURE_UNIT

void OGLRenderer::SetLineState(const LineState& state) {
  m_cache.line = state;
  glLineWidth(state.width);
}

void OGLRenderer::SetPointState(const PointState& state) {
  m_cache.point = state;
  glPointSize(state.size);
}

void OGLRenderer::SetDitheringState(const DitheringState& state) {
  m_cache.dithering = state;
  Enable(GL_DITHER, state.enabled != 0);
}

void OGLRenderer::SetTriangleOffsetState(const TriangleOffsetState& state) {
  m_cache.triangleOffset = state;
  Enable(GL_POLYGON_OFFSET_FILL, state.enabled != 0);
  glPolygonOffset(state.factor, state.units);
}

void OGLRenderer::SetStencilBufferState(const StencilBufferState& state) {
  m_cache.stencilBuffer = state;
  Enable(GL_STENCIL_TEST, state.enabled != 0);
  glStencilMask(state.writeMask);
  glStencilFunc(CompareToGL(state.function), state.reference, state.compareMask);
  glStencilOp(StencilToGL(state.failOperation), StencilToGL(state.depthFailOperation),
              StencilToGL(state.depthPassOperation));
}

void OGLRenderer::SetDepthBufferState(const DepthBufferState& state) {
  m_cache.depthBuffer = state;
  Enable(GL_DEPTH_TEST, state.testEnabled != 0);
  glDepthMask(state.writeEnabled ? GL_TRUE : GL_FALSE);
  glDepthFunc(CompareToGL(state.function));
}

void OGLRenderer::SetShadingState(const ShadingState& state) {
  m_cache.shading = state;
  glShadeModel(state.model == ShadeModel::Smooth ? GL_SMOOTH : GL_FLAT);
}

void OGLRenderer::SetFillingState(const FillingState& state) {
  m_cache.filling = state;
  const GLenum mode = state.mode == FillMode::Points ? GL_POINT : state.mode == FillMode::Lines ? GL_LINE : GL_FILL;
  glPolygonMode(GL_FRONT_AND_BACK, mode);
}

void OGLRenderer::SetFogState(const FogState& state) {
  m_cache.fog = state;
  Enable(GL_FOG, state.enabled != 0);
  const GLint mode = state.mode == FogMode::Linear ? GL_LINEAR : state.mode == FogMode::Exponential ? GL_EXP : GL_EXP2;
  glFogi(GL_FOG_MODE, mode);
  GLfloat color[4];
  ColorArray(state.color, color);
  glFogfv(GL_FOG_COLOR, color);
  glFogf(GL_FOG_DENSITY, state.density);
  glFogf(GL_FOG_START, state.start);
  glFogf(GL_FOG_END, state.end);
}

void OGLRenderer::SetCullingState(const CullingState& state) {
  m_cache.culling = state;
  Enable(GL_CULL_FACE, state.enabled != 0);
  glCullFace(state.face != CullFace::Back ? GL_FRONT : GL_BACK);
}

void OGLRenderer::SetAlphaTestingState(const AlphaTestingState& state) {
  m_cache.alphaTesting = state;
  Enable(GL_ALPHA_TEST, state.enabled != 0);
  glAlphaFunc(CompareToGL(state.function), state.reference);
}

void OGLRenderer::SetAlphaBlendingState(const AlphaBlendingState& state) {
  m_cache.alphaBlending = state;
  Enable(GL_BLEND, state.enabled != 0);
  glBlendFunc(BlendToGL(state.source), BlendToGL(state.destination));
}

void OGLRenderer::SetScissorState(const ScissorState& state) {
  m_cache.scissor = state;
  Enable(GL_SCISSOR_TEST, state.enabled != 0);
  glScissor(state.x, state.y, std::max(0, state.width), std::max(0, state.height));
}

void OGLRenderer::SetColorMaskState(const ColorMaskState& state) {
  m_cache.colorMask = state;
  glColorMask(state.red ? GL_TRUE : GL_FALSE, state.green ? GL_TRUE : GL_FALSE, state.blue ? GL_TRUE : GL_FALSE,
              state.alpha ? GL_TRUE : GL_FALSE);
}

void OGLRenderer::GetMaterial(Material& state) const { state = m_cache.material; }
void OGLRenderer::GetNormalizeNormalsState(NormalizeNormalsState& state) const { state = m_cache.normalizeNormals; }
void OGLRenderer::GetLightingState(LightingState& state) const { state = m_cache.lighting; }
void OGLRenderer::GetTextureUnit7State(TextureUnit7State& state) const { state = m_cache.textureUnit7; }
void OGLRenderer::GetTextureUnit6State(TextureUnit6State& state) const { state = m_cache.textureUnit6; }
void OGLRenderer::GetTextureUnit5State(TextureUnit5State& state) const { state = m_cache.textureUnit5; }
void OGLRenderer::GetTextureUnit4State(TextureUnit4State& state) const { state = m_cache.textureUnit4; }
void OGLRenderer::GetTextureUnit3State(TextureUnit3State& state) const { state = m_cache.textureUnit3; }
void OGLRenderer::GetTextureUnit2State(TextureUnit2State& state) const { state = m_cache.textureUnit2; }
void OGLRenderer::GetTextureUnit1State(TextureUnit1State& state) const { state = m_cache.textureUnit1; }
void OGLRenderer::GetTextureUnit0State(TextureUnit0State& state) const { state = m_cache.textureUnit0; }
void OGLRenderer::GetLineState(LineState& state) const { state = m_cache.line; }
void OGLRenderer::GetPointState(PointState& state) const { state = m_cache.point; }
void OGLRenderer::GetDitheringState(DitheringState& state) const { state = m_cache.dithering; }
void OGLRenderer::GetTriangleOffsetState(TriangleOffsetState& state) const { state = m_cache.triangleOffset; }
void OGLRenderer::GetStencilBufferState(StencilBufferState& state) const { state = m_cache.stencilBuffer; }
void OGLRenderer::GetDepthBufferState(DepthBufferState& state) const { state = m_cache.depthBuffer; }
void OGLRenderer::GetShadingState(ShadingState& state) const { state = m_cache.shading; }
void OGLRenderer::GetFillingState(FillingState& state) const { state = m_cache.filling; }
void OGLRenderer::GetFogState(FogState& state) const { state = m_cache.fog; }
void OGLRenderer::GetCullingState(CullingState& state) const { state = m_cache.culling; }
void OGLRenderer::GetAlphaTestingState(AlphaTestingState& state) const { state = m_cache.alphaTesting; }
void OGLRenderer::GetAlphaBlendingState(AlphaBlendingState& state) const { state = m_cache.alphaBlending; }
void OGLRenderer::GetScissorState(ScissorState& state) const { state = m_cache.scissor; }
void OGLRenderer::GetColorMaskState(ColorMaskState& state) const { state = m_cache.colorMask; }

// ---- textures, lights, colour ----

void OGLRenderer::SetTexture(uint32_t unit, const Core::SmartPointer<ITexture>& texture) {
  SelectUnit(unit, true);
  m_textures[m_activeUnit] = texture;
  if (texture) {
    glBindTexture(texture->GetType() == 1 ? GL_TEXTURE_2D : GL_TEXTURE_1D, texture->GetHandle());
  } else {
    glBindTexture(GL_TEXTURE_1D, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
  }
}

Core::SmartPointer<ITexture> OGLRenderer::GetTexture(uint32_t unit) const {
  return unit < kTextureSlots ? m_textures[unit] : nullptr;
}

void OGLRenderer::SetLight(uint32_t index, const Core::SmartPointer<Light>& light) {
  if (index >= kLightCount) return;
  m_lights[index] = light;
  const GLenum id = GL_LIGHT0 + index;
  enum Kind { Point, Spot, Directional } kind = Directional;
  Math::Color ambient(0, 0, 0, 1), diffuse(1, 1, 1, 1), specular(1, 1, 1, 1);
  Math::Vector3D position, direction(0, 0, -1);
  float exponent = 0.0f, cutOff = 180.0f, constant = 1.0f, linear = 0.0f, quadratic = 0.0f;
  bool enabled = false;
  if (light) {
    ambient = light->ambient;
    diffuse = light->diffuse;
    specular = light->specular;
    enabled = light->enabled != 0;
    if (auto* spot = dynamic_cast<SpotLight*>(light.Get())) {
      kind = Spot;
      position = spot->position;
      direction = spot->direction;
      exponent = spot->exponent;
      cutOff = spot->cutOff;
      constant = spot->constantAttenuation;
      linear = spot->linearAttenuation;
      quadratic = spot->quadraticAttenuation;
    } else if (auto* point = dynamic_cast<PointLight*>(light.Get())) {
      kind = Point;
      position = point->position;
      constant = point->constantAttenuation;
      linear = point->linearAttenuation;
      quadratic = point->quadraticAttenuation;
    } else if (auto* directional = dynamic_cast<DirectionalLight*>(light.Get())) {
      direction = directional->direction;
    } else {
      return;  // a light of no known kind issues nothing
    }
  }
  Enable(id, enabled);
  GLfloat values[4];
  ColorArray(ambient, values);
  glLightfv(id, GL_AMBIENT, values);
  ColorArray(diffuse, values);
  glLightfv(id, GL_DIFFUSE, values);
  ColorArray(specular, values);
  glLightfv(id, GL_SPECULAR, values);
  if (kind == Directional) {
    const GLfloat towards[4] = {-direction.x, -direction.y, -direction.z, 0.0f};
    glLightfv(id, GL_POSITION, towards);
    return;
  }
  const GLfloat at[4] = {position.x, position.y, position.z, 1.0f};
  glLightfv(id, GL_POSITION, at);
  if (kind == Spot) {
    const GLfloat spotDirection[3] = {direction.x, direction.y, direction.z};
    glLightf(id, GL_SPOT_CUTOFF, cutOff);
    glLightfv(id, GL_SPOT_DIRECTION, spotDirection);
    glLightf(id, GL_SPOT_EXPONENT, exponent);
  } else {
    glLightf(id, GL_SPOT_CUTOFF, 180.0f);
  }
  glLightf(id, GL_CONSTANT_ATTENUATION, constant);
  glLightf(id, GL_LINEAR_ATTENUATION, linear);
  glLightf(id, GL_QUADRATIC_ATTENUATION, quadratic);
}

Core::SmartPointer<Light> OGLRenderer::GetLight(uint32_t index) const {
  return index < kLightCount ? m_lights[index] : nullptr;
}

void OGLRenderer::SetTextureGenerationPlane(const Math::Vector4D& plane) { m_generationPlane = plane; }

void OGLRenderer::SetColor(const Math::Color& color) {
  m_color = color;
  glColor4f(color.r, color.g, color.b, color.a);
}

Math::Color OGLRenderer::GetColor() const { return m_color; }

// ---- client arrays and drawing ----

void OGLRenderer::SetVertexArray(const float* vertices) {
  m_vertices = vertices;
  ClientArray(GL_VERTEX_ARRAY, vertices);
  if (vertices) glVertexPointer(3, GL_FLOAT, 0, vertices);
}

void OGLRenderer::SetNormalArray(const float* normals) {
  m_normals = normals;
  ClientArray(GL_NORMAL_ARRAY, normals);
  if (normals) glNormalPointer(GL_FLOAT, 0, normals);
}

void OGLRenderer::SetColorArray(const float* colors) {
  m_colors = colors;
  ClientArray(GL_COLOR_ARRAY, colors);
  if (colors) glColorPointer(4, GL_FLOAT, 0, colors);
}

void OGLRenderer::SetSecondaryColorArray(const float* colors) {
  auto pointer = GetEntryPoints().secondaryColorPointerEXT;
  if (pointer == nullptr) return;
  m_secondaryColors = colors;
  ClientArray(GL_SECONDARY_COLOR_ARRAY, colors);
  if (colors) pointer(3, GL_FLOAT, 0, colors);  // tightly packed, like every other array
}

void OGLRenderer::SetTextureCoordinateArray(uint32_t unit, const float* coordinates) {
  if (m_multitexture && GetEntryPoints().clientActiveTexture) {
    if (unit >= static_cast<uint32_t>(m_textureUnits)) return;
    GetEntryPoints().clientActiveTexture(GL_TEXTURE0_ARB + unit);
  }
  if (unit == 0) m_textureCoordinates = coordinates;
  ClientArray(GL_TEXTURE_COORD_ARRAY, coordinates);
  if (coordinates) glTexCoordPointer(2, GL_FLOAT, 0, coordinates);
}

void OGLRenderer::SetIndexArray32(const uint32_t* indices) {
  m_indices = indices;
  m_indices16 = false;
}

void OGLRenderer::SetIndexArray16(const uint16_t* indices) {
  m_indices = indices;
  m_indices16 = true;
}

void OGLRenderer::SetPrimitiveType(int32_t primitive) { m_primitive = primitive; }

int32_t OGLRenderer::GetPrimitiveType() const { return m_primitive; }

void OGLRenderer::DrawVertices(int32_t primitive, uint32_t first, uint32_t count) {
  if (m_vertices == nullptr || count == 0) return;
  bool drawable = false;
  const GLenum mode = PrimitiveToGL(primitive, drawable);
  if (!drawable) return;
  const uint32_t start = primitive == PrimitiveType::TriangleList ? first : 0;
  if (m_indices == nullptr) {
    glDrawArrays(mode, static_cast<GLint>(start), static_cast<GLsizei>(count));
  } else if (m_indices16) {
    glDrawElements(mode, static_cast<GLsizei>(count), GL_UNSIGNED_SHORT, static_cast<const uint16_t*>(m_indices) + start);
  } else {
    glDrawElements(mode, static_cast<GLsizei>(count), GL_UNSIGNED_INT, static_cast<const uint32_t*>(m_indices) + start);
  }
}

void OGLRenderer::DrawRange(uint32_t first, uint32_t last) {
  m_drawFirst = first;
  m_drawLast = last;
  m_drawCount = last - first + 1;  // last = first - 1 gives 0
  DrawVertices(m_primitive, m_drawFirst, m_drawCount);
  m_drawCount = m_drawFirst = m_drawLast = 0;
}

void OGLRenderer::Draw(uint32_t count) {
  m_drawCount = count;
  DrawVertices(m_primitive, 0, m_drawCount);
  m_drawCount = 0;
}

void OGLRenderer::DrawPrimitives(int32_t primitive, int32_t first, uint32_t primitiveCount) {
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
  bool drawable = false;
  const GLenum mode = PrimitiveToGL(primitive, drawable);
  if (drawable && vertices > 0 && first >= 0) glDrawArrays(mode, first, static_cast<GLsizei>(vertices));
}

void OGLRenderer::DrawIndexedFromBuffer(int32_t primitive, uint32_t first, uint32_t count) {
  if (!m_indexBuffer || count == 0) return;
  bool drawable = false;
  const GLenum mode = PrimitiveToGL(primitive, drawable);
  const void* data = m_indexBuffer->GetData();
  if (!drawable || data == nullptr) return;
  if (m_indexBuffer->Is32Bit())
    glDrawElements(mode, static_cast<GLsizei>(count), GL_UNSIGNED_INT, static_cast<const uint32_t*>(data) + first);
  else
    glDrawElements(mode, static_cast<GLsizei>(count), GL_UNSIGNED_SHORT, static_cast<const uint16_t*>(data) + first);
}

void OGLRenderer::SetVertexBuffer(uint32_t stream, const Core::SmartPointer<HardwareBuffer>& buffer) {
  if (stream >= 16) return;
  if (m_vertexBuffers[stream]) m_vertexBuffers[stream]->Unbind();
  m_vertexBuffers[stream] = buffer;
  if (buffer) buffer->Bind();
}

void OGLRenderer::SetIndexBuffer(const Core::SmartPointer<HardwareBuffer>& buffer) {
  if (m_indexBuffer) m_indexBuffer->Unbind();
  m_indexBuffer = buffer;
  if (buffer) buffer->Bind();
}

// ---- raster commands, rectangles, stipple ----

SurfaceCopy ClipSurfaceCopy(int32_t surfaceWidth, int32_t surfaceHeight, int32_t x, int32_t y, int32_t left,
                            int32_t bottom, int32_t right, int32_t top, int32_t viewportWidth, int32_t viewportHeight) {
  SurfaceCopy copy;
  // The source rectangle never reaches outside the surface.
  const int64_t sourceLeft = std::clamp<int64_t>(left, 0, surfaceWidth);
  const int64_t sourceBottom = std::clamp<int64_t>(bottom, 0, surfaceHeight);
  const int64_t sourceRight = std::clamp<int64_t>(right, sourceLeft, surfaceWidth);
  const int64_t sourceTop = std::clamp<int64_t>(top, sourceBottom, surfaceHeight);
  const int64_t w = sourceRight - sourceLeft, h = sourceTop - sourceBottom;
  const int64_t clippedLeft = std::max<int64_t>(x, 0), clippedBottom = std::max<int64_t>(y, 0);
  const int64_t clippedRight = std::min<int64_t>(int64_t{x} + w, viewportWidth);
  const int64_t clippedTop = std::min<int64_t>(int64_t{y} + h, viewportHeight);
  if (clippedRight - clippedLeft < 1 || clippedTop - clippedBottom < 1) return copy;
  copy.visible = true;
  copy.destinationLeft = static_cast<int32_t>(clippedLeft);
  copy.destinationBottom = static_cast<int32_t>(clippedBottom);
  copy.width = static_cast<int32_t>(clippedRight - clippedLeft);
  copy.height = static_cast<int32_t>(clippedTop - clippedBottom);
  // Skip exactly the columns and rows hidden past the left and bottom edges.
  copy.sourceColumn = static_cast<int32_t>(sourceLeft + (clippedLeft - x));
  copy.sourceRow = static_cast<int32_t>(sourceBottom + (clippedBottom - y));
  return copy;
}

void DrawSurfaceCommand::Execute(OGLRenderer& renderer) {
  if (!surface || surface->pixels.size() < static_cast<size_t>(surface->width) * surface->height * 4) return;
  const Viewport viewport = renderer.GetViewport();
  const SurfaceCopy copy =
      ClipSurfaceCopy(static_cast<int32_t>(surface->width), static_cast<int32_t>(surface->height), x, y, left, bottom,
                      right, top, viewport.width, viewport.height);
  if (!copy.visible) return;
  const int32_t rasterX = flipX ? copy.destinationLeft + copy.width : copy.destinationLeft;
  const int32_t rasterY = flipY ? copy.destinationBottom + copy.height : copy.destinationBottom;
  GLint alignment, rowLength, skipPixels, skipRows;
  GLfloat zoomX, zoomY;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
  glGetIntegerv(GL_UNPACK_SKIP_PIXELS, &skipPixels);
  glGetIntegerv(GL_UNPACK_SKIP_ROWS, &skipRows);
  glGetFloatv(GL_ZOOM_X, &zoomX);
  glGetFloatv(GL_ZOOM_Y, &zoomY);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(surface->width));
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, copy.sourceColumn);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, copy.sourceRow);
  glPixelZoom(flipX ? -1.0f : 1.0f, flipY ? -1.0f : 1.0f);
  glRasterPos2i(rasterX, rasterY);
  glDrawPixels(copy.width, copy.height, GL_RGBA, GL_UNSIGNED_BYTE, surface->pixels.data());
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, rowLength);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, skipPixels);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, skipRows);
  glPixelZoom(zoomX, zoomY);
  glRasterPos2i(0, 0);
}

void OGLRenderer::DrawSurface(const Core::SmartPointer<Surface>& surface, int32_t x, int32_t y, int32_t left,
                              int32_t bottom, int32_t right, int32_t top, bool flipX, bool flipY) {
  Core::SmartPointer<DrawSurfaceCommand> command(new (__FILE__, __LINE__) DrawSurfaceCommand());
  command->surface = surface;
  command->x = x;
  command->y = y;
  command->left = left;
  command->bottom = bottom;
  command->right = right;
  command->top = top;
  command->flipX = flipX ? 1 : 0;
  command->flipY = flipY ? 1 : 0;
  m_rasterCommands.emplace_back(command.Get());
}

void OGLRenderer::DrawRectangle(float x1, float y1, float x2, float y2) { glRectf(x1, y1, x2, y2); }

void OGLRenderer::EnableLineStipple(bool enable) {
  m_stipple = enable ? 1 : 0;
  Enable(GL_LINE_STIPPLE, enable);
}
bool OGLRenderer::IsLineStippleEnabled() const { return m_stipple != 0; }
void OGLRenderer::SetLineStipplePattern(uint16_t pattern) {
  m_stipplePattern = pattern;
  glLineStipple(m_stippleFactor, m_stipplePattern);
}
uint16_t OGLRenderer::GetLineStipplePattern() const { return m_stipplePattern; }
void OGLRenderer::SetLineStippleFactor(int32_t factor) {
  m_stippleFactor = factor;
  glLineStipple(m_stippleFactor, m_stipplePattern);
}
int32_t OGLRenderer::GetLineStippleFactor() const { return m_stippleFactor; }

bool OGLRenderer::Present() {
  if (!m_rasterCommands.empty()) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, m_viewport.width, 0.0, m_viewport.height);
    DepthBufferState saved;
    GetDepthBufferState(saved);
    DepthBufferState off;
    off.function = CompareFunction::Less;
    off.testEnabled = 0;
    off.writeEnabled = 0;
    SetDepthBufferState(off);
    for (const auto& command : m_rasterCommands) command->Execute(*this);
    SetDepthBufferState(saved);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    m_rasterCommands.clear();
  }
  if (m_descriptor.window == nullptr || !m_descriptor.window->IsOpen()) return false;
  PAL::SwapGLBuffers(*m_descriptor.window);
  return true;
}

// ---- viewport, matrices, projection ----

void OGLRenderer::SetViewport(const Viewport& viewport) {
  m_viewport = viewport;
  glViewport(viewport.x, viewport.y, std::max(0, viewport.width), std::max(0, viewport.height));
  glDepthRange(viewport.nearDepth, viewport.farDepth);
}

Viewport OGLRenderer::GetViewport() const {
  GLint box[4] = {m_viewport.x, m_viewport.y, m_viewport.width, m_viewport.height};
  GLfloat range[2] = {m_viewport.nearDepth, m_viewport.farDepth};
  glGetIntegerv(GL_VIEWPORT, box);
  glGetFloatv(GL_DEPTH_RANGE, range);
  Viewport viewport;
  viewport.x = box[0];
  viewport.y = box[1];
  viewport.width = box[2];
  viewport.height = box[3];
  viewport.nearDepth = range[0];
  viewport.farDepth = range[1];
  return viewport;
}

void OGLRenderer::LoadModelView() {
  m_modelView = m_view * m_model;
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(m_modelView.m);
}

void OGLRenderer::SetModelMatrix(const Math::Matrix4x4& matrix) {
  m_model = matrix;
  LoadModelView();
}
Math::Matrix4x4 OGLRenderer::GetModelMatrix() const { return m_model; }

void OGLRenderer::SetViewMatrix(const Math::Matrix4x4& matrix) {
  m_view = matrix;
  LoadModelView();
}
Math::Matrix4x4 OGLRenderer::GetViewMatrix() const { return m_view; }

void OGLRenderer::SetProjectionMatrix(const Math::Matrix4x4& matrix) {
  m_projection = matrix;
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(m_projection.m);
  glMatrixMode(GL_MODELVIEW);
}
Math::Matrix4x4 OGLRenderer::GetProjectionMatrix() const { return m_projection; }

void OGLRenderer::SetTextureMatrix(uint32_t unit, const Math::Matrix4x4& matrix) {
  if (unit >= kTextureMatrixCount) return;  // eight texture matrices: nothing to write beyond them
  m_textureMatrices[unit] = matrix;
  SelectUnit(unit, true);
  glMatrixMode(GL_TEXTURE);
  glLoadMatrixf(matrix.m);
  glMatrixMode(GL_MODELVIEW);
}

Math::Matrix4x4 OGLRenderer::GetTextureMatrix(uint32_t unit) const {
  return unit < kTextureMatrixCount ? m_textureMatrices[unit] : Math::Matrix4x4();
}

namespace {
void ToDoubles(const Math::Matrix4x4& matrix, GLdouble out[16]) {
  for (int i = 0; i < 16; ++i) out[i] = matrix.m[i];
}
}  // namespace

bool OGLRenderer::Project(Math::Vector3D& out, const Math::Vector3D& in) const {
  GLdouble modelView[16], projection[16], x, y, z;
  ToDoubles(m_view * m_model, modelView);
  ToDoubles(m_projection, projection);
  const GLint viewport[4] = {m_viewport.x, m_viewport.y, m_viewport.width, m_viewport.height};
  if (gluProject(in.x, in.y, in.z, modelView, projection, viewport, &x, &y, &z) != GL_TRUE) return false;
  out = Math::Vector3D(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
  return true;
}

bool OGLRenderer::UnProject(Math::Vector3D& out, const Math::Vector3D& in) const {
  GLdouble modelView[16], projection[16], x, y, z;
  ToDoubles(m_view * m_model, modelView);
  ToDoubles(m_projection, projection);
  const GLint viewport[4] = {m_viewport.x, m_viewport.y, m_viewport.width, m_viewport.height};
  if (gluUnProject(in.x, in.y, in.z, modelView, projection, viewport, &x, &y, &z) != GL_TRUE) return false;
  out = Math::Vector3D(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
  return true;
}

// ---- clearing and reading ----

void OGLRenderer::ClearColorBuffer(const Math::Color& color) {
  glClearColor(color.r, color.g, color.b, color.a);
  glClear(GL_COLOR_BUFFER_BIT);
}

void OGLRenderer::ClearDepthBuffer(float depth) {
  glClearDepth(depth);
  glClear(GL_DEPTH_BUFFER_BIT);
}

void OGLRenderer::ClearStencilBuffer(int32_t stencil) {
  glClearStencil(stencil);
  glClear(GL_STENCIL_BUFFER_BIT);
}

void OGLRenderer::ClearBuffers(const Math::Color& color, float depth, int32_t stencil) {
  glClearColor(color.r, color.g, color.b, color.a);
  glClearDepth(depth);
  glClearStencil(stencil);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void OGLRenderer::ReadPixels(void* buffer) {
  if (buffer == nullptr) return;
  // Rows of width x 3 bytes are not 4-byte aligned: without alignment 1 the read overruns the buffer.
  GLint alignment = 4;
  glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, static_cast<GLsizei>(m_descriptor.width), static_cast<GLsizei>(m_descriptor.height), GL_RGB,
               GL_UNSIGNED_BYTE, buffer);
  glPixelStorei(GL_PACK_ALIGNMENT, alignment);
}

// ---- descriptor, full screen, vertical sync ----

void OGLRenderer::SetDescriptor(const RendererDescriptor& descriptor) { m_descriptor = descriptor; }
RendererDescriptor OGLRenderer::GetDescriptor() const { return m_descriptor; }

void OGLRenderer::GetVersion(int32_t& major, int32_t& minor, int32_t& revision) const {
  major = 0;
  minor = 1;
  revision = 0;
}

void OGLRenderer::ToggleFullScreen() {
  PAL::Window* window = m_descriptor.window;
  Adapter* adapter = m_adapterUser.GetAdapter();
  if (window == nullptr) return;
  const auto width = static_cast<int32_t>(m_descriptor.width), height = static_cast<int32_t>(m_descriptor.height);
  if (m_descriptor.fullScreen) {
    glFinish();
    adapter->SetFullScreen(false, window);
    window->SetBorder(true);
    window->SetClientSize(width, height);
    window->SetPosition(m_savedX, m_savedY);
    window->SetVisible(true);
    window->SetTopMost(false);
    m_descriptor.fullScreen = 0;
  } else {
    adapter->SetWantedDisplayMode(
        DisplayModeRecord{m_descriptor.width, m_descriptor.height, m_descriptor.colorBits, m_descriptor.refreshRate});
    if (!adapter->TestFullScreenMode()) {
      ApplyVSync();
      return;
    }
    glFinish();
    window->GetPosition(&m_savedX, &m_savedY);
    adapter->SetFullScreen(true, window);
    if (adapter->IsFullScreen()) {
      window->SetBorder(false);
      window->SetPosition(0, 0);
      window->SetClientSize(width, height);
      window->SetVisible(true);
      window->SetTopMost(true);
      m_descriptor.fullScreen = 1;
    }
  }
  ApplyVSync();
}

void OGLRenderer::ApplyVSync() {
  // A refused interval (virtual displays have no swap control) keeps the flag; it is never fatal.
  if (m_swapControl) PAL::SetGLSwapInterval(m_descriptor.verticalSync ? 1 : 0);
}

void OGLRenderer::SetVSync(bool enabled) {
  m_descriptor.verticalSync = enabled ? 1 : 0;
  ApplyVSync();
}

bool OGLRenderer::IsVSync() const { return m_descriptor.verticalSync != 0; }

}  // namespace Renderer
