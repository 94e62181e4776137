#pragma once
// The About window's pictures, drawn here in code: the picture beside the
// texts, the window icon and the two button glyphs. Each is drawn four times
// larger and averaged down, so edges are smooth.
#include "ui/controls_win.h"

namespace quill::ui {

// The picture beside the texts, 116 x 117 at 96 dpi (scaled): a page of
// writing and a quill on a pale blue ground.
Bitmap AboutPicture();

// The window icon, size x size pixels.
Icon AboutIcon(int size);

// Button glyphs, size x size pixels on the colour back.
Bitmap InfoGlyph(int size, COLORREF back);
Bitmap CloseGlyph(int size, COLORREF back);

// Copies a bitmap into the square of a DC.
void DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& square);

}  // namespace quill::ui
