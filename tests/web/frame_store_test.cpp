// The browser view's copy of the picture: changed parts stay few however many come, a present
// is copied at any paint scale, and an encoded part decodes to exactly the panel's pixels.
#include <gtest/gtest.h>

#include <cairo.h>

#include <vector>

#include "platform/web/frame_store.h"
#include "tests/support/web_client.h"

namespace {

using platform::ChangedParts;
using platform::web::FrameStore;
using platform::web::PanelPicture;

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(ChangedPartsMerging, FarPartsStayApartTouchingOnesJoin)
{
    ChangedParts parts;
    parts.Add(RECT{10, 10, 20, 20});
    parts.Add(RECT{400, 300, 420, 310});
    parts.Add(RECT{20, 10, 30, 20});  // touches the first
    ASSERT_EQ(parts.parts().size(), 2u);
    EXPECT_TRUE(Same(parts.parts()[1], RECT{10, 10, 30, 20}));
    parts.Add(RECT{-50, -50, 5, 5});    // clipped to the screen
    parts.Add(RECT{700, 10, 800, 20});  // off the screen: nothing
    parts.Add(RECT{50, 50, 50, 60});    // empty: nothing
    EXPECT_EQ(parts.parts().size(), 3u);
}

TEST(ChangedPartsMerging, ManyScatteredPartsBecomeOneAndNeverGrow)
{
    ChangedParts parts;
    for (int i = 0; i < 10'000; ++i) {
        const int x = (i * 37) % 600;
        const int y = (i * 53) % 440;
        parts.Add(RECT{x, y, x + 3, y + 3});
        ASSERT_LE(parts.parts().size(), ChangedParts::kMostParts);
    }
    parts.AddWholeScreen();
    ASSERT_EQ(parts.parts().size(), 1u);
    EXPECT_TRUE(Same(parts.parts()[0], RECT{0, 0, 640, 480}));
    RECT one;
    EXPECT_TRUE(parts.TakeOne(one));
    EXPECT_FALSE(parts.TakeOne(one));
}

// A composed screen at a paint scale: each panel pixel a scale x scale block of its colour.
cairo_surface_t* Screen(int scale, std::uint32_t (*colour)(int x, int y))
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 640 * scale, 480 * scale);
    auto* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < 480 * scale; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < 640 * scale; ++x) row[x] = colour(x / scale, y / scale);
    }
    cairo_surface_mark_dirty(s);
    return s;
}

std::uint32_t Pattern(int x, int y)
{
    return static_cast<std::uint32_t>(((x * 7) & 0xFF) << 16 | ((y * 3) & 0xFF) << 8 |
                                      ((x + y) & 0xFF));
}

class PublishAtScale : public ::testing::TestWithParam<int> {};

TEST_P(PublishAtScale, CopiesOnlyTheChangedPartsInPanelPixels)
{
    cairo_surface_t* screen = Screen(GetParam(), Pattern);
    FrameStore store;
    const std::vector<RECT> parts{RECT{0, 0, 10, 10}, RECT{600, 400, 640, 480}};
    EXPECT_TRUE(store.Publish(screen, parts));   // the first changes: the server is woken
    EXPECT_FALSE(store.Publish(screen, parts));  // not again until it took them
    PanelPicture picture;
    const std::vector<RECT> taken = store.TakeChanges(picture);
    EXPECT_EQ(taken.size(), 2u);
    EXPECT_EQ(picture.At(5, 5), Pattern(5, 5));
    EXPECT_EQ(picture.At(639, 479), Pattern(639, 479));
    EXPECT_EQ(picture.At(300, 200), 0u);  // not changed, not copied
    EXPECT_TRUE(store.TakeChanges(picture).empty());
    EXPECT_TRUE(store.Publish(screen, parts));  // taken: the next change wakes it again
    cairo_surface_destroy(screen);
}

INSTANTIATE_TEST_SUITE_P(Scales, PublishAtScale, ::testing::Values(1, 2, 3));

TEST(PublishedChanges, AreCutToThePixelsThatDiffer)
{
    cairo_surface_t* screen = Screen(1, Pattern);
    FrameStore store;
    PanelPicture picture;
    const std::vector<RECT> whole{RECT{0, 0, 640, 480}};
    store.Publish(screen, whole);
    store.TakeChanges(picture);
    // Painted again as it was: nothing to send.
    store.Publish(screen, whole);
    EXPECT_TRUE(store.TakeChanges(picture).empty());
    // One reading of a big panel changed: only its box goes on.
    cairo_surface_flush(screen);
    auto* data = cairo_image_surface_get_data(screen);
    const int stride = cairo_image_surface_get_stride(screen);
    for (int y = 200; y < 210; ++y) {
        for (int x = 300; x < 330; ++x) {
            reinterpret_cast<std::uint32_t*>(data + y * stride)[x] = 0x00FF0000u;
        }
    }
    reinterpret_cast<std::uint32_t*>(data + 215 * stride)[305] = 0x0000FF00u;
    cairo_surface_mark_dirty(screen);
    store.Publish(screen, std::vector<RECT>{RECT{100, 100, 600, 400}});
    const std::vector<RECT> taken = store.TakeChanges(picture);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_TRUE(Same(taken[0], RECT{300, 200, 330, 216}));
    EXPECT_EQ(picture.At(305, 215), 0x0000FF00u);
    EXPECT_EQ(picture.At(310, 205), 0x00FF0000u);
    cairo_surface_destroy(screen);
}

TEST(PublishRefuses, SurfacesThatAreNoPanelScreen)
{
    FrameStore store;
    const std::vector<RECT> parts{RECT{0, 0, 10, 10}};
    EXPECT_FALSE(store.Publish(nullptr, parts));
    cairo_surface_t* small = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 100, 100);
    EXPECT_FALSE(store.Publish(small, parts));
    cairo_surface_destroy(small);
    cairo_surface_t* alpha = cairo_image_surface_create(CAIRO_FORMAT_A8, 640, 480);
    EXPECT_FALSE(store.Publish(alpha, parts));
    cairo_surface_destroy(alpha);
}

TEST(UpdateOfAPart, CarriesItsBoxAndDecodesToThePanelsPixels)
{
    PanelPicture picture;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) picture.pixels[y * 640 + x] = Pattern(x, y);
    }
    for (const RECT part : {RECT{0, 0, 640, 480}, RECT{13, 17, 14, 18}, RECT{600, 1, 640, 99}}) {
        const auto decoded =
            test_support::DecodeUpdate(platform::web::UpdateMessage(picture, part));
        ASSERT_TRUE(decoded);
        EXPECT_TRUE(Same(
            RECT{decoded->x, decoded->y, decoded->x + decoded->width, decoded->y + decoded->height},
            part));
        for (int y = part.top; y < part.bottom; ++y) {
            for (int x = part.left; x < part.right; ++x) {
                ASSERT_EQ(decoded->pixels[(y - part.top) * decoded->width + (x - part.left)],
                          Pattern(x, y))
                    << x << "," << y;
            }
        }
    }
    // A part reaching off the panel is cut to it; one wholly off it is no update.
    const auto cut =
        test_support::DecodeUpdate(platform::web::UpdateMessage(picture, RECT{630, 470, 700, 500}));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->width, 10);
    EXPECT_EQ(cut->height, 10);
    EXPECT_TRUE(platform::web::UpdateMessage(picture, RECT{700, 0, 800, 10}).empty());
}

}  // namespace
