# The full collision step of a layer at 100, 1,000 and 5,000 moving boxes, with Box2D's dynamic-tree
# broad phase over the same boxes as the reference.
pkg_check_modules(BOX2D_COLLISION IMPORTED_TARGET box2d)
if(TARGET velkor_collision AND BOX2D_COLLISION_FOUND)
  velkor_add_bench(collision_layer_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/collision_layer_bench.cpp
    LIBS velkor_collision PkgConfig::BOX2D_COLLISION)
endif()
