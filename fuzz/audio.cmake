# The WAV parser is plain code over bytes: the target needs neither OpenAL nor a device.
velkor_add_fuzz(wav_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/wav_fuzz.cpp ${PROJECT_SOURCE_DIR}/audio/Sound_WaveParser.cpp)
# WAV and Ogg files through the whole sound engine on OpenAL Soft's null output; seeds in
# fuzz/corpus/sound_wav/ and fuzz/corpus/sound_ogg/.
velkor_add_fuzz(sound_wav_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/sound_data_fuzz.cpp LIBS velkor_audio)
target_compile_definitions(sound_wav_fuzz PRIVATE VELKOR_SOUND_SUFFIX=".wav")
velkor_add_fuzz(sound_ogg_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/sound_data_fuzz.cpp LIBS velkor_audio)
target_compile_definitions(sound_ogg_fuzz PRIVATE VELKOR_SOUND_SUFFIX=".ogg")
