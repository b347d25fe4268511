#pragma once
// A ground segment ("platMgr1", "platMgr2"). The two leapfrog each other to the right as the car
// drives on; each carries a grid of 30 floating platforms (9 columns in rows 0 to 2, three more
// in row 3) that it lays out in a new random pattern whenever it moves.
#include <cstdint>
#include <vector>

#include "game/Velkor_GroundSegment.h"
#include "game/Velkor_PlatformClass.h"
#include "game/Velkor_ScreenSupport.h"
#include "game/Velkor_SpawnManager.h"
#include "math/Math_Vector2D.h"

class PlatformManager : public GroundSegment {
 public:
  static constexpr int32_t kSlotCount = 30;
  static constexpr int32_t kColumns = 9;
  static constexpr float kJumpAhead = 400.0f;

  PlatformManager() = default;
  explicit PlatformManager(const std::vector<Quillon::SpriteAnimation*>& animations) : GroundSegment(animations) {}
  // A copy is a segment of the same look; it makes its own platforms when it starts.
  PlatformManager(const PlatformManager& other) : GroundSegment(other) {}
  VELKOR_DECLARE_CLASS(PlatformManager);

  void OnStart() override;
  void ReleaseResources() override;

  // The car has passed a step of the road at x = threshold: the segment whose turn it is jumps to
  // threshold + 400 and lays out anew; the other only takes the next turn.
  void TellPassed(float threshold) override;
  // Every platform inactive, the segment's spawns removed.
  void Clear();
  void LayOut();

  bool GetLeapfrogFlag() const { return m_leapfrog != 0; }
  // The other segment: after every jump it is the one just behind, whose last columns lie left of
  // this segment's first.
  PlatformManager* GetPartner();
  // Slot i: column i mod 9, row i div 9; null outside 0..29 or before the start.
  PlatformClass* GetPlatform(int32_t slot) const;

 private:
  // Whether the row-0 slot of that column is active; columns below 0 are the partner's last
  // ones (-1 is its column 8); slots that do not exist count as inactive.
  bool IsRowZeroActive(int32_t column);
  void Activate(PlatformClass& platform);
  // The segment's spawner (SpawnManager) takes these steps: set up once the first layout is
  // done, a chance to spawn on each platform activated, and removing the segment's spawns.
  enum class SpawnerStep { SetUp, Spawn, Clear };
  void CallSpawner(SpawnerStep step, const Math::Vector2D& platformPosition);

  std::vector<Core::SmartPointer<PlatformClass>> m_platforms;
  uint8_t m_leapfrog = 0;
  // Both segments by name, the partner picked by this one's own name on use: a segment read back
  // from a saved game is not started again.
  Partner<PlatformManager> m_segments[2] = {Partner<PlatformManager>("platMgr1"), Partner<PlatformManager>("platMgr2")};
  SpawnManager m_spawner;
};
