#include "Classes/gallery/ThumbnailLayout.h"
#include "Classes/gallery/Utility.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>

using platform::DeviceProfile;
using platform::ScopedDeviceProfile;

// Pictures and frames are exported at scale 2 only on a scale-2 phone.
TEST(DeviceUtility, OnlyScaleTwoPhonesCountAsIPhone4SAndExportAtScaleTwo)
{
    DeviceProfile retinaTablet = DeviceProfile::tablet();
    retinaTablet.screenScale = 2;
    retinaTablet.systemVersion = "4.3.1";
    const struct {
        DeviceProfile profile;
        bool pad, retina, iPhone4S;
        float scale;
    } cases[] = {
        { DeviceProfile::tablet(), true, false, false, 1 },
        { DeviceProfile::phone(), false, false, false, 1 },
        { DeviceProfile::retinaPhone(), false, true, true, 2 },
        { retinaTablet, true, true, false, 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile.name);
        ScopedDeviceProfile device(c.profile);
        EXPECT_EQ(isPad(), c.pad);
        EXPECT_EQ(isiPhone(), !c.pad);
        EXPECT_EQ(isRetina(), c.retina);
        EXPECT_EQ(isiPhone4S(), c.iPhone4S);
        EXPECT_EQ(getScreenScale(), c.scale);
    }
    ScopedDeviceProfile device(retinaTablet);
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
