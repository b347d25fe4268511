#pragma once
// A civilian to rescue: touching the car rescues it once; an alien bullet removes it.
#include "game/Velkor_SpawnObject.h"

class CivilianClass : public SpawnObject {
 public:
  using SpawnObject::SpawnObject;
  VELKOR_DECLARE_CLASS(CivilianClass);
  void OnStart() override;
  // Also while paused.
  void Update(float dt) override;

  bool IsRescued() const { return m_rescued; }

 private:
  bool m_rescued = false;
};
