// Multiplayer messages from a hostile peer, read as the wire carries them: framed messages from
// byte 0, reassembled as a connection would. Each one reaches the client's and the host's handlers
// on their stream and datagram channels. Nothing may crash, overrun or allocate from a count alone.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_QlnNet.h"
#include "network/Network_Message.h"

namespace {

struct Machines {
  std::unique_ptr<Quillon::QlnNet> client;
  std::unique_ptr<Quillon::QlnNet> host;
  Core::SmartPointer<Quillon::GameObject> base;

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

// Bounded so that one input cannot stand for thousands of messages.
constexpr uint32_t kMaximumMessage = 64 * 1024;
constexpr size_t kMaximumMessages = 32;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Machines machines;
  Network::StreamBuffer stream;
  std::vector<uint8_t*> messages;
  stream.Append(data, size, messages, kMaximumMessage);
  const Network::NetAddress peer("127.0.0.1", 40000);
  for (size_t i = 0; i < messages.size(); ++i) {
    uint8_t* message = messages[i];
    if (i < kMaximumMessages) {
      const uint32_t type = Network::ReadMessageType(message);
      const uint8_t* payload = message + Network::kMessageHeaderSize;
      const uint32_t payloadSize = Network::ReadMessageLength(message) - Network::kMessageHeaderSize;
      for (uint32_t channel : {Network::kChannelClientStream, Network::kChannelDiscovery})
        machines.client->HandleClientMessage(channel, machines.client->GetServerAddress(), type, payload, payloadSize);
      for (uint32_t channel : {Network::kChannelHostListen, Network::kChannelHostDatagram})
        machines.host->HandleHostMessage(channel, peer, type, payload, payloadSize);
    }
    Network::FreeMessage(message);
  }
  return 0;
}
