# The GUI records of a saved game read into a running GUI on the fake renderer; seeds in
# fuzz/corpus/gui_stream/.
velkor_add_fuzz(gui_stream_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/gui_stream_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/tests/renderer/FakeRenderer.cpp LIBS velkor_gui)
