#pragma once
// Projected Gauss-Seidel over the linear constraint rows of one step: per-row bounds, softness, and
// friction rows whose bounds follow a linked normal row. Yields one (x, y, angle) term per solved
// body: an acceleration in the engine's update, a displacement per step squared in its
// post-collision correction.
#include <cstdint>
#include <vector>

#include "core/Core_Object.h"

namespace Core { class File; }

namespace Physics2D {

class RigidBody;

struct ConstraintRow {
  Core::SmartPointer<RigidBody> body1;
  Core::SmartPointer<RigidBody> body2;
  int32_t index = -1;  // global row whose impulse bounds this one, or -1
  float value = 0.0f;  // multiplier of that bound
};

class ConstraintSolver {
 public:
  static constexpr uint32_t kDefaultIterations = 75;

  void SetIterations(uint32_t iterations) { m_iterations = iterations; }
  uint32_t GetIterations() const { return m_iterations; }
  void SetPostCollisionMode(bool postCollision);
  bool GetPostCollisionMode() const { return m_postCollision; }
  void SetWarmStart(bool warmStart) { m_warmStart = warmStart ? 1 : 0; }
  void SetFactor(float factor) { m_factor = factor; }

  // Sizes the step's rows and body terms. The arrays only grow; when the body terms move, every
  // body that still points into the old block must have been released first (the engine does it).
  void Resize(uint32_t rowCount, uint32_t bodyCount);
  void Solve();
  // Drops the rows' references to their bodies (a cleared engine must not keep the previous
  // level's bodies alive); the row count becomes 0, the capacity stays.
  void ReleaseBodies();

  uint32_t GetRowCount() const { return m_rowCount; }
  uint32_t GetBodyCount() const { return m_bodyCount; }
  float* GetJacobianRow(uint32_t row) { return &m_jacobian[static_cast<size_t>(row) * 6]; }
  float* GetError() { return m_error.data(); }
  float* GetSoftness() { return m_softness.data(); }
  float* GetLower() { return m_lower.data(); }
  float* GetUpper() { return m_upper.data(); }
  float* GetLambda() { return m_lambda.data(); }
  ConstraintRow* GetRows() { return m_rows.data(); }
  float* GetBodyTerm(uint32_t body) { return &m_bodyTerms[static_cast<size_t>(body) * 3]; }

  // Iterations, warm-start flag and factor.
  void Save(Core::File& file) const;
  // False (nothing changed) for an iteration count outside 10 .. kMaximumIterations.
  bool Load(Core::File& file);

 private:
  uint32_t m_iterations = kDefaultIterations;
  uint8_t m_warmStart = 0;
  float m_factor = 1.0f;
  std::vector<float> m_jacobian;     // six floats per row
  std::vector<float> m_scaledTerms;  // B: inverse mass times the Jacobian, six per row
  uint32_t m_rowCount = 0;
  uint32_t m_rowCapacity = 0;
  std::vector<ConstraintRow> m_rows;
  std::vector<float> m_error, m_softness, m_inverseDiagonal, m_rhs, m_lower, m_upper, m_lambda;
  std::vector<float> m_bodyTerms;
  uint32_t m_bodyCount = 0;
  uint32_t m_bodyCapacity = 0;
  bool m_postCollision = false;

  // What one pass reads of a row, packed so a pass walks one array: the Jacobian scaled by the
  // inverse diagonal, B, the scaled right-hand side and softness, the bounds and the bounding link.
  struct PassRow {
    float jacobian[6];
    float scaled[6];
    float rhs;
    float softness;
    float lower;
    float upper;
    int32_t link;
    float linkValue;
  };
  // Consecutive rows acting on the same two body terms. A run whose two terms differ keeps them in
  // registers for all its rows; one whose terms are the same block goes through memory, as the
  // second update must see the first.
  struct Run {
    float* term1;
    float* term2;
    uint32_t first;
    uint32_t count;
    bool shared;
    // False when every B entry of that body in the run is 0 (an immovable body such as the static
    // one): its term only ever gets 0 added, so it stays as it is and carries no dependency.
    bool moves1;
    bool moves2;
  };
  void Iterate();

  std::vector<PassRow> m_passRows;
  std::vector<Run> m_runs;
  uint32_t m_runCount = 0;
  float m_spareTerm[3] = {0.0f, 0.0f, 0.0f};
};

}  // namespace Physics2D
