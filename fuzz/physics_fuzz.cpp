// A physics engine read from hostile bytes as a saved game holds one (bodies, their forces and
// solvers, joints and the engine's settings), then stepped: what the reader accepts must run.
#include <cstddef>
#include <cstdint>

#include "core/Core_File.h"
#include "physics/Physics_Engine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  // The settings are process-wide and a load writes them: each input starts from the defaults.
  Physics2D::GetSettings() = Physics2D::PhysicsSettings();
  Core::MemoryFile file(data, static_cast<uint32_t>(size));
  Core::SmartPointer<Physics2D::PhysicsEngine> engine;
  Core::ReadObjectPointer(file, engine);
  if (engine && !file.HasFailed()) {
    for (int i = 0; i < 8; ++i) {
      engine->Update(1.0f / 60.0f);
      engine->PostCollisionUpdate(1.0f / 60.0f);
    }
  }
  return 0;
}
