#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "core/Core_Initializer.h"
#include "core/Core_MemoryManager.h"
#include "core/Core_Object.h"

namespace {

Core::MemoryManager& Pool() {
  Core::MemoryManager* pool = Core::MemoryManager::GetInstance();
  EXPECT_NE(pool, nullptr);
  return *pool;
}

}  // namespace

TEST(MemoryManager, SizeClassesAreExactAndHoldAPointer) {
  for (uint32_t size = 0; size < sizeof(void*); ++size) EXPECT_EQ(Core::MemoryManager::GetElementSize(size), sizeof(void*));
  EXPECT_EQ(Core::MemoryManager::GetElementSize(9), 9u);
  EXPECT_EQ(Core::MemoryManager::GetElementSize(4095), 4095u);
  EXPECT_EQ(Core::MemoryManager::GetElementSize(4096), 0u);

  // Two sizes never share a list: a freed 3-byte element is not handed out for 2 bytes.
  void* three = Pool().Allocate(3);
  Pool().Free(three, 3);
  void* two = Pool().Allocate(2);
  EXPECT_NE(two, three);
  Pool().Free(two, 2);
}

TEST(MemoryManager, BlocksGrowBy256AndReuseIsLastInFirstOut) {
  const uint32_t size = 3001;  // a size nothing else in this process uses
  // Use up whatever free elements earlier runs left, until a fresh block has just been added.
  std::vector<void*> elements;
  const uint32_t blocksBefore = Pool().GetBlockCount(size);
  while (Pool().GetBlockCount(size) == blocksBefore) elements.push_back(Pool().Allocate(size));
  // The element that added the block is its first; 255 more come from the same block.
  for (int i = 0; i < 255; ++i) elements.push_back(Pool().Allocate(size));
  EXPECT_EQ(Pool().GetBlockCount(size), blocksBefore + 1);
  std::set<void*> distinct(elements.begin(), elements.end());
  EXPECT_EQ(distinct.size(), elements.size());
  elements.push_back(Pool().Allocate(size));  // the 257th from the fresh block's start
  EXPECT_EQ(Pool().GetBlockCount(size), blocksBefore + 2);

  void* a = elements[elements.size() - 100];
  void* b = elements[elements.size() - 50];
  Pool().Free(a, size);
  Pool().Free(b, size);
  EXPECT_EQ(Pool().Allocate(size), b);
  EXPECT_EQ(Pool().Allocate(size), a);
  const uint32_t blocksAfter = Pool().GetBlockCount(size);
  for (void* element : elements) Pool().Free(element, size);
  EXPECT_EQ(Pool().GetBlockCount(size), blocksAfter);  // never returned while running
}

TEST(MemoryManager, The4096BoundaryGoesToTheHeap) {
  const uint32_t blocks = Pool().GetBlockCount(4095);
  void* small = Pool().Allocate(4095);
  EXPECT_GE(Pool().GetBlockCount(4095), blocks == 0 ? 1u : blocks);
  void* large = Pool().Allocate(4096);
  ASSERT_NE(large, nullptr);
  std::memset(large, 0xAB, 4096);
  EXPECT_EQ(Pool().GetBlockCount(4096), 0u);
  Pool().Free(large, 4096);
  Pool().Free(small, 4095);
}

namespace {

std::mutex g_testMutex;
int g_lockCount = 0;
bool LockTestMutex(void* mutex) {
  static_cast<std::mutex*>(mutex)->lock();
  ++g_lockCount;
  return true;
}
bool UnlockTestMutex(void* mutex) {
  static_cast<std::mutex*>(mutex)->unlock();
  return true;
}

struct Payload : Core::Object {
  char bytes[40] = {};
};

}  // namespace

TEST(MemoryManager, ObjectsFromManyThreadsUnderTheLock) {
  void* previous = Core::GetAllocatorMutex();
  ASSERT_EQ(previous, nullptr) << "this test installs its own allocator mutex";
  Core::InstallAllocatorMutex(&g_testMutex, &LockTestMutex, &UnlockTestMutex);
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([t] {
      std::vector<Core::SmartPointer<Payload>> objects;
      for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 300; ++i) {
          objects.emplace_back(new Payload());
          objects.back()->bytes[0] = static_cast<char>(t);
        }
        for (auto& object : objects) EXPECT_EQ(object->bytes[0], static_cast<char>(t));
        objects.clear();
      }
    });
  }
  for (auto& thread : threads) thread.join();
  Core::InstallAllocatorMutex(nullptr, nullptr, nullptr);
  EXPECT_GT(g_lockCount, 8 * 20 * 300);

  // Without a mutex (before start-up, after shutdown) allocation simply runs unlocked.
  Core::SmartPointer<Payload> unlocked(new Payload());
  EXPECT_NE(unlocked.Get(), nullptr);
}

TEST(MemoryManager, ContainerAllocatorUsesThePool) {
  std::vector<int, Core::PoolAllocator<int>> numbers;
  for (int i = 0; i < 1000; ++i) numbers.push_back(i);
  EXPECT_EQ(numbers[999], 999);
}

TEST(MemoryManager, FailureThrowsBadAllocation) {
  try {
    Core::PoolAllocator<char> allocator;
    (void)allocator.allocate(SIZE_MAX / 2);
    FAIL() << "expected an allocation failure";
  } catch (const std::bad_alloc& failure) {
    EXPECT_STREQ(failure.what(), "bad allocation");
  }
}

TEST(MemoryManager, TheFoundationStartUpInstallsTheAllocatorMutexForItsLifetime) {
  ASSERT_EQ(Core::GetAllocatorMutex(), nullptr);
  {
    Core::Initializer foundation;
    EXPECT_NE(Core::GetAllocatorMutex(), nullptr);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
      threads.emplace_back([] {
        for (int i = 0; i < 2000; ++i) {
          Core::SmartPointer<Payload> object(new Payload());
          std::vector<int> heap(16, i);  // the global family shares the lock
          EXPECT_EQ(heap[15], i);
        }
      });
    }
    for (auto& thread : threads) thread.join();
  }
  EXPECT_EQ(Core::GetAllocatorMutex(), nullptr);
  Core::SmartPointer<Payload> afterShutdown(new Payload());
  EXPECT_NE(afterShutdown.Get(), nullptr);
}

TEST(MemoryManager, AThreadAllocatingAcrossTheFoundationStartUpTakesTheLockWhole) {
  ASSERT_EQ(Core::GetAllocatorMutex(), nullptr);
  for (int round = 0; round < 20; ++round) {
    std::atomic<bool> stop{false};
    // Allocating before, during and after the install: the mutex must never be seen without its functions.
    std::thread allocator([&stop, round] {
      while (!stop.load()) {
        Core::SmartPointer<Payload> object(new Payload());
        std::vector<int> heap(16, round);
        EXPECT_EQ(heap[15], round);
      }
    });
    Core::Initializer foundation;
    std::vector<int> mine(64, round);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    stop = true;
    allocator.join();
    EXPECT_EQ(mine[63], round);
  }
  EXPECT_EQ(Core::GetAllocatorMutex(), nullptr);
}
