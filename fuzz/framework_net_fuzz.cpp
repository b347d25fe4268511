// Multiplayer messages from a hostile peer: the client's and the host's message handlers, and the
// game object's network records. Nothing may crash, overrun or allocate from a count alone.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_NetworkFile.h"
#include "framework/Quillon_QlnNet.h"

namespace {

struct Machines {
  std::unique_ptr<Quillon::QlnNet> client;
  std::unique_ptr<Quillon::QlnNet> host;
  Core::SmartPointer<Quillon::GameObject> base;
  Network::NetAddress server;

  Machines() {
    Quillon::QlnNet::SetSessionLimit(2);
    Quillon::QlnNet::Environment environment;
    environment.keyboard = []() -> Input::Keyboard* { return nullptr; };
    environment.mouse = []() -> Input::Mouse* { return nullptr; };
    client = std::make_unique<Quillon::QlnNet>(environment);
    host = std::make_unique<Quillon::QlnNet>(environment);
    client->StartSession(false, nullptr, "fuzz", "", 1, 0, 60, 0, 0);
    host->StartSession(true, nullptr, "fuzz", "pw", 1, 0, 60, 9, 0);
    if (host->GetTransportSession() != nullptr) {
      host->GetTransportSession()->SetLocalAddress(Network::NetAddress("127.0.0.1", 0));
      host->StartHosting("host", 4, 1, 60.0f);
    }
    base = new Quillon::GameObject();
    client->AddBaseNetObject(base.Get(), "Ball");
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Machines machines;
  if (size < 2) return 0;
  const uint8_t selector = data[0];
  const uint32_t type = data[1] % 20;
  const uint8_t* payload = data + 2;
  const uint32_t payloadSize = static_cast<uint32_t>(size - 2);
  switch (selector % 4) {
    case 0:
      machines.client->HandleClientMessage(selector & 4 ? Network::kChannelDiscovery : Network::kChannelClientStream,
                                           machines.client->GetServerAddress(), type, payload, payloadSize);
      break;
    case 1:
      machines.host->HandleHostMessage(selector & 4 ? Network::kChannelHostDatagram : Network::kChannelHostListen,
                                       Network::NetAddress("127.0.0.1", 40000), type, payload, payloadSize);
      break;
    case 2: {
      Core::SmartPointer<Core::Object> copy(machines.base->Clone());
      auto* object = static_cast<Quillon::GameObject*>(copy.Get());
      Quillon::NetworkFile file(payload, payloadSize);
      if (selector & 4) {
        object->NetworkSyncReceive(file);
      } else {
        object->NetworkLoad(file);
      }
      break;
    }
    default: {
      Quillon::NetworkFile file(payload, payloadSize);
      Core::SmartPointer<Quillon::GameObject> object = file.ReadNetworkObject();
      (void)object;
      break;
    }
  }
  return 0;
}
