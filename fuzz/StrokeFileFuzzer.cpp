// libFuzzer target for the stroke file reader. Any input must be read or
// rejected without a crash, a read past the end or unbounded memory; an input
// that is accepted must write out as a file that reads back and writes out
// the same again.
#include "Classes/model/StrokeFile.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

std::vector<uint8_t> encode(const StrokeFileContents& contents)
{
    std::vector<uint8_t> bytes;
    appendStrokeFileHeader(bytes, contents.header);
    for (const auto& layer : contents.layers)
        appendLayerBlock(bytes, layer);
    return bytes;
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto contents = decodeStrokeFile(std::span(data, size));
    if (!contents)
        return 0;
    const std::vector<uint8_t> written = encode(*contents);
    auto reread = decodeStrokeFile(written);
    if (!reread || encode(*reread) != written)
        std::abort();
    return 0;
}
