#include "gui/Gui_GuiImage.h"

#include <cmath>
#include <cstring>
#include <fstream>

#include "core/Core_File.h"
#include "platform/PAL_Path.h"
#include "renderer/Renderer_ITexture.h"
#include "scene/Engine_TextureSource.h"

namespace GUI {

VELKOR_IMPLEMENT_CLASS(GuiImage, "GUI::GuiImage");

namespace {

float ReadFloat(const uint8_t* bytes) {
  const uint32_t bits = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                        static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  float value;
  std::memcpy(&value, &bits, sizeof(value));
  return value;
}

// Finite, non-negative size, inner edges ordered inside the region.
bool IsSoundRecord(const SkinRecord& r) {
  const float values[8] = {r.x, r.y, r.width, r.height, r.innerLeft, r.innerRight, r.innerBottom, r.innerTop};
  for (float value : values)
    if (!std::isfinite(value)) return false;
  return r.width >= 0.0f && r.height >= 0.0f && 0.0f <= r.innerLeft && r.innerLeft <= r.innerRight &&
         r.innerRight <= r.width && 0.0f <= r.innerBottom && r.innerBottom <= r.innerTop && r.innerTop <= r.height;
}

// clamp(v, m): m above m, 0 below 0 (NaN gives 0).
float ClampPart(float v, float m) {
  if (v > m) return m;
  if (!(v >= 0.0f)) return 0.0f;
  return v;
}

bool Differs(const Math::Color& a, const Math::Color& b) { return a.r != b.r || a.g != b.g || a.b != b.b || a.a != b.a; }

}  // namespace

bool ParseSkinRecords(const uint8_t* data, size_t size, std::vector<SkinRecord>& records, std::string& error) {
  records.clear();
  if (data == nullptr || size < 4) {
    error = "too short for a record count (" + std::to_string(size) + " bytes)";
    return false;
  }
  const auto count = static_cast<int32_t>(static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
                                          static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24);
  if (count < 0) {
    error = "negative record count " + std::to_string(count);
    return false;
  }
  if (count > kMaximumSkinRecords) {
    error = "record count " + std::to_string(count) + " above the limit of " + std::to_string(kMaximumSkinRecords);
    return false;
  }
  const size_t expected = 4 + static_cast<size_t>(count) * kSkinRecordBytes;
  if (size != expected) {
    error = "record count " + std::to_string(count) + " needs " + std::to_string(expected) + " bytes, the file has " +
            std::to_string(size);
    return false;
  }
  std::vector<SkinRecord> parsed(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* p = data + 4 + static_cast<size_t>(i) * kSkinRecordBytes;
    SkinRecord& r = parsed[static_cast<size_t>(i)];
    r.x = ReadFloat(p);
    r.y = ReadFloat(p + 4);
    r.width = ReadFloat(p + 8);
    r.height = ReadFloat(p + 12);
    r.innerLeft = ReadFloat(p + 16);
    r.innerRight = ReadFloat(p + 20);
    r.innerBottom = ReadFloat(p + 24);
    r.innerTop = ReadFloat(p + 28);
    if (!IsSoundRecord(r)) {
      error = "record " + std::to_string(i) + " is not a region with its inner edges inside it";
      return false;
    }
  }
  records.swap(parsed);
  error.clear();
  return true;
}

bool ReadSkinFile(const std::string& skinPath, std::vector<SkinRecord>& records, std::string& error) {
  records.clear();
  const std::string path = skinPath + ".gui";
  std::ifstream in(PAL::MapPath(path), std::ios::binary | std::ios::ate);
  if (!in) {
    error = path + ": cannot be opened";
    return false;
  }
  const std::streamoff size = in.tellg();
  const auto largest = static_cast<std::streamoff>(4 + static_cast<size_t>(kMaximumSkinRecords) * kSkinRecordBytes);
  // Anything longer cannot be a skin: refuse it before reading it.
  if (size < 0 || size > largest) {
    error = path + ": " + std::to_string(static_cast<long long>(size)) + " bytes is not a skin file";
    return false;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.seekg(0);
  if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
    error = path + ": cannot be read";
    return false;
  }
  if (!ParseSkinRecords(bytes.data(), bytes.size(), records, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

GuiImage::GuiImage(const std::string& skinPath, const Size& size) {
  if (skinPath.empty()) {
    m_width = size.width;
    m_height = size.height;
    MakeContexts();
    return;
  }
  ReadSkin(skinPath);
  m_width = size.width;
  m_height = size.height;
  m_depth = 0.0f;
  LoadTexture();
  m_color = Math::Color(1.0f, 1.0f, 1.0f, 1.0f);
  m_recordIndex = 0;
  Layout();
  m_dirty = 1;
  MakeContexts();
  PlaceParts();
}

GuiImage::GuiImage(const std::string& skinPath, const GuiImage& source) {
  ReadSkin(skinPath);
  m_visible = source.m_visible;
  m_opacity = source.m_opacity;
  m_width = source.m_width;
  m_height = source.m_height;
  m_depth = source.m_depth;
  LoadTexture();
  m_color = source.m_color;
  m_recordIndex = 0;
  if (source.m_recordIndex < m_records.size()) m_recordIndex = source.m_recordIndex;
  Layout();
  m_dirty = 1;
  MakeContexts();
  PlaceParts();
}

GuiImage::GuiImage(const GuiImage& other)
    : Core::Object(other),
      m_name(other.m_name),
      m_borderLeft(other.m_borderLeft),
      m_borderRight(other.m_borderRight),
      m_borderTop(other.m_borderTop),
      m_borderBottom(other.m_borderBottom),
      m_texture(other.m_texture),
      m_textureWidth(other.m_textureWidth),
      m_textureHeight(other.m_textureHeight),
      m_visible(other.m_visible),
      m_color(other.m_color),
      m_opacity(other.m_opacity),
      m_width(other.m_width),
      m_height(other.m_height),
      m_depth(other.m_depth),
      m_position(other.m_position),
      m_recordIndex(other.m_recordIndex),
      m_records(other.m_records),
      m_dirty(1),
      m_clip(other.m_clip) {
  for (int k = 0; k < 9; ++k) m_parts[k] = other.m_parts[k];
  MakeContexts();
}

GuiImage::~GuiImage() = default;

Core::SmartPointer<GuiImage> GuiImage::CloneWithSkin(std::string skinPath) const {
  return Core::SmartPointer<GuiImage>(new ("Gui_GuiImage", __LINE__) GuiImage(skinPath, *this));
}

void GuiImage::ReadSkin(const std::string& skinPath) {
  m_name = skinPath;
  m_opacity = 1.0f;
  m_visible = 1;
  if (!ReadSkinFile(skinPath, m_records, m_error)) m_records.clear();
}

void GuiImage::LoadTexture() {
  m_texture = m_name.empty() ? nullptr : Engine::LoadTexture(m_name + ".png", false);
  m_textureWidth = m_texture ? static_cast<float>(m_texture->GetWidth()) : 0.0f;
  m_textureHeight = m_texture ? static_cast<float>(m_texture->GetHeight()) : 0.0f;
}

void GuiImage::MakeContexts() {
  for (auto& context : m_contexts) context = new ("Gui_GuiImage", __LINE__) ImageRenderContext(0);
}

void GuiImage::SetRecordIndex(uint32_t index) {
  if (index >= m_records.size() || index == m_recordIndex) return;
  m_recordIndex = index;
  Layout();
  PlaceParts();
  m_dirty = 1;
}

void GuiImage::SetWidth(float width) {
  if (width == m_width) return;
  m_width = width;
  Layout();
  PlaceParts();
  m_dirty = 1;
}

void GuiImage::SetHeight(float height) {
  if (height == m_height) return;
  m_height = height;
  Layout();
  PlaceParts();
  m_dirty = 1;
}

void GuiImage::SetPosition(const Math::Vector2D& position) {
  if (position == m_position) return;
  m_position = position;
  PlaceParts();
  m_dirty = 1;
}

void GuiImage::SetDepth(float depth) {
  if (depth == m_depth) return;
  m_depth = depth;
  m_dirty = 1;
}

void GuiImage::SetOpacity(float opacity) {
  if (opacity == m_opacity) return;
  m_opacity = opacity;
  m_dirty = 1;
}

void GuiImage::SetColor(const Math::Color& color) {
  if (!Differs(color, m_color)) return;
  m_color = color;
  m_dirty = 1;
}

void GuiImage::Layout() {
  // A skin without the record (no file, a rejected file) draws nothing rather than reading past
  // its records.
  if (m_recordIndex >= m_records.size()) {
    m_borderLeft = m_borderRight = m_borderTop = m_borderBottom = 0.0f;
    for (TRectangle& part : m_parts) part.width = part.height = 0.0f;
    return;
  }
  const SkinRecord& r = m_records[m_recordIndex];
  m_borderLeft = r.innerLeft;
  m_borderRight = r.width - r.innerRight;
  m_borderTop = r.height - r.innerTop;
  m_borderBottom = r.innerBottom;

  const float w = m_width, h = m_height;
  const float columns[3] = {ClampPart(m_borderLeft, w), ClampPart(w - m_borderLeft - m_borderRight, w),
                            ClampPart(m_borderRight, w)};
  const float rows[3] = {ClampPart(m_borderTop, h), ClampPart(h - m_borderTop - m_borderBottom, h),
                         ClampPart(m_borderBottom, h)};

  // A texture of no size (missing picture) gives coordinates 0 instead of infinities.
  const float tw = m_textureWidth > 0.0f ? m_textureWidth : 0.0f;
  const float th = m_textureHeight > 0.0f ? m_textureHeight : 0.0f;
  auto du = [tw](float v) { return tw > 0.0f ? v / tw : 0.0f; };
  auto dv = [th](float v) { return th > 0.0f ? v / th : 0.0f; };
  const float a = du(r.x), b = dv(r.y), wu = du(r.width), hv = dv(r.height);
  const float l = du(r.innerLeft), rr = du(r.innerRight), bt = dv(r.innerBottom), tp = dv(r.innerTop);
  const float uSpans[3][2] = {{0.0f, l}, {l, rr}, {rr, wu}};
  const float vSpans[3][2] = {{tp, hv}, {bt, tp}, {0.0f, bt}};

  for (uint32_t k = 0; k < 9; ++k) {
    const uint32_t column = k % 3, row = k / 3;
    TRectangle& part = m_parts[k];
    part.width = columns[column];
    part.height = rows[row];
    const float ul = uSpans[column][0] + a, uh = uSpans[column][1] + a;
    const float vl = vSpans[row][0] + b, vh = vSpans[row][1] + b;
    part.SetTexCoord(0, Math::Vector2D(ul, vl));
    part.SetTexCoord(1, Math::Vector2D(uh, vl));
    part.SetTexCoord(2, Math::Vector2D(uh, vh));
    part.SetTexCoord(3, Math::Vector2D(ul, vh));
  }
}

void GuiImage::PlaceParts() {
  const float xs[3] = {m_position.x, m_position.x + m_borderLeft, m_position.x + m_width - m_borderRight};
  const float ys[3] = {m_position.y + m_height - m_borderTop, m_position.y + m_borderBottom, m_position.y};
  for (uint32_t k = 0; k < 9; ++k) {
    m_parts[k].left = xs[k % 3];
    m_parts[k].bottom = ys[k / 3];
  }
}

void GuiImage::Prepare(const NRectangle& clip) {
  if (clip != m_clip) {
    m_dirty = 1;
    m_clip = clip;
  }
  if (!m_dirty) return;
  Graphics* graphics = Graphics::GetInstance();
  if (graphics == nullptr) return;
  graphics->Reset();
  graphics->SetClipRectangle(clip);
  graphics->SetDepth(m_depth);
  graphics->SetOpacity(m_opacity);
  graphics->SetColor(m_color);
  for (uint32_t k = 0; k < 9; ++k)
    graphics->PrepareImage(Core::SmartPointer<Engine::TextRenderContext>(m_contexts[k].Get()), m_parts[k], m_texture);
  m_dirty = 0;
}

void GuiImage::Draw(const NRectangle& clip) {
  if (!m_visible) return;
  Prepare(clip);
  Graphics* graphics = Graphics::GetInstance();
  if (graphics == nullptr) return;
  for (uint32_t k = 0; k < 9; ++k) {
    if (m_parts[k].IsValid()) graphics->DrawImage(Core::SmartPointer<Engine::TextRenderContext>(m_contexts[k].Get()));
  }
}

void GuiImage::Save(Core::File& file) {
  file << m_name;
  for (const TRectangle& part : m_parts) part.Save(file);
  Core::WriteValue(file, m_borderLeft);
  Core::WriteValue(file, m_borderRight);
  Core::WriteValue(file, m_borderTop);
  Core::WriteValue(file, m_borderBottom);
  Core::WriteValue(file, m_textureWidth);
  Core::WriteValue(file, m_textureHeight);
  Core::WriteValue(file, m_visible);
  Math::WriteColor(file, m_color);
  Core::WriteValue(file, m_opacity);
  Core::WriteValue(file, m_width);
  Core::WriteValue(file, m_height);
  Core::WriteValue(file, m_depth);
  Core::WriteValue(file, m_position.x);
  Core::WriteValue(file, m_position.y);
  Core::WriteValue(file, m_recordIndex);
  Core::WriteValue(file, static_cast<uint32_t>(m_records.size()));
  for (const SkinRecord& r : m_records) {
    const float values[8] = {r.x, r.y, r.width, r.height, r.innerLeft, r.innerRight, r.innerBottom, r.innerTop};
    for (float value : values) Core::WriteValue(file, value);
  }
  m_clip.Save(file);
}

void GuiImage::Load(Core::File& file) {
  file >> m_name;
  for (TRectangle& part : m_parts) part.Load(file);
  Core::ReadValue(file, m_borderLeft);
  Core::ReadValue(file, m_borderRight);
  Core::ReadValue(file, m_borderTop);
  Core::ReadValue(file, m_borderBottom);
  Core::ReadValue(file, m_textureWidth);
  Core::ReadValue(file, m_textureHeight);
  Core::ReadValue(file, m_visible);
  Math::ReadColor(file, m_color);
  Core::ReadValue(file, m_opacity);
  Core::ReadValue(file, m_width);
  Core::ReadValue(file, m_height);
  Core::ReadValue(file, m_depth);
  Core::ReadValue(file, m_position.x);
  Core::ReadValue(file, m_position.y);
  Core::ReadValue(file, m_recordIndex);
  uint32_t count = Core::ReadValue<uint32_t>(file);
  if (count > static_cast<uint32_t>(kMaximumSkinRecords) || !file.CheckCount(count, kSkinRecordBytes)) {
    file.Fail();
    count = 0;
  }
  m_records.assign(count, SkinRecord());
  for (SkinRecord& r : m_records) {
    float* values[8] = {&r.x, &r.y, &r.width, &r.height, &r.innerLeft, &r.innerRight, &r.innerBottom, &r.innerTop};
    for (float* value : values) Core::ReadValue(file, *value);
  }
  m_clip.Load(file);
  LoadTexture();
  MakeContexts();
  m_dirty = 1;
}

}  // namespace GUI
