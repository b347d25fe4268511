#include "core/Core_Initializer.h"

#include "core/Core_MemoryManager.h"
#include "core/Core_Time.h"
#include "platform/PAL_ThreadManager.h"

namespace Core {
namespace {

std::uint32_t g_nestingCount = 0;

bool LockAllocatorMutex(void* mutex) { return PAL::ThreadManager::LockMutex(static_cast<PAL::MutexHandle>(mutex)); }

bool UnlockAllocatorMutex(void* mutex) {
  return PAL::ThreadManager::UnlockMutex(static_cast<PAL::MutexHandle>(mutex));
}

}  // namespace

Initializer::Initializer() {
  if (g_nestingCount++ != 0) return;
  PAL::MutexHandle mutex = PAL::GetMainThreadManager().CreateMutex(0);
  InstallAllocatorMutex(mutex, LockAllocatorMutex, UnlockAllocatorMutex);
  InstallClock(nullptr);
}

Initializer::~Initializer() {
  if (g_nestingCount == 0 || --g_nestingCount != 0) return;
  auto mutex = static_cast<PAL::MutexHandle>(GetAllocatorMutex());
  if (mutex == nullptr) return;
  // Taken first so that no allocation is half-way inside the lock when it is uninstalled; released
  // before it is destroyed, so a scoped lock that started earlier unlocks a live mutex.
  PAL::ThreadManager::LockMutex(mutex);
  InstallAllocatorMutex(nullptr, nullptr, nullptr);
  PAL::ThreadManager::UnlockMutex(mutex);
  PAL::GetMainThreadManager().DestroyMutex(mutex);
}

std::uint32_t Initializer::GetNestingCount() { return g_nestingCount; }

}  // namespace Core
