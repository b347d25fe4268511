#include "core/Core_Initializer.h"

#include "core/Core_MemoryManager.h"
#include "core/Core_Time.h"
#include "platform/PAL_ThreadManager.h"

namespace Core {
namespace {

std::uint32_t g_nestingCount = 0;
// Made once and never destroyed: a thread of a foreign library may have read the handle just before
// shutdown uninstalls it and lock it just after, so the mutex must outlive every such thread.
PAL::MutexHandle g_allocatorMutex = nullptr;

bool LockAllocatorMutex(void* mutex) { return PAL::ThreadManager::LockMutex(static_cast<PAL::MutexHandle>(mutex)); }

bool UnlockAllocatorMutex(void* mutex) {
  return PAL::ThreadManager::UnlockMutex(static_cast<PAL::MutexHandle>(mutex));
}

}  // namespace

Initializer::Initializer() {
  if (g_nestingCount++ != 0) return;
  if (g_allocatorMutex == nullptr) g_allocatorMutex = PAL::GetMainThreadManager().CreateMutex(0);
  InstallAllocatorMutex(g_allocatorMutex, LockAllocatorMutex, UnlockAllocatorMutex);
  InstallClock(nullptr);
}

Initializer::~Initializer() {
  if (g_nestingCount == 0 || --g_nestingCount != 0) return;
  auto mutex = static_cast<PAL::MutexHandle>(GetAllocatorMutex());
  if (mutex == nullptr) return;
  // Taken first so that no allocation is half-way inside the lock when it is uninstalled.
  PAL::ThreadManager::LockMutex(mutex);
  InstallAllocatorMutex(nullptr, nullptr, nullptr);
  PAL::ThreadManager::UnlockMutex(mutex);
}

std::uint32_t Initializer::GetNestingCount() { return g_nestingCount; }

}  // namespace Core
