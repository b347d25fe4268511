#pragma once
// Reading object references from hostile streams.
#include "core/Core_File.h"

namespace Physics2D {

// Reads one object into pointer when it has the expected class; anything else fails the stream.
// An object of the wrong class is left alone rather than deleted: the stream's object table may
// hand back an object that is still being loaded further up the call chain.
template <typename T>
void ReadTypedObject(Core::File& file, Core::SmartPointer<T>& pointer) {
  Core::Object* object = file.ReadObject();
  T* typed = dynamic_cast<T*>(object);
  if (object != nullptr && typed == nullptr) {
    file.Fail();
    pointer.Reset();
    return;
  }
  pointer = typed;
}

}  // namespace Physics2D
