#include "Classes/brushes/Brush.h"

#include "Classes/brushes/CircleChasisBrush.h"
#include "Classes/brushes/CircleFlowerBrush.h"
#include "Classes/brushes/NeonBrightBrush.h"
#include "Classes/brushes/NeonBrush.h"
#include "Classes/brushes/NeonNecklaceBrush.h"
#include "Classes/brushes/NeonPenBrush.h"
#include "Classes/brushes/PatternBrush.h"
#include "Classes/brushes/PenBrush.h"
#include "Classes/brushes/RainbowBrush.h"
#include "Classes/brushes/RubberBrush.h"
#include "Classes/brushes/ShapeBrush.h"
#include "Classes/brushes/SketchyBrush.h"
#include "Classes/brushes/SparseChalkBrush.h"

#include <array>
#include <thread>

// The one place that maps brush type numbers to brush classes.
std::unique_ptr<Brush> Brush::createBrush(int type, std::shared_ptr<PatternManager> patternMgr)
{
    std::unique_ptr<Brush> brush;
    switch (type) {
    case 11:
        brush = std::make_unique<RainbowBrush>();
        break;
    case 13:
        brush = std::make_unique<PenBrush>();
        break;
    case 16:
        brush = std::make_unique<ShapeBrush>();
        break;
    case 17:
        brush = std::make_unique<NeonBrush>();
        break;
    case 23:
        brush = std::make_unique<RubberBrush>();
        break;
    case 24:
        brush = std::make_unique<NeonPenBrush>();
        break;
    case 29:
        brush = std::make_unique<SketchyBrush>();
        break;
    case 32:
        brush = std::make_unique<CircleChasisBrush>();
        break;
    case 33:
        brush = std::make_unique<CircleFlowerBrush>();
        break;
    case 34:
        brush = std::make_unique<NeonNecklaceBrush>();
        break;
    case 37:
        brush = std::make_unique<NeonBrightBrush>();
        break;
    case 101:
        brush = std::make_unique<SparseChalkBrush>(type, patternMgr);
        break;
    default:
        // Pattern types without a picture in the pattern table get no brush.
        if (type >= 50 && type <= 255 && getBrushInfo(type))
            brush = std::make_unique<PatternBrush>(type, patternMgr);
        break;
    }
    if (brush)
        brush->setPatternManager(std::move(patternMgr));
    return brush;
}

namespace {

// One brush of every type, used only for its per-point packing hooks. Built
// while the program starts, before main() and so before any queue exists, and
// never changed afterwards: any thread may read it without a lock.
struct PackingBrushes {
    std::array<std::unique_ptr<Brush>, 256> brushes;
    std::unique_ptr<Brush> none = std::make_unique<Brush>();

    PackingBrushes()
    {
        // Made on a thread of their own: brushes draw random colours when made,
        // and that thread's colour cycles and generators end with it, so no
        // other thread's sequences move.
        std::thread maker([this] {
            for (int type = 0; type < 256; ++type)
                brushes[static_cast<size_t>(type)] = Brush::createBrush(type, nullptr);
        });
        maker.join();
    }
};

const PackingBrushes packingBrushes;

}

const Brush& Brush::packingBrush(int type)
{
    if (type < 0 || type > 255 || !packingBrushes.brushes[static_cast<size_t>(type)])
        return *packingBrushes.none;
    return *packingBrushes.brushes[static_cast<size_t>(type)];
}
