#include "Classes/gallery/ThumbnailLayout.h"
#include "Classes/gallery/Utility.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>

using platform::DeviceProfile;
using platform::ScopedDeviceProfile;

TEST(DeviceUtility, OnlyScaleTwoPhonesExportAtScaleTwo)
{
    DeviceProfile retinaTablet = DeviceProfile::tablet();
    retinaTablet.screenScale = 2;
    const struct {
        const char* name;
        DeviceProfile profile;
        bool pad, retina, iPhone4S;
        float scale;
    } cases[] = {
        { "tablet", DeviceProfile::tablet(), true, false, false, 1 },
        { "phone", DeviceProfile::phone(), false, false, false, 1 },
        { "retina phone", DeviceProfile::retinaPhone(), false, true, true, 2 },
        { "retina tablet", retinaTablet, true, true, false, 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedDeviceProfile device(c.profile);
        EXPECT_EQ(isPad(), c.pad);
        EXPECT_EQ(isiPhone(), !c.pad);
        EXPECT_EQ(isRetina(), c.retina);
        EXPECT_EQ(isiPhone4S(), c.iPhone4S);
        EXPECT_EQ(getScreenScale(), c.scale);
    }
}

TEST(DeviceUtility, SystemVersionReadsItsLeadingNumber)
{
    DeviceProfile profile = DeviceProfile::phone();
    profile.systemVersion = "4.3.1";
    ScopedDeviceProfile device(profile);
    EXPECT_FLOAT_EQ(getiOSVersion(), 4.3f);
    profile.systemVersion = "unknown";
    ScopedDeviceProfile unknown(profile);
    EXPECT_EQ(getiOSVersion(), 0.0f);
}

TEST(ThumbnailLayout, FourCellsBetweenFivePaddingsTruncated)
{
    {
        ScopedDeviceProfile device(DeviceProfile::phone());
        EXPECT_EQ(getThumbnailBorderWidth() + getThumbnailShadowWidth(), 0);
        EXPECT_EQ(getThumbnailWidth(platform::Rect(0, 0, 320, 480)), 75);
    }
    ScopedDeviceProfile device(DeviceProfile::tablet());
    EXPECT_EQ(getPadding(), 8);
    EXPECT_EQ(getThumbnailBorderWidth(), 13);
    EXPECT_EQ(getThumbnailShadowWidth(), 3);
    EXPECT_EQ(getThumbnailWidth(platform::Rect(0, 0, 768, 1024)), 182);
    EXPECT_EQ(getThumbnailWidth(platform::Rect(0, 0, 770, 1024)), 182); // (770 − 40) / 4 = 182.5
}
