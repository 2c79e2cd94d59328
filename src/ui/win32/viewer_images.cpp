#include "ui/win32/viewer_images.h"

#include <initializer_list>

namespace brannock::ui {

namespace {

constexpr int kSize = 16;
constexpr COLORREF kTransparent = RGB(255, 0, 255);

// One pen and brush for a stretch of drawing, put back on the way out.
class Ink {
 public:
  Ink(HDC dc, COLORREF fill, COLORREF edge, int width = 1)
      : dc_(dc), brush_(CreateSolidBrush(fill)), pen_(CreatePen(PS_SOLID, width, edge)),
        oldBrush_(SelectObject(dc, brush_)), oldPen_(SelectObject(dc, pen_)) {}
  ~Ink() {
    SelectObject(dc_, oldBrush_);
    SelectObject(dc_, oldPen_);
    DeleteObject(brush_);
    DeleteObject(pen_);
  }
  Ink(const Ink&) = delete;
  Ink& operator=(const Ink&) = delete;

 private:
  HDC dc_;
  HBRUSH brush_;
  HPEN pen_;
  HGDIOBJ oldBrush_;
  HGDIOBJ oldPen_;
};

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int width = 1) {
  Ink ink(dc, colour, colour, width);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

void Lollipop(HDC dc, COLORREF ball) {
  Line(dc, 2, 13, 8, 7, RGB(60, 60, 60), 2);
  Ink ink(dc, ball, RGB(30, 30, 30));
  Ellipse(dc, 7, 1, 15, 9);
}

void Diamond(HDC dc, int cx, int cy, int r, COLORREF colour) {
  Ink ink(dc, colour, RGB(40, 40, 90));
  const POINT shape[] = {{cx, cy - r}, {cx + r, cy}, {cx, cy + r}, {cx - r, cy}};
  Polygon(dc, shape, 4);
}

void DrawImage(HDC dc, int kind) {
  switch (kind) {
    case 0: {  // enum: numbered bars
      { Ink ink(dc, RGB(255, 250, 220), RGB(120, 90, 0)); Rectangle(dc, 1, 1, 15, 15); }
      for (int y : {4, 7, 10}) Line(dc, 4, y, 12, y, RGB(200, 120, 0), 2);
      break;
    }
    case 1: {  // record: a block of fields
      { Ink ink(dc, RGB(180, 210, 255), RGB(30, 60, 140)); Rectangle(dc, 1, 2, 15, 14); }
      Line(dc, 1, 6, 15, 6, RGB(30, 60, 140));
      Line(dc, 1, 10, 15, 10, RGB(30, 60, 140));
      break;
    }
    case 2: {  // module: a brick
      { Ink ink(dc, RGB(190, 190, 190), RGB(90, 90, 90)); Rectangle(dc, 1, 4, 15, 13); }
      Line(dc, 8, 4, 8, 13, RGB(90, 90, 90));
      Line(dc, 1, 8, 15, 8, RGB(90, 90, 90));
      break;
    }
    case 3: Lollipop(dc, RGB(80, 170, 60)); break;  // interface
    case 4:                                          // dispinterface: with a dispatch mark
      Lollipop(dc, RGB(40, 110, 210));
      Line(dc, 9, 5, 13, 5, RGB(255, 255, 255));
      break;
    case 5: {  // coclass: a box with a ball
      { Ink ink(dc, RGB(230, 200, 150), RGB(110, 70, 20)); Rectangle(dc, 1, 5, 13, 15); }
      Ink ink(dc, RGB(220, 40, 40), RGB(120, 20, 20));
      Ellipse(dc, 8, 1, 15, 8);
      break;
    }
    case 6: {  // alias: an arrow to a type
      Line(dc, 2, 8, 12, 8, RGB(60, 60, 60), 2);
      Line(dc, 9, 4, 13, 8, RGB(60, 60, 60), 2);
      Line(dc, 9, 12, 13, 8, RGB(60, 60, 60), 2);
      break;
    }
    case 7: {  // union: two overlapping blocks
      { Ink ink(dc, RGB(200, 180, 255), RGB(70, 40, 140)); Rectangle(dc, 1, 1, 11, 11); }
      Ink ink(dc, RGB(160, 130, 240), RGB(70, 40, 140));
      Rectangle(dc, 5, 5, 15, 15);
      break;
    }
    case 11:  // library: three diamonds
      Diamond(dc, 5, 5, 4, RGB(220, 40, 40));
      Diamond(dc, 11, 5, 4, RGB(40, 160, 60));
      Diamond(dc, 8, 11, 4, RGB(40, 90, 220));
      break;
    case 12: {  // category: a yellow folder
      Ink ink(dc, RGB(250, 210, 70), RGB(150, 110, 0));
      const POINT tab[] = {{1, 3}, {6, 3}, {8, 5}, {15, 5}, {15, 14}, {1, 14}};
      Polygon(dc, tab, 6);
      break;
    }
    default:
      break;
  }
}

}  // namespace

HIMAGELIST CreateViewerImages() {
  // All images side by side in one strip, added at once.
  const HIMAGELIST images = ImageList_Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, kViewerImageCount, 0);
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP strip = CreateCompatibleBitmap(screen, kSize * kViewerImageCount, kSize);
  const HGDIOBJ old = SelectObject(dc, strip);
  const RECT all = {0, 0, kSize * kViewerImageCount, kSize};
  const HBRUSH back = CreateSolidBrush(kTransparent);
  FillRect(dc, &all, back);
  DeleteObject(back);
  for (int kind = 0; kind < kViewerImageCount; ++kind) {
    SetViewportOrgEx(dc, kind * kSize, 0, nullptr);
    DrawImage(dc, kind);
  }
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SelectObject(dc, old);
  ImageList_AddMasked(images, strip, kTransparent);
  DeleteObject(strip);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return images;
}

}  // namespace brannock::ui
