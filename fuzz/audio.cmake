# The WAV parser is plain code over bytes: the target needs neither OpenAL nor a device.
velkor_add_fuzz(wav_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/wav_fuzz.cpp ${PROJECT_SOURCE_DIR}/audio/Sound_WaveParser.cpp)
