# The replay file reader (the player's files, read back as hostile input).
velkor_add_fuzz(replay_file_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/replay_file_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/framework/Quillon_Replay.cpp LIBS velkor_core velkor_input)
