#include "Classes/brushes/Brush.h"
#include "Classes/brushes/PatternManager.h"
#include "Classes/model/Layer.h"
#include "platform/system/Device.h"
#include "support/TestCanvas.h"

#include <gtest/gtest.h>

#include <cstring>

using platform::DeviceProfile;
using platform::Point;
using platform::ScopedDeviceProfile;

namespace {

bool samePixels(const platform::BitmapContext& a, const platform::BitmapContext& b, int& differing)
{
    differing = 0;
    for (int row = 0; row < a.height(); ++row) {
        const auto* p = static_cast<const uint8_t*>(a.data()) + static_cast<size_t>(row) * a.bytesPerRow();
        const auto* q = static_cast<const uint8_t*>(b.data()) + static_cast<size_t>(row) * b.bytesPerRow();
        for (int col = 0; col < a.width() * 4; ++col)
            differing += p[col] != q[col];
    }
    return differing == 0;
}

}

// A layer replays the strokes of these brushes, one after another, exactly as
// they were drawn live, the shape brush's whole-stroke redraw included.
TEST(LayerReplayOfPatternAndShapeBrushes, ReplayedLayerEqualsTheLiveOne)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    auto layer = Layer::createWithSize({ 360, 300 });
    ASSERT_TRUE(layer && layer->hasCanvas());
    auto patterns = std::make_shared<PatternManager>();
    layer->setPatternManager(patterns);

    int row = 0;
    for (int type : { 64, 64, 16, 101, 29, 32, 33, 66, 16 }) {
        auto brush = Brush::createBrush(type, patterns);
        ASSERT_TRUE(brush) << type;
        brush->setMirrix(row % 2 ? 4 : 0, { 180, 150 });
        auto points = wavyPoints({ 20.0f + 10 * row, 40.0f + 25 * row }, 12, 26);
        layer->cacheUndo();
        layer->strokeFromWithBrush(*brush, points.front());
        for (size_t i = 1; i + 1 < points.size(); ++i)
            layer->strokeTo(points[i]);
        layer->strokeEnd(points.back());
        ++row;
    }
    ASSERT_EQ(layer->getStrokeNumber(), 9);

    layer->startPlayback();
    ASSERT_TRUE(layer->playbackLayerContext());
    for (int guard = 0; guard < 1000 && layer->getPlaybackProgress() < 1.0f; ++guard)
        layer->playbackNextStrokePointsOfNumber(7);
    EXPECT_FLOAT_EQ(layer->getPlaybackProgress(), 1.0f);
    int painted = 0;
    const auto* live = static_cast<const uint32_t*>(layer->layerContext()->data());
    for (int i = 0; i < 360 * 300; ++i)
        painted += (live[i] >> 24) != 0;
    EXPECT_GT(painted, 20000);
    int differing = 0;
    EXPECT_TRUE(samePixels(*layer->layerContext(), *layer->playbackLayerContext(), differing))
        << differing << " bytes differ";
    layer->stopPlayback();
}
