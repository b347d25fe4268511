# Pyramids of boxes through the engine's solver kinds, with the same scenes in Box2D as the reference.
pkg_check_modules(BOX2D IMPORTED_TARGET box2d)
if(TARGET velkor_physics AND BOX2D_FOUND)
  velkor_add_bench(physics_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/physics_bench.cpp ${PROJECT_SOURCE_DIR}/tests/physics/PhysicsScenes.cpp
    LIBS velkor_physics PkgConfig::BOX2D)
  target_include_directories(physics_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/physics)
endif()
