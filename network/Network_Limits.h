#pragma once
// What a session allows its peers: how much a stranger may make it buffer, queue or wait for
// before it is cut off. The one place these numbers live; a session takes a copy (SetLimits).
#include <cstdint>

namespace Network {

struct SessionLimits {
  // Before the owner marks a connection joined (Qln_Session::SetChannelJoined): the largest message
  // it may send (header included; enough for a join request), how many messages it may send (a join
  // request and a few retries: a stranger cannot flood the event queue) and how long it may stay
  // without joining.
  std::uint32_t preJoinMessageSize = 4096;
  std::uint32_t preJoinMessages = 8;
  std::uint32_t joinTimeoutMs = 3000;
  // After the join: the largest message a peer may send (header included); one larger closes its
  // connection. A player's largest message is a text or data block its host relays to a group, at
  // most 64 KiB with its ids; twice that leaves room. A connection this session made itself (a
  // client's to its host) may receive up to kMaximumMessageSize: a host sends a joining player the
  // level's objects in one message.
  std::uint32_t joinedMessageSize = 128 * 1024;
  // The bytes (messages and their event records) of one accepted connection that the event queue
  // may hold. Past them the session thread stops reading that connection, so that the peer's
  // kernel holds it back, until the owner has dispatched them; the others are still read. A single
  // message of any allowed size still gets in.
  std::uint32_t queueShareBytes = 1024 * 1024;
  // Connections accepted on a listening channel, joined or not, beyond the player count the session
  // hosts for; one more is accepted and closed at once.
  std::uint32_t connectionMargin = 4;
  // The queue of the kernel's finished handshakes; independent of the player count, so that a
  // burst of connects is refused by the cap above rather than left hanging in the kernel.
  std::uint32_t listenBacklog = 128;
  // A failed accept (no descriptors left) pauses accepting this long instead of retrying at once.
  std::uint32_t acceptBackoffMs = 100;
  // Bytes waiting to be written to one peer behind the message being written; past it the peer is
  // cut off. A single message of any allowed size still goes out to a peer that reads.
  std::uint32_t outgoingQueueBytes = 1024 * 1024;
  // A peer whose outgoing bytes have not moved for this long is cut off.
  std::uint32_t sendStallMs = 5000;
  // The most one pass of the session thread reads from one stream, so one busy peer cannot
  // starve the others.
  std::uint32_t readChunkBytes = 64 * 1024;
};

}  // namespace Network
