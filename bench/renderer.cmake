find_package(OpenGL REQUIRED)
velkor_add_bench(renderer_bench SOURCES renderer_bench.cpp LIBS velkor_renderer OpenGL::GL stb)
