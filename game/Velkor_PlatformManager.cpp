#include "game/Velkor_PlatformManager.h"

#include "core/Core_Random.h"
#include "core/Core_Time.h"
#include "framework/Quillon_Layer.h"
#include "game/Velkor_PlatformClass.h"
#include "game/Velkor_ScreenSupport.h"

VELKOR_IMPLEMENT_CLASS(PlatformManager, "PlatformManager");

namespace {

// How many row-0 columns to the left a platform of each row looks at; row 0 looks further once
// the road is under way.
int32_t RowGap(int32_t row, float segmentX) {
  switch (row) {
    case 0:
      return segmentX > 2000.0f ? 2 : 0;
    case 1:
      return 4;
    case 2:
      return 5;
    default:
      return 18;
  }
}

}  // namespace

void PlatformManager::OnStart() {
  GroundSegment::OnStart();
  m_leapfrog = GetPositionX() > 0.0f ? 1 : 0;
  m_platforms.clear();
  const PlatformClass* model = FindObjectByName<PlatformClass>("Platform");
  Quillon::Layer* layer = GetLayer();
  if (model != nullptr && layer != nullptr) {
    for (int32_t i = 0; i < kSlotCount; ++i) {
      Core::SmartPointer<PlatformClass> platform(static_cast<PlatformClass*>(model->Clone()));
      platform->SetPosition(GetPositionX() - 720.0f + 80.0f + static_cast<float>(i % kColumns) * 160.0f,
                            static_cast<float>(i / kColumns) * 120.0f + 60.0f);
      layer->AddGameObject(platform.Get());
      Mount(platform.Get());
      platform->SetActive(false);
      m_platforms.push_back(platform);
    }
  }
  LayOut();
  CallSpawner(SpawnerStep::SetUp, Math::Vector2D());
}

void PlatformManager::ReleaseResources() {
  for (Partner<PlatformManager>& segment : m_segments) segment.Release();
  GroundSegment::ReleaseResources();
}

PlatformManager* PlatformManager::GetPartner() { return m_segments[GetName() == "platMgr1" ? 1 : 0].Get(); }

PlatformClass* PlatformManager::GetPlatform(int32_t slot) const {
  if (slot < 0 || static_cast<size_t>(slot) >= m_platforms.size()) return nullptr;
  return m_platforms[static_cast<size_t>(slot)].Get();
}

void PlatformManager::TellPassed(float threshold) {
  if (m_leapfrog != 0) {
    m_leapfrog = 0;
    return;
  }
  Clear();
  // Moved as a previous position, so that collision does not sweep the jump.
  SetOldPosition(Math::Vector2D(threshold + kJumpAhead, GetPositionY()));
  // The platforms follow as plain moves; they must not sweep the jump either.
  for (const auto& platform : m_platforms) platform->SetOldPosition(platform->GetPosition());
  m_leapfrog = 1;
  LayOut();
}

void PlatformManager::Clear() {
  for (const auto& platform : m_platforms) {
    if (platform->IsVisible()) platform->SetActive(false);
  }
  CallSpawner(SpawnerStep::Clear, Math::Vector2D());
}

bool PlatformManager::IsRowZeroActive(int32_t column) {
  const PlatformManager* owner = this;
  if (column < 0) {
    owner = GetPartner();
    column += kColumns;
  }
  const PlatformClass* platform = owner != nullptr && column >= 0 ? owner->GetPlatform(column) : nullptr;
  return platform != nullptr && platform->IsActive();
}

void PlatformManager::LayOut() {
  // A new pattern per layout, from the engine's clock (a fixed clock gives a fixed road).
  Core::SeedRandom(static_cast<uint32_t>(Core::GetTime() / 1000.0));
  for (int32_t i = 0; i < static_cast<int32_t>(m_platforms.size()); ++i) {
    PlatformClass& platform = *m_platforms[static_cast<size_t>(i)];
    const int32_t column = i % kColumns;
    const int32_t gap = RowGap(i / kColumns, GetPositionX());
    if (Core::Random() % 26 >= 23) {
      Activate(platform);
      continue;
    }
    bool neighbourActive = false;
    for (int32_t c = column; c >= column - gap && !neighbourActive; --c) neighbourActive = IsRowZeroActive(c);
    if (!neighbourActive) Activate(platform);
  }
}

void PlatformManager::Activate(PlatformClass& platform) {
  platform.SetActive(true);
  CallSpawner(SpawnerStep::Spawn, platform.GetPosition());
}

void PlatformManager::CallSpawner(SpawnerStep step, const Math::Vector2D& platformPosition) {
  switch (step) {
    case SpawnerStep::SetUp:
      m_spawner.SetUp(m_leapfrog);
      break;
    case SpawnerStep::Spawn:
      m_spawner.Spawn(platformPosition);
      break;
    case SpawnerStep::Clear:
      m_spawner.Clear();
      break;
  }
}
