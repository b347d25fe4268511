#pragma once
// The identity of a shared object on every machine of a session, and the byte stream that carries
// network records. Every NetworkFile read comes from a peer: reads past the payload fail the stream
// (and yield zeros), and a class name from a peer creates only a registered game-object class.
#include <cstdint>
#include <string>

#include "core/Core_File.h"
#include "core/Core_Object.h"

namespace Quillon {

class GameObject;

class NetObjectID : public Core::Object {
 public:
  NetObjectID(uint32_t owner, uint32_t id) : m_id(id), m_owner(owner) {}
  ~NetObjectID() override = default;

  // The next id of the process-wide counter (the first is 1; never reused within a run).
  static uint32_t NextId();

  uint32_t GetId() const { return m_id; }
  uint32_t GetOwner() const { return m_owner; }
  bool IsCreatedHere() const { return m_createdHere != 0; }
  void SetCreatedHere(bool created) { m_createdHere = created ? 1 : 0; }

 private:
  uint32_t m_id = 0;
  uint32_t m_owner = 0;
  uint8_t m_createdHere = 0;
};

// The network id a game object carries, or null.
NetObjectID* GetNetObjectID(const GameObject* object);

class NetworkFile : public Core::MemoryFile {
 public:
  NetworkFile() = default;
  // Reads over a copy of a received payload.
  NetworkFile(const void* data, uint32_t size) : Core::MemoryFile(data, size) {}

  // u32 length, then the bytes (nothing more when empty).
  void WriteString(const std::string& text);
  // A length of 0 leaves text unchanged; a length past the payload fails the stream.
  void ReadString(std::string& text);

  // u8 0 for null; else u8 1, the class name and the object's network save.
  void WriteNetworkObject(Core::Object* object);
  // A new game object of the class named, after its network load; null for a null record, a class
  // that is not a registered game object, or a record the payload cannot hold (the stream fails).
  // The class is checked before anything is built: a peer's name runs no other class's constructor.
  Core::SmartPointer<GameObject> ReadNetworkObject();

  const unsigned char* GetData() const { return GetBuffer().GetData(); }
  uint32_t GetSize() const { return GetBuffer().GetSize(); }
};

}  // namespace Quillon
