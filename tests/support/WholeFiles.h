#pragma once
// Whole files in and out, for the tests and for the benchmarks that build on the tests' file
// makers: nothing here needs the test framework.
#include <string>

namespace TestSupport {

// Reads a whole file into a string; empty when the file cannot be read.
std::string ReadWholeFile(const std::string& path);

// Writes a string to a file, replacing it; false when the file cannot be written.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace TestSupport
