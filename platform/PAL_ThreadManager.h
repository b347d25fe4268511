#pragma once
// Worker threads and the locks of one engine, over native threads. Threads are detached, stop
// when asked (they poll IsRunning or sleep through ThreadManager::Sleep) and free their own
// record when they end. Locks are handed out as opaque handles; null handles are accepted
// everywhere and do nothing.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace PAL {

class Thread;
class ThreadManager;

// Run and exit functions of a thread; both run on the new thread, run first.
using ThreadFunction = void (*)(Thread* thread);

struct MutexObject;
struct RWLockObject;
struct ConditionObject;
using MutexHandle = MutexObject*;
using RWLockHandle = RWLockObject*;
using ConditionHandle = ConditionObject*;

// One worker thread's record. Created by ThreadManager::CreateThread, deleted by its own
// thread when it ends: do not use the pointer once the thread has finished.
class Thread {
 public:
  // True while the thread has an owner and no stop request; otherwise the result becomes -1.
  bool IsRunning();

  void* GetUserData() const { return m_userData; }
  ThreadManager* GetOwner() const { return m_owner.load(std::memory_order_acquire); }
  bool IsStopRequested() const { return m_stopRequest.load(std::memory_order_acquire) != 0; }
  // 0 at creation; -1 once the thread has seen its stop request.
  std::int32_t GetResult() const { return m_result.load(std::memory_order_relaxed); }

  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

 private:
  friend class ThreadManager;
  Thread() = default;
  ~Thread() = default;

  std::uintptr_t m_nativeThread = 0;
  ThreadFunction m_run = nullptr;
  ThreadFunction m_exit = nullptr;
  void* m_userData = nullptr;
  std::atomic<ThreadManager*> m_owner{nullptr};
  // Written under the owner's manager mutex, polled without it by the worker.
  std::atomic<std::uint8_t> m_stopRequest{0};
  std::atomic<std::int32_t> m_result{0};
};

class ThreadManager {
 public:
  // Steps of Sleep(1) the destructor waits for its threads before handing them over.
  static constexpr std::uint32_t kStopWaitLimit = 500;

  ThreadManager();
  // Stops every thread (waiting at most kStopWaitLimit steps of 1 ms for all but the calling
  // thread, which may be one of them), hands those still running to the placeholder manager, then destroys every lock it still owns. A lock
  // held by another thread at that moment is not destroyed: it stays valid (and is never
  // freed) so that its holder can still unlock it.
  ~ThreadManager();
  ThreadManager(const ThreadManager&) = delete;
  ThreadManager& operator=(const ThreadManager&) = delete;

  // Starts a detached thread calling run, then exit, with the record as argument. The
  // priority is a scheduling priority of the normal policy (see the level getters); with
  // inherit the new thread takes the creator's scheduling instead. Null on failure.
  Thread* CreateThread(ThreadFunction run, ThreadFunction exit, void* userData,
                       std::int32_t priority, bool inherit);

  // Sleeps in 1 ms steps while the thread has no stop request; false (and the thread's
  // result -1) when a stop request cut it short. Without a thread, or with 0 ms, one plain
  // sleep (0 yields) that always returns true.
  static bool Sleep(std::uint32_t milliseconds, Thread* thread);

  // Sets the thread's stop request, optionally dropping it to the lowest priority. A thread
  // that is not (or no longer) listed under this manager is left alone.
  void StopThread(Thread* thread, bool lowerPriority);
  // Requests every thread to stop; when the manager is being destroyed, waits for them
  // (bounded). Threads still listed afterwards move to the placeholder manager.
  void StopAllThreads(bool lowerPriority);

  // Number of threads currently listed under this manager.
  std::size_t GetThreadCount();

  // The mutex type is the native one the caller passes (0: normal, non-recursive).
  MutexHandle CreateMutex(std::int32_t mutexType);
  RWLockHandle CreateRWLock();
  ConditionHandle CreateCondition();

  // The lock operations work on the handle alone (they never touch the manager), so a lock
  // left alive by a destroyed manager can still be released by its holder.
  static bool LockMutex(MutexHandle mutex);
  // False when the calling thread does not hold the mutex: it is never unlocked for another.
  static bool UnlockMutex(MutexHandle mutex);
  static bool ReadLock(RWLockHandle lock);
  static bool WriteLock(RWLockHandle lock);
  // False when the lock is held.
  static bool TryWriteLock(RWLockHandle lock);
  static bool UnlockRWLock(RWLockHandle lock);
  static bool SignalCondition(ConditionHandle condition, bool all);
  // Waits on the condition with the mutex locked by the caller (false when the caller does
  // not hold it). Wake-ups may be spurious and a signal sent before the wait began is lost:
  // wait in a loop on a flag guarded by the mutex, e.g.
  //   while (!ready) manager.WaitCondition(condition, mutex);
  static bool WaitCondition(ConditionHandle condition, MutexHandle mutex);

  // Destroy a lock of this manager. A lock that is free, or held by the calling thread, is
  // released and destroyed (true); after destroying a mutex it held, the caller's own late
  // UnlockMutex on the handle is harmless (false). A lock held by another thread is never unlocked from
  // here: it stays listed and false is returned (the destructor tries again). Null or a
  // handle of another manager: false, nothing done.
  bool DestroyMutex(MutexHandle mutex);
  bool DestroyRWLock(RWLockHandle lock);
  // Wakes every waiter, then destroys the condition.
  bool DestroyCondition(ConditionHandle condition);

  // Priority levels of the normal scheduling policy (all 0 on Linux, which has one level).
  static std::int32_t GetLowestPriority();
  static std::int32_t GetLowPriority();
  static std::int32_t GetNormalPriority();
  static std::int32_t GetHighPriority();
  static std::int32_t GetHighestPriority();

 private:
  struct Impl;
  friend ThreadManager& GetMainThreadManager();
  static void* ThreadStart(void* record);
  static void UnlinkEndingThread(Thread* thread);
  // Stops every thread and waits for them (bounded) before handing the rest over.
  void StopAllThreadsAndWait();

  std::unique_ptr<Impl> m_impl;
};

// The process-wide manager that holds the allocator mutex. It is never freed: at process exit
// its threads are stopped (bounded wait) and handed to the placeholder, while its locks stay
// usable for code that still runs during exit.
ThreadManager& GetMainThreadManager();
// The process-wide manager that takes over threads still running when their own manager goes.
// It is never destroyed, so such threads can always unlink themselves.
ThreadManager& GetPlaceholderThreadManager();

}  // namespace PAL
