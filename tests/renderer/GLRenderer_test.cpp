// The OpenGL renderer on a real context (Xvfb in CI): what each setter leaves in GL, textures,
// reading pixels back and projection.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>

#include "app/Engine_Application.h"
#include "platform/PAL_Window.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/opengl/Renderer_OGLRenderer.h"
#include "renderer/opengl/Renderer_TextureOGL.h"
#include "tests/renderer/ImageFiles.h"
#include "tests/support/TestSupport.h"

using namespace Renderer;

namespace {

class GLRendererTest : public ::testing::Test {
 protected:
  void Open(int32_t width, int32_t height) {
    m_window = std::make_unique<PAL::Window>(width, height);
    RendererDescriptor descriptor(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    descriptor.window = m_window.get();
    m_renderer = IRenderer::Create(descriptor);
    m_gl = dynamic_cast<OGLRenderer*>(m_renderer.Get());
  }
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    Open(128, 96);
  }
  void TearDown() override {
    m_renderer.Reset();
    m_window.reset();
  }
  std::string WritePng(const std::string& name, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba) {
    return m_folder.Write(name, TestSupport::EncodePng(width, height, rgba));
  }
  static GLint Integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
  }
  static GLfloat Float(GLenum name) {
    GLfloat value = 0;
    glGetFloatv(name, &value);
    return value;
  }
  std::vector<uint8_t> ReadBack() {
    const RendererDescriptor descriptor = m_renderer->GetDescriptor();
    std::vector<uint8_t> pixels(static_cast<size_t>(descriptor.width) * descriptor.height * 3);
    m_renderer->ReadPixels(pixels.data());
    return pixels;
  }

  std::unique_ptr<PAL::Window> m_window;
  Core::SmartPointer<IRenderer> m_renderer;
  OGLRenderer* m_gl = nullptr;
  TestSupport::ScratchFolder m_folder{"velkor_gl"};
  const std::string& m_directory = m_folder.Path();
};

// A state with the fields the setter gives it, to hand to the renderer in one call.
template <typename Kind, typename Setter>
Kind With(Setter set) {
  Kind state;
  set(state);
  return state;
}

}  // namespace

TEST_F(GLRendererTest, ContextReportsMultitextureAndTheExtensionLists) {
  EXPECT_TRUE(m_gl->HasMultitexture());
  EXPECT_GE(m_gl->GetTextureUnitCount(), 2);
  EXPECT_FALSE(m_gl->GetGLExtensions().empty());
  EXPECT_TRUE(m_gl->HasGLExtension("GL_ARB_multitexture"));
  EXPECT_EQ(IRenderer::GetInstance().Get(), m_renderer.Get());
  int32_t major = -1, minor = -1, revision = -1;
  m_renderer->GetVersion(major, minor, revision);
  EXPECT_EQ(minor, 1);
  const Viewport viewport = m_renderer->GetViewport();
  EXPECT_EQ(viewport.width, 128);
  EXPECT_EQ(viewport.height, 96);
  EXPECT_NE(m_window->GetPixelFormat(), 0);
}

TEST_F(GLRendererTest, EachSetterLeavesTheGLStateItNames) {
  AlphaBlendingState blending;
  blending.enabled = 1;
  blending.source = BlendFactor::One;
  blending.destination = 11;  // outside the list: zero
  m_renderer->SetAlphaBlendingState(blending);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(Integer(GL_BLEND_SRC), GL_ONE);
  EXPECT_EQ(Integer(GL_BLEND_DST), GL_ZERO);

  DepthBufferState depth;
  depth.function = 8;  // never
  depth.testEnabled = 1;
  depth.writeEnabled = 0;
  m_renderer->SetDepthBufferState(depth);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(Integer(GL_DEPTH_FUNC), GL_NEVER);
  EXPECT_EQ(Integer(GL_DEPTH_WRITEMASK), GL_FALSE);

  AlphaTestingState alphaTest;
  alphaTest.enabled = 1;
  alphaTest.function = CompareFunction::NotEqual;
  alphaTest.reference = 0.25f;
  m_renderer->SetAlphaTestingState(alphaTest);
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_EQ(Integer(GL_ALPHA_TEST_FUNC), GL_NOTEQUAL);
  EXPECT_FLOAT_EQ(Float(GL_ALPHA_TEST_REF), 0.25f);

  m_renderer->SetCullingState(With<CullingState>([](auto& s) { s.face = CullFace::Front; s.enabled = 1; }));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_EQ(Integer(GL_CULL_FACE_MODE), GL_FRONT);

  StencilBufferState stencil;
  stencil.enabled = 1;
  stencil.function = CompareFunction::Equal;
  stencil.reference = 3;
  stencil.compareMask = 0x0F;
  stencil.writeMask = 0xF0;
  stencil.failOperation = StencilOperation::Invert;
  stencil.depthFailOperation = 9;  // keep
  stencil.depthPassOperation = StencilOperation::Replace;
  m_renderer->SetStencilBufferState(stencil);
  EXPECT_TRUE(glIsEnabled(GL_STENCIL_TEST));
  EXPECT_EQ(Integer(GL_STENCIL_FUNC), GL_EQUAL);
  EXPECT_EQ(Integer(GL_STENCIL_REF), 3);
  EXPECT_EQ(Integer(GL_STENCIL_VALUE_MASK), 0x0F);
  EXPECT_EQ(Integer(GL_STENCIL_WRITEMASK), 0xF0);
  EXPECT_EQ(Integer(GL_STENCIL_FAIL), GL_INVERT);
  EXPECT_EQ(Integer(GL_STENCIL_PASS_DEPTH_FAIL), GL_KEEP);
  EXPECT_EQ(Integer(GL_STENCIL_PASS_DEPTH_PASS), GL_REPLACE);

  FogState fog;
  fog.enabled = 1;
  fog.mode = 7;  // squared exponential
  fog.start = 2.0f;
  fog.end = 9.0f;
  fog.density = 0.5f;
  m_renderer->SetFogState(fog);
  EXPECT_TRUE(glIsEnabled(GL_FOG));
  EXPECT_EQ(Integer(GL_FOG_MODE), GL_EXP2);
  EXPECT_FLOAT_EQ(Float(GL_FOG_END), 9.0f);
  EXPECT_FLOAT_EQ(Float(GL_FOG_DENSITY), 0.5f);

  ScissorState scissor;
  scissor.x = 4;
  scissor.y = 5;
  scissor.width = 6;
  scissor.height = 7;
  scissor.enabled = 0;
  m_renderer->SetScissorState(scissor);
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
  GLint box[4];
  glGetIntegerv(GL_SCISSOR_BOX, box);  // sent even while the test is off
  EXPECT_EQ(box[0], 4);
  EXPECT_EQ(box[3], 7);

  m_renderer->SetColorMaskState(With<ColorMaskState>([](auto& s) { s.green = 0; }));
  GLboolean channels[4];
  glGetBooleanv(GL_COLOR_WRITEMASK, channels);
  EXPECT_TRUE(channels[0]);
  EXPECT_FALSE(channels[1]);

  m_renderer->SetLightingState(With<LightingState>([](auto& s) { s.enabled = 1; s.localViewer = 0; }));
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_EQ(Integer(GL_LIGHT_MODEL_LOCAL_VIEWER), 0);

  m_renderer->SetShadingState(With<ShadingState>([](auto& s) { s.model = 0; }));
  EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_FLAT);
  m_renderer->SetFillingState(With<FillingState>([](auto& s) { s.mode = FillMode::Lines; }));
  GLint polygonMode[2];
  glGetIntegerv(GL_POLYGON_MODE, polygonMode);
  EXPECT_EQ(polygonMode[0], GL_LINE);
  TriangleOffsetState offset;
  offset.enabled = 1;
  offset.factor = 2.0f;
  offset.units = 3.0f;
  m_renderer->SetTriangleOffsetState(offset);
  EXPECT_TRUE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
  EXPECT_FLOAT_EQ(Float(GL_POLYGON_OFFSET_FACTOR), 2.0f);
  m_renderer->SetDitheringState(With<DitheringState>([](auto& s) { s.enabled = 0; }));
  EXPECT_FALSE(glIsEnabled(GL_DITHER));
  m_renderer->SetNormalizeNormalsState(With<NormalizeNormalsState>([](auto& s) { s.enabled = 1; }));
  EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
  m_renderer->SetLineState(With<LineState>([](auto& s) { s.width = 2.0f; }));
  EXPECT_FLOAT_EQ(Float(GL_LINE_WIDTH), 2.0f);
  m_renderer->SetPointState(With<PointState>([](auto& s) { s.size = 4.0f; }));
  EXPECT_FLOAT_EQ(Float(GL_POINT_SIZE), 4.0f);
  m_renderer->SetColor(Math::Color(0.25f, 0.5f, 0.75f, 1.0f));
  GLfloat color[4];
  glGetFloatv(GL_CURRENT_COLOR, color);
  EXPECT_FLOAT_EQ(color[1], 0.5f);
  Material material(Math::Color(0.1f, 0.1f, 0.1f, 1), Math::Color(0.9f, 0.1f, 0.1f, 1), Math::Color(0, 0, 0, 1),
                    Math::Color(0, 0, 0, 1), 10.0f);
  m_renderer->SetMaterial(material);
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, color);
  EXPECT_FLOAT_EQ(color[0], 0.9f);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GLRendererTest, TextureUnitStatesApplyOnlyWithATextureBound) {
  TextureUnit0State unit;
  unit.enabled = 1;
  unit.filter = TextureFilter::Linear;
  unit.applyMode = TextureApplyMode::Modulate;
  unit.wrapS = TextureWrap::ClampToEdge;
  unit.wrapT = 9;  // clamp
  m_renderer->SetTexture(0, nullptr);
  m_renderer->SetTextureUnit0State(unit);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));  // no texture: only the cache changes
  TextureUnit0State cached;
  m_renderer->GetTextureUnit0State(cached);
  EXPECT_EQ(cached, unit);

  auto texture = ITexture::Create(WritePng("unit.png", 4, 4, TestImages::Solid(4, 4, 1, 2, 3, 255)), false);
  m_renderer->SetTexture(0, texture);
  m_renderer->SetTextureUnit0State(unit);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture->GetHandle()));
  GLint value = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
  EXPECT_EQ(value, GL_LINEAR);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
  EXPECT_EQ(value, GL_CLAMP_TO_EDGE);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
  EXPECT_EQ(value, GL_CLAMP);
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
  EXPECT_EQ(value, GL_MODULATE);

  auto mipmapped = ITexture::Create(WritePng("mip.png", 8, 8, TestImages::Solid(8, 8, 1, 2, 3, 255)), true);
  m_renderer->SetTexture(0, mipmapped);
  unit.filter = TextureFilter::Nearest;
  unit.generationMode = 1;
  m_renderer->SetTextureUnit0State(unit);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
  EXPECT_EQ(value, GL_NEAREST_MIPMAP_NEAREST);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_Q));
  unit.generationMode = 0;
  unit.filter = 5;  // nearest without mipmap filtering
  m_renderer->SetTextureUnit0State(unit);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
  EXPECT_EQ(value, GL_NEAREST);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));

  // Unit 1 is its own unit in GL.
  TextureUnit1State second;
  second.enabled = 1;
  m_renderer->SetTexture(1, texture);
  m_renderer->SetTextureUnit1State(second);
  EXPECT_EQ(Integer(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  m_renderer->SetTexture(1, nullptr);
  m_renderer->SetTexture(0, nullptr);
  EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GLRendererTest, TextureUploadWithAndWithoutMipmapsAndTheCache) {
  const std::string path = WritePng("wide.png", 256, 64, TestImages::Solid(256, 64, 10, 20, 30, 255));
  auto plain = ITexture::Create(path, false);
  auto* texture = static_cast<TextureOGL*>(plain.Get());
  EXPECT_TRUE(texture->IsLoadedFromFile());
  EXPECT_EQ(plain->GetWidth(), 256);
  EXPECT_EQ(plain->GetHeight(), 64);
  EXPECT_FALSE(plain->HasMipmaps());
  EXPECT_EQ(texture->GetLevelSizes().size(), 1u);
  EXPECT_EQ(plain->GetType(), 1);
  EXPECT_EQ(plain->GetDepth(), 0);
  EXPECT_NE(plain->GetHandle(), 0u);
  // The same name answers the same texture, whatever the second call asks for.
  auto again = ITexture::Create(path, true);
  EXPECT_EQ(again.Get(), plain.Get());
  EXPECT_FALSE(again->HasMipmaps());
  again.Reset();
  plain.Reset();

  // After the last reference the name loads afresh; now with mipmaps, every level down to 1 x 1.
  auto mipmapped = ITexture::Create(path, true);
  auto* withLevels = static_cast<TextureOGL*>(mipmapped.Get());
  EXPECT_TRUE(mipmapped->HasMipmaps());
  const std::vector<std::pair<int32_t, int32_t>> expected = {{256, 64}, {128, 32}, {64, 16}, {32, 8}, {16, 4},
                                                             {8, 2},    {4, 1},    {2, 1},   {1, 1}};
  EXPECT_EQ(withLevels->GetLevelSizes(), expected);
  glBindTexture(GL_TEXTURE_2D, mipmapped->GetHandle());
  GLint width = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 8, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 1);
  std::vector<uint8_t> level(4);
  glGetTexImage(GL_TEXTURE_2D, 8, GL_RGBA, GL_UNSIGNED_BYTE, level.data());
  EXPECT_NEAR(level[0], 10, 1);
  EXPECT_NEAR(level[2], 30, 1);

  // Names differing only in case are different entries; a missing file gives the grey pattern.
  const std::string upper = WritePng("WIDE.png", 2, 2, TestImages::Solid(2, 2, 0, 0, 0, 255));
  auto other = ITexture::Create(upper, false);
  EXPECT_NE(other.Get(), mipmapped.Get());
  auto missing = ITexture::Create(m_directory + "/none.png", false);
  EXPECT_EQ(missing->GetWidth(), 256);
  EXPECT_EQ(missing->GetHeight(), 256);
  EXPECT_FALSE(static_cast<TextureOGL*>(missing.Get())->IsLoadedFromFile());
  // A corrupt file, with and without mipmaps, also ends as the pattern.
  const std::string corrupt = m_directory + "/corrupt.png";
  TestSupport::WriteWholeFile(corrupt, "\x89PNG\r\n\x1a\n garbage");
  EXPECT_EQ(ITexture::Create(corrupt, true)->GetWidth(), 256);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  // Reloading replaces the GL texture rather than leaving the old one allocated beside it.
  for (int i = 0; i < 3; ++i) {
    const GLuint before = mipmapped->GetHandle();
    mipmapped->Reload();
    EXPECT_NE(mipmapped->GetHandle(), 0u);
    EXPECT_TRUE(mipmapped->GetHandle() == before || !glIsTexture(before)) << "texture " << before << " leaked";
    EXPECT_EQ(mipmapped->GetWidth(), 256);
  }
}

TEST_F(GLRendererTest, ReadPixelsOfAClearColourStaysInsideTheBuffer) {
  m_renderer.Reset();
  m_window.reset();
  Open(101, 37);  // rows of 303 bytes: not a multiple of four
  m_renderer->ClearColorBuffer(Math::Color(0.2f, 0.4f, 0.6f, 1.0f));
  const size_t size = 101 * 37 * 3;
  std::vector<uint8_t> buffer(size + 64, 0xEE);
  m_renderer->ReadPixels(buffer.data());
  for (size_t i = size; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xEE) << "overrun at " << i;
  for (size_t i = 0; i < size; i += 3) {
    ASSERT_NEAR(buffer[i], 51, 1);
    ASSERT_NEAR(buffer[i + 1], 102, 1);
    ASSERT_NEAR(buffer[i + 2], 153, 1);
  }
  EXPECT_EQ(Integer(GL_PACK_ALIGNMENT), 4);  // put back
}

TEST_F(GLRendererTest, DrawsATexturedAlphaBlendedQuadWithTheSpriteEffect) {
  // 2 x 2 picture, top row red and green, bottom row blue and half-transparent white.
  const std::vector<uint8_t> rgba = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 128};
  auto texture = ITexture::Create(WritePng("quad.png", 2, 2, rgba), false);
  m_renderer->SetProjectionMatrix(Math::Matrix4x4::MakeOrtho2D(0, 128, 0, 96));
  m_renderer->ClearBuffers(Math::Color(0, 0, 0, 1), 1.0f, 0);
  auto effect = CreateSpriteEffect();
  // Nearest filtering so each quarter of the quad is one texel.
  static_cast<TextureUnit0State*>(effect->GetTechnique(0)->GetPass(0)->GetState(1).Get())->filter =
      TextureFilter::Nearest;
  const float vertices[] = {16, 16, 0, 80, 16, 0, 80, 80, 0, 16, 16, 0, 80, 80, 0, 16, 80, 0};
  const float coordinates[] = {0, 0, 1, 0, 1, 1, 0, 0, 1, 1, 0, 1};
  m_renderer->SetTexture(0, texture);
  effect->GetTechnique(0)->SaveStates();
  effect->GetTechnique(0)->GetPass(0)->Apply();
  m_renderer->SetVertexArray(vertices);
  m_renderer->SetTextureCoordinateArray(0, coordinates);
  m_renderer->SetPrimitiveType(PrimitiveType::TriangleList);
  m_renderer->Draw(6);
  effect->GetTechnique(0)->RestoreStates();
  EXPECT_FALSE(glIsEnabled(GL_BLEND));  // back as it was before the draw
  const std::vector<uint8_t> pixels = ReadBack();
  auto at = [&](int x, int y) { return &pixels[(static_cast<size_t>(y) * 128 + x) * 3]; };
  // Texture row 0 (the picture's bottom) is at the quad's bottom.
  EXPECT_GT(at(24, 24)[2], 240);  // blue, bottom left
  EXPECT_LT(at(24, 24)[0], 10);
  EXPECT_NEAR(at(72, 24)[0], 128, 3);  // white at half alpha over black
  EXPECT_GT(at(24, 72)[0], 240);  // red, top left
  EXPECT_GT(at(72, 72)[1], 240);  // green, top right
  EXPECT_LT(at(8, 8)[0] + at(8, 8)[1] + at(8, 8)[2], 3);  // outside the quad: the clear colour
  m_renderer->SetTexture(0, nullptr);
  m_renderer->SetVertexArray(nullptr);
  m_renderer->SetTextureCoordinateArray(0, nullptr);
}

TEST_F(GLRendererTest, DrawCallsWithoutVerticesOrCountsDrawNothing) {
  m_renderer->SetProjectionMatrix(Math::Matrix4x4::MakeOrtho2D(0, 128, 0, 96));
  m_renderer->ClearColorBuffer(Math::Color(0, 0, 0, 1));
  m_renderer->SetColor(Math::Color(1, 1, 1, 1));
  m_renderer->SetCullingState(With<CullingState>([](auto& s) { s.enabled = 0; }));
  const float vertices[] = {0, 0, 0, 128, 0, 0, 128, 96, 0, 0, 0, 0, 128, 96, 0, 0, 96, 0};
  m_renderer->Draw(6);  // no vertex array yet
  m_renderer->SetVertexArray(vertices);
  m_renderer->Draw(0);
  m_renderer->DrawRange(5, 4);
  m_renderer->SetPrimitiveType(3);
  m_renderer->Draw(6);
  m_renderer->DrawPrimitives(3, 0, 2);
  EXPECT_EQ(ReadBack()[0], 0);
  m_renderer->SetPrimitiveType(PrimitiveType::TriangleList);
  m_renderer->DrawRange(0, 5);
  EXPECT_EQ(ReadBack()[0], 255);
  m_renderer->SetVertexArray(nullptr);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GLRendererTest, ProjectAndUnProjectRoundTrip) {
  m_renderer->SetProjectionMatrix(Math::Matrix4x4::MakeOrtho2D(0, 128, 0, 96));
  Math::Vector3D window;
  ASSERT_TRUE(m_renderer->Project(window, Math::Vector3D(32, 48, 0)));
  EXPECT_NEAR(window.x, 32.0f, 1e-3f);
  EXPECT_NEAR(window.y, 48.0f, 1e-3f);
  m_renderer->SetProjectionMatrix(Math::Matrix4x4::MakePerspective(60.0f, 128.0f / 96.0f, 1.0f, 100.0f));
  m_renderer->SetViewMatrix(Math::Matrix4x4::MakeTranslation(0, 0, -10));
  m_renderer->SetModelMatrix(Math::Matrix4x4::MakeTranslation(1, 2, 0));
  const Math::Vector3D world(0.5f, -0.25f, 1.0f);
  ASSERT_TRUE(m_renderer->Project(window, world));
  Math::Vector3D back;
  ASSERT_TRUE(m_renderer->UnProject(back, window));
  EXPECT_NEAR(back.x, world.x, 1e-3f);
  EXPECT_NEAR(back.y, world.y, 1e-3f);
  EXPECT_NEAR(back.z, world.z, 1e-3f);
  // A singular transform fails and leaves the output alone.
  m_renderer->SetModelMatrix(Math::Matrix4x4::MakeScale(0, 0, 0));
  Math::Vector3D untouched(7, 8, 9);
  EXPECT_FALSE(m_renderer->UnProject(untouched, window));
  EXPECT_EQ(untouched.x, 7.0f);
}

TEST_F(GLRendererTest, MatricesLightsAndOutOfRangeIndices) {
  m_renderer->SetViewMatrix(Math::Matrix4x4::MakeTranslation(1, 0, 0));
  m_renderer->SetModelMatrix(Math::Matrix4x4::MakeTranslation(0, 2, 0));
  GLfloat loaded[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, loaded);
  EXPECT_FLOAT_EQ(loaded[12], 1.0f);
  EXPECT_FLOAT_EQ(loaded[13], 2.0f);
  m_renderer->SetTextureMatrix(1, Math::Matrix4x4::MakeScale(2, 2, 2));
  m_renderer->SetTextureMatrix(8, Math::Matrix4x4::MakeScale(3, 3, 3));  // ignored
  m_renderer->SetTextureMatrix(40, Math::Matrix4x4::MakeScale(3, 3, 3));
  EXPECT_EQ(m_renderer->GetTextureMatrix(1).m[0], 2.0f);
  EXPECT_EQ(m_renderer->GetTextureMatrix(8), Math::Matrix4x4());

  Core::SmartPointer<Light> light(new PointLight());
  m_renderer->SetLight(2, light);
  EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
  m_renderer->SetLight(2, nullptr);
  EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
  m_renderer->SetLight(8, light);  // ignored
  m_renderer->SetLight(1000, light);
  EXPECT_EQ(m_renderer->GetLight(8).Get(), nullptr);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GLRendererTest, PresentSwapsAndVerticalSyncIsKeptEvenWhenRefused) {
  EXPECT_TRUE(m_renderer->Present());
  m_renderer->SetVSync(true);
  EXPECT_TRUE(m_renderer->IsVSync());
  m_renderer->SetVSync(false);
  EXPECT_FALSE(m_renderer->IsVSync());
  // A surface copy queued for the frame is drawn and released by Present.
  Core::SmartPointer<Surface> surface(new Surface(8, 8, 0));
  m_renderer->DrawSurface(surface, -4, -4, 0, 0, 8, 8, true, false);
  EXPECT_EQ(surface->GetReferenceCount(), 2u);
  EXPECT_TRUE(m_renderer->Present());
  EXPECT_EQ(surface->GetReferenceCount(), 1u);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GLRendererTest, TexturesReleasedAfterTheRendererTouchNothing) {
  auto texture = ITexture::Create(WritePng("late.png", 4, 4, TestImages::Solid(4, 4, 1, 1, 1, 255)), false);
  m_renderer->SetTexture(0, texture);
  m_renderer.Reset();
  EXPECT_EQ(IRenderer::GetInstance().Get(), nullptr);
  EXPECT_EQ(TextureManager::GetInstance(), nullptr);
  EXPECT_EQ(texture->GetHandle(), 0u);
  texture.Reset();  // must not reach the destroyed manager nor call GL without a context
  EXPECT_EQ(ITexture::Create("anything.png", false).Get(), nullptr);
}

