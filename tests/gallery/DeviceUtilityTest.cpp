#include "Classes/gallery/ThumbnailLayout.h"
#include "Classes/gallery/Utility.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>

using platform::DeviceProfile;
using platform::ScopedDeviceProfile;

namespace {

DeviceProfile retinaTablet()
{
    DeviceProfile profile = DeviceProfile::tablet();
    profile.screenScale = 2;
    return profile;
}

DeviceProfile withVersion(const char* version)
{
    DeviceProfile profile = DeviceProfile::phone();
    profile.systemVersion = version;
    return profile;
}

}

TEST(DeviceUtility, TabletIsAPadWithScaleOne)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    EXPECT_TRUE(isPad());
    EXPECT_FALSE(isiPhone());
    EXPECT_FALSE(isRetina());
    EXPECT_FALSE(isiPhone4S());
    EXPECT_EQ(getScreenScale(), 1.0f);
}

TEST(DeviceUtility, PhonesDifferOnlyInScreenScale)
{
    {
        ScopedDeviceProfile device(DeviceProfile::phone());
        EXPECT_TRUE(isiPhone());
        EXPECT_FALSE(isPad());
        EXPECT_FALSE(isiPhone4S());
        EXPECT_EQ(getScreenScale(), 1.0f);
    }
    {
        ScopedDeviceProfile device(DeviceProfile::retinaPhone());
        EXPECT_TRUE(isiPhone());
        EXPECT_TRUE(isRetina());
        EXPECT_TRUE(isiPhone4S());
        EXPECT_EQ(getScreenScale(), 2.0f);
    }
}

TEST(DeviceUtility, ScaleTwoTabletStillExportsAtScaleOne)
{
    ScopedDeviceProfile device(retinaTablet());
    EXPECT_TRUE(isRetina());
    EXPECT_FALSE(isiPhone4S());
    EXPECT_EQ(getScreenScale(), 1.0f);
}

TEST(DeviceUtility, SystemVersionReadsItsLeadingNumber)
{
    {
        ScopedDeviceProfile device(DeviceProfile::tablet());
        EXPECT_GE(getiOSVersion(), 4.1f);
    }
    {
        ScopedDeviceProfile device(withVersion("4.3.1"));
        EXPECT_FLOAT_EQ(getiOSVersion(), 4.3f);
    }
    {
        ScopedDeviceProfile device(withVersion("unknown"));
        EXPECT_EQ(getiOSVersion(), 0.0f);
    }
}

TEST(ThumbnailLayout, PhoneHasFourCellsOfSeventyFiveAndNoFrame)
{
    ScopedDeviceProfile device(DeviceProfile::phone());
    EXPECT_EQ(getPadding(), 4);
    EXPECT_EQ(getThumbnailBorderWidth(), 0);
    EXPECT_EQ(getThumbnailShadowWidth(), 0);
    EXPECT_EQ(getThumbnailWidth(platform::Rect(0, 0, 320, 480)), 75);
}

TEST(ThumbnailLayout, TabletHasWiderPaddingFrameAndShadow)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    EXPECT_EQ(getPadding(), 8);
    EXPECT_EQ(getThumbnailBorderWidth(), 13);
    EXPECT_EQ(getThumbnailShadowWidth(), 3);
    EXPECT_EQ(getThumbnailWidth(platform::Rect(0, 0, 768, 1024)), 182);
    // The width is truncated, not rounded: (770 − 40) / 4 = 182.5.
    EXPECT_EQ(getThumbnailWidth(platform::Rect(0, 0, 770, 1024)), 182);
}
