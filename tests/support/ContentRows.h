#pragma once
// Levels for tests made of the game's own rows: a copy of a level's table that keeps only the
// objects a test names, where the test wants them.
#include <cstdint>
#include <initializer_list>
#include <set>
#include <string>
#include <utility>

#include "content/Velkor_LevelRows.h"
#include "content/Velkor_MyLevelFactory.h"

namespace TestSupport {

// The level's table with only the named objects, in the level's own order: the same level class,
// camera, layers (in their slots, an empty layer where no object is kept) and the mounts whose
// two objects are both kept. A name that no row of the level carries fails the test.
Content::LevelRows PickRows(const Content::LevelRows& level, std::initializer_list<const char*> names);

// Puts the named row at x, y and takes its rigid body away: it stays where the test puts it. A name
// that no row carries fails the test.
void Pin(Content::LevelRows& rows, const std::string& name, float x, float y);

// The game's level factory with one level of the test's rows in place of level `number`, and no
// other level: the game's own builder makes it from the rows.
class PickedLevelFactory : public MyLevelFactory {
 public:
  PickedLevelFactory(uint32_t number, Content::LevelRows rows) : m_number(number), m_rows(std::move(rows)) {}
  Core::SmartPointer<Quillon::Level> CreateLevel(uint32_t index) override {
    CreateCollisionActors();
    if (index != m_number) return nullptr;
    return Core::SmartPointer<Quillon::Level>(BuildLevel(index, m_rows));
  }

 private:
  uint32_t m_number;
  Content::LevelRows m_rows;
};

// What a row asks of its object's collision body, read from its other column apart from the
// builder: a local game gives every sprite without kNoBody a body of group `group`, tested against
// `partners`; mass < 0: no rigid body.
struct RowBody {
  bool body = false;
  uint8_t group = 0;
  std::set<uint8_t> partners;
  bool shapes = false;
  float thickness = 4.0f;
  bool idle = false;
  float mass = -1.0f;
};
RowBody BodyOf(const Content::ObjectRow& row);

}  // namespace TestSupport
