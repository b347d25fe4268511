#pragma once

#include <vector>

namespace Math {
class BoundingBox;

// Creates the module's shared scratch storage (the two-box list of BoundingBox::Merge).
// Called once by the engine's start-up; a second call does nothing.
void Initialize();
// Frees that storage; a call without Initialize does nothing.
void Shutdown();

// The two-box scratch list, or null outside Initialize .. Shutdown.
std::vector<BoundingBox>* GetMergeScratch();
}  // namespace Math
