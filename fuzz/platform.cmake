# The window icon reader; seeds in fuzz/corpus/icon/.
velkor_add_fuzz(icon_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/icon_fuzz.cpp LIBS velkor_platform)
