# Script files compiled and run (time and memory capped by the target); seeds in fuzz/corpus/script/.
velkor_add_fuzz(script_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/script_fuzz.cpp LIBS velkor_script)
