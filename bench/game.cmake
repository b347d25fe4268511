# One frame of the running game level, built by the real game and level factory on a 1280 x 720
# window (run under Xvfb), with the level's own objects and with four times as many on screen, and
# the main menu; each frame's fragments are counted through the driver's queries.
if(TARGET velkor_content AND TARGET velkor_game)
  find_package(OpenGL REQUIRED)
  velkor_add_bench(game_level_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/game_level_bench.cpp
    LIBS velkor_content velkor_game OpenGL::GL)
  if(TARGET velkor_resources)
    add_dependencies(game_level_bench velkor_resources)
  endif()
endif()
