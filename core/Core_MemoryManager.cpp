#include "core/Core_MemoryManager.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define VELKOR_POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define VELKOR_UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define VELKOR_POISON(address, size) ((void)(address), (void)(size))
#define VELKOR_UNPOISON(address, size) ((void)(address), (void)(size))
#endif

namespace Core {

namespace {

enum class PoolState { NotCreated, Created, TornDown };
PoolState g_poolState = PoolState::NotCreated;
MemoryManager* g_pool = nullptr;

// Read by every allocation on any thread (foreign library threads included) while start-up and
// shutdown write them: the mutex is stored last and read first, so it never comes without its functions.
std::atomic<void*> g_allocatorMutex{nullptr};
std::atomic<AllocatorMutexFunction> g_lockMutex{nullptr};
std::atomic<AllocatorMutexFunction> g_unlockMutex{nullptr};

}  // namespace

void ThrowBadAllocation() {
  // std::bad_alloc's own text is "std::bad_alloc"; the engine's failures read "bad allocation".
  struct BadAllocation : std::bad_alloc {
    const char* what() const noexcept override { return "bad allocation"; }
  };
  throw BadAllocation();
}

MemoryManager* MemoryManager::GetInstance() {
  if (g_poolState == PoolState::Created) return g_pool;
  if (g_poolState == PoolState::TornDown) return nullptr;
  void* storage = std::calloc(1, sizeof(MemoryManager));
  if (storage == nullptr) return nullptr;
  g_pool = new (storage) MemoryManager();
  g_poolState = PoolState::Created;
  std::atexit(&MemoryManager::Teardown);
  return g_pool;
}

void MemoryManager::Teardown() {
  if (g_poolState != PoolState::Created) return;
  for (SizeClass*& sizeClass : g_pool->m_classes) {
    if (sizeClass == nullptr) continue;
    Block* block = sizeClass->blocks;
    while (block != nullptr) {
      Block* next = block->next;
      VELKOR_UNPOISON(block->elements, sizeClass->elementSize * kElementsPerBlock);
      std::free(block->elements);
      std::free(block);
      block = next;
    }
    std::free(sizeClass);
    sizeClass = nullptr;
  }
  g_pool->~MemoryManager();
  std::free(g_pool);
  g_pool = nullptr;
  g_poolState = PoolState::TornDown;
}

uint32_t MemoryManager::GetElementSize(uint32_t size) {
  if (size >= kSizeClassCount) return 0;
  return size < kMinimumElementSize ? kMinimumElementSize : size;
}

uint32_t MemoryManager::GetBlockCount(uint32_t size) const {
  if (size >= kSizeClassCount || m_classes[size] == nullptr) return 0;
  return m_classes[size]->blockCount;
}

bool MemoryManager::AddBlock(SizeClass& sizeClass) {
  const uint32_t elementSize = sizeClass.elementSize;
  auto* elements = static_cast<unsigned char*>(std::malloc(static_cast<std::size_t>(elementSize) * kElementsPerBlock));
  if (elements == nullptr) return false;
  auto* block = static_cast<Block*>(std::malloc(sizeof(Block)));
  if (block == nullptr) {
    std::free(elements);
    return false;
  }
  block->elements = elements;
  block->next = sizeClass.blocks;
  sizeClass.blocks = block;
  ++sizeClass.blockCount;
  // Chain the elements in address order so the first allocations are contiguous.
  for (uint32_t i = 0; i < kElementsPerBlock; ++i) {
    unsigned char* element = elements + static_cast<std::size_t>(i) * elementSize;
    void* next = (i + 1 < kElementsPerBlock) ? element + elementSize : nullptr;
    std::memcpy(element, &next, sizeof(next));
  }
  sizeClass.freeList = elements;
  VELKOR_POISON(elements, static_cast<std::size_t>(elementSize) * kElementsPerBlock);
  return true;
}

void* MemoryManager::Allocate(uint32_t size) {
  if (size >= kSizeClassCount) return std::malloc(size);
  SizeClass* sizeClass = m_classes[size];
  if (sizeClass == nullptr) {
    sizeClass = static_cast<SizeClass*>(std::calloc(1, sizeof(SizeClass)));
    if (sizeClass == nullptr) return nullptr;
    sizeClass->elementSize = GetElementSize(size);
    m_classes[size] = sizeClass;
  }
  if (sizeClass->freeList == nullptr && !AddBlock(*sizeClass)) return nullptr;
  void* element = sizeClass->freeList;
  VELKOR_UNPOISON(element, sizeClass->elementSize);
  void* next;
  std::memcpy(&next, element, sizeof(next));
  sizeClass->freeList = next;
  return element;
}

void MemoryManager::Free(void* block, uint32_t size) {
  if (block == nullptr) return;
  if (size >= kSizeClassCount) {
    std::free(block);
    return;
  }
  SizeClass* sizeClass = m_classes[size];
  if (sizeClass == nullptr) return;  // never allocated with this size: refuse rather than corrupt a list
  std::memcpy(block, &sizeClass->freeList, sizeof(void*));
  sizeClass->freeList = block;
  // A freed element is off limits until reallocated: use-after-free shows up under the sanitizer.
  VELKOR_POISON(block, sizeClass->elementSize);
}

void* PoolAllocate(std::size_t bytes) {
  AllocatorLock lock;
  void* block = nullptr;
  if (bytes <= UINT32_MAX) {
    MemoryManager* pool = MemoryManager::GetInstance();
    block = pool ? pool->Allocate(static_cast<uint32_t>(bytes)) : std::malloc(bytes == 0 ? 1 : bytes);
  }
  if (block == nullptr) ThrowBadAllocation();
  return block;
}

void PoolFree(void* block, std::size_t bytes) noexcept {
  if (block == nullptr) return;
  AllocatorLock lock;
  MemoryManager* pool = MemoryManager::GetInstance();
  if (pool != nullptr) {
    pool->Free(block, static_cast<uint32_t>(bytes));
  } else if (bytes >= MemoryManager::kSizeClassCount) {
    std::free(block);
  }
  // After the exit-time teardown, small blocks were released with their pool (or came from malloc
  // and are simply left to the process's end).
}

void InstallAllocatorMutex(void* mutex, AllocatorMutexFunction lock, AllocatorMutexFunction unlock) {
  g_lockMutex.store(lock, std::memory_order_release);
  g_unlockMutex.store(unlock, std::memory_order_release);
  g_allocatorMutex.store(mutex, std::memory_order_release);
}

void* GetAllocatorMutex() { return g_allocatorMutex.load(std::memory_order_acquire); }

AllocatorLock::AllocatorLock() : m_mutex(g_allocatorMutex.load(std::memory_order_acquire)) {
  AllocatorMutexFunction lock = g_lockMutex.load(std::memory_order_acquire);
  if (m_mutex != nullptr && lock != nullptr) lock(m_mutex);
}

AllocatorLock::~AllocatorLock() {
  AllocatorMutexFunction unlock = g_unlockMutex.load(std::memory_order_acquire);
  if (m_mutex != nullptr && unlock != nullptr) unlock(m_mutex);
}

void* Base::operator new(std::size_t size) { return PoolAllocate(size); }

void* Base::operator new(std::size_t size, const char*, int) { return PoolAllocate(size); }

void Base::operator delete(void* block, std::size_t size) { PoolFree(block, size); }

void Base::operator delete(void*, const char*, int) { AllocatorLock lock; }

}  // namespace Core

namespace {

void* HeapAllocate(std::size_t size) {
  Core::AllocatorLock lock;
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) Core::ThrowBadAllocation();
  return block;
}

void HeapFree(void* block) noexcept {
  if (block == nullptr) return;
  Core::AllocatorLock lock;
  std::free(block);
}

}  // namespace

// The global family: the system heap, under the allocator lock.
void* operator new(std::size_t size) { return HeapAllocate(size); }
void* operator new[](std::size_t size) { return HeapAllocate(size); }
void* operator new(std::size_t size, const char*, int) { return HeapAllocate(size); }
void* operator new[](std::size_t size, const char*, int) { return HeapAllocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return HeapAllocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* block) noexcept { HeapFree(block); }
void operator delete[](void* block) noexcept { HeapFree(block); }
void operator delete(void* block, std::size_t) noexcept { HeapFree(block); }
void operator delete[](void* block, std::size_t) noexcept { HeapFree(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { HeapFree(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { HeapFree(block); }
void operator delete(void* block, const char*, int) noexcept { HeapFree(block); }
void operator delete[](void* block, const char*, int) noexcept { HeapFree(block); }
