velkor_add_fuzz(tilemap_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/tilemap_fuzz.cpp LIBS velkor_collision)
