#pragma once
// Draws the visible notice on a decoded picture: a black canvas of the picture's
// size (direct) or 20 pixels taller (enlarge), the picture at its top-left, and
// one line of white bold text whose top lies 18 pixels above the bottom edge.

#include "imaging/notice.h"

#include <QImage>

inline constexpr int kNoticeStripHeight = 20;  // 300 twips at 15 twips per pixel
inline constexpr int kNoticeTextDistance = 18; // 270 twips: bottom edge up to the text's top

// Returns the composed picture (opaque, RGB32) carrying the picture's colour
// space; a null image when `picture` is null or text cannot be drawn.
QImage DrawNotice(const QImage& picture, const NoticeOptions& options);
