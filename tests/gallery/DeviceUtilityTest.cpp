#include "Classes/gallery/ThumbnailLayout.h"
#include "Classes/gallery/Utility.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>

using platform::DeviceProfile;
using platform::ScopedDeviceProfile;

// Pictures and frames are exported at scale 2 only on a scale-2 phone (see the
// crop tests); a scale-2 tablet counts as retina but exports at 1.
TEST(DeviceUtility, AScaleTwoTabletIsRetinaButExportsAtScaleOne)
{
    DeviceProfile retinaTablet = DeviceProfile::tablet();
    retinaTablet.screenScale = 2;
    retinaTablet.systemVersion = "4.3.1";
    ScopedDeviceProfile device(retinaTablet);
    EXPECT_TRUE(isPad() && isRetina());
    EXPECT_FALSE(isiPhone4S());
    EXPECT_EQ(getScreenScale(), 1.0f);
    EXPECT_FLOAT_EQ(getiOSVersion(), 4.3f);
}

TEST(ThumbnailLayout, FourCellsBetweenFivePaddingsTruncated)
{
    {
        ScopedDeviceProfile device(DeviceProfile::phone());
        EXPECT_EQ(getThumbnailBorderWidth() + getThumbnailShadowWidth(), 0);
        EXPECT_EQ(getThumbnailWidth(platform::Rect(0, 0, 320, 480)), 75);
    }
    ScopedDeviceProfile device(DeviceProfile::tablet());
    EXPECT_EQ(getThumbnailBorderWidth(), 13);
    EXPECT_EQ(getThumbnailShadowWidth(), 3);
    EXPECT_EQ(getThumbnailWidth(platform::Rect(0, 0, 768, 1024)), 182);
    EXPECT_EQ(getThumbnailWidth(platform::Rect(0, 0, 770, 1024)), 182); // (770 − 5 × 8) / 4 = 182.5
}
