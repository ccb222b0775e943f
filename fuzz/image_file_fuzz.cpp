// Feeds arbitrary bytes to the image file loader, then writes the image it produced.
// Whatever the input, the loader must stay inside its input and the image, and the
// file written back must fit within the loader's read limit.
#include <cstddef>
#include <cstdint>
#include <span>

#include "image/ImageFileFormat.h"

namespace {
// The longest file the writer produces: multiport bus area plus part-turn unit.
constexpr size_t kLongestFile = 1708;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel::image;
    if (size > static_cast<size_t>(kImageFileReadLimit)) size = kImageFileReadLimit;
    ConfigImage image;
    parseImageFile(image, std::span<const uint8_t>(data, size));
    std::string written = formatImageFile(image, formatDatim(0));
    if (written.size() > kLongestFile) __builtin_trap();

    ConfigImage reloaded;
    if (!parseImageFile(reloaded,
                        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(written.data()),
                                                 written.size())))
        __builtin_trap();  // every file the writer makes is complete
    return 0;
}
