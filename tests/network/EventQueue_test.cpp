// The event queue: order of delivery, the idle limit, buffers kept by a handler, worker threads.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

#include "core/Core_Time.h"
#include "network/Network_Event.h"
#include "network/Network_Message.h"
#include "network/Network_Session.h"
#include "tests/support/TestSupport.h"

namespace {

using Network::EventQueue;
using Network::NetEvent;

NetEvent Numbered(std::uint32_t number) {
  NetEvent event;
  event.kind = Network::kEventChannelOpened;
  event.channelKind = number;
  return event;
}

TEST(EventQueue, PolledDeliveryKeepsOrderAndReportsCounts) {
  EventQueue queue;
  std::vector<std::uint32_t> seen;
  ASSERT_TRUE(queue.Start([&seen](NetEvent& event) { seen.push_back(event.channelKind); }, false, 0, 0, 0));
  EXPECT_EQ(queue.GetMode(), EventQueue::kPolled);
  for (std::uint32_t i = 0; i < 200; ++i) ASSERT_TRUE(queue.Post(Numbered(i)));
  std::uint32_t delivered = 0;
  std::uint32_t remaining = 99;
  queue.Dispatch(1000, 1, &delivered, &remaining);
  EXPECT_EQ(delivered, 200u);
  EXPECT_EQ(remaining, 0u);
  ASSERT_EQ(seen.size(), 200u);
  for (std::uint32_t i = 0; i < 200; ++i) EXPECT_EQ(seen[i], i);

  // Once stopped, nothing more is accepted.
  queue.Stop();
  EXPECT_TRUE(queue.IsStopping());
  EXPECT_FALSE(queue.Post(Numbered(1)));
  EXPECT_FALSE(queue.Start([](NetEvent&) {}, false, 0, 0, 0));
}

TEST(EventQueue, EmptyDispatchReturnsAfterTheIdleLimit) {
  EventQueue queue;
  ASSERT_TRUE(queue.Start([](NetEvent&) {}, false, 0, 0, 1));
  Core::Stopwatch watch;
  watch.Start();
  std::uint32_t delivered = 7;
  queue.Dispatch(5000, 3, &delivered, nullptr);
  EXPECT_EQ(delivered, 0u);
  EXPECT_GE(watch.GetElapsed(), 3.0);
  // Generous bound: a loaded CI machine may oversleep, but never by seconds.
  EXPECT_LT(watch.GetElapsed(), 1000.0);
  EXPECT_FALSE(EventQueue().Start(nullptr, false, 0, 0, 0));
}

TEST(EventQueue, NestedDispatchKeepsItsCallersTimeLimit) {
  // Each delivery posts the next event and dispatches again: the outer call still ends at its limit.
  EventQueue queue;
  Core::Stopwatch feeding;
  feeding.Start();
  ASSERT_TRUE(queue.Start(
      [&](NetEvent&) {
        if (feeding.GetElapsed() < 5000.0) queue.Post(Numbered(0));
        queue.Dispatch(0, 0, nullptr, nullptr);
      },
      false, 0, 0, 0));
  ASSERT_TRUE(queue.Post(Numbered(0)));
  std::uint32_t remaining = 0;
  queue.Dispatch(20, 20, nullptr, &remaining);
  EXPECT_EQ(remaining, 1u);
}

TEST(EventQueue, HandlerMayKeepAMessageBuffer) {
  std::uint8_t* kept = nullptr;
  NetEvent event;
  event.kind = Network::kEventMessageReceived;
  std::uint8_t* block = Network::FrameMessage(5, "data", 4);
  event.SetMessage(block, 12);
  EXPECT_EQ(event.messageType, 5u);
  EXPECT_EQ(event.payloadSize, 4u);
  event.handler = [&kept](NetEvent& delivered) {
    kept = delivered.data;
    return false;
  };
  Network::Qln_Session::Deliver(event);
  // The handler owns it now; the event forgot it and the bytes are intact.
  EXPECT_EQ(event.data, nullptr);
  ASSERT_EQ(kept, block);
  EXPECT_EQ(0, std::memcmp(kept + 8, "data", 4));
  Network::FreeMessage(kept);

  // A handler that answers true lets the engine free the buffer (ASan would report a leak).
  NetEvent freed;
  freed.kind = Network::kEventMessageReceived;
  freed.SetMessage(Network::FrameMessage(1, "x", 1), 9);
  freed.handler = [](NetEvent&) { return true; };
  Network::Qln_Session::Deliver(freed);
  EXPECT_EQ(freed.data, nullptr);
  EXPECT_EQ(freed.payload, nullptr);
}

TEST(EventQueue, WorkerThreadDeliversInOrderAndStops) {
  std::mutex mutex;
  std::vector<std::uint32_t> seen;
  {
    EventQueue queue;
    ASSERT_TRUE(queue.Start(
        [&](NetEvent& event) {
          std::lock_guard<std::mutex> lock(mutex);
          seen.push_back(event.channelKind);
        },
        true, 0, 0, 1));
    EXPECT_EQ(queue.GetMode(), EventQueue::kWorker);
    for (std::uint32_t i = 0; i < 100; ++i) ASSERT_TRUE(queue.Post(Numbered(i)));
    ASSERT_TRUE(TestSupport::WaitFor([&] {
      std::lock_guard<std::mutex> lock(mutex);
      return seen.size() == 100;
    })) << "worker did not deliver";
    queue.Stop();
  }
  for (std::uint32_t i = 0; i < 100; ++i) EXPECT_EQ(seen[i], i);
}

TEST(EventQueue, HandlerThreadsDeliverEveryEvent) {
  std::atomic<std::uint32_t> count{0};
  std::atomic<std::uint32_t> sum{0};
  EventQueue queue;
  ASSERT_TRUE(queue.Start(
      [&](NetEvent& event) {
        sum += event.channelKind;
        ++count;
      },
      true, 3, 0, 1));
  EXPECT_EQ(queue.GetMode(), EventQueue::kWorkerWithHandlerThreads);
  for (std::uint32_t i = 1; i <= 40; ++i) ASSERT_TRUE(queue.Post(Numbered(i)));
  EXPECT_TRUE(TestSupport::WaitFor([&] { return count.load() == 40; }));
  EXPECT_EQ(count.load(), 40u);
  EXPECT_EQ(sum.load(), 40u * 41u / 2u);
  queue.Stop();
  EXPECT_EQ(queue.GetRunningHandlerCount(), 0u);
}

TEST(EventQueue, UndeliveredBuffersAreFreedWithTheQueue) {
  // Leak-checked by the sanitizer build: the queue owns the buffers of events nobody drained.
  EventQueue queue;
  ASSERT_TRUE(queue.Start([](NetEvent&) {}, false, 0, 0, 0));
  NetEvent event;
  event.kind = Network::kEventMessageReceived;
  event.SetMessage(Network::FrameMessage(1, "abc", 3), 11);
  ASSERT_TRUE(queue.Post(event));
  EXPECT_EQ(queue.GetCount(), 1u);
}

}  // namespace
