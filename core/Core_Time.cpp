#include "core/Core_Time.h"

#include "platform/PAL_Clock.h"

namespace Core {

namespace {
ClockFunction g_clock = &PAL::GetMonotonicMilliseconds;
}  // namespace

double GetTime() { return g_clock(); }

void InstallClock(ClockFunction clock) { g_clock = clock ? clock : &PAL::GetMonotonicMilliseconds; }

void Stopwatch::Start() {
  if (m_running) return;
  m_running = 1;
  m_startTime = GetTime();
}

void Stopwatch::Stop() {
  if (!m_running) return;
  m_stopTime = GetTime();
  m_running = 0;
}

void Stopwatch::Reset() {
  m_startTime = 0.0;
  m_stopTime = 0.0;
  m_running = 0;
}

double Stopwatch::GetElapsed() const { return m_running ? GetTime() - m_startTime : m_stopTime - m_startTime; }

}  // namespace Core
