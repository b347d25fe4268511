#include "physics/Physics_ODESolver.h"

#include "core/Core_File.h"

namespace Physics2D {

ODESolver::ODESolver(DerivativeFunction derivative, const std::vector<float>& initialState, void* context)
    : m_derivative(derivative), m_state(initialState), m_next(initialState), m_context(context) {}

void ODESolver::WriteVector(Core::File& file, const std::vector<float>& vector) {
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(vector.size()));
  for (float value : vector) Core::WriteValue<float>(file, value);
}

void ODESolver::ReadVector(Core::File& file, std::vector<float>& vector) {
  uint32_t count = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(count, sizeof(float))) count = 0;
  vector.assign(count, 0.0f);
  for (uint32_t i = 0; i < count; ++i) vector[i] = Core::ReadValue<float>(file);
}

void ODESolver::ReadMatchingVector(Core::File& file, std::vector<float>& vector, size_t expected) {
  ReadVector(file, vector);
  // Step walks every work vector over the state's length.
  if (vector.size() != expected) {
    file.Fail();
    vector.assign(expected, 0.0f);
  }
}

void ODESolver::Save(Core::File& file) {
  WriteVector(file, m_state);
  WriteVector(file, m_next);
  Core::WriteValue<float>(file, m_time);
}

void ODESolver::Load(Core::File& file) {
  ReadVector(file, m_state);
  ReadMatchingVector(file, m_next, m_state.size());
  m_time = Core::ReadValue<float>(file);
}

VELKOR_IMPLEMENT_CLASS(ODESolverEuler, "Physics2D::ODESolverEuler");

void ODESolverEuler::Step(float dt) {
  if (m_derivative == nullptr) return;
  const size_t n = m_state.size();
  m_derivative(m_time, m_state, m_next, m_context);
  for (size_t i = 0; i < n; ++i) m_next[i] = m_next[i] * dt + m_state[i];
  for (size_t i = 0; i < n; ++i) m_state[i] = m_next[i];
  m_time = m_time + dt;
}

VELKOR_IMPLEMENT_CLASS(ODESolverHeun, "Physics2D::ODESolverHeun");

ODESolverHeun::ODESolverHeun(DerivativeFunction derivative, const std::vector<float>& initialState, void* context)
    : ODESolver(derivative, initialState, context), m_work(initialState) {}

void ODESolverHeun::Step(float dt) {
  if (m_derivative == nullptr) return;
  const size_t n = m_state.size();
  m_derivative(m_time, m_state, m_next, m_context);
  for (size_t i = 0; i < n; ++i) m_work[i] = m_next[i] * dt + m_state[i];
  m_derivative(m_time + dt, m_work, m_work, m_context);
  const float half = dt * 0.5f;
  for (size_t i = 0; i < n; ++i) m_next[i] = (m_work[i] + m_next[i]) * half + m_state[i];
  for (size_t i = 0; i < n; ++i) m_state[i] = m_next[i];
  m_time = m_time + dt;
}

void ODESolverHeun::Save(Core::File& file) {
  ODESolver::Save(file);
  WriteVector(file, m_work);
}

void ODESolverHeun::Load(Core::File& file) {
  ODESolver::Load(file);
  ReadMatchingVector(file, m_work, m_state.size());
}

VELKOR_IMPLEMENT_CLASS(ODESolverRungeKuttaN4, "Physics2D::ODESolverRungeKuttaN4");

ODESolverRungeKuttaN4::ODESolverRungeKuttaN4(DerivativeFunction derivative, const std::vector<float>& initialState,
                                             void* context)
    : ODESolver(derivative, initialState, context),
      m_k1(initialState),
      m_a(initialState),
      m_b(initialState),
      m_c(initialState) {}

void ODESolverRungeKuttaN4::Step(float dt) {
  if (m_derivative == nullptr) return;
  const size_t n = m_state.size();
  const float h = dt * 0.5f;
  m_derivative(m_time, m_state, m_k1, m_context);
  for (size_t i = 0; i < n; ++i) m_a[i] = m_k1[i] * h + m_state[i];
  m_derivative(m_time + h, m_a, m_a, m_context);
  for (size_t i = 0; i < n; ++i) m_b[i] = m_a[i] * h + m_state[i];
  m_derivative(m_time + h, m_b, m_b, m_context);
  for (size_t i = 0; i < n; ++i) m_c[i] = m_b[i] * dt + m_state[i];
  m_derivative(m_time + dt, m_c, m_c, m_context);
  // The factor is the single-precision 0.166667 of the original integrator, not an exact sixth.
  const float sixth = dt * 0.166667f;
  for (size_t i = 0; i < n; ++i)
    m_next[i] = (m_k1[i] + 2.0f * m_a[i] + 2.0f * m_b[i] + m_c[i]) * sixth + m_state[i];
  for (size_t i = 0; i < n; ++i) m_state[i] = m_next[i];
  m_time = m_time + dt;
}

void ODESolverRungeKuttaN4::Save(Core::File& file) {
  ODESolver::Save(file);
  WriteVector(file, m_k1);
  WriteVector(file, m_a);
  WriteVector(file, m_b);
  WriteVector(file, m_c);
}

void ODESolverRungeKuttaN4::Load(Core::File& file) {
  ODESolver::Load(file);
  ReadMatchingVector(file, m_k1, m_state.size());
  ReadMatchingVector(file, m_a, m_state.size());
  ReadMatchingVector(file, m_b, m_state.size());
  ReadMatchingVector(file, m_c, m_state.size());
}

}  // namespace Physics2D
