// A game object's network records from a hostile peer, each read from byte 0: the record that
// creates an object, the one that loads it whole and the one that updates it every frame.
#include <cstddef>
#include <cstdint>

#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_NetworkFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  static Core::SmartPointer<Quillon::GameObject> base(new Quillon::GameObject());
  {
    Quillon::NetworkFile file(data, static_cast<uint32_t>(size));
    Core::SmartPointer<Quillon::GameObject> object = file.ReadNetworkObject();
  }
  {
    Core::SmartPointer<Core::Object> copy(base->Clone());
    Quillon::NetworkFile file(data, static_cast<uint32_t>(size));
    static_cast<Quillon::GameObject*>(copy.Get())->NetworkLoad(file);
  }
  {
    Core::SmartPointer<Core::Object> copy(base->Clone());
    Quillon::NetworkFile file(data, static_cast<uint32_t>(size));
    static_cast<Quillon::GameObject*>(copy.Get())->NetworkSyncReceive(file);
  }
  return 0;
}
