#pragma once
// One socket of a session: its kind (role), mode, options, buffers and the state of its connection.
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "network/Network_Address.h"
#include "network/Network_Event.h"
#include "network/Network_Message.h"
#include "network/Network_Socket.h"
#include "platform/PAL_ThreadManager.h"

namespace Network {

enum ChannelMode : std::uint32_t {
  // The session thread watches the socket for reading.
  kModeWatchRead = 1,
  // Every send is left to the session thread, which reports each with a kind-4 event. (Stream
  // messages are queued in any mode; without this bit the caller writes what the socket takes at
  // once and no event reports it.)
  kModeQueueSends = 2,
};

// A framed message waiting to be written: to the peer of a stream, or to its target on a datagram
// channel. The frame is owned by the queue.
struct OutgoingMessage {
  std::uint8_t* frame = nullptr;
  std::uint32_t size = 0;
  std::uint32_t written = 0;
  NetAddress target;
  // Reported with a kind-4 event once written or failed.
  bool report = false;
};

// A finished queued send, as its kind-4 event tells it.
struct SendOutcome {
  NetAddress target;
  bool failed = false;
};

class Channel {
 public:
  Channel() = default;
  // Frees what is still queued to be sent and the received messages still held.
  ~Channel();
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  // Creates the socket and binds it; succeeds at once when the channel already has a socket. The
  // address-reuse bit of the options is applied before binding, where it has its effect.
  bool CreateAndBind(std::int32_t socketType, const NetAddress& address, std::uint32_t options = 0);
  // Applies each bit of the mask in rising order; false at the first the system refuses.
  bool ApplyOptions(std::uint32_t options);
  bool CreateLocks(PAL::ThreadManager& manager);
  void DestroyLocks(PAL::ThreadManager& manager);
  void CloseSocket();

  // -1 for an invalid socket, a null buffer or a length below 1.
  std::int64_t Receive(void* buffer, std::int64_t length, SocketStatus& status);
  std::int64_t Send(const void* buffer, std::int64_t length, SocketStatus& status);
  std::int64_t SendTo(const void* buffer, std::int64_t length, const SocketAddress& target, SocketStatus& status);
  // The outgoing queue, all under sendMutex. Takes the frame; false (the frame freed) when the bytes
  // already waiting behind the message being written, with this one, would pass backlogLimit, or
  // when the stream is broken. An empty queue takes a message of any size.
  bool QueueOutgoingLocked(std::uint8_t* frame, std::uint32_t size, const NetAddress& target, bool report,
                           std::size_t backlogLimit);
  // Writes what the socket takes without waiting, oldest first. False when the socket failed: the
  // stream is broken and every message left was dropped (reported failed). Outcomes of reported
  // messages are appended.
  bool FlushOutgoingLocked(std::vector<SendOutcome>& outcomes);
  // Frees every waiting message, reporting those that asked as failed.
  void DropOutgoingLocked(std::vector<SendOutcome>& outcomes);
  bool HasOutgoing() const { return m_outgoingWaiting.load(std::memory_order_acquire); }
  // The real time of the last written byte (or of the first queued into an empty queue).
  double GetLastOutgoingProgressLocked() const { return m_lastOutgoingProgress; }

  // Refreshes the local address from the socket and returns it.
  const NetAddress& GetLocalAddress();
  // Grows the receive or send buffer to at least size bytes (contents not kept).
  bool EnsureBuffer(std::uint32_t size, bool receiveBuffer);

  void RaiseUseCount() { m_useCount.fetch_add(1, std::memory_order_acq_rel); }
  void LowerUseCount() { m_useCount.fetch_sub(1, std::memory_order_acq_rel); }
  std::int32_t GetUseCount() const { return m_useCount.load(std::memory_order_acquire); }
  // Deliveries that name the record (an accept event's handler) may read it but never touch its
  // socket: they keep the record, not the connection, open. Raised under the session lock.
  void RaiseDeliveryHold() { m_deliveryHolds.fetch_add(1, std::memory_order_acq_rel); }
  void LowerDeliveryHold() { m_deliveryHolds.fetch_sub(1, std::memory_order_acq_rel); }
  std::int32_t GetDeliveryHolds() const { return m_deliveryHolds.load(std::memory_order_acquire); }

  bool IsOpen() const { return socket != kInvalidSocket && closed == 0; }
  bool IsNonBlocking() const { return (options & kOptionNonBlocking) != 0; }

  SocketHandle socket = kInvalidSocket;
  std::int32_t socketType = -1;
  std::vector<std::uint8_t> receiveBuffer;
  std::vector<std::uint8_t> sendBuffer;
  PAL::MutexHandle receiveMutex = nullptr;
  PAL::MutexHandle sendMutex = nullptr;
  std::uint32_t kind = 0xFFFFFFFFu;
  std::uint32_t mode = 0;
  std::uint32_t options = 0;
  NetAddress localAddress;
  std::uint8_t accepted = 0;
  std::uint8_t connectStarted = 0;
  std::uint8_t connected = 0;
  // Written under the session's write lock; look-ups skip a closed channel.
  std::uint8_t closed = 0;
  // Set by the session thread once the socket is closed and the close reported; the record itself
  // stays until no delivery names it.
  std::uint8_t released = 0;
  std::uint8_t listening = 0;
  // Set when the channel is closed because of an error rather than by its peer.
  std::uint8_t closedOnError = 0;
  // Set under sendMutex when a send failed part-way through a frame; the peer could no longer tell
  // where the next message starts.
  std::uint8_t sendBroken = 0;
  NetAddress remoteAddress;
  // Reassembly of the stream received on this socket (stream channels only), under receiveMutex.
  StreamBuffer stream;
  // Accepted connections: set by the session's owner once the peer has joined; until then the
  // pre-join limits apply. Read as each message is cut from the stream, so that the peer's first
  // message after its join is held to the joined limits. acceptedAt is real time in milliseconds.
  std::atomic<bool> joined{false};
  double acceptedAt = 0.0;
  // Messages taken from the peer before it joined (the session thread's own).
  std::uint32_t receivedBeforeJoin = 0;
  // Received messages the event queue had no room for yet, oldest first (the session thread's own):
  // the stream is not read again until they are in.
  std::deque<NetEvent> held;
  // The bytes of this connection's messages in the event queue (kept by the queue).
  std::shared_ptr<std::atomic<std::size_t>> queued = std::make_shared<std::atomic<std::size_t>>(0);

 private:
  std::atomic<std::int32_t> m_useCount{0};
  std::atomic<std::int32_t> m_deliveryHolds{0};
  std::deque<OutgoingMessage> m_outgoing;
  std::size_t m_outgoingBytes = 0;
  double m_lastOutgoingProgress = 0.0;
  std::atomic<bool> m_outgoingWaiting{false};
};

}  // namespace Network
