# The two commands of Velkor. Everything else is set up by these.
JOBS ?= $(shell nproc)

.PHONY: run test deps

deps:
	@tools/install-deps.sh

run: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVELKOR_TESTS=OFF -DVELKOR_BENCH=OFF -DVELKOR_WERROR=OFF
	cmake --build build/release -j $(JOBS)
	@tools/run-game.sh build/release/bin/velkor

test: deps
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DVELKOR_SANITIZE=ON -DVELKOR_BENCH=ON -DVELKOR_WERROR=ON
	cmake --build build/test -j $(JOBS)
	cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Debug -DVELKOR_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVELKOR_WERROR=ON
	cmake --build build/fuzz -j $(JOBS) --target fuzz_all
	cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=Debug -DVELKOR_TSAN=ON -DVELKOR_WERROR=ON
	cmake --build build/tsan -j $(JOBS) --target network_tests audio_tests
	@tools/run-tests.sh build/test build/fuzz build/tsan
