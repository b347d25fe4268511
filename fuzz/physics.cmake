# Saved physics engines (bodies, forces, solvers, joints) read and stepped; seeds in fuzz/corpus/physics/.
velkor_add_fuzz(physics_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/physics_fuzz.cpp LIBS velkor_physics)
