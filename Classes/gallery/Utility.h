#pragma once

// What the program asks of the device it runs on. Everything follows the
// current platform::Device profile.

// The device answers the idiom question with pad.
bool isPad();
// Anything that is not a pad.
bool isiPhone();
// The main screen's scale is exactly 2.
bool isRetina();
// A phone with a scale-2 screen.
bool isiPhone4S();
// The pixels per point of exported pictures and frames: 2 on a scale-2 phone,
// 1 everywhere else, tablets included whatever their screen.
float getScreenScale();
// The system version string read as a number ("4.3.1" gives 4.3).
float getiOSVersion();
