// The pool against the system heap: Allocate+Free pairs, and engine objects' new/delete under the
// allocator lock against plain new/delete, for sizes across the pool's range.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <pthread.h>

#include "core/Core_MemoryManager.h"
#include "core/Core_Object.h"

namespace {

pthread_mutex_t g_mutex = PTHREAD_MUTEX_INITIALIZER;
bool Lock(void* mutex) { return pthread_mutex_lock(static_cast<pthread_mutex_t*>(mutex)) == 0; }
bool Unlock(void* mutex) { return pthread_mutex_unlock(static_cast<pthread_mutex_t*>(mutex)) == 0; }

// The lock is installed as the running engine has it.
struct InstallLock {
  InstallLock() { Core::InstallAllocatorMutex(&g_mutex, &Lock, &Unlock); }
} g_installLock;

void PoolPair(benchmark::State& state) {
  const auto size = static_cast<uint32_t>(state.range(0));
  Core::MemoryManager* pool = Core::MemoryManager::GetInstance();
  for (auto _ : state) {
    void* block = pool->Allocate(size);
    benchmark::DoNotOptimize(block);
    pool->Free(block, size);
  }
}

void MallocPair(benchmark::State& state) {
  const auto size = static_cast<size_t>(state.range(0));
  for (auto _ : state) {
    void* block = std::malloc(size);
    benchmark::DoNotOptimize(block);
    std::free(block);
  }
}

template <size_t Size>
struct EngineObject : Core::Object {
  char payload[Size - sizeof(Core::Object)];
};

template <size_t Size>
struct PlainObject {
  virtual ~PlainObject() = default;
  char payload[Size - sizeof(void*)];
};

template <size_t Size>
void EngineNewDelete(benchmark::State& state) {
  for (auto _ : state) {
    Core::Object* object = new EngineObject<Size>();
    benchmark::DoNotOptimize(object);
    delete object;
  }
}

template <size_t Size>
void PlainNewDelete(benchmark::State& state) {
  for (auto _ : state) {
    auto* object = new PlainObject<Size>();
    benchmark::DoNotOptimize(object);
    delete object;
  }
}

}  // namespace

BENCHMARK(PoolPair)->Arg(8)->Arg(64)->Arg(256)->Arg(1024)->Arg(4095);
BENCHMARK(MallocPair)->Arg(8)->Arg(64)->Arg(256)->Arg(1024)->Arg(4095);
BENCHMARK_TEMPLATE(EngineNewDelete, 24);
BENCHMARK_TEMPLATE(PlainNewDelete, 24);
BENCHMARK_TEMPLATE(EngineNewDelete, 256);
BENCHMARK_TEMPLATE(PlainNewDelete, 256);
BENCHMARK_TEMPLATE(EngineNewDelete, 4000);
BENCHMARK_TEMPLATE(PlainNewDelete, 4000);

BENCHMARK_MAIN();
