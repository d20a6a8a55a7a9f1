#pragma once

// The two web pages the home screen opens in the desktop's browser. Nothing
// else in the program goes to the network.
namespace store {

inline constexpr const char* rateAddress = "https://pintaro.example.org/rate";
inline constexpr const char* moreAppsAddress = "https://pintaro.example.org/apps";

}
