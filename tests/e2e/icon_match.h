// Tells which system icon a message box of another process shows. The icon
// handle of another process cannot be read under Wine, so the pixels of the
// icon control on the screen are compared with the system icons as this
// process draws them on the same background.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "run_program.h"

namespace tolvu_e2e {

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;  // row by row from the top, 0x00RRGGBB
};

// The pixels of a screen rectangle, as shown now; empty on failure.
Pixels CaptureScreen(const RECT& rect);

// `iconId` (IDI_INFORMATION, ...) drawn at its default size at the top left of
// a `width` x `height` area filled with `background`.
Pixels RenderSystemIcon(LPCWSTR iconId, int width, int height,
                        std::uint32_t background);

// Information or Exclamation when `shown` is that icon drawn on a plain
// background (the colour of its top-left pixel), otherwise Unrecognised.
BoxIcon ClassifyIcon(const Pixels& shown);

// The icon of the box's icon control: None when the box has no visible icon
// control, otherwise the classification of its pixels, retried for up to
// `settleMs` while the box may still be painting.
BoxIcon ReadBoxIcon(HWND box, DWORD settleMs);

}  // namespace tolvu_e2e
