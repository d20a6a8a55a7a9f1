#pragma once

#include "platform/graphics/Geometry.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform {

enum class InterfaceIdiom { Phone, Pad };

// What the program asks of the device and its main screen. A profile is chosen
// once when the program starts; tests switch it freely.
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
    static const DeviceProfile& current();
    static void setCurrent(const DeviceProfile& profile);

    static InterfaceIdiom idiom() { return current().idiom; }
    static Rect mainScreenBounds();
    static float mainScreenScale() { return current().screenScale; }
    static const std::string& systemVersion() { return current().systemVersion; }
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
