#include "collision/Collision_Id.h"

#include "core/Core_File.h"

namespace Collision2D {

CollisionId MakeCollisionId(uint32_t index, uint8_t layer, uint8_t z) {
  return ((static_cast<uint32_t>(layer) << 8 | z) << 16) | (index & 0xFFFFu);
}

void SplitCollisionId(CollisionId id, uint32_t& index, uint8_t& layer, uint8_t& z) {
  index = id & 0xFFFFu;
  z = static_cast<uint8_t>((id >> 16) & 0xFFu);
  layer = static_cast<uint8_t>((id >> 24) & 0xFFu);
}

bool DecodeCollisionId(CollisionId id, DecodedCollisionId& decoded) {
  uint32_t index = 0;
  SplitCollisionId(id, index, decoded.layer, decoded.z);
  struct Range {
    uint32_t base;
    CollisionKind kind;
  };
  static constexpr Range kRanges[] = {
      {kDynamicObjectIdBase, DynamicObjectKind},         {kTileMapIdBase, TileMapKind},
      {kDynamicLineSegmentIdBase, DynamicLineSegmentKind}, {kDynamicCircleIdBase, DynamicCircleKind},
      {kStaticLineSegmentIdBase, StaticLineSegmentKind},   {kStaticCircleIdBase, StaticCircleKind},
  };
  decoded.kind = UnsetKind;
  decoded.slot = 0;
  for (const Range& range : kRanges) {
    if (index >= range.base) {
      decoded.kind = range.kind;
      decoded.slot = index - range.base;
      break;
    }
  }
  if (decoded.kind == UnsetKind || decoded.slot == 0) return false;
  return decoded.kind != DynamicCircleKind && decoded.kind != DynamicLineSegmentKind;
}

void CollisionTag::Save(Core::File& file) const { Core::WriteValue<int32_t>(file, m_kind); }

void CollisionTag::Load(Core::File& file) {
  m_kind = Core::ReadValue<int32_t>(file);
  m_owner = nullptr;
}

}  // namespace Collision2D
