velkor_add_fuzz(collision_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/collision_fuzz.cpp LIBS velkor_collision)
