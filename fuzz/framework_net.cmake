# The multiplayer layer's message handlers and the game object's network records (bytes from peers).
velkor_add_fuzz(framework_net_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/framework_net_fuzz.cpp LIBS velkor_framework)
# The game object's network records (create, whole load, per-frame update), each from byte 0.
velkor_add_fuzz(framework_net_record_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/framework_net_record_fuzz.cpp LIBS velkor_framework)
