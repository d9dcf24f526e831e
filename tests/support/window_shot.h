// Screenshots of a real window for people to look at (Windows only): the window's rectangle
// copied off the screen, and a 32-bit bitmap file written from it; and whether every caption in
// it has its room.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "component.h"

struct WindowPicture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // top row first, 0x00RRGGBB

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Copies the window's rectangle from the screen, frame and menu included.
inline WindowPicture CaptureWindow(HWND window) {
  RECT r;
  ::GetWindowRect(window, &r);
  WindowPicture picture;
  picture.width = r.right - r.left;
  picture.height = r.bottom - r.top;
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr) {
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, picture.width, picture.height, screen, r.left, r.top, SRCCOPY);
    ::GdiFlush();
    std::memcpy(picture.pixels.data(), bits, picture.pixels.size() * 4);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
  }
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return picture;
}

// Pixels of the colour 0x00RRGGBB within the part of a window's picture that its child covers.
inline int PixelsOfColorIn(const WindowPicture& picture, HWND window, HWND child, uint32_t rgb) {
  RECT w, c;
  ::GetWindowRect(window, &w);
  ::GetWindowRect(child, &c);
  int count = 0;
  for (int y = c.top - w.top; y < c.bottom - w.top && y < picture.height; ++y)
    for (int x = c.left - w.left; x < c.right - w.left && x < picture.width; ++x)
      count += picture.At(x, y) == rgb;
  return count;
}

// A top-down 32-bit bitmap file; false when it could not be written whole.
inline bool WriteBmp(const std::string& path, const WindowPicture& picture) {
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER header = {};
  const DWORD bytes = static_cast<DWORD>(picture.pixels.size() * 4);
  header.biSize = sizeof(header);
  header.biWidth = picture.width;
  header.biHeight = -picture.height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = file.bfOffBits + bytes;
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr)
    return false;
  const bool ok = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
                  std::fwrite(&header, sizeof(header), 1, out) == 1 &&
                  std::fwrite(picture.pixels.data(), bytes, 1, out) == 1;
  return std::fclose(out) == 0 && ok;
}

// The first label under parent whose caption, as its font draws it on this machine, runs past its
// parent's right edge or into a control that begins to its right on the same line; empty when
// every caption has its room. A label is as wide as its caption, so a face wider than the designed
// one shows here.
inline std::string CaptionOutOfRoom(const ui::TControl& parent) {
  for (const ui::TControl* label : parent.Controls()) {
    if (!label->Visible())
      continue;
    const std::string inner = CaptionOutOfRoom(*label);
    if (!inner.empty())
      return inner;
    if (label->Kind() != ui::ControlKind::Label)
      continue;
    const ui::TRect a = label->BoundsRect();
    if (a.right > parent.ClientWidth())
      return "\"" + label->Caption() + "\" runs past the right edge of its parent";
    for (const ui::TControl* next : parent.Controls()) {
      const ui::TRect b = next->BoundsRect();
      if (next->Visible() && b.left > a.left && a.top < b.bottom && b.top < a.bottom &&
          a.right > b.left)
        return "\"" + label->Caption() + "\" runs into \"" + next->Caption() + "\"";
    }
  }
  return {};
}

// Runs the queued messages for about the given time, so that windows have painted.
inline void PumpMessages(int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += 10) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::Sleep(10);
  }
}
