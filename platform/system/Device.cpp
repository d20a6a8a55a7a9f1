#include "platform/system/Device.h"

#include <mutex>

namespace platform {

namespace {

// Recent enough for every feature the program looks for.
constexpr const char* systemVersionString = "17.0";

// Process-wide: set on the main thread, read by every thread (thumbnail
// loads and saves ask for the screen's size on their queues); guarded by
// profileMutex.
std::mutex profileMutex;
DeviceProfile& currentProfile()
{
    static DeviceProfile profile = DeviceProfile::tablet();
    return profile;
}

}

DeviceProfile DeviceProfile::tablet()
{
    return { "tablet", InterfaceIdiom::Pad, { 768, 1024 }, 1, systemVersionString };
}

DeviceProfile DeviceProfile::phone()
{
    return { "phone", InterfaceIdiom::Phone, { 320, 480 }, 1, systemVersionString };
}

DeviceProfile DeviceProfile::retinaPhone()
{
    return { "retina-phone", InterfaceIdiom::Phone, { 320, 480 }, 2, systemVersionString };
}

std::optional<DeviceProfile> DeviceProfile::named(std::string_view name)
{
    for (const DeviceProfile& profile : { tablet(), phone(), retinaPhone() }) {
        if (profile.name == name)
            return profile;
    }
    return std::nullopt;
}

DeviceProfile Device::current()
{
    std::lock_guard lock(profileMutex);
    return currentProfile();
}

void Device::setCurrent(const DeviceProfile& profile)
{
    std::lock_guard lock(profileMutex);
    currentProfile() = profile;
}

InterfaceIdiom Device::idiom()
{
    std::lock_guard lock(profileMutex);
    return currentProfile().idiom;
}

Rect Device::mainScreenBounds()
{
    std::lock_guard lock(profileMutex);
    const Size size = currentProfile().screenSize;
    return Rect(0, 0, size.width, size.height);
}

float Device::mainScreenScale()
{
    std::lock_guard lock(profileMutex);
    return currentProfile().screenScale;
}

std::string Device::systemVersion()
{
    std::lock_guard lock(profileMutex);
    return currentProfile().systemVersion;
}

ScopedDeviceProfile::ScopedDeviceProfile(const DeviceProfile& profile)
    : m_previous(Device::current())
{
    Device::setCurrent(profile);
}

ScopedDeviceProfile::~ScopedDeviceProfile()
{
    Device::setCurrent(m_previous);
}

}
