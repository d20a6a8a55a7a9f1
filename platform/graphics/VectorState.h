#pragma once

namespace platform {

// Some of Qt's AVX drawing code returns with the upper halves of the vector
// registers still in use. Until they are cleared, every SSE instruction that
// follows (all of our pixel loops and most of our floating-point code) runs
// far slower on many processors: a shape brush's step took half as long
// again after any QPainter fill. Our pixel work calls this on entry; it costs
// a cycle, and nothing where the processor has no AVX.
void clearUpperVectorState();

}
