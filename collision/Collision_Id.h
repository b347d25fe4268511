#pragma once
// Collision ids: the one 32-bit name of every object a collision layer stores (layer byte, z byte,
// kind-range index), and the tag every stored collision object carries first.
#include <cstdint>

#include "core/Core_MemoryManager.h"

struct lua_State;
class LuaScript;

namespace Core { class File; }
namespace Quillon { class GameObject; }

namespace Collision2D {

using CollisionId = uint32_t;

// Kind codes of a CollisionTag; code 1 has no id range.
enum CollisionKind : int32_t {
  UnsetKind = -1,
  DynamicObjectKind = 0,
  StaticCircleKind = 2,
  StaticLineSegmentKind = 3,
  DynamicCircleKind = 4,
  DynamicLineSegmentKind = 5,
  TileMapKind = 6,
};

// Range bases of the 16-bit kind-range index; the base itself (slot 0) names no object, nor does
// anything below the first base.
constexpr uint32_t kStaticCircleIdBase = 535;
constexpr uint32_t kStaticLineSegmentIdBase = 3535;
constexpr uint32_t kDynamicCircleIdBase = 6535;
constexpr uint32_t kDynamicLineSegmentIdBase = 7535;
constexpr uint32_t kTileMapIdBase = 8535;
constexpr uint32_t kDynamicObjectIdBase = 9535;

// Largest slot each range can name without being read as the next kind. A layer refuses additions
// beyond them.
constexpr uint32_t kMaximumStaticShapeSlot = 2999;
constexpr uint32_t kMaximumTileMapSlot = 999;
constexpr uint32_t kMaximumDynamicObjectSlot = 0xFFFFu - kDynamicObjectIdBase;

// (layer << 8 | z) << 16 | index. The index keeps only its low 16 bits, so an oversized index can
// never overwrite the layer and z bytes.
CollisionId MakeCollisionId(uint32_t index, uint8_t layer, uint8_t z);
void SplitCollisionId(CollisionId id, uint32_t& index, uint8_t& layer, uint8_t& z);

struct DecodedCollisionId {
  CollisionKind kind = UnsetKind;  // the range the index falls in; UnsetKind below 535
  uint32_t slot = 0;               // index minus the range base
  uint8_t layer = 0;
  uint8_t z = 0;
};
// Splits the id and reads its range in ascending order of base. True only when the id names a
// stored object: slot 0 of any range and the dynamic circle and segment ranges name none.
bool DecodeCollisionId(CollisionId id, DecodedCollisionId& decoded);

// Kind code and owning game object (not owned) of a stored collision object.
class CollisionTag {
 public:
  CollisionTag() = default;
  explicit CollisionTag(int32_t kind) : m_kind(kind) {}

  int32_t GetKind() const { return m_kind; }
  void SetKind(int32_t kind) { m_kind = kind; }
  Quillon::GameObject* GetOwner() const { return m_owner; }
  void SetOwner(Quillon::GameObject* owner) { m_owner = owner; }

  // The kind as one 4-byte word; Load clears the owner (its owner binds it again).
  void Save(Core::File& file) const;
  void Load(Core::File& file);

 private:
  int32_t m_kind = UnsetKind;
  Quillon::GameObject* m_owner = nullptr;
};

// The base of every object a collision layer stores: the tag, then the object's own fields.
class MainCollisionObject : public Core::Base {
 public:
  MainCollisionObject() = default;
  explicit MainCollisionObject(int32_t kind) : m_tag(kind) {}
  MainCollisionObject(const MainCollisionObject&) = default;
  MainCollisionObject& operator=(const MainCollisionObject&) = default;
  // Virtual so that a layer deleting through this base returns the right block size to the pool.
  virtual ~MainCollisionObject() = default;

  virtual LuaScript* GetScript() { return nullptr; }
  virtual int PushToLua(lua_State* state) = 0;

  CollisionTag& GetTag() { return m_tag; }
  const CollisionTag& GetTag() const { return m_tag; }

 protected:
  CollisionTag m_tag;
};

}  // namespace Collision2D
