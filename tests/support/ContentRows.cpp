#include "tests/support/ContentRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace TestSupport {

namespace {

Content::ObjectRow* RowNamed(Content::LevelRows& rows, const std::string& name) {
  for (Content::LayerRows& layer : rows.layers) {
    for (Content::ObjectRow& row : layer.objects) {
      if (row.name == name) return &row;
    }
  }
  ADD_FAILURE() << "no row named " << name;
  return nullptr;
}

}  // namespace

Content::LevelRows PickRows(const Content::LevelRows& level, std::initializer_list<const char*> names) {
  const std::set<std::string> wanted(names.begin(), names.end());
  std::set<std::string> kept;
  Content::LevelRows picked = level;
  for (Content::LayerRows& layer : picked.layers) {
    auto unwanted = [&](const Content::ObjectRow& row) { return wanted.count(row.name) == 0; };
    layer.objects.erase(std::remove_if(layer.objects.begin(), layer.objects.end(), unwanted), layer.objects.end());
    for (const Content::ObjectRow& row : layer.objects) kept.insert(row.name);
  }
  for (const std::string& name : wanted) EXPECT_EQ(kept.count(name), 1u) << "no row named " << name;
  auto loose = [&](const Content::MountRow& mount) {
    return kept.count(mount.carrier) == 0 || kept.count(mount.carried) == 0;
  };
  picked.mounts.erase(std::remove_if(picked.mounts.begin(), picked.mounts.end(), loose), picked.mounts.end());
  return picked;
}

void Pin(Content::LevelRows& rows, const std::string& name, float x, float y) {
  Content::ObjectRow* row = RowNamed(rows, name);
  if (row == nullptr) return;
  row->x = x;
  row->y = y;
  auto moving = [](const Content::Other& other) {
    return other.setting == Content::Setting::Mass || other.setting == Content::Setting::Gravity;
  };
  row->other.erase(std::remove_if(row->other.begin(), row->other.end(), moving), row->other.end());
}

RowBody BodyOf(const Content::ObjectRow& row) {
  using Content::Setting;
  RowBody body;
  body.body = row.type.sprite != nullptr;
  bool ownPartners = false;
  for (const Content::Other& other : row.other) {
    switch (other.setting) {
      case Setting::NoBody: body.body = false; break;
      case Setting::ZCollision: body.group = static_cast<uint8_t>(other.a); break;
      case Setting::CanCollide: body.partners.insert(static_cast<uint8_t>(other.a)); [[fallthrough]];
      case Setting::NoCanCollide: ownPartners = true; break;
      case Setting::Shapes: body.shapes = true; break;
      case Setting::Thickness: body.thickness = other.a; break;
      case Setting::Idle: body.idle = true; break;
      case Setting::Mass: body.mass = other.a; break;
      default: break;
    }
  }
  if (!ownPartners) body.partners.insert(0);
  return body;
}

}  // namespace TestSupport
