# The ".gui" skin reader and skin images built from what it accepts; seeds in fuzz/corpus/gui_skin/.
velkor_add_fuzz(gui_skin_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_skin_fuzz.cpp LIBS velkor_gui)
