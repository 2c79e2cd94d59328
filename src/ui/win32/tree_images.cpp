#include "ui/win32/tree_images.h"

#include "ui/logic/object_tree.h"

namespace brannock::ui {

namespace {

constexpr COLORREF kMask = RGB(255, 0, 255);

void FillBox(HDC dc, int left, int top, int right, int bottom, COLORREF fill, COLORREF edge) {
  HBRUSH brush = CreateSolidBrush(fill);
  HPEN pen = CreatePen(PS_SOLID, 1, edge);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Rectangle(dc, left, top, right, bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

// The collection's emblem in the box (left, top) .. (left + size).
void DrawEmblem(HDC dc, ObjectEmblem emblem, int left, int top, int size) {
  HBRUSH brush = nullptr;
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(32, 32, 32));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  switch (emblem) {
    case ObjectEmblem::Object: {  // a blue cube face
      brush = CreateSolidBrush(RGB(60, 110, 220));
      HGDIOBJ old = SelectObject(dc, brush);
      Rectangle(dc, left, top, left + size, top + size);
      SelectObject(dc, old);
      break;
    }
    case ObjectEmblem::TypeLibrary: {  // a green book
      brush = CreateSolidBrush(RGB(40, 160, 80));
      HGDIOBJ old = SelectObject(dc, brush);
      Rectangle(dc, left + 1, top, left + size - 1, top + size);
      SelectObject(dc, old);
      MoveToEx(dc, left + 3, top + 2, nullptr);
      LineTo(dc, left + 3, top + size - 2);
      break;
    }
    case ObjectEmblem::Interface: {  // a red plug (lollipop)
      brush = CreateSolidBrush(RGB(210, 60, 50));
      HGDIOBJ old = SelectObject(dc, brush);
      Ellipse(dc, left + size / 3, top, left + size, top + size - size / 3);
      MoveToEx(dc, left, top + size - 1, nullptr);
      LineTo(dc, left + size / 2, top + size / 2);
      SelectObject(dc, old);
      break;
    }
  }
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  if (brush) DeleteObject(brush);
}

HBITMAP DrawImage(HDC screen, int index) {
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH mask = CreateSolidBrush(kMask);
  RECT all{0, 0, 16, 16};
  FillRect(dc, &all, mask);
  DeleteObject(mask);
  const TreeImage image = TreeImageOf(index);
  if (image.folder) {
    FillBox(dc, 0, 3, 7, 6, RGB(240, 200, 80), RGB(150, 110, 30));    // the folder's tab
    FillBox(dc, 0, 5, 16, 15, RGB(250, 215, 100), RGB(150, 110, 30));  // its body
    DrawEmblem(dc, image.emblem, 7, 7, 8);
  } else {
    DrawEmblem(dc, image.emblem, 2, 2, 12);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

}  // namespace

HIMAGELIST CreateTreeImages() {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, kTreeImageCount, 0);
  HDC screen = GetDC(nullptr);
  for (int i = 0; i < kTreeImageCount; ++i) {
    HBITMAP bitmap = DrawImage(screen, i);
    ImageList_AddMasked(list, bitmap, kMask);
    DeleteObject(bitmap);
  }
  ReleaseDC(nullptr, screen);
  return list;
}

}  // namespace brannock::ui
