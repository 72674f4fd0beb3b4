#pragma once
// A picture for benchmarks that compresses like a photograph: smooth gradients
// with fine noise on top, never flat colour.

class cDIBSection;
class QImage;

// Fills every pixel of the buffer; the same size always gives the same pixels.
void fillNaturalPattern(cDIBSection& buffer);

// The same pixels as fillNaturalPattern, as a 32-bit picture.
QImage naturalPatternPicture(int width, int height);
