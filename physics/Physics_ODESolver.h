#pragma once
// Small explicit integrators for x' = f(t, x) over a vector of floats: Euler, Heun and fourth-order
// Runge-Kutta. Every rigid body owns two (velocity and pose); all arithmetic is single precision.
#include <vector>

#include "core/Core_Object.h"

namespace Physics2D {

// Writes one derivative value per state entry; state and derivative may be the same vector, so an
// implementation reads everything it needs before it writes.
using DerivativeFunction = void (*)(float time, const std::vector<float>& state, std::vector<float>& derivative,
                                    void* context);

class ODESolver : public Core::Object {
 public:
  ODESolver() = default;
  ODESolver(DerivativeFunction derivative, const std::vector<float>& initialState, void* context);

  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  virtual void Step(float dt) = 0;

  void SetDerivative(DerivativeFunction derivative) { m_derivative = derivative; }
  void SetContext(void* context) { m_context = context; }
  std::vector<float>& GetState() { return m_state; }
  const std::vector<float>& GetState() const { return m_state; }
  float GetTime() const { return m_time; }

 protected:
  // Reads one saved vector; fails the stream when its length differs from the state's.
  static void ReadMatchingVector(Core::File& file, std::vector<float>& vector, size_t expected);
  static void WriteVector(Core::File& file, const std::vector<float>& vector);
  static void ReadVector(Core::File& file, std::vector<float>& vector);

  DerivativeFunction m_derivative = nullptr;
  std::vector<float> m_state;
  std::vector<float> m_next;
  float m_time = 0.0f;
  void* m_context = nullptr;
};

class ODESolverEuler : public ODESolver {
 public:
  VELKOR_DECLARE_CLASS(ODESolverEuler);
  ODESolverEuler() = default;
  ODESolverEuler(DerivativeFunction derivative, const std::vector<float>& initialState, void* context)
      : ODESolver(derivative, initialState, context) {}
  void Step(float dt) override;
};

class ODESolverHeun : public ODESolver {
 public:
  VELKOR_DECLARE_CLASS(ODESolverHeun);
  ODESolverHeun() = default;
  ODESolverHeun(DerivativeFunction derivative, const std::vector<float>& initialState, void* context);
  void Step(float dt) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

 private:
  std::vector<float> m_work;
};

class ODESolverRungeKuttaN4 : public ODESolver {
 public:
  VELKOR_DECLARE_CLASS(ODESolverRungeKuttaN4);
  ODESolverRungeKuttaN4() = default;
  ODESolverRungeKuttaN4(DerivativeFunction derivative, const std::vector<float>& initialState, void* context);
  void Step(float dt) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

 private:
  std::vector<float> m_k1, m_a, m_b, m_c;
};

}  // namespace Physics2D
