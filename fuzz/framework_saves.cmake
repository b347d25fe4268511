# The replay file reader (the player's files, read back as hostile input).
velkor_add_fuzz(replay_file_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/replay_file_fuzz.cpp
  ${PROJECT_SOURCE_DIR}/framework/Quillon_Replay.cpp LIBS velkor_core velkor_input)
# Whole-game loads of hostile save files into a running game of two small levels; seeds in
# fuzz/corpus/game_load/ (saves of that game).
velkor_add_fuzz(game_load_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/game_load_fuzz.cpp LIBS velkor_framework)
