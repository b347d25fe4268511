# The benchmark makes its own Ogg files with the tests' encoder helper.
pkg_check_modules(AUDIO_BENCH_VORBISENC REQUIRED IMPORTED_TARGET vorbisenc vorbis ogg)
velkor_add_bench(audio_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/audio_bench.cpp ${PROJECT_SOURCE_DIR}/tests/audio/AudioTestFiles.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/WholeFiles.cpp
  LIBS velkor_audio PkgConfig::AUDIO_BENCH_VORBISENC)
