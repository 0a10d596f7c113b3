#include "platform/win32/win32_list_icons.h"

#include <iterator>

namespace grimsweep::win32 {

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

// Draws on a 16-unit grid scaled to the icon's size, so that every size keeps the same shapes.
class Painter {
public:
    Painter(HDC dc, int size, int left) : dc_(dc), size_(size), left_(left) {}

    int X(int unit) const { return left_ + unit * size_ / 16; }
    int Y(int unit) const { return unit * size_ / 16; }

    void Box(int l, int t, int r, int b, COLORREF fill, COLORREF edge) {
        Shape(l, t, r, b, fill, edge, false);
    }
    void Round(int l, int t, int r, int b, COLORREF fill, COLORREF edge) {
        Shape(l, t, r, b, fill, edge, true);
    }
    void Polygon(const POINT* units, int count, COLORREF fill, COLORREF edge) {
        POINT points[8];
        for (int i = 0; i < count && i < 8; ++i) {
            points[i] = {X(units[i].x), Y(units[i].y)};
        }
        Select(fill, edge);
        ::Polygon(dc_, points, count);
        Restore();
    }
    void Line(int x1, int y1, int x2, int y2, COLORREF color, int width) {
        HPEN pen = CreatePen(PS_SOLID, width * size_ / 16 > 0 ? width * size_ / 16 : 1, color);
        HGDIOBJ old = SelectObject(dc_, pen);
        MoveToEx(dc_, X(x1), Y(y1), nullptr);
        LineTo(dc_, X(x2), Y(y2));
        SelectObject(dc_, old);
        DeleteObject(pen);
    }

private:
    void Shape(int l, int t, int r, int b, COLORREF fill, COLORREF edge, bool round) {
        Select(fill, edge);
        if (round) {
            Ellipse(dc_, X(l), Y(t), X(r), Y(b));
        } else {
            Rectangle(dc_, X(l), Y(t), X(r), Y(b));
        }
        Restore();
    }
    void Select(COLORREF fill, COLORREF edge) {
        brush_ = CreateSolidBrush(fill);
        pen_ = CreatePen(PS_SOLID, 1, edge);
        oldBrush_ = SelectObject(dc_, brush_);
        oldPen_ = SelectObject(dc_, pen_);
    }
    void Restore() {
        SelectObject(dc_, oldBrush_);
        SelectObject(dc_, oldPen_);
        DeleteObject(brush_);
        DeleteObject(pen_);
    }

    HDC dc_;
    int size_;
    int left_;
    HBRUSH brush_ = nullptr;
    HPEN pen_ = nullptr;
    HGDIOBJ oldBrush_ = nullptr;
    HGDIOBJ oldPen_ = nullptr;
};

// A page with a folded corner and a program window on it.
void DrawProgram(Painter& p) {
    const POINT page[] = {{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}};
    p.Polygon(page, 5, RGB(255, 255, 255), RGB(96, 96, 110));
    const POINT fold[] = {{10, 1}, {10, 4}, {13, 4}};
    p.Polygon(fold, 3, RGB(214, 220, 230), RGB(96, 96, 110));
    p.Box(5, 7, 12, 13, RGB(236, 242, 250), RGB(40, 90, 170));
    p.Box(5, 7, 12, 9, RGB(40, 110, 200), RGB(40, 90, 170));
}

// Three stacked blocks, as the registry's keys.
void DrawRegistry(Painter& p) {
    p.Box(1, 2, 8, 8, RGB(90, 150, 230), RGB(30, 70, 150));
    p.Box(8, 2, 15, 8, RGB(120, 190, 110), RGB(40, 110, 40));
    p.Box(4, 8, 12, 14, RGB(230, 120, 90), RGB(150, 50, 30));
}

void DrawFolder(Painter& p) {
    const POINT back[] = {{1, 3}, {6, 3}, {8, 5}, {15, 5}, {15, 14}, {1, 14}};
    p.Polygon(back, 6, RGB(222, 170, 50), RGB(150, 105, 20));
    const POINT front[] = {{1, 7}, {15, 7}, {15, 14}, {1, 14}};
    p.Polygon(front, 4, RGB(250, 206, 90), RGB(150, 105, 20));
}

// A page with a green tick: kept out of scans and removals.
void DrawExcluded(Painter& p) {
    const POINT page[] = {{2, 1}, {9, 1}, {12, 4}, {12, 15}, {2, 15}};
    p.Polygon(page, 5, RGB(245, 245, 245), RGB(110, 110, 120));
    p.Round(7, 7, 16, 16, RGB(40, 160, 70), RGB(20, 110, 40));
    p.Line(9, 11, 11, 13, RGB(255, 255, 255), 2);
    p.Line(11, 13, 14, 9, RGB(255, 255, 255), 2);
}

void DrawCookie(Painter& p) {
    p.Round(1, 1, 15, 15, RGB(205, 150, 80), RGB(130, 80, 30));
    p.Round(4, 4, 7, 7, RGB(90, 50, 20), RGB(90, 50, 20));
    p.Round(9, 5, 12, 8, RGB(90, 50, 20), RGB(90, 50, 20));
    p.Round(6, 9, 9, 12, RGB(90, 50, 20), RGB(90, 50, 20));
    p.Round(10, 10, 12, 12, RGB(90, 50, 20), RGB(90, 50, 20));
}

} // namespace

HIMAGELIST CreateListIcons(int size) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, ui::kListIconCount, 0);
    if (!list) {
        return nullptr;
    }
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP strip = CreateCompatibleBitmap(screen, size * ui::kListIconCount, size);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, strip);
    HBRUSH background = CreateSolidBrush(kTransparent);
    RECT all{0, 0, size * ui::kListIconCount, size};
    FillRect(dc, &all, background);
    DeleteObject(background);
    struct Drawing {
        int icon;
        void (*draw)(Painter&);
    };
    const Drawing drawings[] = {{ui::kIconCookie, DrawCookie},
                                {ui::kIconRegistry, DrawRegistry},
                                {ui::kIconFile, DrawProgram},
                                {ui::kIconFolder, DrawFolder},
                                {ui::kIconExcluded, DrawExcluded}};
    static_assert(std::size(drawings) == ui::kListIconCount);
    for (const Drawing& drawing : drawings) {
        Painter painter(dc, size, (drawing.icon - 1) * size);
        drawing.draw(painter);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ImageList_AddMasked(list, strip, kTransparent);
    DeleteObject(strip);
    return list;
}

} // namespace grimsweep::win32
