#pragma once
// The fuzz targets: each takes one input of any bytes, runs it through a part
// of the product and aborts on a wrong result. libFuzzer drives them in
// `make fuzz`; the corpus replay test runs the stored inputs in every test run.

#include <cstddef>
#include <cstdint>

// The block reader against its literal reading, in memory and from a file.
int fuzzBlockReader(const std::uint8_t* data, std::size_t size);
// The copyright-text-file decoder, in memory and from a file.
int fuzzCopyrightTextFile(const std::uint8_t* data, std::size_t size);
// Decode, notice and encode of a picture file holding the bytes.
int fuzzPicture(const std::uint8_t* data, std::size_t size);

// Ends the program with a message when a result is wrong.
void fuzzCheck(bool ok, const char* what);
