#include "network/Network_Address.h"

#include "network/Network_Socket.h"

namespace Network {

NetAddress::NetAddress() = default;

NetAddress::NetAddress(const char* host, std::int32_t port) {
  m_address.port = port >= 1 && port <= 0xFFFF ? Socket::HostToNetwork16(static_cast<std::uint16_t>(port)) : 0;
  if (host == nullptr || *host == '\0') return;
  m_text = host;
  std::uint32_t address = 0;
  if (!Socket::ParseDotted(host, address) && !Socket::ResolveHost(host, address)) address = 0;
  m_address.address = address;
}

void NetAddress::UpdateText() { m_text = Socket::FormatDotted(m_address.address); }

bool NetAddress::operator==(const NetAddress& other) const {
  return m_address.port == other.m_address.port && m_address.address == other.m_address.address;
}

void NetAddress::SetSocketAddress(const SocketAddress& address) {
  m_address = address;
  m_address.family = 2;
  for (std::uint8_t& byte : m_address.zero) byte = 0;
}

std::uint16_t NetAddress::GetPort() const { return Socket::NetworkToHost16(m_address.port); }
void NetAddress::SetPort(std::uint16_t port) { m_address.port = Socket::HostToNetwork16(port); }
void NetAddress::SetAddress(std::uint32_t networkOrderAddress) { m_address.address = networkOrderAddress; }

std::uint32_t MakeBroadcastAddress(std::uint32_t networkOrderAddress, std::uint32_t scope) {
  std::uint32_t host = Socket::NetworkToHost32(networkOrderAddress);
  switch (scope) {
    case 1:
      host |= 0x000000FFu;
      break;
    case 2:
      host |= 0x0000FFFFu;
      break;
    case 3:
      host |= 0x00FFFFFFu;
      break;
    default:
      host = 0xFFFFFFFFu;
      break;
  }
  return Socket::HostToNetwork32(host);
}

}  // namespace Network
