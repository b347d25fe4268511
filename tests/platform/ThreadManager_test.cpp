#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <thread>
#include <unistd.h>

#include "platform/PAL_Clock.h"
#include "platform/PAL_ThreadManager.h"
#include "tests/support/TestSupport.h"

namespace {

using PAL::Thread;
using PAL::ThreadManager;

using TestSupport::WaitFor;

struct WorkerState {
  std::atomic<bool> started{false};
  std::atomic<bool> exitRan{false};
  std::atomic<bool> exitOnWorker{false};
  std::atomic<bool> release{false};
  std::atomic<int> sleepResult{-2};
  std::atomic<int> resultSeen{0};
  std::atomic<ThreadManager*> ownerAtEnd{nullptr};
  double sleptMilliseconds = 0.0;
  std::thread::id workerId;
};

WorkerState& StateOf(Thread* thread) { return *static_cast<WorkerState*>(thread->GetUserData()); }

void PollingRun(Thread* thread) {
  WorkerState& state = StateOf(thread);
  state.workerId = std::this_thread::get_id();
  state.started = true;
  while (thread->IsRunning()) PAL::SleepMilliseconds(2);
  state.resultSeen = thread->GetResult();
}

void RecordingExit(Thread* thread) {
  WorkerState& state = StateOf(thread);
  state.exitOnWorker = state.workerId == std::this_thread::get_id();
  state.exitRan = true;
}

void LongSleepRun(Thread* thread) {
  WorkerState& state = StateOf(thread);
  state.started = true;
  const double start = PAL::GetMonotonicMilliseconds();
  state.sleepResult = ThreadManager::Sleep(60000, thread) ? 1 : 0;
  state.sleptMilliseconds = PAL::GetMonotonicMilliseconds() - start;
  state.resultSeen = thread->GetResult();
}

// Ignores stop requests until released.
void StubbornRun(Thread* thread) {
  WorkerState& state = StateOf(thread);
  state.started = true;
  while (!state.release) PAL::SleepMilliseconds(1);
  state.ownerAtEnd = thread->GetOwner();
}

TEST(ThreadManager, StopRequestEndsAPollingWorker) {
  ThreadManager manager;
  WorkerState state;
  Thread* thread = manager.CreateThread(&PollingRun, &RecordingExit, &state, ThreadManager::GetNormalPriority(), false);
  ASSERT_NE(thread, nullptr);
  ASSERT_TRUE(WaitFor([&] { return state.started.load(); }));
  EXPECT_EQ(manager.GetThreadCount(), 1u);
  EXPECT_FALSE(state.exitRan);

  manager.StopThread(thread, true);
  ASSERT_TRUE(WaitFor([&] { return manager.GetThreadCount() == 0; }));
  EXPECT_TRUE(state.exitRan);
  EXPECT_TRUE(state.exitOnWorker);
  EXPECT_EQ(state.resultSeen, -1);
  // The record is gone; stopping it again must not touch it.
  manager.StopThread(thread, false);
  manager.StopThread(nullptr, true);
}

TEST(ThreadManager, StopRequestCutsALongSleepShort) {
  ThreadManager manager;
  WorkerState state;
  Thread* thread = manager.CreateThread(&LongSleepRun, nullptr, &state, 0, false);
  ASSERT_NE(thread, nullptr);
  ASSERT_TRUE(WaitFor([&] { return state.started.load(); }));
  PAL::SleepMilliseconds(20);
  manager.StopAllThreads(false);
  ASSERT_TRUE(WaitFor([&] { return state.sleepResult != -2; }));
  EXPECT_EQ(state.sleepResult, 0);
  EXPECT_EQ(state.resultSeen, -1);
  EXPECT_LT(state.sleptMilliseconds, 30000.0);
  // StopAllThreads hands unfinished threads over at once; the worker unlinks from wherever it is.
  EXPECT_TRUE(WaitFor([&] { return manager.GetThreadCount() == 0; }));
}

void SleepEdgesRun(Thread* thread) {
  WorkerState& state = StateOf(thread);
  const double start = PAL::GetMonotonicMilliseconds();
  const bool full = ThreadManager::Sleep(30, thread);
  state.sleptMilliseconds = PAL::GetMonotonicMilliseconds() - start;
  state.started = true;
  while (!state.release) PAL::SleepMilliseconds(1);
  // With a stop request: 0 ms still sleeps (yields) and reports true; any wait reports false.
  const bool zero = ThreadManager::Sleep(0, thread);
  const bool some = ThreadManager::Sleep(5, thread);
  state.sleepResult = (full ? 4 : 0) | (zero ? 2 : 0) | (some ? 1 : 0);
}

TEST(ThreadManager, SleepRunsItsTimeWithoutAStopAndZeroAlwaysSucceeds) {
  ThreadManager manager;
  WorkerState state;
  Thread* thread = manager.CreateThread(&SleepEdgesRun, nullptr, &state, 0, false);
  ASSERT_NE(thread, nullptr);
  ASSERT_TRUE(WaitFor([&] { return state.started.load(); }));
  EXPECT_GE(state.sleptMilliseconds, 30.0);
  manager.StopThread(thread, false);
  state.release = true;
  ASSERT_TRUE(WaitFor([&] { return state.sleepResult != -2; }));
  EXPECT_EQ(state.sleepResult, 4 | 2);
  EXPECT_TRUE(ThreadManager::Sleep(3, nullptr));
  EXPECT_TRUE(ThreadManager::Sleep(0, nullptr));
}

TEST(ThreadManager, DestructionWaitsForWorkersThatPoll) {
  const std::size_t adoptedBefore = PAL::GetPlaceholderThreadManager().GetThreadCount();
  WorkerState states[4];
  {
    ThreadManager manager;
    for (WorkerState& state : states) {
      ASSERT_NE(manager.CreateThread(&PollingRun, &RecordingExit, &state, 0, false), nullptr);
    }
    ASSERT_TRUE(WaitFor([&] { return manager.GetThreadCount() == 4; }));
  }
  // The destructor returned only after every worker ran its exit function on its own thread.
  for (WorkerState& state : states) {
    EXPECT_TRUE(state.exitRan);
    EXPECT_TRUE(state.exitOnWorker);
  }
  EXPECT_EQ(PAL::GetPlaceholderThreadManager().GetThreadCount(), adoptedBefore);
}

TEST(ThreadManager, WorkerOutlivingItsManagerIsAdoptedAndUnlinksLater) {
  ThreadManager& placeholder = PAL::GetPlaceholderThreadManager();
  const std::size_t adoptedBefore = placeholder.GetThreadCount();
  WorkerState state;
  auto manager = std::make_unique<ThreadManager>();
  ASSERT_NE(manager->CreateThread(&StubbornRun, &RecordingExit, &state, 0, false), nullptr);
  ASSERT_TRUE(WaitFor([&] { return state.started.load(); }));

  const double start = PAL::GetMonotonicMilliseconds();
  manager.reset();
  // Bounded: 500 steps of at least 1 ms each, then the manager gives up waiting.
  EXPECT_GE(PAL::GetMonotonicMilliseconds() - start, 500.0);
  EXPECT_EQ(placeholder.GetThreadCount(), adoptedBefore + 1);

  state.release = true;
  ASSERT_TRUE(WaitFor([&] { return placeholder.GetThreadCount() == adoptedBefore; }));
  EXPECT_EQ(state.ownerAtEnd.load(), &placeholder);
  EXPECT_TRUE(state.exitRan);
}

TEST(ThreadManager, PriorityLevelsOfTheNormalPolicyAndThreadsWithoutFunctions) {
  // Linux's normal policy has a single level.
  EXPECT_EQ(ThreadManager::GetLowestPriority(), 0);
  EXPECT_EQ(ThreadManager::GetLowPriority(), 0);
  EXPECT_EQ(ThreadManager::GetNormalPriority(), 0);
  EXPECT_EQ(ThreadManager::GetHighPriority(), 0);
  EXPECT_EQ(ThreadManager::GetHighestPriority(), 0);
  ThreadManager manager;
  EXPECT_EQ(manager.CreateThread(nullptr, nullptr, nullptr, 5, false), nullptr);
  EXPECT_EQ(manager.GetThreadCount(), 0u);
  // Threads without functions end and unlink.
  for (int i = 0; i < 20; ++i) ASSERT_NE(manager.CreateThread(nullptr, nullptr, nullptr, 0, i % 2 == 0), nullptr);
  EXPECT_TRUE(WaitFor([&] { return manager.GetThreadCount() == 0; }));
}

TEST(ThreadManagerLocks, NullHandlesAreRefused) {
  ThreadManager manager;
  EXPECT_FALSE(manager.LockMutex(nullptr));
  EXPECT_FALSE(manager.UnlockMutex(nullptr));
  EXPECT_FALSE(manager.ReadLock(nullptr));
  EXPECT_FALSE(manager.WriteLock(nullptr));
  EXPECT_FALSE(manager.TryWriteLock(nullptr));
  EXPECT_FALSE(manager.UnlockRWLock(nullptr));
  EXPECT_FALSE(manager.SignalCondition(nullptr, true));
  EXPECT_FALSE(manager.SignalCondition(nullptr, false));
  EXPECT_FALSE(manager.WaitCondition(nullptr, nullptr));
  PAL::MutexHandle mutex = manager.CreateMutex(0);
  ASSERT_TRUE(manager.LockMutex(mutex));
  EXPECT_FALSE(manager.WaitCondition(nullptr, mutex));
  EXPECT_TRUE(manager.UnlockMutex(mutex));
  EXPECT_FALSE(manager.DestroyMutex(nullptr));
  EXPECT_FALSE(manager.DestroyRWLock(nullptr));
  EXPECT_FALSE(manager.DestroyCondition(nullptr));
}

TEST(ThreadManagerLocks, HandlesBelongToTheirManager) {
  ThreadManager first, second;
  PAL::MutexHandle mutex = first.CreateMutex(0);
  PAL::RWLockHandle lock = first.CreateRWLock();
  PAL::ConditionHandle condition = first.CreateCondition();
  ASSERT_NE(mutex, nullptr);
  EXPECT_FALSE(second.DestroyMutex(mutex));
  EXPECT_FALSE(second.DestroyRWLock(lock));
  EXPECT_FALSE(second.DestroyCondition(condition));
  EXPECT_TRUE(first.DestroyMutex(mutex));
  EXPECT_FALSE(first.DestroyMutex(mutex));  // already gone
  EXPECT_TRUE(first.DestroyRWLock(lock));
  EXPECT_TRUE(first.DestroyCondition(condition));
  EXPECT_EQ(first.CreateMutex(12345), nullptr);  // no such mutex type
}

TEST(ThreadManagerLocks, MutexHeldByAnotherThreadIsNeverUnlockedForIt) {
  ThreadManager manager;
  PAL::MutexHandle mutex = manager.CreateMutex(0);
  ASSERT_NE(mutex, nullptr);
  std::atomic<int> step{0};
  std::atomic<bool> holderUnlocked{false};
  std::thread holder([&] {
    ThreadManager::LockMutex(mutex);
    step = 1;
    WaitFor([&] { return step == 2; });
    holderUnlocked = ThreadManager::UnlockMutex(mutex);
  });
  ASSERT_TRUE(WaitFor([&] { return step == 1; }));

  EXPECT_FALSE(manager.DestroyMutex(mutex));
  EXPECT_FALSE(manager.UnlockMutex(mutex));
  // Still held: a third thread cannot get in until the holder lets go.
  std::atomic<bool> contenderIn{false};
  std::thread contender([&] {
    ThreadManager::LockMutex(mutex);
    contenderIn = true;
    ThreadManager::UnlockMutex(mutex);
  });
  PAL::SleepMilliseconds(50);
  EXPECT_FALSE(contenderIn);

  step = 2;
  holder.join();
  contender.join();
  EXPECT_TRUE(holderUnlocked);
  EXPECT_TRUE(contenderIn);
  EXPECT_TRUE(manager.DestroyMutex(mutex));
}

TEST(ThreadManagerLocks, CallerMayDestroyTheMutexItHolds) {
  // The allocator's shutdown destroys its mutex while holding it.
  ThreadManager manager;
  PAL::MutexHandle mutex = manager.CreateMutex(0);
  ASSERT_TRUE(manager.LockMutex(mutex));
  EXPECT_TRUE(manager.DestroyMutex(mutex));
  // Its scoped lock still unlocks the stored handle afterwards: refused, nothing touched.
  EXPECT_FALSE(manager.UnlockMutex(mutex));
  EXPECT_FALSE(manager.DestroyMutex(mutex));

  PAL::MutexHandle recursive = manager.CreateMutex(1);  // recursive type
  ASSERT_NE(recursive, nullptr);
  ASSERT_TRUE(manager.LockMutex(recursive));
  ASSERT_TRUE(manager.LockMutex(recursive));
  EXPECT_TRUE(manager.DestroyMutex(recursive));
}

TEST(ThreadManagerLocks, LockHeldWhenItsManagerGoesStaysUsableForItsHolder) {
  auto manager = std::make_unique<ThreadManager>();
  PAL::MutexHandle mutex = manager->CreateMutex(0);
  PAL::RWLockHandle lock = manager->CreateRWLock();
  std::atomic<int> step{0};
  std::atomic<bool> unlocked{false};
  std::thread holder([&] {
    ThreadManager::LockMutex(mutex);
    ThreadManager::WriteLock(lock);
    step = 1;
    WaitFor([&] { return step == 2; });
    unlocked = ThreadManager::UnlockRWLock(lock) && ThreadManager::UnlockMutex(mutex);
    // And the locks still work afterwards.
    unlocked = unlocked && ThreadManager::LockMutex(mutex) && ThreadManager::UnlockMutex(mutex);
  });
  ASSERT_TRUE(WaitFor([&] { return step == 1; }));
  manager.reset();
  step = 2;
  holder.join();
  EXPECT_TRUE(unlocked);
}

TEST(ThreadManagerLocks, ReadersShareWritersExclude) {
  ThreadManager manager;
  PAL::RWLockHandle lock = manager.CreateRWLock();
  ASSERT_NE(lock, nullptr);
  std::atomic<int> readersInside{0};
  std::atomic<bool> release{false};
  auto reader = [&] {
    ThreadManager::ReadLock(lock);
    ++readersInside;
    WaitFor([&] { return release.load(); });
    --readersInside;
    ThreadManager::UnlockRWLock(lock);
  };
  std::thread first(reader), second(reader);
  // Both readers are inside at once.
  ASSERT_TRUE(WaitFor([&] { return readersInside == 2; }));
  EXPECT_FALSE(manager.TryWriteLock(lock));
  EXPECT_FALSE(manager.DestroyRWLock(lock));  // read-held: left alone
  release = true;
  first.join();
  second.join();

  ASSERT_TRUE(manager.WriteLock(lock));
  std::atomic<int> otherTry{-1};
  std::thread other([&] { otherTry = ThreadManager::TryWriteLock(lock) ? 1 : 0; });
  other.join();
  EXPECT_EQ(otherTry, 0);
  std::atomic<int> otherDestroy{-1};
  std::thread destroyer([&] { otherDestroy = manager.DestroyRWLock(lock) ? 1 : 0; });
  destroyer.join();
  EXPECT_EQ(otherDestroy, 0);  // write-held by us: not released from another thread
  EXPECT_TRUE(manager.UnlockRWLock(lock));
  ASSERT_TRUE(manager.TryWriteLock(lock));
  EXPECT_TRUE(manager.DestroyRWLock(lock));  // held by the caller itself
}

TEST(ThreadManagerLocks, ConditionWakesOneOrAllWaiters) {
  ThreadManager manager;
  PAL::MutexHandle mutex = manager.CreateMutex(0);
  PAL::ConditionHandle condition = manager.CreateCondition();
  ASSERT_NE(condition, nullptr);
  int tickets = 0;  // guarded by mutex
  std::atomic<int> woken{0};
  std::atomic<int> waiting{0};
  auto waiter = [&] {
    ThreadManager::LockMutex(mutex);
    ++waiting;
    while (tickets == 0) ThreadManager::WaitCondition(condition, mutex);
    --tickets;
    ThreadManager::UnlockMutex(mutex);
    ++woken;
  };
  std::thread waiters[3] = {std::thread(waiter), std::thread(waiter), std::thread(waiter)};
  ASSERT_TRUE(WaitFor([&] { return waiting == 3; }));

  manager.LockMutex(mutex);
  tickets = 1;
  EXPECT_TRUE(manager.SignalCondition(condition, false));
  manager.UnlockMutex(mutex);
  ASSERT_TRUE(WaitFor([&] { return woken == 1; }));
  PAL::SleepMilliseconds(20);
  EXPECT_EQ(woken, 1);

  manager.LockMutex(mutex);
  tickets = 2;
  EXPECT_TRUE(manager.SignalCondition(condition, true));
  manager.UnlockMutex(mutex);
  for (std::thread& each : waiters) each.join();
  EXPECT_EQ(woken, 3);
  EXPECT_EQ(tickets, 0);
  // Waiting requires holding the mutex.
  EXPECT_FALSE(manager.WaitCondition(condition, mutex));
  EXPECT_TRUE(manager.DestroyCondition(condition));
  EXPECT_TRUE(manager.DestroyMutex(mutex));
}

// A worker still running at process exit: the main manager stops it with a bounded wait and
// hands it to the placeholder; it ends during the rest of the exit and unlinks itself there.
std::atomic<bool> g_lateWorkerEnded{false};
std::atomic<bool> g_lateWorkerAdopted{false};

void LateWorkerRun(Thread* thread) {
  while (thread->IsRunning()) PAL::SleepMilliseconds(1);
  // Still running when the manager's bounded wait gives up, however long that takes on a busy
  // machine: the worker ends only once it has been handed over.
  g_lateWorkerAdopted =
      WaitFor([thread] { return thread->GetOwner() == &PAL::GetPlaceholderThreadManager(); }, 120000.0);
}

void LateWorkerExit(Thread*) { g_lateWorkerEnded = true; }

void WaitForLateWorkerAtExit() {
  // Registered before the main manager exists, so it runs after the manager's exit step.
  const bool ended = WaitFor([] { return g_lateWorkerEnded.load(); }, 120000.0);
  const bool unlinked = WaitFor([] { return PAL::GetPlaceholderThreadManager().GetThreadCount() == 0; }, 120000.0);
  _exit(ended && unlinked && g_lateWorkerAdopted && PAL::GetMainThreadManager().GetThreadCount() == 0 ? 0 : 3);
}

TEST(ThreadManagerDeathTest, ThreadRunningAtExitIsAdoptedAndEndsSafely) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        std::atexit(&WaitForLateWorkerAtExit);
        PAL::GetMainThreadManager().CreateThread(&LateWorkerRun, &LateWorkerExit, nullptr, 0, false);
        std::exit(0);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
