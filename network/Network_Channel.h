#pragma once
// One socket of a session: its kind (role), mode, options, buffers and the state of its connection.
#include <atomic>
#include <cstdint>
#include <vector>

#include "network/Network_Address.h"
#include "network/Network_Message.h"
#include "network/Network_Socket.h"
#include "platform/PAL_ThreadManager.h"

namespace Network {

enum ChannelMode : std::uint32_t {
  // The session thread watches the socket for reading.
  kModeWatchRead = 1,
  // Sends are queued for the session thread instead of being sent by the caller.
  kModeQueueSends = 2,
};

class Channel {
 public:
  Channel() = default;
  ~Channel();
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  // Creates the socket and binds it; succeeds at once when the channel already has a socket.
  bool CreateAndBind(std::int32_t socketType, const NetAddress& address);
  // Applies each bit of the mask in rising order; false at the first the system refuses.
  bool ApplyOptions(std::uint32_t options);
  bool CreateLocks(PAL::ThreadManager& manager);
  void DestroyLocks(PAL::ThreadManager& manager);
  void CloseSocket();

  // -1 for an invalid socket, a null buffer or a length below 1.
  std::int64_t Receive(void* buffer, std::int64_t length, SocketStatus& status);
  std::int64_t Send(const void* buffer, std::int64_t length, SocketStatus& status);
  std::int64_t SendTo(const void* buffer, std::int64_t length, const SocketAddress& target, SocketStatus& status);
  // Sends all of a framed message, resuming partial sends; on a non-blocking socket it waits for
  // room at most timeoutMs (a blocking socket too). False when the peer is gone, the wait ran out or an error occurred:
  // a frame cut short leaves the stream unusable, and every later SendAll on it fails. Under sendMutex.
  bool SendAll(const std::uint8_t* data, std::size_t size, std::uint32_t timeoutMs);
  // Refreshes the local address from the socket and returns it.
  const NetAddress& GetLocalAddress();
  // Grows the receive or send buffer to at least size bytes (contents not kept).
  bool EnsureBuffer(std::uint32_t size, bool receiveBuffer);

  void RaiseUseCount() { m_useCount.fetch_add(1, std::memory_order_acq_rel); }
  void LowerUseCount() { m_useCount.fetch_sub(1, std::memory_order_acq_rel); }
  std::int32_t GetUseCount() const { return m_useCount.load(std::memory_order_acquire); }

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
  std::uint8_t listening = 0;
  // Set when the channel is closed because of an error rather than by its peer.
  std::uint8_t closedOnError = 0;
  // Set under sendMutex when a send failed part-way through a frame; the peer could no longer tell
  // where the next message starts.
  std::uint8_t sendBroken = 0;
  NetAddress remoteAddress;
  // Reassembly of the stream received on this socket (stream channels only), under receiveMutex.
  StreamBuffer stream;

 private:
  std::atomic<std::int32_t> m_useCount{0};
};

}  // namespace Network
