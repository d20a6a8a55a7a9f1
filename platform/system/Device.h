#pragma once

#include "platform/graphics/Geometry.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform {

enum class InterfaceIdiom { Phone, Pad };

// What the program asks of the device and its main screen. A profile is chosen
// once when the program starts; tests switch it while queues may be reading it.
struct DeviceProfile {
    std::string name;
    InterfaceIdiom idiom { InterfaceIdiom::Pad };
    Size screenSize; // points
    float screenScale { 1 };
    std::string systemVersion;

    static DeviceProfile tablet();
    static DeviceProfile phone();
    static DeviceProfile retinaPhone();
    // "tablet", "phone" or "retina-phone".
    static std::optional<DeviceProfile> named(std::string_view name);
};

class Device final {
public:
    // Every call reads the profile under a lock, so any thread may ask.
    static DeviceProfile current();
    static void setCurrent(const DeviceProfile& profile);

    static InterfaceIdiom idiom();
    static Rect mainScreenBounds();
    static float mainScreenScale();
    static std::string systemVersion();
};

// Switches the device profile for the life of a scope, for tests.
class ScopedDeviceProfile final {
public:
    explicit ScopedDeviceProfile(const DeviceProfile& profile);
    ~ScopedDeviceProfile();
    ScopedDeviceProfile(const ScopedDeviceProfile&) = delete;
    ScopedDeviceProfile& operator=(const ScopedDeviceProfile&) = delete;

private:
    DeviceProfile m_previous;
};

}
