#pragma once
// Puts the metadata segments of an output JPEG into a libjpeg encoder: the
// one place that writes them, whether the encoder is fed rows or coefficients.

#include "core/imaging/picturemetadata.h"

struct jpeg_compress_struct;

// Before jpeg_start_compress (or jpeg_write_coefficients): the JFIF density.
void setJpegDensity(jpeg_compress_struct* info, const JpegMetadataSegments& segments);

// Right after jpeg_start_compress (or jpeg_write_coefficients), before any
// row: APP1 EXIF, APP1 XMP, the colour profile in APP2 (jpeg_write_icc_profile),
// APP13 IPTC and the comments, in this order.
void writeJpegMetadata(jpeg_compress_struct* info, const JpegMetadataSegments& segments);
