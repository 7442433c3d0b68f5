#include "icon_match.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace tolvu_e2e {
namespace {

// Wine's message box gives its icon control this id; Windows' own uses 20.
constexpr int kWineIconControlId = 0x440;
constexpr int kWindowsIconControlId = 20;

// A pixel counts as the same when no channel differs by more than this,
// which absorbs rounding in alpha blending but not a different icon.
constexpr int kChannelTolerance = 16;
// At most this share of differing pixels still counts as the same icon; the
// information and exclamation icons differ in well over half of theirs.
constexpr double kMaxMismatchShare = 0.01;

// A 32-bit top-down DIB selected into a memory DC, released on scope exit.
class DibCanvas {
 public:
  DibCanvas(int width, int height) : width_(width), height_(height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (dc_ != nullptr && bitmap_ != nullptr) {
      old_ = SelectObject(dc_, bitmap_);
    }
  }
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;
  DibCanvas(DibCanvas&&) = delete;
  DibCanvas& operator=(DibCanvas&&) = delete;
  ~DibCanvas() {
    if (old_ != nullptr) {
      SelectObject(dc_, old_);
    }
    if (bitmap_ != nullptr) {
      DeleteObject(bitmap_);
    }
    if (dc_ != nullptr) {
      DeleteDC(dc_);
    }
  }

  bool IsReady() const { return old_ != nullptr && bits_ != nullptr; }
  HDC Dc() const { return dc_; }

  Pixels Read() const {
    GdiFlush();
    Pixels pixels{width_, height_, {}};
    pixels.rgb.resize(static_cast<size_t>(width_) * height_);
    std::memcpy(pixels.rgb.data(), bits_, pixels.rgb.size() * 4);
    for (auto& p : pixels.rgb) {
      p &= 0x00FFFFFFU;  // alpha is undefined here
    }
    return pixels;
  }

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

int Channel(std::uint32_t pixel, int shift) {
  return static_cast<int>((pixel >> shift) & 0xFFU);
}

bool SamePixel(std::uint32_t a, std::uint32_t b) {
  constexpr int kShifts[] = {0, 8, 16};
  return std::all_of(std::begin(kShifts), std::end(kShifts), [&](int shift) {
    return std::abs(Channel(a, shift) - Channel(b, shift)) <= kChannelTolerance;
  });
}

double MismatchShare(const Pixels& a, const Pixels& b) {
  if (a.width != b.width || a.height != b.height || a.rgb.empty()) {
    return 1.0;
  }
  size_t differing = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i) {
    if (!SamePixel(a.rgb[i], b.rgb[i])) {
      ++differing;
    }
  }
  return static_cast<double>(differing) / static_cast<double>(a.rgb.size());
}

HWND IconControl(HWND box) {
  HWND control = GetDlgItem(box, kWineIconControlId);
  return control != nullptr ? control : GetDlgItem(box, kWindowsIconControlId);
}

}  // namespace

Pixels CaptureScreen(const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) {
    return {};
  }
  DibCanvas canvas(width, height);
  if (!canvas.IsReady()) {
    return {};
  }
  HDC screen = GetDC(nullptr);
  const BOOL copied = BitBlt(canvas.Dc(), 0, 0, width, height, screen,
                             rect.left, rect.top, SRCCOPY | CAPTUREBLT);
  ReleaseDC(nullptr, screen);
  return copied != 0 ? canvas.Read() : Pixels{};
}

Pixels RenderSystemIcon(LPCWSTR iconId, int width, int height,
                        std::uint32_t background) {
  if (width <= 0 || height <= 0) {
    return {};
  }
  DibCanvas canvas(width, height);
  HICON icon = LoadIconW(nullptr, iconId);
  if (!canvas.IsReady() || icon == nullptr) {
    return {};
  }
  const COLORREF colour = RGB(Channel(background, 16), Channel(background, 8),
                              Channel(background, 0));
  HBRUSH brush = CreateSolidBrush(colour);
  RECT all{0, 0, width, height};
  FillRect(canvas.Dc(), &all, brush);
  DeleteObject(brush);
  // A static icon control stretches its icon over its whole client area.
  DrawIconEx(canvas.Dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
  return canvas.Read();
}

BoxIcon ClassifyIcon(const Pixels& shown) {
  if (shown.rgb.empty()) {
    return BoxIcon::Unrecognised;
  }
  // Both system icons leave their corners transparent, so the top-left pixel
  // is the background the box drew them on.
  const std::uint32_t background = shown.rgb.front();
  const double information = MismatchShare(
      shown,
      RenderSystemIcon(IDI_INFORMATION, shown.width, shown.height, background));
  const double exclamation = MismatchShare(
      shown,
      RenderSystemIcon(IDI_EXCLAMATION, shown.width, shown.height, background));
  if (information <= kMaxMismatchShare && information < exclamation) {
    return BoxIcon::Information;
  }
  if (exclamation <= kMaxMismatchShare && exclamation < information) {
    return BoxIcon::Exclamation;
  }
  return BoxIcon::Unrecognised;
}

BoxIcon ReadBoxIcon(HWND box, DWORD settleMs) {
  HWND control = IconControl(box);
  if (control == nullptr || (IsWindowVisible(control) == 0)) {
    return BoxIcon::None;
  }
  DWORD_PTR icon = 0;
  if (SendMessageTimeoutW(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000,
                          &icon) != 0 &&
      icon == 0) {
    return BoxIcon::None;
  }
  // The box may be shown before its icon reaches the screen; look again
  // until the pixels settle on a known icon or the time is up.
  const ULONGLONG deadline = GetTickCount64() + settleMs;
  BoxIcon seen = BoxIcon::Unrecognised;
  do {
    RECT client;
    if (GetClientRect(control, &client) == 0) {
      return BoxIcon::Unrecognised;
    }
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&client), 2);
    seen = ClassifyIcon(CaptureScreen(client));
    if (seen != BoxIcon::Unrecognised) {
      break;
    }
    Sleep(20);
  } while (GetTickCount64() < deadline);
  return seen;
}

}  // namespace tolvu_e2e
