#include "platform/system/Device.h"

namespace platform {

namespace {

// Recent enough for every feature the program looks for.
constexpr const char* systemVersionString = "17.0";

DeviceProfile& currentProfile()
{
    // Process-wide: set on the main thread when the program starts, before any
    // queue runs, and only read afterwards by every thread.
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

const DeviceProfile& Device::current() { return currentProfile(); }

void Device::setCurrent(const DeviceProfile& profile) { currentProfile() = profile; }

Rect Device::mainScreenBounds()
{
    const Size& size = current().screenSize;
    return Rect(0, 0, size.width, size.height);
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
