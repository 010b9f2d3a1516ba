// The heads-up pictures from the data tool (radar blip, heads, muzzle flash),
// decoded by the game's own PNG loader and checked for what the game and the
// player need of them.
#include "textures/png.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kDataDir = SHEEPFALL_DATA_DIR;

struct Picture {
    PngImage image;

    int size() const { return image.width; }
    const uint8_t* at(int x, int y) const {
        return &image.pixels[(static_cast<size_t>(y) * image.width + x) * image.channels];
    }
    int alpha(int x, int y) const { return image.channels == 4 ? at(x, y)[3] : 255; }
    int brightest_channel(int x, int y) const {
        return std::max({at(x, y)[0], at(x, y)[1], at(x, y)[2]});
    }
    // Distance of a pixel's centre from the picture's centre, 1 at the middle
    // of an edge.
    double radius(int x, int y) const {
        const double half = image.width / 2.0;
        return std::hypot(x + 0.5 - half, y + 0.5 - half) / half;
    }
    bool on_border(int x, int y, int frame) const {
        return x < frame || y < frame || x >= image.width - frame || y >= image.height - frame;
    }
};

// Rows come top first: the game only flips them once its texture cache starts.
Picture load(const std::string& name) {
    Picture picture;
    set_png_flip_rows(false);
    std::FILE* file = std::fopen((kDataDir / name).c_str(), "rb");
    if (!file) {
        ADD_FAILURE() << "cannot open " << name;
        return picture;
    }
    EXPECT_TRUE(load_png_image(file, &picture.image)) << name;
    std::fclose(file);
    return picture;
}

std::string head_name(int n) {
    return "tete" + std::to_string(n) + ".png";
}

// Mean alpha of the pixels whose radius lies in [inner, outer).
double mean_alpha(const Picture& picture, double inner, double outer) {
    double sum = 0;
    int count = 0;
    for (int y = 0; y < picture.size(); ++y)
        for (int x = 0; x < picture.size(); ++x) {
            const double r = picture.radius(x, y);
            if (r < inner || r >= outer) continue;
            sum += picture.alpha(x, y);
            ++count;
        }
    return sum / count;
}

} // namespace

TEST(HudPictures, AreSquareTrueColourPicturesWithPowerOfTwoSides) {
    struct Expected {
        std::string name;
        int channels; // the game turns away fewer than 3
        int min_size; // enough pixels for the size the game draws it at
    };
    const Expected pictures[] = {
        {"radar.png", 4, 64},   {head_name(1), 4, 128}, {head_name(2), 4, 128},
        {head_name(3), 4, 128}, {head_name(4), 4, 128}, {head_name(5), 4, 128},
        {"feu.png", 3, 64},
    };
    for (const Expected& expected : pictures) {
        SCOPED_TRACE(expected.name);
        const Picture picture = load(expected.name);
        EXPECT_EQ(picture.image.channels, expected.channels);
        EXPECT_EQ(picture.image.bit_depth, 8);
        EXPECT_EQ(picture.image.width, picture.image.height);
        EXPECT_TRUE(std::has_single_bit(static_cast<unsigned>(picture.image.width)));
        EXPECT_GE(picture.image.width, expected.min_size);
    }
}

// --- the heads ------------------------------------------------------------------

class HeadPictures : public testing::Test {
  protected:
    static constexpr int kHeads = 5;

    void SetUp() override {
        for (int n = 1; n <= kHeads; ++n) {
            heads.push_back(load(head_name(n)));
            ASSERT_EQ(heads.back().image.channels, 4) << head_name(n);
            ASSERT_EQ(heads.back().size(), heads.front().size()) << head_name(n);
        }
        size = heads.front().size();
    }

    // The face: an oval from the forehead to the chin, inside the outline.
    bool in_face(int x, int y) const {
        const double dx = (x + 0.5) / size - 0.5, dy = (y + 0.5) / size - 0.55;
        return std::pow(dx / 0.24, 2.0) + std::pow(dy / 0.24, 2.0) < 1.0;
    }

    // Mean colour distance (0..441) between two heads over the face.
    double face_distance(const Picture& a, const Picture& b) const {
        double sum = 0;
        int count = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                if (!in_face(x, y)) continue;
                double square = 0;
                for (int c = 0; c < 3; ++c)
                    square += std::pow(a.at(x, y)[c] - b.at(x, y)[c], 2.0);
                sum += std::sqrt(square);
                ++count;
            }
        return sum / count;
    }

    std::vector<Picture> heads;
    int size = 0;
};

TEST_F(HeadPictures, AreTransparentAtTheBorderAndOpaqueOverTheFace) {
    // The game's textures repeat, so anything opaque on one edge would bleed
    // onto the opposite one: the whole border stays clear.
    for (int n = 0; n < kHeads; ++n)
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                if (heads[n].on_border(x, y, 2)) {
                    ASSERT_EQ(heads[n].alpha(x, y), 0)
                        << head_name(n + 1) << " at " << x << ", " << y;
                }
                if (in_face(x, y)) {
                    ASSERT_EQ(heads[n].alpha(x, y), 255)
                        << head_name(n + 1) << " at " << x << ", " << y;
                }
            }
}

TEST_F(HeadPictures, HaveADarkOutlineThatReadsOnSkyAndGrass) {
    // Every pixel on the silhouette's edge, next to a clear one, is dark ink.
    for (int n = 0; n < kHeads; ++n) {
        int edge = 0;
        for (int y = 1; y + 1 < size; ++y)
            for (int x = 1; x + 1 < size; ++x) {
                if (heads[n].alpha(x, y) < 128) continue;
                const bool next_to_clear =
                    heads[n].alpha(x - 1, y) == 0 || heads[n].alpha(x + 1, y) == 0 ||
                    heads[n].alpha(x, y - 1) == 0 || heads[n].alpha(x, y + 1) == 0;
                if (!next_to_clear) continue;
                ++edge;
                EXPECT_LT(heads[n].brightest_channel(x, y), 60)
                    << head_name(n + 1) << " at " << x << ", " << y;
            }
        EXPECT_GT(edge, size) << head_name(n + 1) << ": a silhouette all round";
    }
}

TEST_F(HeadPictures, ShowOneAndTheSameBust) {
    // Bandages may stick out, but the silhouettes mostly coincide.
    for (int n = 1; n < kHeads; ++n) {
        int both = 0, either = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const bool a = heads[0].alpha(x, y) > 0, b = heads[n].alpha(x, y) > 0;
                both += a && b;
                either += a || b;
            }
        EXPECT_GT(both, either * 0.95) << head_name(n + 1) << " against " << head_name(1);
    }
}

TEST_F(HeadPictures, LookVisiblyWorseWithEachLifeLost) {
    for (int n = 1; n < kHeads; ++n) {
        const double step = face_distance(heads[n - 1], heads[n]);
        EXPECT_GT(step, 15.0) << head_name(n) << " to " << head_name(n + 1);
    }
}

TEST_F(HeadPictures, DamageOnlyAddsUp) {
    // Each head is further from the healthy one than the head before it.
    double previous = 0;
    for (int n = 1; n < kHeads; ++n) {
        const double from_healthy = face_distance(heads[0], heads[n]);
        EXPECT_GT(from_healthy, previous + 4.0) << head_name(n + 1);
        previous = from_healthy;
    }
}

TEST_F(HeadPictures, TurnFromWarmSkinToASicklyGreen) {
    auto green_over_red = [&](const Picture& head) {
        double sum = 0;
        int count = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (in_face(x, y)) {
                    sum += head.at(x, y)[1] - head.at(x, y)[0];
                    ++count;
                }
        return sum / count;
    };
    // Blood and bruises stay red and purple; the skin around them turns.
    EXPECT_LT(green_over_red(heads.front()), -30.0) << "healthy skin is warm";
    EXPECT_GT(green_over_red(heads.back()), green_over_red(heads.front()) + 25.0);
}

// --- the radar blip ---------------------------------------------------------------

TEST(RadarBlip, IsSolidInTheMiddleAndFadesToNothingBeforeTheEdge) {
    const Picture blip = load("radar.png");
    ASSERT_EQ(blip.image.channels, 4);
    const int middle = blip.size() / 2;
    EXPECT_EQ(blip.alpha(middle, middle), 255);
    const double core = mean_alpha(blip, 0.0, 0.15);
    const double halo = mean_alpha(blip, 0.3, 0.45);
    const double rim = mean_alpha(blip, 0.8, 0.9);
    EXPECT_GT(core, 2 * halo);
    EXPECT_GT(halo, 2 * rim);
    for (int y = 0; y < blip.size(); ++y)
        for (int x = 0; x < blip.size(); ++x) {
            if (blip.radius(x, y) >= 0.96) {
                ASSERT_EQ(blip.alpha(x, y), 0) << x << ", " << y;
            }
            // Outside the core, a faint ring at most.
            if (blip.radius(x, y) >= 0.35) {
                ASSERT_LT(blip.alpha(x, y), 128) << x << ", " << y;
            }
        }
}

TEST(RadarBlip, IsRoundAndLightSoItShowsInTheColourItIsDrawnWith) {
    const Picture blip = load("radar.png");
    ASSERT_EQ(blip.image.channels, 4);
    const int last = blip.size() - 1;
    for (int y = 0; y < blip.size(); ++y)
        for (int x = 0; x < blip.size(); ++x) {
            // The same at the pixel's mirror images and at its quarter turn.
            const int a = blip.alpha(x, y);
            ASSERT_EQ(a, blip.alpha(last - x, y)) << x << ", " << y;
            ASSERT_EQ(a, blip.alpha(x, last - y)) << x << ", " << y;
            ASSERT_NEAR(a, blip.alpha(y, x), 1) << x << ", " << y;
            if (a == 0) continue;
            for (int c = 0; c < 3; ++c)
                ASSERT_GE(blip.at(x, y)[c], 180) << x << ", " << y;
        }
}

// --- the muzzle flash ---------------------------------------------------------------

TEST(MuzzleFlash, IsWhiteHotInTheMiddleAndBlackAtTheBorder) {
    const Picture flash = load("feu.png");
    const int middle = flash.size() / 2;
    for (int c = 0; c < 3; ++c)
        EXPECT_GE(flash.at(middle, middle)[c], 220) << "channel " << c;
    // Drawn adding light onto the scene: black adds nothing, so the quad's
    // edges never show, however it turns.
    for (int y = 0; y < flash.size(); ++y)
        for (int x = 0; x < flash.size(); ++x)
            if (flash.radius(x, y) >= 0.96 || flash.on_border(x, y, 2)) {
                ASSERT_EQ(flash.brightest_channel(x, y), 0) << x << ", " << y;
            }
}

TEST(MuzzleFlash, BurnsOrangeInUnevenTonguesAroundTheCore) {
    const Picture flash = load("feu.png");
    // Around a circle halfway out, the brightness swings between tongues
    // and the dark gaps between them.
    int brightest = 0, darkest = 255;
    double red = 0, green = 0, blue = 0;
    const double half = flash.size() / 2.0;
    for (int step = 0; step < 360; ++step) {
        const double angle = step * 3.14159265358979 / 180.0;
        const int x = static_cast<int>(half + 0.45 * half * std::cos(angle));
        const int y = static_cast<int>(half + 0.45 * half * std::sin(angle));
        brightest = std::max(brightest, flash.brightest_channel(x, y));
        darkest = std::min(darkest, flash.brightest_channel(x, y));
        red += flash.at(x, y)[0];
        green += flash.at(x, y)[1];
        blue += flash.at(x, y)[2];
    }
    EXPECT_GT(brightest, 2 * darkest + 60);
    EXPECT_GT(red, 1.3 * green) << "fire, not a grey glow";
    EXPECT_GT(green, 1.5 * blue);
}
