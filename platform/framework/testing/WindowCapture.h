#pragma once
// Pictures of windows for a person to look at. Under a real display (Wine's
// x11 driver on Xvfb) the window is copied from the screen; the null
// driver has no screen, so runs without a display take no pictures.
#include <windows.h>

#include <string>

namespace vorlan::testing {

// Brings window to the top, lets it paint, and writes what the screen shows
// of it to path as a 24-bit BMP; false when it could not.
bool CaptureWindow(HWND window, const std::string& path);

// CaptureWindow into the folder VORLAN_SCREENSHOT_DIR names, as name.bmp;
// "" when the variable is unset (no display for pictures), else the file
// written, or "failed: <path>" when it could not be.
std::string SaveScreenshot(HWND window, const std::string& name);

}  // namespace vorlan::testing
