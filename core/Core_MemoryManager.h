#pragma once
// Tracked memory: a pool of exact-size free lists for small engine objects, and the allocator lock
// that serialises every object and global allocation between the foundation's start-up and shutdown.
#include <cstddef>
#include <cstdint>
#include <new>

namespace Core {

// The pool: one free-list size class per exact request size below 4096 bytes, 256 elements per block.
// Blocks are never returned to the system while the program runs. Takes no lock itself.
class MemoryManager {
 public:
  static constexpr uint32_t kSizeClassCount = 4096;
  static constexpr uint32_t kElementsPerBlock = 256;
  // A free element stores the address of the next free one in its first word.
  static constexpr uint32_t kMinimumElementSize = sizeof(void*);

  // Creates the pool on the first call; null after the exit-time teardown.
  static MemoryManager* GetInstance();

  // Pool for size < 4096, system heap otherwise; null when the system heap is exhausted.
  void* Allocate(uint32_t size);
  // size must be the size given to Allocate.
  void Free(void* block, uint32_t size);

  // Number of blocks of 256 elements the class of this exact size has obtained (0 when none).
  uint32_t GetBlockCount(uint32_t size) const;
  // Element size used for requests of this exact size (0 for sizes served by the heap).
  static uint32_t GetElementSize(uint32_t size);

 private:
  struct Block {
    unsigned char* elements;
    Block* next;
  };
  struct SizeClass {
    Block* blocks;
    void* freeList;
    uint32_t elementSize;
    uint32_t blockCount;
  };

  MemoryManager() = default;
  bool AddBlock(SizeClass& sizeClass);
  static void Teardown();

  SizeClass* m_classes[kSizeClassCount] = {};
};

// Locks and unlocks the allocator mutex; the foundation's start-up installs them. While no mutex
// is installed (before start-up, after shutdown) allocation runs unlocked.
using AllocatorMutexFunction = bool (*)(void* mutex);
void InstallAllocatorMutex(void* mutex, AllocatorMutexFunction lock, AllocatorMutexFunction unlock);
void* GetAllocatorMutex();

// Scoped allocator lock.
class AllocatorLock {
 public:
  AllocatorLock();
  ~AllocatorLock();
  AllocatorLock(const AllocatorLock&) = delete;
  AllocatorLock& operator=(const AllocatorLock&) = delete;

 private:
  void* m_mutex;
};

// The root of the engine's object hierarchy: every object is allocated from the pool under the lock.
class Base {
 public:
  static void* operator new(std::size_t size);
  static void* operator new(std::size_t size, const char* sourceFile, int line);
  static void operator delete(void* block, std::size_t size);
  // Matches the positioned new; runs only when a constructor throws. It cannot know the block's
  // size class, so the block stays with the pool (a small, bounded loss on a rare path).
  static void operator delete(void* block, const char* sourceFile, int line);
  static void* operator new[](std::size_t) = delete;
};

// Allocator for engine containers: takes pool blocks under the allocator lock.
template <typename T>
class PoolAllocator {
 public:
  using value_type = T;
  PoolAllocator() noexcept = default;
  template <typename U>
  PoolAllocator(const PoolAllocator<U>&) noexcept {}

  T* allocate(std::size_t count);
  void deallocate(T* block, std::size_t count) noexcept;

  template <typename U>
  bool operator==(const PoolAllocator<U>&) const noexcept { return true; }
  template <typename U>
  bool operator!=(const PoolAllocator<U>&) const noexcept { return false; }
};

// Throws std::bad_alloc with the engine's text, "bad allocation".
[[noreturn]] void ThrowBadAllocation();

void* PoolAllocate(std::size_t bytes);
void PoolFree(void* block, std::size_t bytes) noexcept;

template <typename T>
T* PoolAllocator<T>::allocate(std::size_t count) {
  if (count > (SIZE_MAX / sizeof(T))) ThrowBadAllocation();
  return static_cast<T*>(PoolAllocate(count * sizeof(T)));
}

template <typename T>
void PoolAllocator<T>::deallocate(T* block, std::size_t count) noexcept {
  PoolFree(block, count * sizeof(T));
}

}  // namespace Core

// Positioned global allocation: the source file and line identify the site and change nothing else.
void* operator new(std::size_t size, const char* sourceFile, int line);
void* operator new[](std::size_t size, const char* sourceFile, int line);
void operator delete(void* block, const char* sourceFile, int line) noexcept;
void operator delete[](void* block, const char* sourceFile, int line) noexcept;

// Allocates an engine object and records where: CORE_NEW Engine::Node(...)
#define CORE_NEW new (__FILE__, __LINE__)
