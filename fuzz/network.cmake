# Message reassembly and the datagram check are plain code over bytes: no sockets needed.
velkor_add_fuzz(network_framing_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/network_framing_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/network/Network_Message.cpp)
velkor_add_fuzz(network_datagram_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/network_datagram_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/network/Network_Message.cpp)
