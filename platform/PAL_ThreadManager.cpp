#include "platform/PAL_ThreadManager.h"

#include <algorithm>
#include <cerrno>
#include <list>
#include <mutex>
#include <pthread.h>
#include <sched.h>
#include <type_traits>
#include <vector>

#include "platform/PAL_Clock.h"

namespace PAL {

static_assert(std::is_integral<pthread_t>::value && sizeof(pthread_t) <= sizeof(std::uintptr_t),
              "the thread record stores the native thread id as an integer");

// The native object comes first, so a handle is also the address of the native lock.
struct MutexObject {
  pthread_mutex_t mutex;
  // Who holds the mutex and how often (recursive types): written only by the holder while it
  // holds the mutex, so a thread can tell whether it is the holder without taking it.
  std::atomic<pthread_t> holder{};
  std::atomic<std::uint32_t> depth{0};
};

struct RWLockObject {
  pthread_rwlock_t lock;
  std::atomic<pthread_t> writer{};
  std::atomic<bool> writing{false};
};

struct ConditionObject {
  pthread_cond_t condition;
};

struct ThreadManager::Impl {
  pthread_t creator{};
  // Guarded by managerMutex.
  std::vector<Thread*> threads;
  // Guards the three lock lists (std::list: nodes never move, so handles stay valid).
  std::mutex listsLock;
  std::list<MutexObject> mutexes;
  std::list<RWLockObject> rwlocks;
  std::list<ConditionObject> conditions;
  MutexHandle managerMutex = nullptr;
  std::atomic<bool> waitOnStop{false};
};

namespace {

// Taken by every ending thread around the use of its owner, and by the hand-over to the
// placeholder: a thread can never be inside a manager that has just handed it over and gone.
// A constant-initialised native mutex: no constructor or destructor runs, whatever the order.
pthread_mutex_t g_adoptionLock = PTHREAD_MUTEX_INITIALIZER;

struct PriorityLevels {
  std::int32_t lowest, low, normal, high, highest;
};

const PriorityLevels& GetPriorityLevels() {
  static const PriorityLevels levels = [] {
    PriorityLevels result{};
    result.lowest = sched_get_priority_min(SCHED_OTHER);
    result.highest = sched_get_priority_max(SCHED_OTHER);
    result.normal = (result.lowest + result.highest) / 2;
    result.low = result.lowest + (result.normal - result.lowest) / 2;
    result.high = result.normal + (result.highest - result.normal) / 2;
    return result;
  }();
  return levels;
}

// Locks that were still held by another thread when their manager went. They are kept (never
// freed) so that the holder's later unlock works on valid memory.
struct OrphanedLocks {
  std::mutex lock;
  std::list<MutexObject> mutexes;
  std::list<RWLockObject> rwlocks;
};

OrphanedLocks& GetOrphanedLocks() {
  static OrphanedLocks* orphans = new OrphanedLocks;
  return *orphans;
}

bool IsHeldByCaller(const MutexObject& node) {
  return node.depth.load(std::memory_order_relaxed) > 0 &&
         pthread_equal(node.holder.load(std::memory_order_relaxed), pthread_self()) != 0;
}

// Releases the mutex when it is free or held by the caller, then destroys it. A mutex held by
// another thread is left untouched: unlocking it here would unlock it for its holder.
bool ReleaseAndDestroy(MutexObject& node, bool& heldByCaller) {
  const bool mine = IsHeldByCaller(node);
  heldByCaller = mine;
  const std::uint32_t depth = mine ? node.depth.load(std::memory_order_relaxed) : 0;
  const int tried = pthread_mutex_trylock(&node.mutex);
  if (tried == 0) {
    // Free, or a recursive mutex of the caller's that took one more level.
    for (std::uint32_t i = 0; i <= depth; ++i) pthread_mutex_unlock(&node.mutex);
  } else if (mine) {
    for (std::uint32_t i = 0; i < depth; ++i) pthread_mutex_unlock(&node.mutex);
  } else {
    return false;
  }
  node.depth.store(0, std::memory_order_relaxed);
  // Someone may have taken it between the release and here; then it stays alive.
  return pthread_mutex_destroy(&node.mutex) == 0;
}

bool ReleaseAndDestroy(RWLockObject& node) {
  const int tried = pthread_rwlock_trywrlock(&node.lock);
  if (tried != 0) {
    const bool mine = node.writing.load(std::memory_order_relaxed) &&
                      pthread_equal(node.writer.load(std::memory_order_relaxed), pthread_self()) != 0;
    // Held by another thread, or read-held (readers are not tracked): leave it alone.
    if (!mine) return false;
  }
  node.writing.store(false, std::memory_order_relaxed);
  pthread_rwlock_unlock(&node.lock);
  return pthread_rwlock_destroy(&node.lock) == 0;
}

template <typename Node>
bool RemoveNode(std::list<Node>& list, const Node* node) {
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (&*it == node) {
      list.erase(it);
      return true;
    }
  }
  return false;
}

template <typename Node>
typename std::list<Node>::iterator FindNode(std::list<Node>& list, const Node* node) {
  return std::find_if(list.begin(), list.end(), [node](const Node& each) { return &each == node; });
}

}  // namespace

bool Thread::IsRunning() {
  if (m_owner.load(std::memory_order_acquire) != nullptr && m_stopRequest.load(std::memory_order_acquire) == 0) {
    return true;
  }
  m_result.store(-1, std::memory_order_relaxed);
  return false;
}

ThreadManager::ThreadManager() : m_impl(new Impl) {
  GetPriorityLevels();
  // Created now: later it is used where allocating could deadlock (under the allocator lock).
  GetOrphanedLocks();
  m_impl->creator = pthread_self();
  m_impl->managerMutex = CreateMutex(0);
}

ThreadManager::~ThreadManager() {
  StopAllThreadsAndWait();

  std::lock_guard<std::mutex> guard(m_impl->listsLock);
  for (auto it = m_impl->mutexes.begin(); it != m_impl->mutexes.end();) {
    auto next = std::next(it);
    bool heldByCaller = false;
    if (!ReleaseAndDestroy(*it, heldByCaller) || heldByCaller) {
      OrphanedLocks& orphans = GetOrphanedLocks();
      std::lock_guard<std::mutex> orphanGuard(orphans.lock);
      orphans.mutexes.splice(orphans.mutexes.end(), m_impl->mutexes, it);
    }
    it = next;
  }
  for (auto it = m_impl->rwlocks.begin(); it != m_impl->rwlocks.end();) {
    auto next = std::next(it);
    if (!ReleaseAndDestroy(*it)) {
      OrphanedLocks& orphans = GetOrphanedLocks();
      std::lock_guard<std::mutex> orphanGuard(orphans.lock);
      orphans.rwlocks.splice(orphans.rwlocks.end(), m_impl->rwlocks, it);
    }
    it = next;
  }
  for (ConditionObject& node : m_impl->conditions) {
    pthread_cond_broadcast(&node.condition);
    pthread_cond_destroy(&node.condition);
  }
  // The lists themselves (and the destroyed nodes) go with m_impl.
}

Thread* ThreadManager::CreateThread(ThreadFunction run, ThreadFunction exit, void* userData,
                                    std::int32_t priority, bool inherit) {
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return nullptr;
  sched_param parameter{};
  parameter.sched_priority = priority;
  const bool configured =
      pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED) == 0 &&
      pthread_attr_setschedpolicy(&attributes, SCHED_OTHER) == 0 &&
      pthread_attr_setschedparam(&attributes, &parameter) == 0 &&
      pthread_attr_setinheritsched(&attributes, inherit ? PTHREAD_INHERIT_SCHED : PTHREAD_EXPLICIT_SCHED) == 0;
  if (!configured) {
    pthread_attr_destroy(&attributes);
    return nullptr;
  }

  Thread* thread = new Thread();
  thread->m_run = run;
  thread->m_exit = exit;
  thread->m_userData = userData;
  thread->m_owner.store(this, std::memory_order_release);

  // The ending thread needs this mutex to unlink itself, so it cannot go before we return.
  if (!LockMutex(m_impl->managerMutex)) {
    pthread_attr_destroy(&attributes);
    delete thread;
    return nullptr;
  }
  m_impl->threads.push_back(thread);
  pthread_t native{};
  if (pthread_create(&native, &attributes, &ThreadManager::ThreadStart, thread) != 0) {
    m_impl->threads.pop_back();
    UnlockMutex(m_impl->managerMutex);
    pthread_attr_destroy(&attributes);
    delete thread;
    return nullptr;
  }
  thread->m_nativeThread = static_cast<std::uintptr_t>(native);
  UnlockMutex(m_impl->managerMutex);
  pthread_attr_destroy(&attributes);
  return thread;
}

void* ThreadManager::ThreadStart(void* record) {
  Thread* thread = static_cast<Thread*>(record);
  if (thread->m_run != nullptr) thread->m_run(thread);
  if (thread->m_exit != nullptr) thread->m_exit(thread);
  UnlinkEndingThread(thread);
  return nullptr;
}

void ThreadManager::UnlinkEndingThread(Thread* thread) {
  pthread_mutex_lock(&g_adoptionLock);
  ThreadManager* owner = thread->m_owner.load(std::memory_order_acquire);
  if (owner != nullptr && LockMutex(owner->m_impl->managerMutex)) {
    std::vector<Thread*>& threads = owner->m_impl->threads;
    threads.erase(std::remove(threads.begin(), threads.end(), thread), threads.end());
    UnlockMutex(owner->m_impl->managerMutex);
  }
  pthread_mutex_unlock(&g_adoptionLock);
  delete thread;
}

bool ThreadManager::Sleep(std::uint32_t milliseconds, Thread* thread) {
  if (thread != nullptr && milliseconds > 0) {
    const double start = GetMonotonicMilliseconds();
    for (;;) {
      if (!thread->IsRunning()) return false;
      SleepMilliseconds(1);
      if (GetMonotonicMilliseconds() - start >= static_cast<double>(milliseconds)) return true;
    }
  }
  SleepMilliseconds(milliseconds);
  return true;
}

void ThreadManager::StopThread(Thread* thread, bool lowerPriority) {
  if (thread == nullptr || !LockMutex(m_impl->managerMutex)) return;
  // Only a listed record is known to be alive; an ended thread's pointer is never touched.
  const std::vector<Thread*>& threads = m_impl->threads;
  if (std::find(threads.begin(), threads.end(), thread) != threads.end()) {
    thread->m_stopRequest.store(1, std::memory_order_release);
    if (lowerPriority) {
      sched_param parameter{};
      parameter.sched_priority = GetLowestPriority();
      pthread_setschedparam(static_cast<pthread_t>(thread->m_nativeThread), SCHED_OTHER, &parameter);
    }
  }
  UnlockMutex(m_impl->managerMutex);
}

void ThreadManager::StopAllThreads(bool lowerPriority) {
  if (!LockMutex(m_impl->managerMutex)) return;
  for (Thread* thread : m_impl->threads) {
    thread->m_stopRequest.store(1, std::memory_order_release);
    if (lowerPriority) {
      sched_param parameter{};
      parameter.sched_priority = GetLowestPriority();
      pthread_setschedparam(static_cast<pthread_t>(thread->m_nativeThread), SCHED_OTHER, &parameter);
    }
  }
  UnlockMutex(m_impl->managerMutex);

  if (m_impl->waitOnStop.load()) {
    // One of the threads may be the caller itself (a handler freeing what owns this manager): it
    // cannot end while it waits here, so only the others are waited for.
    const auto othersRunning = [this] {
      if (!LockMutex(m_impl->managerMutex)) return false;
      const pthread_t self = pthread_self();
      const bool running = std::any_of(m_impl->threads.begin(), m_impl->threads.end(), [self](const Thread* thread) {
        return !pthread_equal(static_cast<pthread_t>(thread->m_nativeThread), self);
      });
      UnlockMutex(m_impl->managerMutex);
      return running;
    };
    for (std::uint32_t step = 0; step < kStopWaitLimit && othersRunning(); ++step) Sleep(1, nullptr);
  }

  ThreadManager& placeholder = GetPlaceholderThreadManager();
  if (&placeholder == this) return;
  pthread_mutex_lock(&g_adoptionLock);
  if (LockMutex(m_impl->managerMutex)) {
    if (!m_impl->threads.empty() && LockMutex(placeholder.m_impl->managerMutex)) {
      for (Thread* thread : m_impl->threads) {
        thread->m_owner.store(&placeholder, std::memory_order_release);
        placeholder.m_impl->threads.push_back(thread);
      }
      m_impl->threads.clear();
      UnlockMutex(placeholder.m_impl->managerMutex);
    }
    UnlockMutex(m_impl->managerMutex);
  }
  pthread_mutex_unlock(&g_adoptionLock);
}

void ThreadManager::StopAllThreadsAndWait() {
  m_impl->waitOnStop.store(true);
  StopAllThreads(false);
}

std::size_t ThreadManager::GetThreadCount() {
  if (!LockMutex(m_impl->managerMutex)) return 0;
  const std::size_t count = m_impl->threads.size();
  UnlockMutex(m_impl->managerMutex);
  return count;
}

MutexHandle ThreadManager::CreateMutex(std::int32_t mutexType) {
  std::lock_guard<std::mutex> guard(m_impl->listsLock);
  MutexObject& node = m_impl->mutexes.emplace_back();
  pthread_mutexattr_t attributes;
  if (pthread_mutexattr_init(&attributes) != 0) {
    RemoveNode(m_impl->mutexes, &node);
    return nullptr;
  }
  if (pthread_mutexattr_settype(&attributes, mutexType) != 0 ||
      pthread_mutex_init(&node.mutex, &attributes) != 0) {
    pthread_mutexattr_destroy(&attributes);
    RemoveNode(m_impl->mutexes, &node);
    return nullptr;
  }
  if (pthread_mutexattr_destroy(&attributes) != 0) {
    pthread_mutex_destroy(&node.mutex);
    RemoveNode(m_impl->mutexes, &node);
    return nullptr;
  }
  return &node;
}

RWLockHandle ThreadManager::CreateRWLock() {
  std::lock_guard<std::mutex> guard(m_impl->listsLock);
  RWLockObject& node = m_impl->rwlocks.emplace_back();
  if (pthread_rwlock_init(&node.lock, nullptr) != 0) {
    RemoveNode(m_impl->rwlocks, &node);
    return nullptr;
  }
  return &node;
}

ConditionHandle ThreadManager::CreateCondition() {
  std::lock_guard<std::mutex> guard(m_impl->listsLock);
  ConditionObject& node = m_impl->conditions.emplace_back();
  if (pthread_cond_init(&node.condition, nullptr) != 0) {
    RemoveNode(m_impl->conditions, &node);
    return nullptr;
  }
  return &node;
}

bool ThreadManager::LockMutex(MutexHandle mutex) {
  if (mutex == nullptr || pthread_mutex_lock(&mutex->mutex) != 0) return false;
  mutex->holder.store(pthread_self(), std::memory_order_relaxed);
  mutex->depth.fetch_add(1, std::memory_order_relaxed);
  return true;
}

bool ThreadManager::UnlockMutex(MutexHandle mutex) {
  if (mutex == nullptr || !IsHeldByCaller(*mutex)) return false;
  mutex->depth.fetch_sub(1, std::memory_order_relaxed);
  if (pthread_mutex_unlock(&mutex->mutex) != 0) {
    mutex->depth.fetch_add(1, std::memory_order_relaxed);
    return false;
  }
  return true;
}

bool ThreadManager::ReadLock(RWLockHandle lock) {
  return lock != nullptr && pthread_rwlock_rdlock(&lock->lock) == 0;
}

bool ThreadManager::WriteLock(RWLockHandle lock) {
  if (lock == nullptr || pthread_rwlock_wrlock(&lock->lock) != 0) return false;
  lock->writer.store(pthread_self(), std::memory_order_relaxed);
  lock->writing.store(true, std::memory_order_relaxed);
  return true;
}

bool ThreadManager::TryWriteLock(RWLockHandle lock) {
  if (lock == nullptr || pthread_rwlock_trywrlock(&lock->lock) != 0) return false;
  lock->writer.store(pthread_self(), std::memory_order_relaxed);
  lock->writing.store(true, std::memory_order_relaxed);
  return true;
}

bool ThreadManager::UnlockRWLock(RWLockHandle lock) {
  if (lock == nullptr) return false;
  const bool wasWriting = lock->writing.load(std::memory_order_relaxed) &&
                          pthread_equal(lock->writer.load(std::memory_order_relaxed), pthread_self()) != 0;
  if (wasWriting) lock->writing.store(false, std::memory_order_relaxed);
  if (pthread_rwlock_unlock(&lock->lock) != 0) {
    if (wasWriting) lock->writing.store(true, std::memory_order_relaxed);
    return false;
  }
  return true;
}

bool ThreadManager::SignalCondition(ConditionHandle condition, bool all) {
  if (condition == nullptr) return false;
  return (all ? pthread_cond_broadcast(&condition->condition) : pthread_cond_signal(&condition->condition)) == 0;
}

bool ThreadManager::WaitCondition(ConditionHandle condition, MutexHandle mutex) {
  if (condition == nullptr || mutex == nullptr || !IsHeldByCaller(*mutex)) return false;
  // The wait releases the mutex: nobody holds it until the wait takes it back.
  const std::uint32_t depth = mutex->depth.exchange(0, std::memory_order_relaxed);
  const int waited = pthread_cond_wait(&condition->condition, &mutex->mutex);
  mutex->holder.store(pthread_self(), std::memory_order_relaxed);
  mutex->depth.store(depth, std::memory_order_relaxed);
  return waited == 0;
}

bool ThreadManager::DestroyMutex(MutexHandle mutex) {
  if (mutex == nullptr) return false;
  std::lock_guard<std::mutex> guard(m_impl->listsLock);
  auto it = FindNode(m_impl->mutexes, mutex);
  bool heldByCaller = false;
  if (it == m_impl->mutexes.end() || !ReleaseAndDestroy(*it, heldByCaller)) return false;
  if (heldByCaller) {
    // The holder may still run a scoped unlock on this handle (the allocator's shutdown does):
    // keep the node so that unlock finds it not held and does nothing. Nothing is freed here
    // either, which matters while the allocator lock is being torn down.
    OrphanedLocks& orphans = GetOrphanedLocks();
    std::lock_guard<std::mutex> orphanGuard(orphans.lock);
    orphans.mutexes.splice(orphans.mutexes.end(), m_impl->mutexes, it);
    return true;
  }
  m_impl->mutexes.erase(it);
  return true;
}

bool ThreadManager::DestroyRWLock(RWLockHandle lock) {
  if (lock == nullptr) return false;
  std::lock_guard<std::mutex> guard(m_impl->listsLock);
  auto it = FindNode(m_impl->rwlocks, lock);
  if (it == m_impl->rwlocks.end() || !ReleaseAndDestroy(*it)) return false;
  m_impl->rwlocks.erase(it);
  return true;
}

bool ThreadManager::DestroyCondition(ConditionHandle condition) {
  if (condition == nullptr) return false;
  std::lock_guard<std::mutex> guard(m_impl->listsLock);
  auto it = FindNode(m_impl->conditions, condition);
  if (it == m_impl->conditions.end()) return false;
  pthread_cond_broadcast(&it->condition);
  pthread_cond_destroy(&it->condition);
  m_impl->conditions.erase(it);
  return true;
}

std::int32_t ThreadManager::GetLowestPriority() { return GetPriorityLevels().lowest; }
std::int32_t ThreadManager::GetLowPriority() { return GetPriorityLevels().low; }
std::int32_t ThreadManager::GetNormalPriority() { return GetPriorityLevels().normal; }
std::int32_t ThreadManager::GetHighPriority() { return GetPriorityLevels().high; }
std::int32_t ThreadManager::GetHighestPriority() { return GetPriorityLevels().highest; }

ThreadManager& GetPlaceholderThreadManager() {
  // Never destroyed: adopted threads may end at any time, even during process exit.
  static ThreadManager* placeholder = new ThreadManager;
  return *placeholder;
}

ThreadManager& GetMainThreadManager() {
  // Kept alive past exit so the allocator mutex and late frees keep working; at exit only its
  // threads are stopped, waited for and handed to the placeholder.
  static ThreadManager* manager = [] {
    GetPlaceholderThreadManager();
    return new ThreadManager;
  }();
  struct StopAtExit {
    ~StopAtExit() { manager->StopAllThreadsAndWait(); }
  };
  static StopAtExit stopAtExit;
  return *manager;
}

}  // namespace PAL
