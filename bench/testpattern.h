#pragma once
// A picture for benchmarks that compresses like a photograph: smooth gradients
// with fine noise on top, never flat colour.

class cDIBSection;
class QImage;

// Fills every pixel of the buffer; the same size always gives the same pixels.
void FillNaturalPattern(cDIBSection& buffer);

// The same pixels as FillNaturalPattern, as a 32-bit picture.
QImage NaturalPatternPicture(int width, int height);
