#pragma once
// Skin images: a rectangle of any size drawn from one region of a texture cut into nine parts
// (corners keep their size, edges stretch one way, the centre both). A skin is a ".gui" file of
// region records and a ".png" texture sharing one path; one record is current at a time.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Core_Object.h"
#include "gui/Gui_Graphics.h"
#include "gui/Gui_Rectangle.h"
#include "math/Math_Color.h"

namespace Renderer {
class ITexture;
}

namespace GUI {

// One region of the texture, in texture pixels with y upward. The inner values are measured from
// the region's left and lower edges.
struct SkinRecord {
  float x = 0.0f;
  float y = 0.0f;
  float width = 0.0f;
  float height = 0.0f;
  float innerLeft = 0.0f;
  float innerRight = 0.0f;
  float innerBottom = 0.0f;
  float innerTop = 0.0f;
};

constexpr size_t kSkinRecordBytes = 32;
// More records than any skin needs; a count above it is taken for corruption.
constexpr int32_t kMaximumSkinRecords = 4096;

// A ".gui" file image: an i32 count N, then exactly N records of eight little-endian f32. False
// (records empty) with the reason for a negative or oversized count, a size that does not match
// the count, or a record that is not finite or whose inner edges lie outside its region.
bool ParseSkinRecords(const uint8_t* data, size_t size, std::vector<SkinRecord>& records, std::string& error);
// Reads path + ".gui" the same way; the error names the file.
bool ReadSkinFile(const std::string& skinPath, std::vector<SkinRecord>& records, std::string& error);

class GuiImage : public Core::Object {
 public:
  // An empty path makes the shell that Load fills.
  explicit GuiImage(const std::string& skinPath = std::string(), const Size& size = Size{32.0f, 32.0f});
  // Another skin taking over the source's visibility, opacity, size, depth, colour and record.
  GuiImage(const std::string& skinPath, const GuiImage& source);
  GuiImage(const GuiImage& other);
  ~GuiImage() override;
  VELKOR_DECLARE_CLASS(GuiImage);

  Core::SmartPointer<GuiImage> CloneWithSkin(std::string skinPath) const;

  void SetRecordIndex(uint32_t index);
  uint32_t GetRecordIndex() const { return m_recordIndex; }
  uint32_t GetRecordCount() const { return static_cast<uint32_t>(m_records.size()); }
  const std::vector<SkinRecord>& GetRecords() const { return m_records; }
  // Why the ".gui" file gave no records (empty when it was read).
  const std::string& GetError() const { return m_error; }
  void SetWidth(float width);
  void SetHeight(float height);
  float GetWidth() const { return m_width; }
  float GetHeight() const { return m_height; }
  void SetPosition(const Math::Vector2D& position);
  const Math::Vector2D& GetPosition() const { return m_position; }
  void SetDepth(float depth);
  float GetDepth() const { return m_depth; }
  void SetOpacity(float opacity);
  float GetOpacity() const { return m_opacity; }
  void SetColor(const Math::Color& color);
  const Math::Color& GetColor() const { return m_color; }
  void SetVisible(bool visible) { m_visible = visible ? 1 : 0; }
  bool IsVisible() const { return m_visible != 0; }
  bool IsDirty() const { return m_dirty != 0; }
  const std::string& GetName() const { return m_name; }

  // Part k: 0 top-left, 1 top-centre, 2 top-right, 3 middle-left, 4 centre, 5 middle-right,
  // 6 bottom-left, 7 bottom-centre, 8 bottom-right.
  const TRectangle& GetPart(uint32_t k) const { return m_parts[k < 9 ? k : 4]; }
  const Core::SmartPointer<ImageRenderContext>& GetContext(uint32_t k) const { return m_contexts[k < 9 ? k : 4]; }
  float GetBorderLeft() const { return m_borderLeft; }
  float GetBorderRight() const { return m_borderRight; }
  float GetBorderTop() const { return m_borderTop; }
  float GetBorderBottom() const { return m_borderBottom; }

  // Borders, part sizes and texture coordinates of the current record.
  void Layout();
  // Part positions from position, size and borders.
  void PlaceParts();
  // Refills the contexts when something changed or the clip moved, then queues every part of
  // at least one pixel each way.
  void Draw(const NRectangle& clip);
  void Prepare(const NRectangle& clip);

  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

 private:
  void ReadSkin(const std::string& skinPath);
  void LoadTexture();
  void MakeContexts();

  std::string m_name;
  TRectangle m_parts[9];
  float m_borderLeft = 0.0f, m_borderRight = 0.0f, m_borderTop = 0.0f, m_borderBottom = 0.0f;
  Core::SmartPointer<Renderer::ITexture> m_texture;
  float m_textureWidth = 0.0f, m_textureHeight = 0.0f;
  uint8_t m_visible = 1;
  Math::Color m_color{1.0f, 1.0f, 1.0f, 1.0f};
  float m_opacity = 1.0f;
  float m_width = 0.0f, m_height = 0.0f;
  float m_depth = 0.0f;
  Math::Vector2D m_position;
  uint32_t m_recordIndex = 0;
  std::vector<SkinRecord> m_records;
  Core::SmartPointer<ImageRenderContext> m_contexts[9];
  uint8_t m_dirty = 1;
  NRectangle m_clip;
  std::string m_error;
};

}  // namespace GUI
