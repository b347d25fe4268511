// The narrow phase with its shortcuts against the plain path, which places every point with its
// own transform and runs every sub-step and every shape pair through the exact tests: the boxes may
// only skip tests that find nothing, and the offsets of bodies that do not turn must place them
// where the transforms do. Random pairs of every kind (1, 4 and 20 sub-steps, turning or not,
// moving and resting, some off-centre and flipped) and the layer benchmark's scenes must leave the
// same contacts, the same records in progress and the same sub-step placements.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "collision/Collision_NarrowPhase.h"
#include "tests/collision/LayerScenes.h"
#include "tests/collision/NarrowScenes.h"

namespace {

using Collision2D::DynamicObject;
using CollisionTest::Body;
using CollisionTest::CircleSpec;
using CollisionTest::SegmentSpec;
using Math::Vector2D;

constexpr float kTolerance = 1e-5f;
constexpr int kPairsPerKind = 10000;

// A small generator of our own, so that the cases are the same on every standard library.
class Draw {
 public:
  explicit Draw(uint64_t seed) : m_state(seed) {}
  uint32_t Next() {
    m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(m_state >> 33);
  }
  float Uniform(float lo, float hi) { return lo + (hi - lo) * static_cast<float>(Next() % 1000001u) / 1000000.0f; }
  bool Chance(int percent) { return static_cast<int>(Next() % 100u) < percent; }
  Vector2D Point(float extent) { return Vector2D(Uniform(-extent, extent), Uniform(-extent, extent)); }
  Vector2D Direction() {
    const float angle = Uniform(0.0f, 6.2831853f);
    return Vector2D(std::cos(angle), std::sin(angle));
  }

 private:
  uint64_t m_state;
};

enum class Shapes { Segments, Circles, Both };

std::vector<SegmentSpec> DrawSegments(Draw& draw, uint32_t firstId) {
  std::vector<SegmentSpec> segments;
  if (draw.Chance(50)) {  // a box, the common actor
    const float w = draw.Uniform(0.5f, 3.0f), h = draw.Uniform(0.5f, 3.0f);
    const Vector2D corners[4] = {Vector2D(-w, -h), Vector2D(w, -h), Vector2D(w, h), Vector2D(-w, h)};
    for (uint32_t k = 0; k < 4; ++k) segments.push_back({corners[k], corners[(k + 1) % 4], firstId + k});
    return segments;
  }
  const int count = 1 + static_cast<int>(draw.Next() % 3u);
  for (int k = 0; k < count; ++k) {
    const Vector2D a = draw.Point(3.0f);
    // Now and then an axis-parallel one, where rays run along segments.
    const Vector2D b = draw.Chance(25) ? a + Vector2D(draw.Uniform(-4.0f, 4.0f), 0.0f) : draw.Point(3.0f);
    segments.push_back({a, b, firstId + static_cast<uint32_t>(k)});
  }
  return segments;
}

std::vector<CircleSpec> DrawCircles(Draw& draw, uint32_t firstId) {
  std::vector<CircleSpec> circles;
  const int count = 1 + static_cast<int>(draw.Next() % 2u);
  for (int k = 0; k < count; ++k)
    circles.push_back({draw.Point(2.0f), draw.Uniform(0.2f, 2.0f), firstId + static_cast<uint32_t>(k)});
  return circles;
}

// A motion of one body: where it starts and ends, and its angles.
struct Motion {
  Vector2D from, to;
  float fromAngle = 0.0f, toAngle = 0.0f;
};

// A motion of about `steps` sub-steps (1, 4 or 20), or none.
Motion DrawMotion(Draw& draw, const Vector2D& from, int steps) {
  Motion motion;
  motion.from = from;
  motion.fromAngle = draw.Chance(50) ? 0.0f : draw.Uniform(0.0f, 360.0f);
  motion.to = from;
  motion.toAngle = motion.fromAngle;
  if (steps == 0) return motion;
  float lo = 0.02f, hi = 0.45f;
  if (steps == 4) lo = 3.55f, hi = 4.45f;
  if (steps == 20) lo = 19.6f, hi = 30.0f;
  const float length = draw.Uniform(lo, hi);
  motion.to = from + draw.Direction() * length;
  if (draw.Chance(30)) motion.toAngle = motion.fromAngle + draw.Uniform(-length, length);
  return motion;
}

int DrawSteps(Draw& draw) {
  static const int kSteps[3] = {1, 4, 20};
  return kSteps[draw.Next() % 3u];
}

// --- Everything a pass leaves in an object, written out for comparison --------------------------

class Snapshot {
 public:
  void Value(const char* what, float v) { m_values.push_back(v), m_names.push_back(what); }
  void Point(const char* what, const Vector2D& v) {
    Value(what, v.x);
    Value(what, v.y);
  }
  void Exact(const char* what, uint64_t v) { m_words.push_back(v), m_wordNames.push_back(what); }

  void Shape(const Collision2D::ShapeContact& c) {
    Exact("shape.id", c.id);
    Point("shape.position", c.contactPosition);
    Value("shape.orientation", c.contactOrientation);
    Value("shape.penetration", c.penetrationDistance);
    Exact("shape.points", static_cast<uint32_t>(c.numberOfIntersectedPoints));
    for (int p = 0; p < c.numberOfIntersectedPoints && p < Collision2D::kMaximumContactPoints; ++p) {
      Point("shape.point", c.contactPoint[p]);
      Point("shape.normal", c.normal[p]);
    }
    Exact("shape.userId", c.userId);
    for (int p = 0; p < Collision2D::kMaximumContactPoints; ++p) {
      Exact("shape.myCircleUserId", c.myCircleUserId[p]);
      Exact("shape.myLineSegmentUserId", c.myLineSegmentUserId[p]);
    }
  }

  void Object(const DynamicObject& object) {
    const Collision2D::CollisionResults& results = *object.GetCollisionData();
    Exact("dynamic count", static_cast<uint32_t>(results.GetDynamicObjectCount()));
    // The record in progress too: what a pass leaves there is where the next pair goes on.
    for (int32_t r = 0; r <= results.GetDynamicObjectCount(); ++r) {
      const Collision2D::DGEO_C& record = results.GetDynamicObjectContacts()[static_cast<size_t>(r)];
      Exact("pair.id", record.id);
      Point("pair.position", record.contactPosition);
      Value("pair.orientation", record.contactOrientation);
      Exact("pair.segments", static_cast<uint32_t>(record.currentLineSegmentsNumber));
      Exact("pair.circles", static_cast<uint32_t>(record.currentCirclesNumber));
      for (int32_t k = 0; k < record.currentLineSegmentsNumber; ++k) Shape(record.lineSegments[static_cast<size_t>(k)]);
      for (int32_t k = 0; k < record.currentCirclesNumber; ++k) Shape(record.circles[static_cast<size_t>(k)]);
    }
    Exact("static segment count", static_cast<uint32_t>(results.GetStaticLineSegmentCount()));
    for (int32_t r = 0; r < results.GetStaticLineSegmentCount(); ++r)
      Shape(results.GetStaticLineSegmentContacts()[static_cast<size_t>(r)]);
    Exact("static circle count", static_cast<uint32_t>(results.GetStaticCircleCount()));
    for (int32_t r = 0; r < results.GetStaticCircleCount(); ++r)
      Shape(results.GetStaticCircleContacts()[static_cast<size_t>(r)]);
    Exact("rectangle count", static_cast<uint32_t>(results.GetBoundingRectangleCount()));
    Point("sub-step position", object.GetSubStepPosition());
    for (size_t k = 0; k < object.ActiveLineSegmentCount(); ++k) {
      Point("sub-step segment", object.GetSubStepLineSegments()[k]->pointA);
      Point("sub-step segment", object.GetSubStepLineSegments()[k]->pointB);
    }
    for (size_t k = 0; k < object.ActiveCircleCount(); ++k)
      Point("sub-step circle", object.GetSubStepCircles()[k]->center);
  }

  bool HasContacts() const { return m_contacts; }
  void NoteContacts(const DynamicObject& object) {
    const Collision2D::CollisionResults& results = *object.GetCollisionData();
    m_contacts = m_contacts || results.GetDynamicObjectCount() > 0 || results.GetStaticLineSegmentCount() > 0 ||
                 results.GetStaticCircleCount() > 0;
  }

  // Empty when equal, else the first difference.
  std::string Difference(const Snapshot& other) const {
    std::ostringstream out;
    if (m_words.size() != other.m_words.size() || m_values.size() != other.m_values.size()) {
      out << "different shapes: " << m_words.size() << "/" << other.m_words.size() << " words, "
          << m_values.size() << "/" << other.m_values.size() << " values";
      for (size_t k = 0; k < std::min(m_words.size(), other.m_words.size()); ++k) {
        if (m_words[k] != other.m_words[k]) {
          out << "; first at " << m_wordNames[k] << ": " << m_words[k] << " vs " << other.m_words[k];
          break;
        }
      }
      return out.str();
    }
    for (size_t k = 0; k < m_words.size(); ++k) {
      if (m_words[k] != other.m_words[k]) {
        out << m_wordNames[k] << ": " << m_words[k] << " vs " << other.m_words[k];
        return out.str();
      }
    }
    for (size_t k = 0; k < m_values.size(); ++k) {
      const float a = m_values[k], b = other.m_values[k];
      const bool same = (std::isnan(a) && std::isnan(b)) || a == b || std::fabs(a - b) <= kTolerance;
      if (!same) {
        out << m_names[k] << ": " << a << " vs " << b;
        return out.str();
      }
    }
    return std::string();
  }

 private:
  std::vector<float> m_values;
  std::vector<const char*> m_names;
  std::vector<uint64_t> m_words;
  std::vector<const char*> m_wordNames;
  bool m_contacts = false;
};

// Runs a case through the shortcut path and the plain path and reports the first difference.
template <typename Run>
std::string Compare(Run&& run, bool& contacts) {
  Snapshot fast, plain;
  Collision2D::Narrow::SetShortcutsEnabled(true);
  run(fast);
  Collision2D::Narrow::SetShortcutsEnabled(false);
  run(plain);
  Collision2D::Narrow::SetShortcutsEnabled(true);
  contacts = plain.HasContacts();
  return fast.Difference(plain);
}

Body MakeShapes(Draw& draw, Shapes shapes, uint32_t slot, uint32_t idBase) {
  std::vector<SegmentSpec> segments;
  std::vector<CircleSpec> circles;
  if (shapes != Shapes::Circles) segments = DrawSegments(draw, idBase);
  if (shapes != Shapes::Segments) circles = DrawCircles(draw, idBase + 10);
  const float thickness = draw.Chance(50) ? 0.0f : draw.Uniform(0.0f, 1.5f);
  return CollisionTest::MakeBody(segments, circles, slot, thickness);
}

// One random pair: what both bodies are made of and how they move; built afresh for each run.
struct PairCase {
  Shapes first, second;
  int stepsA, stepsB;  // 0: it does not move
  uint64_t seed;
  // Bodies turned about a centre off their origin and shown flipped: the shortcut path places
  // a body that does not turn by offsets from its pivot, the plain path point by point.
  bool offCentre = false;

  void Run(Snapshot& snapshot) const {
    Draw draw(seed);
    Body a = MakeShapes(draw, first, 3, 100);
    Body b = MakeShapes(draw, second, 7, 200);
    if (offCentre) {
      for (DynamicObject* body : {a.object.get(), b.object.get()}) {
        body->SetCenter(draw.Point(2.0f));
        body->SetCurrentCollisionFrame(0, 0, draw.Chance(50), draw.Chance(50));
      }
    }
    const Motion motionA = DrawMotion(draw, draw.Point(3.0f), stepsA);
    // B waits somewhere near A's path, so that many pairs touch.
    const Vector2D along = motionA.from + (motionA.to - motionA.from) * draw.Uniform(0.0f, 1.0f);
    const Motion motionB = DrawMotion(draw, along + draw.Point(4.0f), stepsB);
    a->SetUpdateOnIdle(draw.Chance(80));
    b->SetUpdateOnIdle(draw.Chance(80));
    CollisionTest::Move(*a, motionA.from, motionA.to, motionA.fromAngle, motionA.toAngle);
    CollisionTest::Move(*b, motionB.from, motionB.to, motionB.fromAngle, motionB.toAngle);
    const uint8_t layer = 2;
    a->CollideGeometric(*b, &layer);
    snapshot.Object(*a);
    snapshot.Object(*b);
    snapshot.NoteContacts(*a);
  }
};

// Both moved (2 in 5), only the first (2 in 5), or resting.
PairCase DrawPairCase(Shapes first, Shapes second, uint64_t seed, bool offCentre) {
  Draw draw(seed * 7919u);
  PairCase pair{first, second, 0, 0, seed, offCentre};
  const uint32_t motions = draw.Next() % 5u;
  if (motions < 4) pair.stepsA = DrawSteps(draw);
  if (motions < 2) pair.stepsB = DrawSteps(draw);
  return pair;
}

// One random body against one static segment or circle.
struct StaticCase {
  Shapes shapes;
  bool circle;
  int steps;
  uint64_t seed;

  void Run(Snapshot& snapshot) const {
    Draw draw(seed);
    Body a = MakeShapes(draw, shapes, 3, 100);
    const Motion motion = DrawMotion(draw, draw.Point(3.0f), steps);
    const Vector2D along = motion.from + (motion.to - motion.from) * draw.Uniform(0.0f, 1.0f);
    CollisionTest::Move(*a, motion.from, motion.to, motion.fromAngle, motion.toAngle);
    const uint8_t layer = 1;
    if (circle) {
      Collision2D::StaticCollisionCircle fixed;
      fixed.SetCircle(Math::Circle2D(along + draw.Point(4.0f), draw.Uniform(0.2f, 3.0f)));
      fixed.SetSlot(5);
      fixed.SetUserId(55);
      if (steps == 0)
        a->TouchStaticCircle(fixed, layer);
      else
        a->SweepAgainstStaticCircle(fixed, layer);
    } else {
      Collision2D::StaticCollisionLineSegment fixed;
      const Vector2D start = along + draw.Point(4.0f);
      const Vector2D end = draw.Chance(30) ? start + Vector2D(draw.Uniform(-8.0f, 8.0f), 0.0f) : along + draw.Point(6.0f);
      fixed.SetLineSegment(Math::LineSegment2D(start, end));
      fixed.SetSlot(6);
      fixed.SetUserId(66);
      if (steps == 0)
        a->TouchStaticLineSegment(fixed, layer);
      else
        a->SweepAgainstStaticLineSegment(fixed, layer);
    }
    snapshot.Object(*a);
    snapshot.NoteContacts(*a);
  }
};

const char* NameOf(Shapes shapes) {
  return shapes == Shapes::Segments ? "segments" : shapes == Shapes::Circles ? "circles" : "segments+circles";
}

// `count` random pairs of each kind through both paths; each kind must touch in more than
// `touching` of them, so that the cases exercise contacts, not only misses.
void ExpectPairsAgree(const std::vector<std::pair<Shapes, Shapes>>& kinds, int count, uint64_t seed, bool offCentre,
                      int touching) {
  for (const auto& kind : kinds) {
    int touched = 0;
    for (int n = 0; n < count; ++n) {
      const PairCase pair = DrawPairCase(kind.first, kind.second, seed++, offCentre);
      bool contacts = false;
      const std::string difference = Compare([&](Snapshot& s) { pair.Run(s); }, contacts);
      touched += contacts ? 1 : 0;
      ASSERT_EQ(difference, "") << NameOf(kind.first) << " against " << NameOf(kind.second) << ", steps "
                                << pair.stepsA << "/" << pair.stepsB << ", seed " << pair.seed;
    }
    EXPECT_GT(touched, touching) << NameOf(kind.first) << " against " << NameOf(kind.second);
  }
}

// 10,000 random pairs of each kind of shapes: segments against segments, segments against circles
// and the other way round, circles against circles, and bodies with both; each pair both moving,
// only the first moving, or resting, at 1, 4 or 20 sub-steps.
TEST(NarrowPhaseShortcuts, RandomPairsGiveThePlainPathsContacts) {
  ExpectPairsAgree({{Shapes::Segments, Shapes::Segments},
                    {Shapes::Segments, Shapes::Circles},
                    {Shapes::Circles, Shapes::Segments},
                    {Shapes::Circles, Shapes::Circles},
                    {Shapes::Both, Shapes::Both}},
                   kPairsPerKind, 1, false, kPairsPerKind / 10);
}

// Fewer pairs again with centres off the bodies' origins and flipped frames.
TEST(NarrowPhaseShortcuts, RandomPairsOffCentreAndFlippedGiveThePlainPathsContacts) {
  ExpectPairsAgree(
      {{Shapes::Segments, Shapes::Segments}, {Shapes::Segments, Shapes::Circles}, {Shapes::Both, Shapes::Both}},
      kPairsPerKind / 5, 900000, true, kPairsPerKind / 50);
}

// 10,000 random bodies against a static segment and as many against a static circle, moving at 1,
// 4 or 20 sub-steps or (one in ten) resting.
TEST(NarrowPhaseShortcuts, RandomSweepsAgainstStaticShapesGiveThePlainPathsContacts) {
  const Shapes kinds[3] = {Shapes::Segments, Shapes::Circles, Shapes::Both};
  uint64_t seed = 500000;
  for (bool circle : {false, true}) {
    int touched = 0;
    for (int n = 0; n < kPairsPerKind; ++n) {
      Draw draw(seed * 7919u);
      StaticCase sweep{kinds[draw.Next() % 3u], circle, draw.Chance(10) ? 0 : DrawSteps(draw), seed++};
      bool contacts = false;
      const std::string difference = Compare([&](Snapshot& s) { sweep.Run(s); }, contacts);
      touched += contacts ? 1 : 0;
      ASSERT_EQ(difference, "") << NameOf(sweep.shapes) << " against a static " << (circle ? "circle" : "segment")
                                << ", steps " << sweep.steps << ", seed " << sweep.seed;
    }
    EXPECT_GT(touched, kPairsPerKind / 10) << (circle ? "static circle" : "static segment");
  }
}

// The layer benchmark's scenes, stepped side by side through both paths.
TEST(NarrowPhaseShortcuts, LayerScenesGiveThePlainPathsContacts) {
  using CollisionTest::LayerScene;
  for (LayerScene scene : {LayerScene::Game, LayerScene::Level, LayerScene::Dense}) {
    const CollisionTest::SceneMotion motion = CollisionTest::RecordScene(scene, 300, 40);
    CollisionTest::SceneLayer fast(motion, true), plain(motion, true);
    int64_t contacts = 0;
    for (int64_t tick = 1; tick < 50; ++tick) {
      const Math::Vector2D* frame = motion.Frame(motion.ReplayFrame(tick));
      Collision2D::Narrow::SetShortcutsEnabled(true);
      fast.Step(frame);
      Collision2D::Narrow::SetShortcutsEnabled(false);
      plain.Step(frame);
      Collision2D::Narrow::SetShortcutsEnabled(true);
      for (size_t i = 0; i < fast.ids.size(); ++i) {
        Snapshot a, b;
        a.Object(*fast.engine.GetDynamicObject(fast.ids[i]));
        b.Object(*plain.engine.GetDynamicObject(plain.ids[i]));
        contacts += fast.engine.GetDynamicObject(fast.ids[i])->GetCollisionData()->GetDynamicObjectCount();
        ASSERT_EQ(a.Difference(b), "") << "scene " << static_cast<int>(scene) << ", frame " << tick << ", box " << i;
      }
    }
    EXPECT_GT(contacts, 0) << "scene " << static_cast<int>(scene);
  }
}

}  // namespace
