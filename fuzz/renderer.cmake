velkor_add_fuzz(renderer_fuzz SOURCES renderer_fuzz.cpp LIBS velkor_renderer)
