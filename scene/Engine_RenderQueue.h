#pragma once
// Everything the engine draws in a frame passes through the render queue: nodes fill render items
// while a view renders; the queue routes them into an opaque list (grouped by effect, mesh and part),
// a blended list (back to front) and a screen-space list (drawn once, at the last viewport), and
// draws each with its effect's states saved before and restored after.
#include <cstdint>
#include <vector>

#include "core/Core_Object.h"
#include "math/Math_Color.h"
#include "math/Math_Matrix4x4.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_TexelCoverage.h"
#include "scene/Engine_Mesh.h"
#include "scene/Engine_ScreenObject.h"

namespace Renderer {
class IRenderer;
struct Viewport;
}

namespace Engine {

class Camera;
class SceneGraph;

struct RenderItem {
  Math::Matrix4x4 modelMatrix;
  Math::Matrix4x4 textureMatrix;
  Math::Color color{1.0f, 1.0f, 1.0f, 1.0f};
  Core::SmartPointer<Renderer::Effect> effect;
  Core::SmartPointer<Mesh> mesh;
  Core::SmartPointer<Renderer::ITexture> texture;
  int32_t primitive = 4;
  const float* colorArray = nullptr;
  const float* vertexArray = nullptr;
  float depth = 0.0f;
  int32_t meshPart = -1;
  uint32_t vertexCount = 0;
  int32_t blendSource = 6;
  int32_t blendDestination = 7;
  uint8_t ignoreView = 0;
  uint8_t useSharedQuad = 0;
  uint8_t screenSpace = 0;
  uint8_t customBlend = 0;
};

class RenderQueue {
 public:
  RenderQueue();
  ~RenderQueue();
  RenderQueue(const RenderQueue&) = delete;
  RenderQueue& operator=(const RenderQueue&) = delete;

  // The queue constructed last (null after it is destroyed).
  static RenderQueue* GetInstance();

  void SetRenderer(Renderer::IRenderer* renderer) { m_renderer = renderer; }
  Renderer::IRenderer* GetRenderer() const { return m_renderer; }
  // The scene graph whose viewport count and index tell which viewport is the frame's last.
  void SetSceneGraph(SceneGraph* sceneGraph) { m_sceneGraph = sceneGraph; }
  void SetCamera(const Core::SmartPointer<Camera>& camera);

  // Routes the item; may rewrite the caller's effect and mesh.
  void AddRenderItem(RenderItem& item);
  // Keeps a copy when the context has a texture (and gives the caller's context the image effect).
  void AddTextRenderContext(TextRenderContext& context);
  void AddScreenObject(const Core::SmartPointer<ScreenObject>& object);
  void ClearScreenObjects() { m_screenObjects.clear(); }

  void Flush();
  void Clear();
  void DrawScreenObjects();

  // The lists as they stand, for inspection.
  const std::vector<RenderItem>& GetOpaqueItems() const { return m_opaque; }
  const std::vector<RenderItem>& GetBlendedItems() const { return m_blended; }
  const std::vector<RenderItem>& GetScreenSpaceItems() const { return m_screenSpace; }
  const std::vector<TextRenderContext>& GetTextContexts() const { return m_textContexts; }
  uint32_t GetScreenObjectCount() const { return static_cast<uint32_t>(m_screenObjects.size()); }
  const Core::SmartPointer<Renderer::Effect>& GetSpriteEffect() const { return m_spriteEffect; }
  const Core::SmartPointer<Renderer::ParticleEffect>& GetParticleEffect() const { return m_particleEffect; }
  const Core::SmartPointer<Renderer::Effect>& GetLineEffect() const { return m_lineEffect; }
  const Core::SmartPointer<Renderer::Effect>& GetPointEffect() const { return m_pointEffect; }
  const Core::SmartPointer<Renderer::Effect>& GetScreenImageEffect() const { return m_screenImageEffect; }
  const Core::SmartPointer<Mesh>& GetSharedQuad() const { return m_quadMesh; }

  bool IsLastViewport() const;

  // The colour the view was cleared to just before this flush (the scene graph's view tells).
  void SetViewClearColor(const Math::Color& color);

  // A rectangle of window pixels.
  struct WindowRect {
    double left = 0, bottom = 0, right = 0, top = 0;
  };
  // Pixels from (left, bottom) to (right, top), both included.
  struct PixelRect {
    int32_t left = 0, bottom = 0, right = 0, top = 0;
  };

  // Whether the queue spares the fragments that cannot change the picture (on by default, for
  // every queue of the process); off, every item is drawn as submitted.
  static void SetFillSaving(bool enabled);
  static bool IsFillSaving();

 private:
  void DrawItems(std::vector<RenderItem>& items, size_t begin, size_t end);
  void DrawTextContexts();
  void DrawScreenSpace();
  static void SortByDepth(std::vector<RenderItem>& items);

  // Fill saving (see Engine_RenderQueueFill.cpp). Per part of a sprite to draw: where its texels
  // lie in the frame's cell and how they land in the window.
  struct PieceInfo {
    size_t source = 0;    // the item it comes from, counted in the list's order
    bool sprite = false;  // a part of a sprite's quad; else an item kept as it came
    bool opaque = false;  // drawn with the opaque sprite effect
    bool black = false;   // its picture is a plain black shade
    bool skip = false;    // nothing it draws can show
    double texelLeft = 0, texelBottom = 0, texelRight = 0, texelTop = 0;
    double cellWidth = 1, cellHeight = 1;
    double originX = 0, originY = 0, scaleX = 1, scaleY = 1;
    // For a blended part: the cell's place in the picture, how far a sample reaches, and whether
    // the sprite's colour keeps an opaque texel opaque.
    const Renderer::TexelCoverage* coverage = nullptr;
    int32_t cellLeft = 0, cellBottom = 0, reach = 1;
    bool fullAlpha = false;
    WindowRect Window() const;
    // The texels of the picture (low up to high) that samples at window pixels from..to reach,
    // across (x) or up (y).
    void TexelsAt(double from, double to, bool across, int32_t& low, int32_t& high) const;
    // Cuts the part's texels to those that land in the rectangle.
    void SetWindow(const WindowRect& rect);
  };
  // A black shade left out: the first `count` items are drawn darkened by `keep` under it.
  struct Fold {
    bool active = false;
    size_t count = 0;
    float keep = 1.0f;
    int32_t left = 0, bottom = 0, right = 0, top = 0;
    // Where the clear may show under the shade: clear again there, darkened (empty: nowhere).
    PixelRect clear{0, 0, -1, -1};
  };
  // The bounds of the pixels of the region that the opaque parts leave showing (empty when they
  // cover it all); the whole region when the parts were not cut.
  PixelRect UncoveredBounds(const PixelRect& region) const;
  // Appends the parts of the item to draw (the item itself when it is no sprite's quad or cannot be
  // cut); the view's matrices and viewport must be the renderer's current ones.
  void SplitSpriteQuad(const RenderItem& item, const Math::Matrix4x4& viewProjection, const Renderer::Viewport& viewport);
  // Appends the item of parts first..end that draws those of them that show and are opaque (or
  // blended): a quad cut to the part, or a batch of quads.
  void EmitParts(size_t first, size_t end, bool opaque, std::vector<RenderItem>& items);
  // Cuts from each part the blocks of pixels that opaque parts drawn after it cover.
  void CutCovered(const Renderer::Viewport& viewport);
  // Appends to the cut parts the rectangles of the part that opaque parts drawn after it leave showing.
  void AddUncovered(size_t piece, const WindowRect& rect, const PixelRect& drawn);
  // Counts the pixels the pending occluders surely cover as hidden from the parts drawn before.
  void ApplyOccluders();
  // Calls visit(row, column, mask of the pixels' bits in the block) for each block of the view's
  // grid that the pixels reach and opaque parts do not cover whole (rows and columns counted from
  // the grid's first).
  template <typename Visit>
  void ForEachOpenBlock(const PixelRect& pixels, Visit visit) const;
  // Replaces a sorted list by what to draw of it; `mayFold` for the view's blended list.
  void SpareFill(std::vector<RenderItem>& items, bool mayFold);
  // Draws a list that SpareFill prepared, with its fold.
  void DrawFolded(std::vector<RenderItem>& items);

  // Per text context of a flush: its technique, pass and texture (kept to reuse the capacity).
  struct TextContextStates {
    Core::SmartPointer<Renderer::Technique> technique;
    Core::SmartPointer<Renderer::Pass> pass;
    Renderer::ITexture* texture = nullptr;
  };

  Renderer::IRenderer* m_renderer = nullptr;
  SceneGraph* m_sceneGraph = nullptr;
  std::vector<TextContextStates> m_textContextStates;
  Core::SmartPointer<Core::Object> m_camera;
  std::vector<RenderItem> m_opaque;
  std::vector<RenderItem> m_screenSpace;
  std::vector<RenderItem> m_blended;
  std::vector<TextRenderContext> m_textContexts;
  std::vector<Core::SmartPointer<ScreenObject>> m_screenObjects;
  Core::SmartPointer<Renderer::Effect> m_lineEffect;
  Core::SmartPointer<Renderer::Effect> m_pointEffect;
  Core::SmartPointer<Renderer::Effect> m_spriteEffect;
  Core::SmartPointer<Renderer::Effect> m_opaqueSpriteEffect;
  std::vector<RenderItem> m_pieces;
  std::vector<PieceInfo> m_pieceInfo;
  size_t m_sourceCount = 0;
  // Meshes of batched parts, reused from flush to flush.
  std::vector<Core::SmartPointer<Mesh>> m_batches;
  size_t m_batchesUsed = 0;
  // The view's grid of 4 x 4 pixel blocks, and per block the pixels that opaque parts cover.
  int32_t m_gridLeft = 0, m_gridBottom = 0, m_gridWidth = 0, m_gridHeight = 0;
  std::vector<uint16_t> m_covered;
  // Per row of blocks, a bit per block that they cover whole: parts cut skip such runs 64 at a time.
  std::vector<uint64_t> m_whole;
  size_t m_wholeWords = 0;
  bool m_coveredValid = false;
  // Opaque rectangles of the sprite being cut, to hide what lies under them once it is done; `piece`
  // and the texels tell which part's column a neighbour may join.
  struct Occluder {
    WindowRect rect;
    size_t piece = 0;
    double texelLeft = 0, texelBottom = 0, texelRight = 0, texelTop = 0;
  };
  std::vector<Occluder> m_pendingOccluders;
  std::vector<RenderItem> m_cutPieces;
  std::vector<PieceInfo> m_cutInfo;
  // Runs of blocks along a row: first..last, in rows from bottom up.
  struct BlockRun {
    int32_t first = 0, last = 0, bottom = 0;
    bool opaque = false;
    bool continued = false;
  };
  std::vector<std::pair<int32_t, int32_t>> m_texelColumns;
  Renderer::TexelCoverage::FoldedRows m_folded;
  std::vector<BlockRun> m_openRuns;
  std::vector<BlockRun> m_nextRuns;
  std::vector<Math::Color> m_foldColors;
  Fold m_fold;
  Math::Color m_viewClearColor;
  bool m_viewCleared = false;
  Core::SmartPointer<Renderer::Effect> m_screenImageEffect;
  Core::SmartPointer<Renderer::ParticleEffect> m_particleEffect;
  Core::SmartPointer<Mesh> m_quadMesh;
};

}  // namespace Engine
