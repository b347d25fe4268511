velkor_add_fuzz(stream_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/stream_fuzz.cpp LIBS velkor_core)
