#pragma once
// The fuzz targets: each takes one input of any bytes, runs it through a part
// of the product and aborts on a wrong result. libFuzzer drives them in
// `make fuzz`; the corpus replay test runs the stored inputs in every test run.

#include <cstddef>
#include <cstdint>

// The block reader against its literal reading, in memory and from a file.
int FuzzBlockReader(const std::uint8_t* data, std::size_t size);
// The copyright-text-file decoder, in memory and from a file.
int FuzzCopyrightTextFile(const std::uint8_t* data, std::size_t size);
// Decode, notice and encode of a picture file holding the bytes.
int FuzzPicture(const std::uint8_t* data, std::size_t size);

// Ends the program with a message when a result is wrong.
void FuzzCheck(bool ok, const char* what);
