#pragma once
// Draws the visible notice: a black canvas of the picture's size (direct) or 20
// pixels taller (enlarge), the picture at its top-left, and one line of white
// bold text whose top lies 18 pixels above the canvas's bottom edge.

#include "core/imaging/notice.h"

#include <QImage>

class cDIBSection;

inline constexpr int kNoticeStripHeight = 20;  // 300 twips at 15 twips per pixel
inline constexpr int kNoticeTextDistance = 18; // 270 twips: bottom edge up to the text's top
// The bottom rows the notice line can reach: the strip, and a margin above it
// far beyond any glyph of the font.
inline constexpr int kNoticeBandRows = kNoticeStripHeight + 12;

// Returns the composed picture (opaque, RGB32) carrying the picture's colour
// space; a null image when `picture` is null or text cannot be drawn. An opaque
// picture in direct mode is drawn on in place, without a copy.
QImage drawNotice(QImage picture, const NoticeOptions& options);

// Draws the notice line on a finished canvas (picture and strip in place).
// Returns false when text cannot be drawn.
bool drawNoticeText(QImage* canvas, const QString& text);

// Draws the notice line into the image buffer (picture and strip in place) as
// drawNoticeText does on a canvas, touching only the bottom rows the line can
// reach. Returns false when text cannot be drawn.
bool drawNoticeTextInBuffer(cDIBSection* buffer, const QString& text);
