# Narrow phase of the collision system: swept pair tests per shape kind and sub-step count.
if(TARGET velkor_collision)
  velkor_add_bench(collision_narrow_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/collision_narrow_bench.cpp
    LIBS velkor_collision)
endif()
