#include "about/pictures_win.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

namespace quill::ui {

namespace {

constexpr int kSamples = 4;  // drawn 4 x 4 larger, then averaged

// A 32-bit top-down DIB section to draw on.
class Canvas {
public:
    Canvas(int w, int h) : w_(w), h_(h), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap_ || !bits || !dc_.get()) throw std::bad_alloc();
        bits_ = static_cast<uint32_t*>(bits);
        old_ = SelectObject(dc_.get(), bitmap_.get());
    }
    ~Canvas() {
        if (old_) SelectObject(dc_.get(), old_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const noexcept { return dc_.get(); }
    uint32_t* bits() const noexcept { return bits_; }
    int width() const noexcept { return w_; }
    int height() const noexcept { return h_; }
    // The bitmap, no longer selected into the canvas.
    Bitmap Take() {
        GdiFlush();
        if (old_) SelectObject(dc_.get(), old_);
        old_ = nullptr;
        return std::move(bitmap_);
    }

private:
    int w_, h_;
    MemoryDC dc_;
    Bitmap bitmap_;
    uint32_t* bits_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// Averages each kSamples x kSamples block of big into one pixel of a new
// bitmap; finish may then change the pixels (0xAARRGGBB, rows top down).
template <class Finish>
Bitmap Reduce(const Canvas& big, Finish&& finish) {
    GdiFlush();
    Canvas small(big.width() / kSamples, big.height() / kSamples);
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x) {
            unsigned sum[3] = {};
            for (int dy = 0; dy < kSamples; ++dy)
                for (int dx = 0; dx < kSamples; ++dx) {
                    const uint32_t p = big.bits()[(y * kSamples + dy) * big.width() + x * kSamples + dx];
                    for (int c = 0; c < 3; ++c) sum[c] += (p >> (8 * c)) & 0xFF;
                }
            uint32_t out = 0xFF000000u;
            for (int c = 0; c < 3; ++c) out |= ((sum[c] + kSamples * kSamples / 2) / (kSamples * kSamples)) << (8 * c);
            small.bits()[y * small.width() + x] = out;
        }
    finish(small.bits(), small.width(), small.height());
    return small.Take();
}

Bitmap Reduce(const Canvas& big) {
    return Reduce(big, [](uint32_t*, int, int) {});
}

// Drawing in design units: f maps them to pixels of the large canvas.
struct Pen2 {
    HDC dc;
    double f;
    int P(double v) const { return static_cast<int>(std::lround(v * f)); }

    void Fill(double x0, double y0, double x1, double y1, COLORREF c) const {
        Brush b(CreateSolidBrush(c));
        RECT r = {P(x0), P(y0), P(x1), P(y1)};
        FillRect(dc, &r, b.get());
    }
    void Shape(COLORREF fill, COLORREF edge, double width, auto&& draw) const {
        Brush b(fill == CLR_INVALID ? nullptr : CreateSolidBrush(fill));
        LOGBRUSH lb = {BS_SOLID, edge, 0};
        GdiObject<HPEN> pen(edge == CLR_INVALID ? nullptr
                                                : ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                                                               std::max(1, P(width)), &lb, 0, nullptr));
        const Selected sb = Select(dc, b ? static_cast<HGDIOBJ>(b.get()) : GetStockObject(NULL_BRUSH));
        const Selected sp = Select(dc, pen ? static_cast<HGDIOBJ>(pen.get()) : GetStockObject(NULL_PEN));
        draw();
    }
    void Polygon(const std::vector<POINT>& pts, COLORREF fill, COLORREF edge = CLR_INVALID, double width = 1) const {
        Shape(fill, edge, width, [&] { ::Polygon(dc, pts.data(), static_cast<int>(pts.size())); });
    }
    void Line(double x0, double y0, double x1, double y1, COLORREF c, double width) const {
        Shape(CLR_INVALID, c, width, [&] {
            MoveToEx(dc, P(x0), P(y0), nullptr);
            LineTo(dc, P(x1), P(y1));
        });
    }
    void Ellipse(double x0, double y0, double x1, double y1, COLORREF fill, COLORREF edge = CLR_INVALID,
                 double width = 1) const {
        Shape(fill, edge, width, [&] { ::Ellipse(dc, P(x0), P(y0), P(x1), P(y1)); });
    }
    void RoundRect(double x0, double y0, double x1, double y1, double r, COLORREF fill, COLORREF edge,
                   double width) const {
        Shape(fill, edge, width, [&] { ::RoundRect(dc, P(x0), P(y0), P(x1), P(y1), P(r), P(r)); });
    }
    POINT Pt(double x, double y) const { return {P(x), P(y)}; }
};

// A quill from its nib (nx, ny) up to its tip (tx, ty), vane on both sides of the shaft.
void Quill(const Pen2& p, double nx, double ny, double tx, double ty, double breadth, COLORREF vane,
           COLORREF vaneDark, COLORREF shaft) {
    const double dx = tx - nx, dy = ty - ny, len = std::sqrt(dx * dx + dy * dy);
    const double ux = dx / len, uy = dy / len, vx = -uy, vy = ux;  // along, across
    auto at = [&](double along, double across) { return p.Pt(nx + ux * along + vx * across, ny + uy * along + vy * across); };
    // The vane: a long leaf from a quarter of the way up to the tip, fuller on one side.
    std::vector<POINT> left, right;
    const int steps = 24;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double along = len * (0.22 + 0.78 * t);
        const double swell = std::sin(3.14159265 * std::pow(t, 0.8));
        left.push_back(at(along, breadth * swell));
        right.push_back(at(along, -breadth * 0.55 * swell));
    }
    std::vector<POINT> outline(left.begin(), left.end());
    outline.insert(outline.end(), right.rbegin(), right.rend());
    p.Polygon(outline, vane);
    // The darker half and a few barbs.
    std::vector<POINT> half(left.begin(), left.end());
    for (int i = steps; i >= 0; --i) half.push_back(at(len * (0.22 + 0.78 * i / steps), 0));
    p.Polygon(half, vaneDark);
    // A few barbs, ending inside the vane.
    for (double a : {0.40, 0.52, 0.64, 0.76}) {
        const double t = (a + 0.06 - 0.22) / 0.78;
        const POINT s = at(len * a, 0), e = at(len * (a + 0.06), breadth * 0.7 * std::sin(3.14159265 * std::pow(t, 0.8)));
        p.Shape(CLR_INVALID, vane, 0.6, [&] {
            MoveToEx(p.dc, s.x, s.y, nullptr);
            LineTo(p.dc, e.x, e.y);
        });
    }
    // Shaft and nib.
    p.Line(nx + ux * len * 0.08, ny + uy * len * 0.08, tx - ux * 2, ty - uy * 2, shaft, 1.2);
    p.Polygon({at(0, 0), at(len * 0.1, breadth * 0.22), at(len * 0.1, -breadth * 0.22)}, RGB(40, 40, 48));
}

}  // namespace

Bitmap AboutPicture() {
    const int w = Scale(116), h = Scale(117);
    Canvas big(w * kSamples, h * kSamples);
    const Pen2 p{big.dc(), static_cast<double>(big.width()) / 116.0};
    // Pale blue ground, lighter towards the top.
    for (int y = 0; y < 117; ++y) {
        const double t = y / 116.0;
        const auto mix = [&](int a, int b) { return static_cast<BYTE>(a + (b - a) * t); };
        p.Fill(0, y, 116, y + 1, RGB(mix(238, 196), mix(244, 214), mix(252, 238)));
    }
    // A sheet of paper with lines of code on it, slightly turned.
    p.Polygon({p.Pt(16, 12), p.Pt(78, 9), p.Pt(82, 84), p.Pt(20, 87)}, RGB(150, 160, 178));  // shadow
    p.Polygon({p.Pt(13, 10), p.Pt(75, 7), p.Pt(79, 82), p.Pt(17, 85)}, RGB(255, 255, 255), RGB(168, 178, 196), 0.8);
    const COLORREF ink[] = {RGB(0, 84, 170), RGB(90, 96, 110), RGB(90, 96, 110), RGB(0, 128, 64),
                            RGB(90, 96, 110), RGB(0, 84, 170), RGB(90, 96, 110), RGB(176, 48, 48)};
    const double indent[] = {0, 6, 6, 12, 12, 6, 0, 0};
    const double length[] = {34, 40, 28, 30, 22, 36, 18, 26};
    for (int i = 0; i < 8; ++i) {
        const double y = 18 + i * 8;
        const double x = 20 + indent[i] + y * 0.06;
        const double lift = -(x - 13) * 0.048;
        p.Line(x, y + lift, x + length[i], y + lift - length[i] * 0.048, ink[i], 2.2);
    }
    // The quill, nib resting on the page's last line.
    Quill(p, 60, 76, 109, 6, 13, RGB(232, 140, 44), RGB(196, 96, 28), RGB(250, 232, 200));
    // A drop of ink at the nib.
    p.Ellipse(55.5, 75.5, 61, 81, RGB(20, 40, 96));
    return Reduce(big);
}

Icon AboutIcon(int size) {
    Canvas big(size * kSamples, size * kSamples);
    const Pen2 p{big.dc(), static_cast<double>(big.width()) / 32.0};
    p.Fill(0, 0, 32, 32, RGB(255, 255, 255));
    p.RoundRect(0.5, 0.5, 31.5, 31.5, 9, RGB(0, 90, 180), RGB(0, 60, 130), 1);
    Quill(p, 7, 26, 27, 4, 7.5, RGB(255, 255, 255), RGB(214, 228, 246), RGB(255, 255, 255));
    // Opaque everywhere except the rounded corners: there the colour is fully
    // transparent and the mask (bit 1 = transparent) says so too.
    const int n = size;
    const int rowBytes = ((n + 15) / 16) * 2;
    std::vector<BYTE> mask(static_cast<size_t>(rowBytes) * n, 0);
    const double r = 4.5 * n / 32.0;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const double cx = std::clamp(x + 0.5, r, n - r), cy = std::clamp(y + 0.5, r, n - r);
            if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) > r)
                mask[y * rowBytes + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
        }
    Bitmap color = Reduce(big, [&](uint32_t* bits, int w, int h) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (mask[y * rowBytes + x / 8] & (0x80 >> (x % 8))) bits[y * w + x] = 0;
    });
    Bitmap monochrome(CreateBitmap(n, n, 1, 1, mask.data()));
    if (!monochrome) throw std::bad_alloc();
    ICONINFO info = {TRUE, 0, 0, monochrome.get(), color.get()};
    Icon icon(CreateIconIndirect(&info));
    if (!icon.get()) throw std::bad_alloc();
    return icon;
}

Bitmap InfoGlyph(int size, COLORREF back) {
    Canvas big(size * kSamples, size * kSamples);
    const Pen2 p{big.dc(), static_cast<double>(big.width()) / 16.0};
    p.Fill(0, 0, 16, 16, back);
    p.Ellipse(0.8, 0.8, 15.2, 15.2, RGB(0, 96, 196), RGB(0, 64, 150), 0.8);
    p.Ellipse(6.7, 3.1, 9.3, 5.7, RGB(255, 255, 255));
    p.Fill(6.9, 6.9, 9.1, 12.6, RGB(255, 255, 255));
    p.Fill(5.8, 6.9, 9.1, 8.0, RGB(255, 255, 255));
    p.Fill(5.8, 11.5, 10.2, 12.6, RGB(255, 255, 255));
    return Reduce(big);
}

Bitmap CloseGlyph(int size, COLORREF back) {
    Canvas big(size * kSamples, size * kSamples);
    const Pen2 p{big.dc(), static_cast<double>(big.width()) / 16.0};
    p.Fill(0, 0, 16, 16, back);
    // An open door in its frame.
    p.Fill(3, 1.5, 13, 15, RGB(92, 64, 40));
    p.Fill(4.2, 2.7, 11.8, 15, RGB(40, 40, 48));
    p.Polygon({p.Pt(4.2, 2.7), p.Pt(9.4, 4.2), p.Pt(9.4, 16.0), p.Pt(4.2, 15)}, RGB(196, 132, 70),
              RGB(140, 90, 44), 0.6);
    p.Ellipse(7.6, 8.6, 8.8, 9.8, RGB(250, 220, 120));
    return Reduce(big);
}

void DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& square) {
    if (!bitmap) return;
    MemoryDC source(CreateCompatibleDC(dc));
    const Selected pick = Select(source.get(), bitmap);
    BitBlt(dc, square.left, square.top, square.right - square.left, square.bottom - square.top, source.get(), 0, 0,
           SRCCOPY);
}

}  // namespace quill::ui
