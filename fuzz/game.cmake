# The save-file reader ("scoreData.txt" comes from outside the program: hand edits, cut files).
velkor_add_fuzz(save_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/save_fuzz.cpp LIBS velkor_game)
