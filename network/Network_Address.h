#pragma once
// IPv4 endpoints: the 16-byte socket address the socket calls take, and its dotted text.
#include <cstdint>
#include <string>

namespace Network {

// Laid out as the system's IPv4 socket address: family, port and address in network order.
struct SocketAddress {
  std::uint16_t family = 2;
  std::uint16_t port = 0;
  std::uint32_t address = 0;
  std::uint8_t zero[8] = {};
};
static_assert(sizeof(SocketAddress) == 16, "the socket calls take exactly 16 bytes");

class NetAddress {
 public:
  // Any address, port 0.
  NetAddress();
  // Dotted text is taken as it is; other text is resolved as a host name. A host that neither
  // parses nor resolves gives address 0 (any) with the text kept. Ports below 1 give port 0.
  NetAddress(const char* host, std::int32_t port);
  NetAddress(const std::string& host, std::int32_t port) : NetAddress(host.c_str(), port) {}

  // Rewrites the text from the stored address.
  void UpdateText();
  // Port and address only; family and text are not compared.
  bool operator==(const NetAddress& other) const;
  bool operator!=(const NetAddress& other) const { return !(*this == other); }

  const SocketAddress& GetSocketAddress() const { return m_address; }
  void SetSocketAddress(const SocketAddress& address);
  // Host order.
  std::uint16_t GetPort() const;
  void SetPort(std::uint16_t port);
  // Network order.
  std::uint32_t GetAddress() const { return m_address.address; }
  void SetAddress(std::uint32_t networkOrderAddress);
  const std::string& GetText() const { return m_text; }

 private:
  SocketAddress m_address;
  std::string m_text;
};

// The broadcast address of a scope around an IPv4 address (network order): scope 1 sets the last
// byte to 255, scope 2 the last two, scope 3 the last three, any other scope gives 255.255.255.255.
std::uint32_t MakeBroadcastAddress(std::uint32_t networkOrderAddress, std::uint32_t scope);

}  // namespace Network
