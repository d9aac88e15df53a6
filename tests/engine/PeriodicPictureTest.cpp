// The mean of a repeated picture over device pixels, against a plain count of fine point
// samples: periods of whole pixels, of a fraction of a pixel, of odd lengths, and starting
// left of the device origin.

#include "engine/PeriodicPicture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A picture of two channels: a ramp, and a single bright sample in the top-left corner.
struct Picture {
    int w, h;
    std::vector<double> samples;

    Picture(int width, int height) : w(width), h(height) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                samples.push_back(10.0 * x + y);
                samples.push_back(x == 0 && y == 0 ? 255.0 : 0.0);
            }
        }
    }

    double At(double u, double v, int channel) const {
        const int x = static_cast<int>(u - std::floor(u / w) * w) % w;
        const int y = static_cast<int>(v - std::floor(v / h) * h) % h;
        return samples[(y * w + x) * 2 + channel];
    }
};

// The mean over device pixel (x, y), from n x n point samples at the centres of a fine grid.
double Sampled(const Picture &p, const PeriodicAxis &ax, const PeriodicAxis &ay, int x, int y,
               int channel, int n) {
    double sum = 0;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const double u = (x + (i + 0.5) / n - ax.origin) * ax.scale;
            const double v = (y + (j + 0.5) / n - ay.origin) * ay.scale;
            sum += p.At(u, v, channel);
        }
    }
    return sum / (n * n);
}

struct Case {
    const char *name;
    int w, h;
    PeriodicAxis ax, ay;
    int y;
};

} // namespace

TEST(PeriodicPicture, MeansMatchFineSamplingForEveryKindOfPeriod) {
    const Case cases[] = {
        {"one sample a pixel", 4, 3, {0, 1}, {0, 1}, 2},
        {"whole pixels, shifted", 4, 3, {-1.5, 2}, {0.25, 0.5}, 7},
        {"a tenth of a pixel", 2, 2, {0, 20}, {0, 20}, 11},
        {"odd fraction", 5, 3, {0.37, 3.3}, {-2.9, 1.7}, 5},
        {"far from the origin", 3, 4, {-1000.2, 0.9}, {1e4 + 0.3, 7.5}, 9000},
    };
    for (const Case &c : cases) {
        const Picture p(c.w, c.h);
        constexpr int kX0 = -3, kCount = 12;
        CPeriodicPicture picture(c.w, c.h, 2, p.samples, c.ax, kX0, kCount);
        std::vector<double> means;
        picture.AverageRow(c.ay, c.y, means);
        ASSERT_EQ(means.size(), 2u * kCount) << c.name;
        // Point samples misplace each edge by at most half their spacing.
        const int n = 1000;
        for (int x = 0; x < kCount; ++x) {
            for (int ch = 0; ch < 2; ++ch) {
                EXPECT_NEAR(means[x * 2 + ch], Sampled(p, c.ax, c.ay, kX0 + x, c.y, ch, n), 0.5)
                    << c.name << " x " << kX0 + x << " channel " << ch;
            }
        }
    }
}

// A cell a tenth of a pixel wide whose lower-left quarter is painted covers a quarter of every
// pixel, wherever the pixel is.
TEST(PeriodicPicture, SubPixelCellsGiveTheirShareEverywhere) {
    const std::vector<double> quarter = {255, 0, 0, 0};
    CPeriodicPicture picture(2, 2, 1, quarter, {0, 20}, 0, 612);
    std::vector<double> means;
    for (int y : {0, 1, 791}) {
        picture.AverageRow({0, 20}, y, means);
        ASSERT_EQ(means.size(), 612u);
        for (double m : means)
            ASSERT_NEAR(m, 255 / 4.0, 1e-6) << "row " << y;
    }
}
