#include "Classes/gallery/Utility.h"

#include "platform/system/Device.h"

#include <charconv>

using platform::Device;
using platform::InterfaceIdiom;

bool isPad()
{
    return Device::idiom() == InterfaceIdiom::Pad;
}

bool isiPhone()
{
    return !isPad();
}

bool isRetina()
{
    return Device::mainScreenScale() == 2.0f;
}

bool isiPhone4S()
{
    return isiPhone() && isRetina();
}

float getScreenScale()
{
    return isiPhone4S() ? 2.0f : 1.0f;
}

float getiOSVersion()
{
    // Like reading a string as a float: the longest leading number counts, and
    // anything unreadable is 0.
    const std::string version = Device::systemVersion();
    float value = 0;
    const char* begin = version.data();
    while (begin != version.data() + version.size() && (*begin == ' ' || *begin == '\t'))
        ++begin;
    auto result = std::from_chars(begin, version.data() + version.size(), value);
    if (result.ec != std::errc())
        return 0;
    return value;
}
