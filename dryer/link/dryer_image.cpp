// The two 300-byte arrays of the dryer image, zero at program start and alive for the run, and
// the build-time checks of the field table: ascending, without overlap, inside the image, and
// together with the offsets that answers never carry covering every byte exactly once.
#include "dryer/link/dryer_image.h"

ImageBytes DryerImage;
ImageBytes DesiredSettings;

namespace {

// Offsets the answers do not carry (they stay 0 in the image).
constexpr std::array<std::array<int, 2>, 14> kNotDecoded{{{0, 2},
                                                          {33, 38},
                                                          {48, 48},
                                                          {53, 57},
                                                          {107, 112},
                                                          {119, 124},
                                                          {170, 170},
                                                          {204, 205},
                                                          {210, 215},
                                                          {231, 231},
                                                          {256, 256},
                                                          {276, 276},
                                                          {285, 286},
                                                          {294, 299}}};

constexpr bool LayoutAscendsWithoutOverlap()
{
    for (std::size_t i = 0; i < kImageLayout.size(); ++i) {
        const ImageField& f = kImageLayout[i];
        if (f.width == 0 || f.end() > kImageSize || f.width % f.unit() != 0) return false;
        if (f.count() > kMaxElements || !f.decoded()) return false;
        if (i > 0 && kImageLayout[i - 1].end() > f.offset) return false;
    }
    return true;
}

constexpr bool LayoutCoversEveryByteOnce()
{
    std::array<int, kImageSize> uses{};
    for (const ImageField& f : kImageLayout) {
        for (int i = f.offset; i < f.end(); ++i) ++uses[static_cast<std::size_t>(i)];
    }
    for (const auto& range : kNotDecoded) {
        for (int i = range[0]; i <= range[1]; ++i) ++uses[static_cast<std::size_t>(i)];
    }
    for (int n : uses) {
        if (n != 1) return false;
    }
    return true;
}

// A settable array takes one flag per element, so its flags must exist.
constexpr bool FlagsExist()
{
    for (const ImageField& f : kImageLayout) {
        if (!f.settable()) continue;
        const int last =
            static_cast<int>(f.pending) + (f.encoding == Encoding::group ? 0 : f.count() - 1);
        if (last >= static_cast<int>(Pending::count)) return false;
    }
    return true;
}

static_assert(LayoutAscendsWithoutOverlap(), "image fields must ascend without overlap");
static_assert(LayoutCoversEveryByteOnce(), "image fields must cover the answer's bytes once");
static_assert(FlagsExist(), "every element of a settable field needs its flag");

}  // namespace
