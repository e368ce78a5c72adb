#pragma once

#include <QImage>
#include <QRect>

// The button's drawing primitives, written straight into the pixels of an RGB32 image with
// the pixel rules of the reference platform: a filled rectangle covers x .. x+w-1 and
// y .. y+h-1, a framed rectangle lies inside that area, a line stops one pixel short of
// its end point. Everything is clipped to the image. Colours are 0x00BBGGRR.
class ButtonCanvas {
public:
    explicit ButtonCanvas(QImage& image) : image_(image) {}

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }

    void DrawPixel(int x, int y, quint32 colour);
    // Filled, or only its one-pixel border inside (x, y, x + w, y + h).
    void DrawRectangle(int x, int y, int w, int h, quint32 colour, bool frameOnly);
    // A one-pixel line from (x1, y1) up to but not including (x2, y2).
    void DrawLine(int x1, int y1, int x2, int y2, quint32 colour);
    // The ellipse bounded by (x, y, x + w, y + h), filled, outlined with a two-pixel pen
    // whose inner half lies on the ellipse's outermost pixels.
    void DrawEllipse(int x, int y, int w, int h, quint32 pen, quint32 fill);
    // The two-ring (or single-ring) bevel as one continuous pen path; offset 0 draws at the
    // edge of the image, -1 one pixel inside.
    void DrawFrame(quint32 c1, quint32 c2, quint32 c3, quint32 c4, int offset, bool singleRing);
    // The dotted exclusive-or focus frame inside r: pixels with x + y even are inverted
    // (exclusive-or with the white background colour), the others are combined by
    // exclusive-or with the text colour.
    void DrawFocusFrame(const QRect& r, quint32 textColour);
    // Copies the top-left part of source (at most the image's size) to (0, 0).
    void CopyFrom(const QImage& source);

    // True when the pixel centre of (px, py) lies inside the ellipse bounded by
    // (x, y, x + w, y + h). Shared by the oval window shape and DrawEllipse.
    static bool insideEllipse(int px, int py, int x, int y, int w, int h);

private:
    // A pen path: lineTo draws from the current point up to, not including, p.
    void moveTo(int x, int y) {
        curX_ = x;
        curY_ = y;
    }
    void lineTo(int x, int y, quint32 colour);

    QImage& image_;
    int curX_ = 0;
    int curY_ = 0;
};
