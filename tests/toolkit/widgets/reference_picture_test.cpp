// What a comparison with a reference picture lets pass: the buttons' window
// painted offscreen, and copies of it with the faults a picture must catch
// (a caption gone, a button a pixel aside, a wrong colour, another size)
// and the noise a server's rendering may add (stray pixels, a faint tint).
#include "buttons_window.h"
#include "input_fixture.h"

#include <functional>

namespace {

using Change = std::function<void(plat::Surface&, const wt::ButtonsWindow&)>;

// The object's rectangle in its window.
plat::Rect Area(WkObject* o) {
    int x, y;
    WkObjectGetAbsolutePosition(o, &x, &y);
    return {x, y, x + o->width, y + o->height};
}

void Set(plat::Surface& s, int x, int y, plat::Rgb c) { s.pixels()[std::size_t(y) * std::size_t(s.width()) + std::size_t(x)] = c; }

plat::Rgb Lighter(plat::Rgb c, int by) {
    return plat::MakeRgb(std::min(255, plat::RedOf(c) + by), std::min(255, plat::GreenOf(c) + by),
                         std::min(255, plat::BlueOf(c) + by));
}

class ReferencePicture : public wt::InputTest {};

TEST_F(ReferencePicture, FaultsFailAndARenderingsNoiseOnlyOnTheServerPasses) {
    const wt::ButtonsWindow w = wt::MakeButtonsWindow();
    WkFlushEvents();
    const plat::Surface painted = *display->surface(WkObjectGetNativeWindow(w.shell));
    struct Case {
        const char* what;
        Change change;
        bool exact, onServer; // whether it still matches
    };
    const Case cases[] = {
        {"unchanged", [](plat::Surface&, const wt::ButtonsWindow&) {}, true, true},
        {"three stray pixels far apart",
         [](plat::Surface& s, const wt::ButtonsWindow&) {
             for (int i = 0; i < 3; ++i) Set(s, 5 + 40 * i, 5, Lighter(s.colorAt(5 + 40 * i, 5), 60));
         },
         false, true},
        {"every pixel a shade lighter",
         [](plat::Surface& s, const wt::ButtonsWindow&) {
             for (int y = 0; y < s.height(); ++y)
                 for (int x = 0; x < s.width(); ++x) Set(s, x, y, Lighter(s.colorAt(x, y), 10));
         },
         false, true},
        {"the caption of Normal gone",
         [](plat::Surface& s, const wt::ButtonsWindow& b) {
             const plat::Rect r = Area(b.normal);
             const plat::Rgb back = s.colorAt(r.x0 + 3, r.y0 + 3);
             for (int y = r.y0 + 3; y < r.y1 - 3; ++y)
                 for (int x = r.x0 + 3; x < r.x1 - 3; ++x) Set(s, x, y, back);
         },
         false, false},
        {"Focused a pixel to the right",
         [](plat::Surface& s, const wt::ButtonsWindow& b) {
             const plat::Rect r = Area(b.focused);
             for (int y = r.y0; y < r.y1; ++y)
                 for (int x = r.x1; x > r.x0; --x) Set(s, x, y, s.colorAt(x - 1, y));
         },
         false, false},
        {"Pressed in a lighter grey",
         [](plat::Surface& s, const wt::ButtonsWindow& b) {
             const plat::Rect r = Area(b.pressed);
             const plat::Rgb back = s.colorAt(r.x0 + 3, r.y0 + 3);
             for (int y = r.y0; y < r.y1; ++y)
                 for (int x = r.x0; x < r.x1; ++x)
                     if (s.colorAt(x, y) == back) Set(s, x, y, Lighter(back, 30));
         },
         false, false},
        {"a row shorter",
         [](plat::Surface& s, const wt::ButtonsWindow&) { s = refpic::Crop(s, {0, 0, s.width(), s.height() - 1}); },
         false, false},
        {"the last pixel stray",
         [](plat::Surface& s, const wt::ButtonsWindow&) {
             Set(s, s.width() - 1, s.height() - 1, plat::MakeRgb(255, 0, 0));
         },
         false, true},
        {"the bottom row's last ten pixels red",
         [](plat::Surface& s, const wt::ButtonsWindow&) {
             for (int i = 1; i <= 10; ++i) Set(s, s.width() - i, s.height() - 1, plat::MakeRgb(255, 0, 0));
         },
         false, false},
    };
    for (const Case& c : cases) {
        plat::Surface changed = painted;
        c.change(changed, w);
        for (auto [tolerance, expected] : {std::pair{refpic::kExact, c.exact}, {refpic::kOnServer, c.onServer}}) {
            const refpic::Difference d = refpic::Compare(changed, painted, tolerance.channel);
            EXPECT_EQ(refpic::Within(d, tolerance, changed), expected)
                << c.what << " (channel " << tolerance.channel << "): " << d.pixels << " pixels, " << d.worstPatch
                << " in one patch";
        }
    }
    WkObjectDestroy(w.shell);
    WkFreeImage(w.image);
}

TEST_F(ReferencePicture, TheDifferencePictureMarksWhatDiffersInRedOverTheFadedReference) {
    plat::Surface reference(3, 2), picture(3, 2);
    for (plat::Surface* s : {&reference, &picture})
        for (int i = 0; i < 6; ++i) s->pixels()[i] = plat::MakeRgb(0, 0, 0);
    picture.pixels()[5] = plat::MakeRgb(0, 0, 40); // the last pixel
    const plat::Surface diff = refpic::DifferencePicture(picture, reference, 16);
    EXPECT_EQ(diff.colorAt(0, 0), plat::MakeRgb(192, 192, 192));
    EXPECT_EQ(diff.colorAt(2, 1), plat::MakeRgb(255, 0, 0));
    // Where only the larger picture reaches: red.
    const plat::Surface wider = refpic::DifferencePicture(plat::Surface(4, 2), reference, 16);
    EXPECT_EQ(wider.colorAt(3, 0), plat::MakeRgb(255, 0, 0));
}

} // namespace
