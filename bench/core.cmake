velkor_add_bench(memory_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/memory_bench.cpp LIBS velkor_core)
