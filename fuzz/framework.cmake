# The layer collision file reader (text from outside the program).
velkor_add_fuzz(layer_collision_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/layer_collision_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/framework/Quillon_LayerCollisionFile.cpp LIBS velkor_platform velkor_math)
