#pragma once

#include <QImage>
#include <QSize>

// The pictures a button shows. A picture is an image: one with an alpha channel is an
// icon (drawn over the mask colour, so that its transparent pixels become mask pixels),
// one without is a bitmap (its pixels used as they are). Its stored size is in units of
// 0.01 mm, from its pixel count and its resolution (dots per metre).
namespace buttonpicture {

bool isIcon(const QImage& picture);

// Width and height in 0.01 mm, each rounded to the nearest whole unit. An image without a
// resolution counts as 96 dots per inch.
QSize storedSize(const QImage& picture);

// 0.01 mm to screen pixels at 96 dots per inch, rounded to the nearest integer, halves to
// the even one.
int hiMetricToPixels(double hiMetric);

// How DrawPictureTransparent treats the picture's pixels.
struct Transfer {
    bool hasMask = false;  // pixels equal to mask leave the destination as it is
    quint32 mask = 0;      // 0x00BBGGRR; also the colour an icon is drawn over
    bool hasSolid = false; // every other pixel becomes solid
    quint32 solid = 0;
    bool darkOnly = false;  // with solid: pixels whose red + green + blue exceeds 384 vanish
    bool greyscale = false; // grey by 0.3 red + 0.59 green + 0.11 blue
    bool fade = false;      // two parts picture, one part destination
};

// Transfers the top-left w x h pixels of picture to (x, y) of surface (RGB32) by the rules
// of t: the whole rectangle is read and written in one pass over the pixel rows. Parts
// outside the surface are left out; a zero width or height draws nothing.
void DrawPictureTransparent(QImage& surface, int x, int y, int w, int h, const QImage& picture,
                            const Transfer& t);

} // namespace buttonpicture
