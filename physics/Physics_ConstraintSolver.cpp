#include "physics/Physics_ConstraintSolver.h"

#include <algorithm>

#include "core/Core_File.h"
#include "physics/Physics_RigidBody.h"
#include "physics/Physics_Settings.h"

namespace Physics2D {

void ConstraintSolver::SetPostCollisionMode(bool postCollision) {
  m_postCollision = postCollision;
  GetSettings().postCollision = postCollision;
}

void ConstraintSolver::Resize(uint32_t rowCount, uint32_t bodyCount) {
  m_rowCount = rowCount;
  bool grown = false;
  if (rowCount > m_rowCapacity) {
    m_rowCapacity = rowCount;
    const size_t capacity = rowCount;
    m_jacobian.assign(capacity * 6, 0.0f);
    m_scaledTerms.assign(capacity * 6, 0.0f);
    m_rows.clear();
    m_rows.resize(capacity);
    m_error.assign(capacity, 0.0f);
    m_softness.assign(capacity, 0.0f);
    m_inverseDiagonal.assign(capacity, 0.0f);
    m_rhs.assign(capacity, 0.0f);
    m_lower.assign(capacity, 0.0f);
    m_upper.assign(capacity, 0.0f);
    m_lambda.assign(capacity, 0.0f);
    m_passRows.assign(capacity, PassRow());
    m_runs.assign(capacity, Run());
    grown = true;
  }
  m_bodyCount = bodyCount;
  if (bodyCount > m_bodyCapacity) {
    m_bodyCapacity = bodyCount;
    m_bodyTerms.assign(static_cast<size_t>(bodyCount) * 3, 0.0f);
  }
  if (rowCount > 0) {
    std::fill_n(m_jacobian.begin(), static_cast<size_t>(rowCount) * 6, 0.0f);
    std::fill_n(m_scaledTerms.begin(), static_cast<size_t>(rowCount) * 6, 0.0f);
    std::fill_n(m_error.begin(), rowCount, 0.0f);
    std::fill_n(m_softness.begin(), rowCount, 0.0f);
    std::fill_n(m_lower.begin(), rowCount, 0.0f);
    std::fill_n(m_upper.begin(), rowCount, 0.0f);
    if (grown) std::fill_n(m_lambda.begin(), rowCount, 0.0f);
    for (uint32_t i = 0; i < rowCount; ++i) {
      m_rows[i].index = -1;
      m_rows[i].value = 0.0f;
    }
  }
  if (bodyCount > 0) std::fill(m_bodyTerms.begin(), m_bodyTerms.end(), 0.0f);
}

void ConstraintSolver::ReleaseBodies() {
  for (ConstraintRow& row : m_rows) {
    row.body1.Reset();
    row.body2.Reset();
  }
  m_rowCount = 0;
  m_bodyCount = 0;
}

void ConstraintSolver::Solve() {
  const uint32_t n = m_rowCount;
  if (n == 0) return;
  const float invStep = GetSettings().simulationInverseStep;

  // Runs of rows on the same two terms; a joint's rows always share their bodies.
  uint32_t runCount = 0;
  for (uint32_t i = 0; i < n; ++i) {
    RigidBody* b1 = m_rows[i].body1.Get();
    RigidBody* b2 = m_rows[i].body2.Get();
    float* t1 = b1 != nullptr ? b1->GetConstraintTerm() : nullptr;
    float* t2 = b2 != nullptr ? b2->GetConstraintTerm() : nullptr;
    if (t1 == nullptr) t1 = m_spareTerm;
    if (t2 == nullptr) t2 = m_spareTerm;
    if (runCount > 0 && m_runs[runCount - 1].term1 == t1 && m_runs[runCount - 1].term2 == t2) {
      ++m_runs[runCount - 1].count;
    } else {
      m_runs[runCount++] = Run{t1, t2, i, 1, t1 == t2, false, false};
    }

    float* J = &m_jacobian[static_cast<size_t>(i) * 6];
    float* B = &m_scaledTerms[static_cast<size_t>(i) * 6];
    const float m1 = b1 != nullptr ? b1->GetMassProperties().GetInverseMass() : 0.0f;
    const float I1 = b1 != nullptr ? b1->GetMassProperties().GetInverseInertia() : 0.0f;
    const float m2 = b2 != nullptr ? b2->GetMassProperties().GetInverseMass() : 0.0f;
    const float I2 = b2 != nullptr ? b2->GetMassProperties().GetInverseInertia() : 0.0f;

    if (m_postCollision) {
      m_rhs[i] = invStep * m_error[i];
    } else {
      float a1[3] = {0.0f, 0.0f, 0.0f};
      float a2[3] = {0.0f, 0.0f, 0.0f};
      if (b1 != nullptr) {
        a1[0] = m1 * b1->GetForce().x + invStep * b1->GetVelocity().x;
        a1[1] = m1 * b1->GetForce().y + invStep * b1->GetVelocity().y;
        a1[2] = I1 * b1->GetTorque() + invStep * b1->GetAngularVelocityRadians();
      }
      if (b2 != nullptr) {
        a2[0] = m2 * b2->GetForce().x + invStep * b2->GetVelocity().x;
        a2[1] = m2 * b2->GetForce().y + invStep * b2->GetVelocity().y;
        a2[2] = I2 * b2->GetTorque() + invStep * b2->GetAngularVelocityRadians();
      }
      const float projected = J[0] * a1[0] + J[1] * a1[1] + J[2] * a1[2] + J[3] * a2[0] + J[4] * a2[1] + J[5] * a2[2];
      m_rhs[i] = invStep * m_error[i] - projected;
    }
    m_softness[i] = m_softness[i] * invStep;
    B[0] = m1 * J[0];
    B[1] = m1 * J[1];
    B[2] = I1 * J[2];
    B[3] = m2 * J[3];
    B[4] = m2 * J[4];
    B[5] = I2 * J[5];
    Run& run = m_runs[runCount - 1];
    run.moves1 = run.moves1 || B[0] != 0.0f || B[1] != 0.0f || B[2] != 0.0f;
    run.moves2 = run.moves2 || B[3] != 0.0f || B[4] != 0.0f || B[5] != 0.0f;
  }

  if (m_warmStart) {
    for (uint32_t r = 0; r < runCount; ++r) {
      const Run& run = m_runs[r];
      for (uint32_t i = run.first; i < run.first + run.count; ++i) {
        m_lambda[i] = m_lambda[i] * 0.9f;
        const float* B = &m_scaledTerms[static_cast<size_t>(i) * 6];
        float* t1 = run.term1;
        float* t2 = run.term2;
        t1[0] += B[0] * m_lambda[i];
        t1[1] += B[1] * m_lambda[i];
        t1[2] += B[2] * m_lambda[i];
        t2[0] += B[3] * m_lambda[i];
        t2[1] += B[4] * m_lambda[i];
        t2[2] += B[5] * m_lambda[i];
      }
    }
  } else {
    std::fill_n(m_lambda.begin(), n, 0.0f);
  }

  for (uint32_t i = 0; i < n; ++i) {
    float* J = &m_jacobian[static_cast<size_t>(i) * 6];
    const float* B = &m_scaledTerms[static_cast<size_t>(i) * 6];
    const float d = J[0] * B[0] + J[1] * B[1] + J[2] * B[2] + J[3] * B[3] + J[4] * B[4] + J[5] * B[5] + m_softness[i];
    const float inverse = d == 0.0f ? 0.0f : m_factor / d;
    for (int k = 0; k < 6; ++k) J[k] = J[k] * inverse;
    m_rhs[i] = m_rhs[i] * inverse;
    // From here on the diagonal array holds the scaled softness.
    m_inverseDiagonal[i] = m_softness[i] * inverse;

    PassRow& row = m_passRows[i];
    for (int k = 0; k < 6; ++k) {
      row.jacobian[k] = J[k];
      row.scaled[k] = B[k];
    }
    row.rhs = m_rhs[i];
    row.softness = m_inverseDiagonal[i];
    row.lower = m_lower[i];
    row.upper = m_upper[i];
    row.link = m_rows[i].index;
    row.linkValue = m_rows[i].value;
  }

  m_runCount = runCount;
  Iterate();
  m_spareTerm[0] = m_spareTerm[1] = m_spareTerm[2] = 0.0f;
}

void ConstraintSolver::Iterate() {
  const PassRow* rows = m_passRows.data();
  float* lambda = m_lambda.data();
  const Run* runs = m_runs.data();
  const uint32_t runCount = m_runCount;
  for (uint32_t pass = 0; pass < m_iterations; ++pass) {
    // The previous run's terms, still in registers: the next run usually shares one of its bodies,
    // and taking the value from here saves a store-to-load round trip on the critical path.
    const float* last1 = nullptr;
    const float* last2 = nullptr;
    float lx1 = 0.0f, ly1 = 0.0f, la1 = 0.0f, lx2 = 0.0f, ly2 = 0.0f, la2 = 0.0f;
    for (uint32_t r = 0; r < runCount; ++r) {
      const Run& run = runs[r];
      const uint32_t end = run.first + run.count;
      if (run.shared) {
        last1 = last2 = nullptr;
        float* t = run.term1;
        for (uint32_t i = run.first; i < end; ++i) {
          const PassRow& row = rows[i];
          const float* J = row.jacobian;
          const float* B = row.scaled;
          float delta = row.rhs - lambda[i] * row.softness - (J[0] * t[0] + J[1] * t[1] + J[2] * t[2]) -
                        (J[3] * t[0] + J[4] * t[1] + J[5] * t[2]);
          float lower = row.lower;
          float upper = row.upper;
          if (row.link >= 0) {
            upper = lambda[row.link] * row.linkValue;
            lower = -upper;
          }
          const float next = lambda[i] + delta;
          if (next < lower) {
            delta = lower - lambda[i];
            lambda[i] = lower;
          } else if (next > upper) {
            delta = upper - lambda[i];
            lambda[i] = upper;
          } else {
            lambda[i] = next;
          }
          t[0] += B[0] * delta;
          t[1] += B[1] * delta;
          t[2] += B[2] * delta;
          t[0] += B[3] * delta;
          t[1] += B[4] * delta;
          t[2] += B[5] * delta;
        }
        continue;
      }
      float x1, y1, a1, x2, y2, a2;
      if (run.term1 == last1) {
        x1 = lx1, y1 = ly1, a1 = la1;
      } else if (run.term1 == last2) {
        x1 = lx2, y1 = ly2, a1 = la2;
      } else {
        x1 = run.term1[0], y1 = run.term1[1], a1 = run.term1[2];
      }
      if (run.term2 == last1) {
        x2 = lx1, y2 = ly1, a2 = la1;
      } else if (run.term2 == last2) {
        x2 = lx2, y2 = ly2, a2 = la2;
      } else {
        x2 = run.term2[0], y2 = run.term2[1], a2 = run.term2[2];
      }
      for (uint32_t i = run.first; i < end; ++i) {
        const PassRow& row = rows[i];
        const float* J = row.jacobian;
        const float* B = row.scaled;
        float delta = row.rhs - lambda[i] * row.softness - (J[0] * x1 + J[1] * y1 + J[2] * a1) -
                      (J[3] * x2 + J[4] * y2 + J[5] * a2);
        float lower = row.lower;
        float upper = row.upper;
        if (row.link >= 0) {
          upper = lambda[row.link] * row.linkValue;
          lower = -upper;
        }
        const float previous = lambda[i];
        const float next = previous + delta;
        if (next < lower) {
          delta = lower - previous;
          lambda[i] = lower;
        } else if (next > upper) {
          delta = upper - previous;
          lambda[i] = upper;
        } else {
          lambda[i] = next;
        }
        if (run.moves1) {
          x1 += B[0] * delta;
          y1 += B[1] * delta;
          a1 += B[2] * delta;
        }
        if (run.moves2) {
          x2 += B[3] * delta;
          y2 += B[4] * delta;
          a2 += B[5] * delta;
        }
      }
      if (run.moves1) {
        run.term1[0] = x1;
        run.term1[1] = y1;
        run.term1[2] = a1;
      }
      if (run.moves2) {
        run.term2[0] = x2;
        run.term2[1] = y2;
        run.term2[2] = a2;
      }
      last1 = run.term1;
      last2 = run.term2;
      lx1 = x1, ly1 = y1, la1 = a1;
      lx2 = x2, ly2 = y2, la2 = a2;
    }
  }
}

void ConstraintSolver::Save(Core::File& file) const {
  Core::WriteValue<uint32_t>(file, m_iterations);
  Core::WriteValue<uint8_t>(file, m_warmStart);
  Core::WriteValue<float>(file, m_factor);
}

bool ConstraintSolver::Load(Core::File& file) {
  const uint32_t iterations = Core::ReadValue<uint32_t>(file);
  const uint8_t warmStart = Core::ReadValue<uint8_t>(file);
  const float factor = Core::ReadValue<float>(file);
  if (file.HasFailed()) return false;
  // A huge count read from a file would stall every step.
  if (iterations < 10 || iterations > kMaximumIterations) {
    file.Fail();
    return false;
  }
  m_iterations = iterations;
  m_warmStart = warmStart != 0 ? 1 : 0;
  m_factor = factor;
  return true;
}

}  // namespace Physics2D
