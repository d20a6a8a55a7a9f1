#include "platform/system/Device.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// Thumbnail loads ask for the screen's size on their queue while the main
// thread may switch the profile (tests do, and a grid's loads outlive it).
// Every read must see one whole profile, never half of each.
TEST(Device, TheProfileCanBeSwitchedWhileAnotherThreadReadsIt)
{
    const platform::DeviceProfile tablet = platform::DeviceProfile::tablet();
    const platform::DeviceProfile phone = platform::DeviceProfile::retinaPhone();
    platform::ScopedDeviceProfile scoped(tablet);

    std::atomic<bool> done { false };
    int torn = 0;
    std::thread reader([&] {
        while (!done.load()) {
            const platform::DeviceProfile profile = platform::Device::current();
            const bool isTablet = profile.name == tablet.name && profile.screenSize.width == tablet.screenSize.width
                && profile.screenScale == tablet.screenScale;
            const bool isPhone = profile.name == phone.name && profile.screenSize.width == phone.screenSize.width
                && profile.screenScale == phone.screenScale;
            if (!isTablet && !isPhone)
                ++torn;
            const platform::Rect bounds = platform::Device::mainScreenBounds();
            if (bounds.size.width != tablet.screenSize.width && bounds.size.width != phone.screenSize.width)
                ++torn;
        }
    });
    for (int i = 0; i < 2000; ++i)
        platform::Device::setCurrent(i % 2 ? tablet : phone);
    done = true;
    reader.join();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(platform::Device::current().name, tablet.name);
}
