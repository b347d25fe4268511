#pragma once
// A floating platform of a ground segment: shown and shape-tested while active, hidden and tested
// by its bounding rectangle only while not.
#include "framework/Quillon_Sprite.h"

class PlatformClass : public Quillon::Sprite {
 public:
  using Quillon::Sprite::Sprite;
  VELKOR_DECLARE_CLASS(PlatformClass);

  void SetActive(bool active);
  bool IsActive() const { return m_active; }

 private:
  bool m_active = false;
};
