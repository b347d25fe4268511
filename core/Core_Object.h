#pragma once
// The object model: reference-counted objects, smart pointers and the class registry that creates
// objects by name when they are read back from streams.
#include <atomic>
#include <cstdint>
#include <map>
#include <string>

#include "core/Core_MemoryManager.h"

struct lua_State;
class LuaScript;

namespace Core {

class File;
class Object;

using CreateFunction = Object* (*)();

class Object : public Base {
 public:
  Object() = default;
  // A copy never inherits its source's references.
  Object(const Object&) : Base(), m_referenceCount(0) {}
  Object& operator=(const Object&) { return *this; }

  // The script attached to this object, if any.
  virtual LuaScript* GetScript();
  // Pushes a full userdata holding this object, with the metatable of its script class.
  virtual int PushToLua(lua_State* state);
  virtual ~Object() = default;
  // A new object of the same class, copy-constructed from this one (no references).
  virtual Object* Clone() const;
  virtual void Save(File& file);
  virtual void Load(File& file);
  // The registered class name: written to streams and given to CreateObject.
  virtual const char* GetClassName() const;
  virtual uint32_t GetSize() const;

  static Object* Create();

  // Atomic: a network session is referenced by whichever thread dispatches its events while its
  // owner lets it go.
  uint32_t GetReferenceCount() const { return m_referenceCount.load(std::memory_order_acquire); }
  void AddReference() { m_referenceCount.fetch_add(1, std::memory_order_acq_rel); }
  // Drops one reference; the release that reaches zero deletes the object.
  void Release() {
    if (DropOne() == 1) delete this;
  }

 private:
  // A stream holds the object it is reading and hands it on unowned once it is whole.
  friend class File;
  void DropReferenceKeepingObject() { DropOne(); }
  // Lowers a count above zero by one; the count it found.
  uint32_t DropOne() {
    uint32_t count = m_referenceCount.load(std::memory_order_acquire);
    while (count > 0 && !m_referenceCount.compare_exchange_weak(count, count - 1, std::memory_order_acq_rel)) {
    }
    return count;
  }

  std::atomic<uint32_t> m_referenceCount{0};
};

// Pushes a full userdata holding `object` (one full pointer) with the metatable registered under
// `scriptName`; returns 1. Every scriptable class's PushToLua calls it with its own script name.
int PushObjectToLua(lua_State* state, Object* object, const char* scriptName);

// An owning pointer to an object of the hierarchy.
template <typename T = Object>
class SmartPointer {
 public:
  SmartPointer() = default;
  SmartPointer(T* object) : m_object(object) {  // NOLINT: implicit by design, like a raw pointer
    if (m_object) m_object->AddReference();
  }
  SmartPointer(const SmartPointer& other) : SmartPointer(other.m_object) {}
  template <typename U>
  SmartPointer(const SmartPointer<U>& other) : SmartPointer(other.Get()) {}
  ~SmartPointer() { Reset(); }

  SmartPointer& operator=(const SmartPointer& other) { return Assign(other.m_object); }
  SmartPointer& operator=(T* object) { return Assign(object); }

  void Reset() {
    T* old = m_object;
    m_object = nullptr;
    if (old) old->Release();
  }

  T* Get() const { return m_object; }
  T* operator->() const { return m_object; }
  T& operator*() const { return *m_object; }
  explicit operator bool() const { return m_object != nullptr; }
  bool operator==(const T* other) const { return m_object == other; }
  bool operator!=(const T* other) const { return m_object != other; }
  bool operator==(std::nullptr_t) const { return m_object == nullptr; }
  bool operator!=(std::nullptr_t) const { return m_object != nullptr; }

 private:
  // Takes the new reference before dropping the old, so re-assigning an object that is only kept
  // alive by this pointer (or by something the old object owns) cannot delete it in between.
  SmartPointer& Assign(T* object) {
    if (object == m_object) return *this;
    if (object) object->AddReference();
    T* old = m_object;
    m_object = object;
    if (old) old->Release();
    return *this;
  }

  T* m_object = nullptr;
};

// Throws a null pointer of one registered class. A catch clause for a base pointer matches it only
// when the class derives from that base, so the hierarchy can be asked without building anything.
using ThrowPointerFunction = void (*)();

// One static record per registered class; registering a name twice keeps the first record.
class ClassRegistration {
 public:
  ClassRegistration();
  ClassRegistration(const char* name, CreateFunction create, ThrowPointerFunction throwPointer = nullptr);

  const char* GetName() const { return m_name; }
  CreateFunction GetCreateFunction() const { return m_create; }
  ThrowPointerFunction GetThrowPointer() const { return m_throwPointer; }

 private:
  const char* m_name;
  CreateFunction m_create;
  ThrowPointerFunction m_throwPointer;
};

struct ClassNameLess {
  bool operator()(const char* a, const char* b) const;
};
using ClassRegistry = std::map<const char*, ClassRegistration, ClassNameLess>;

ClassRegistry& GetClassRegistry();

// Creates an object by its registered class name; null for a name nobody registered. Looking up an
// unknown name inserts nothing (streams from outside must not be able to grow the registry).
Object* CreateObject(const char* name);

// Whether the class registered under `name` is `Base` or derives from it, answered without creating
// an object: a name read from a stream is checked before its constructor may run.
template <class Base>
bool IsRegisteredKindOf(const char* name) {
  if (name == nullptr) return false;
  const ClassRegistry& registry = GetClassRegistry();
  auto found = registry.find(name);
  if (found == registry.end() || found->second.GetThrowPointer() == nullptr) return false;
  try {
    found->second.GetThrowPointer()();
  } catch (Base*) {
    return true;
  } catch (...) {
  }
  return false;
}

}  // namespace Core

// Declares the companions every class of the hierarchy shares; put it in the public section.
#define VELKOR_DECLARE_CLASS(ClassType)                 \
  static ::Core::Object* Create();                     \
  ::Core::Object* Clone() const override;              \
  const char* GetClassName() const override;           \
  uint32_t GetSize() const override

// Defines them for a class that streams never name: CreateObject does not know it.
#define VELKOR_IMPLEMENT_UNREGISTERED_CLASS(ClassType, name)                                      \
  ::Core::Object* ClassType::Create() { return new (__FILE__, __LINE__) ClassType(); }          \
  ::Core::Object* ClassType::Clone() const { return new (__FILE__, __LINE__) ClassType(*this); } \
  const char* ClassType::GetClassName() const { return name; }                                  \
  uint32_t ClassType::GetSize() const { return static_cast<uint32_t>(sizeof(ClassType)); }

// Defines them and registers the class under `name` (a string literal) at static initialisation.
#define VELKOR_IMPLEMENT_CLASS(ClassType, name)        \
  VELKOR_IMPLEMENT_UNREGISTERED_CLASS(ClassType, name) \
  static const ::Core::ClassRegistration VELKOR_REGISTRATION_NAME(__LINE__)(      \
      name, &ClassType::Create, [] { throw static_cast<ClassType*>(nullptr); })

#define VELKOR_REGISTRATION_CONCAT(a, b) a##b
#define VELKOR_REGISTRATION_JOIN(a, b) VELKOR_REGISTRATION_CONCAT(a, b)
#define VELKOR_REGISTRATION_NAME(line) VELKOR_REGISTRATION_JOIN(g_classRegistration_, line)
