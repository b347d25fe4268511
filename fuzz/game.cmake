# The save-file reader ("scoreData.txt" comes from outside the program: hand edits, cut files).
# Built from its own sources so it needs only the foundation, not the whole game library.
velkor_add_fuzz(save_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/save_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/game/Velkor_DataManager.cpp ${PROJECT_SOURCE_DIR}/game/Velkor_ItemData.cpp
  LIBS velkor_core velkor_platform)
