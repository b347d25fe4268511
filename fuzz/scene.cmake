# The bitmap font metrics reader; seeds in fuzz/corpus/fbf/.
velkor_add_fuzz(fbf_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/scene_fbf_fuzz.cpp LIBS velkor_scene)
