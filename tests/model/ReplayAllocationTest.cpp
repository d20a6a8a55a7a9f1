// Video frames are drawn once per frame for the length of a movie, so once the
// first frame has been drawn the drawing must not allocate. This program's
// operator new and delete are replaced here to count what the calling thread
// allocates while counting is on; both go to malloc and free, as the library's do.
#include "Classes/model/Painting.h"
#include "platform/media/PixelBuffer.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <new>
#include <numbers>

namespace {

thread_local bool isCounting = false;
thread_local long allocationCount = 0;

void* allocate(std::size_t size)
{
    if (isCounting)
        ++allocationCount;
    return std::malloc(size ? size : 1);
}

// Allocations made on this thread during the call.
template<typename Work>
long allocationsDuring(Work work)
{
    allocationCount = 0;
    isCounting = true;
    work();
    isCounting = false;
    return allocationCount;
}

}

void* operator new(std::size_t size)
{
    if (void* p = allocate(size))
        return p;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

TEST(ReplayFrameAllocation, WarmFramesAllocateNothing)
{
    struct Case {
        platform::DeviceProfile device;
        int turns;
    };
    for (const Case& c : { Case { platform::DeviceProfile::tablet(), 0 }, Case { platform::DeviceProfile::tablet(), 1 },
             Case { platform::DeviceProfile::retinaPhone(), 0 } }) {
        platform::ScopedDeviceProfile device(c.device);
        Painting painting({ 200, 150 });
        painting.addTransparentLayer();
        painting.setCropRegion(platform::Rect(0, 0, 200, 150));
        painting.switchBrush(13);
        painting.strokeFrom({ 20, 20 });
        for (int i = 1; i < 12; ++i)
            painting.strokeTo({ 20.0f + 15 * i, 20.0f + 10 * i });
        painting.strokeEnd({ 190, 140 });
        painting.startPlayback();

        const float scale = c.device.screenScale;
        platform::Size size { 200 * scale, AlignTo16(150) * scale };
        platform::AffineTransform transform;
        if (c.turns) {
            transform = platform::AffineTransform::makeRotation(std::numbers::pi_v<float> / 2)
                            .concatenated(platform::AffineTransform::makeTranslation(size.height, 0));
            size = { size.height, size.width };
        }
        auto buffer = platform::PixelBuffer::create(static_cast<int>(size.width), static_cast<int>(size.height));
        painting.drawCurrentFrameToPixelBuffer(*buffer, transform);

        long count = allocationsDuring([&] {
            for (int frame = 0; frame < 5; ++frame) {
                // The steps between frames are not counted: they draw with the brushes.
                isCounting = false;
                painting.playback();
                isCounting = true;
                painting.drawCurrentFrameToPixelBuffer(*buffer, transform);
            }
        });
        EXPECT_EQ(count, 0) << "scale " << scale << ", turns " << c.turns;
        // The count does see allocations: a new frame's buffer is one.
        EXPECT_GE(allocationsDuring([&] { painting.createPixelBufferFromCurrentFrameWithVideoSize(size, transform); }), 1);
        painting.stopPlayback();
    }
}
