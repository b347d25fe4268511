# The bitmap font metrics reader; seeds in fuzz/corpus/fbf/.
velkor_add_fuzz(fbf_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/scene_fbf_fuzz.cpp LIBS velkor_scene)
# Text measured and laid out with a hostile font file; seeds in fuzz/corpus/scene_text/.
velkor_add_fuzz(scene_text_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/scene_text_fuzz.cpp LIBS velkor_scene)
# Scene trees loaded from a hostile stream; seeds in fuzz/corpus/scene_node/.
velkor_add_fuzz(scene_node_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/scene_node_fuzz.cpp LIBS velkor_scene)
