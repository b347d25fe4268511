#include "math/Math_Module.h"

#include <memory>

#include "math/Math_BoundingBox.h"

namespace Math {
namespace {
std::unique_ptr<std::vector<BoundingBox>> mergeScratch;
}

void Initialize() {
  if (!mergeScratch) mergeScratch = std::make_unique<std::vector<BoundingBox>>(2);
}

void Shutdown() { mergeScratch.reset(); }

std::vector<BoundingBox>* GetMergeScratch() { return mergeScratch.get(); }
}  // namespace Math
