#include "gui/Gui_Graphics.h"

#include <cmath>

#include "core/Core_File.h"
#include "gui/Gui_Paths.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_ITexture.h"
#include "scene/Engine_BitmapFont.h"
#include "scene/Engine_RenderQueue.h"
#include "scene/Engine_TextureSource.h"

namespace GUI {

namespace {
Graphics* g_graphics = nullptr;
}  // namespace

Core::Object* ImageRenderContext::Clone() const {
  return new ("Gui_Graphics", __LINE__) ImageRenderContext(*this);
}

void ImageRenderContext::Reset() {
  modeValue = 0;
  TextRenderContext::Reset();
}

bool ImageRenderContext::IsReady() const { return GetEffect() && GetTexture(); }

void ImageRenderContext::PrepareDraw() {
  Core::SmartPointer<Renderer::Effect> effect = GetEffect();
  if (auto* image = dynamic_cast<ImageEffect*>(effect.Get())) {
    image->modeValue = modeValue;
    image->ApplyMode();
  }
}

int32_t GetScreenWidth() {
  Core::SmartPointer<Renderer::IRenderer> renderer = Renderer::IRenderer::GetInstance();
  return renderer ? static_cast<int32_t>(renderer->GetDescriptor().width) : 0;
}

int32_t GetScreenHeight() {
  Core::SmartPointer<Renderer::IRenderer> renderer = Renderer::IRenderer::GetInstance();
  return renderer ? static_cast<int32_t>(renderer->GetDescriptor().height) : 0;
}

NRectangle GetScreenRectangle() {
  return NRectangle(0.0f, 0.0f, static_cast<float>(GetScreenWidth()), static_cast<float>(GetScreenHeight()));
}

Graphics::Graphics()
    : effectA(new ("Gui_Graphics", __LINE__) ImageEffect()),
      effectB(new ("Gui_Graphics", __LINE__) ImageEffect()),
      texturedAlphaEffect(Renderer::CreateTexturedAlphaEffect()),
      clip(GetScreenRectangle()) {
  effectB->modeValue = 1;
  effectB->ApplyMode();
  whiteTexture = Engine::LoadTexture(GetSkinFilePath("White.png"), true);
}

Graphics::~Graphics() {
  if (g_graphics == this) g_graphics = nullptr;
}

Graphics* Graphics::GetInstance() { return g_graphics; }
void Graphics::SetInstance(Graphics* graphics) { g_graphics = graphics; }

void Graphics::Reset() {
  clip = GetScreenRectangle();
  flag0 = mirrorX = mirrorY = secondEffect = 0;
  depth = 0.0f;
  opacity = 1.0f;
  color = Math::Color(1.0f, 1.0f, 1.0f, 1.0f);
  lineWidth = 1;
  stipple = 0xAAAA;
}

void Graphics::SetFont(const Core::SmartPointer<Engine::BitmapFont>& newFont) { font = newFont; }

void Graphics::PrepareImage(const Core::SmartPointer<Engine::TextRenderContext>& context, const TRectangle& target,
                            const Core::SmartPointer<Renderer::ITexture>& texture) {
  if (!context) return;
  TRectangle clipped;
  if (!TRectangle::ClipTextured(clipped, target, clip)) {
    context->visible = 0;
    return;
  }
  context->visible = 1;
  context->SetEffect(secondEffect ? Core::SmartPointer<Renderer::Effect>(effectB.Get())
                                  : Core::SmartPointer<Renderer::Effect>(effectA.Get()));
  context->SetTexture(texture);
  context->color = Math::Color(color.r, color.g, color.b, opacity);
  const float l = clipped.left, b = clipped.bottom, r = clipped.GetRight(), t = clipped.GetTop();
  context->corners[0] = Math::Vector3D(l, b, 0.0f);
  context->corners[1] = Math::Vector3D(r, b, 0.0f);
  context->corners[2] = Math::Vector3D(r, t, 0.0f);
  context->corners[3] = Math::Vector3D(l, t, 0.0f);
  context->depth = depth;
  static const int kOrders[4][4] = {{0, 1, 2, 3}, {1, 0, 3, 2}, {3, 2, 1, 0}, {2, 3, 0, 1}};
  const int* order = kOrders[(mirrorX ? 1 : 0) + (mirrorY ? 2 : 0)];
  for (int k = 0; k < 4; ++k) context->texCoords[k] = clipped.texCoords[order[k]];
}

void Graphics::DrawImage(const Core::SmartPointer<Engine::TextRenderContext>& context) {
  // A context without texture (a picture that failed to load) is dropped, not drawn untextured.
  if (!context || !context->visible || !context->GetTexture()) return;
  if (Engine::RenderQueue* queue = Engine::RenderQueue::GetInstance())
    queue->AddScreenObject(Core::SmartPointer<Engine::ScreenObject>(context.Get()));
}

void Graphics::PrepareString(const Core::SmartPointer<Engine::StringRenderContext>& context, float x, float y,
                             const std::string& text, const Core::SmartPointer<Engine::BitmapFont>& textFont) {
  if (!context) return;
  context->ClearQuads();
  // Without this, a context that held glyphs last frame would stay ready with nothing to draw.
  context->SetEffect(nullptr);
  context->SetTexture(nullptr);
  if (!textFont) {
    context->visible = 0;
    return;
  }
  float w = 0.0f, h = 0.0f;
  textFont->MeasureText(text, w, h);
  NRectangle box(x, y, w, h), overlap;
  if (!NRectangle::Intersect(overlap, box, clip)) {
    context->visible = 0;
    return;
  }
  context->visible = 1;
  const size_t n = text.size();
  // Indices are 16-bit: a text of more quads than they can name is cut there.
  const size_t maximumQuads = 65536 / 4;
  const size_t quads = n < maximumQuads ? n : maximumQuads;
  context->vertices.reserve(quads * 4);
  context->texCoords.reserve(quads * 4);
  context->indices.reserve(quads * 6);

  const float spaceAdvance = static_cast<float>(textFont->GetGlyph(' ').advance);
  const float lineHeight = static_cast<float>(textFont->GetLineHeight());
  const float size = static_cast<float>(textFont->GetHeaderField(3));
  Core::SmartPointer<Renderer::ITexture> glyphTexture = textFont->GetTexture();
  float penX = x, penY = y;
  uint32_t k = 0;
  for (char byte : text) {
    const auto code = static_cast<int32_t>(static_cast<signed char>(byte));
    if (code == 9) {
      penX += 4.0f * spaceAdvance;
      continue;
    }
    if (code == 32) {
      penX += spaceAdvance;
      continue;
    }
    if (code == 10) {
      penY -= lineHeight;
      penX = x;
      continue;
    }
    if (code == 13) continue;
    const Engine::Glyph& glyph = textFont->GetGlyph(code);
    const float* uv = textFont->GetGlyphTexCoords(code);
    const float advance = static_cast<float>(glyph.advance);
    float offset = glyph.leftBearing;
    const float spacing = static_cast<float>(glyph.horizontalOffset);
    if (penX != 0.0f) {
      offset = std::ceil(offset);
      penX += spacing;
    }
    const float anchor = penX;
    penX = anchor + advance;
    if (penX != 0.0f) penX -= spacing;
    if (k >= quads) continue;
    TRectangle glyphRectangle(anchor - offset, penY, size, size);
    for (int corner = 0; corner < 4; ++corner)
      glyphRectangle.texCoords[corner] = Math::Vector2D(uv[corner * 2], uv[corner * 2 + 1]);
    TRectangle clipped;
    if (!TRectangle::ClipTextured(clipped, glyphRectangle, clip)) continue;
    context->SetEffect(effectA.Get());
    context->SetTexture(glyphTexture);
    context->color = Math::Color(color.r, color.g, color.b, opacity);
    context->depth = depth;
    const float l = clipped.left, b = clipped.bottom, r = clipped.GetRight(), t = clipped.GetTop();
    context->vertices.push_back(Math::Vector3D(l, b, 0.0f));
    context->vertices.push_back(Math::Vector3D(r, b, 0.0f));
    context->vertices.push_back(Math::Vector3D(r, t, 0.0f));
    context->vertices.push_back(Math::Vector3D(l, t, 0.0f));
    for (int corner = 0; corner < 4; ++corner) context->texCoords.push_back(clipped.texCoords[corner]);
    const auto base = static_cast<uint16_t>(4 * k);
    const uint16_t quadIndices[6] = {base, static_cast<uint16_t>(base + 1), static_cast<uint16_t>(base + 2), base,
                                     static_cast<uint16_t>(base + 2), static_cast<uint16_t>(base + 3)};
    context->indices.insert(context->indices.end(), quadIndices, quadIndices + 6);
    ++k;
  }
}

void Graphics::DrawString(const Core::SmartPointer<Engine::StringRenderContext>& context) {
  if (!context || !context->visible) return;
  if (Engine::RenderQueue* queue = Engine::RenderQueue::GetInstance())
    queue->AddScreenObject(Core::SmartPointer<Engine::ScreenObject>(context.Get()));
}

void Graphics::Save(Core::File& file) const {
  Math::WriteColor(file, color);
  clip.Save(file);
  Core::WriteValue(file, depth);
  Core::WriteValue(file, opacity);
  Core::WriteValue(file, lineWidth);
  Core::WriteValue(file, stipple);
  Core::WriteValue(file, flag0);
  Core::WriteValue(file, mirrorX);
  Core::WriteValue(file, mirrorY);
  Core::WriteValue(file, secondEffect);
  std::string fontName;
  if (font) fontName = Core::GetFileName(font->GetPath());
  file << fontName;
}

void Graphics::Load(Core::File& file) {
  Math::ReadColor(file, color);
  clip.Load(file);
  Core::ReadValue(file, depth);
  Core::ReadValue(file, opacity);
  Core::ReadValue(file, lineWidth);
  Core::ReadValue(file, stipple);
  Core::ReadValue(file, flag0);
  Core::ReadValue(file, mirrorX);
  Core::ReadValue(file, mirrorY);
  Core::ReadValue(file, secondEffect);
  std::string fontName;
  file >> fontName;
  if (!file.HasFailed() && !fontName.empty()) font = Engine::GetFont(GetFontPath(fontName));
}

}  // namespace GUI
