#include "core/explain/explanation.h"

#include "core/engine/geometry.h"
#include "core/engine/gray.h"
#include "core/engine/img_service.h"
#include "core/scale/area_resample.h"
#include "recorders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace ormica;

namespace {

using K = TOperationRecord::TKind;

QImage randomPicture(int w, int h, std::mt19937& rng)
{
    QImage picture(w, h, QImage::Format_BGR888);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int y = 0; y < h; ++y)
        for (int k = 0; k < 3 * w; ++k)
            picture.scanLine(y)[k] = uchar(byte(rng));
    return picture;
}

// The picture an array operation writes from `source`.
QImage byArrays(const QImage& source, const std::function<void(const TImgTabBGR&, TImgTabBGR&)>& operation)
{
    TImgTabBGR target;
    operation(test::arrayOf(source), target);
    QImage written(1, 1, QImage::Format_BGR888);
    ImgTabToBitMap(written, target, nullptr);
    return written;
}

TOperationRecord recordOf(K kind, const QImage& source)
{
    TOperationRecord r;
    r.Kind = kind;
    r.Source = source;
    return r;
}

TOperationRecord rotation(const QImage& source, long double degrees, int row, int col, TColor fill)
{
    TOperationRecord r = recordOf(K::Rotate, source);
    r.Degrees = degrees;
    r.CentreRow = row;
    r.CentreCol = col;
    r.Fill = fill;
    return r;
}

TBGRTriple pixel(const QImage& picture, int x, int y)
{
    const uchar* p = picture.constScanLine(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

// Every pixel of a small written picture, or of a large one every corner,
// the middle of every edge and random pixels, is explained and arrives at
// the pixel written there.
void expectAllExplained(const TOperationRecord& record, const QImage& written, std::mt19937& rng,
                        const std::string& what)
{
    ASSERT_FALSE(written.isNull()) << what;
    const int w = written.width(), h = written.height();
    std::vector<std::pair<int, int>> pixels{{0, 0},     {w - 1, 0},     {0, h - 1}, {w - 1, h - 1},
                                            {w / 2, 0}, {w / 2, h - 1}, {0, h / 2}, {w - 1, h / 2}};
    std::uniform_int_distribution<int> col(0, w - 1), row(0, h - 1);
    if (w * h <= 1024)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                pixels.emplace_back(x, y);
    else
        for (int k = 0; k < 60; ++k)
            pixels.emplace_back(col(rng), row(rng));
    for (auto [x, y] : pixels) {
        const TExplanation e = Explain(record, written, x, y);
        EXPECT_TRUE(e.Unavailable.isEmpty() && e.Matches()) << what << " at (" << x << ", " << y << ")\n"
                                                            << ExplanationText(e).toStdString();
    }
}

}  // namespace

TEST(ExplainGeometry, GreyMirrorsTurnsAndCropsArriveAtThePixelsWritten)
{
    std::mt19937 rng(20240611);
    // Odd sizes and a single row or column; widths past 16 reach the vector kernels.
    const std::vector<std::pair<int, int>> sizes{{1, 1}, {37, 1}, {1, 23}, {5, 3}, {41, 29}, {3, 64}};
    for (auto [w, h] : sizes) {
        const QImage source = randomPicture(w, h, rng);
        const std::string size = std::to_string(w) + "x" + std::to_string(h);

        QImage grey;
        BitMapToGrayBitMap(source, grey);
        expectAllExplained(recordOf(K::Grey, source), grey, rng, "grey " + size);

        const std::vector<std::pair<K, std::function<void(const TImgTabBGR&, TImgTabBGR&)>>> moves{
            {K::MirrorH, [](const TImgTabBGR& s, TImgTabBGR& t) { MirrorToTrgArr(s, 'H', t, nullptr); }},
            {K::MirrorV, [](const TImgTabBGR& s, TImgTabBGR& t) { MirrorToTrgArr(s, 'V', t, nullptr); }},
            {K::Rotate90Plus, [](const TImgTabBGR& s, TImgTabBGR& t) { Rotate90PlusMinus(s, '+', t, nullptr); }},
            {K::Rotate90Minus, [](const TImgTabBGR& s, TImgTabBGR& t) { Rotate90PlusMinus(s, '-', t, nullptr); }},
        };
        for (const auto& [kind, operation] : moves)
            expectAllExplained(recordOf(kind, source), byArrays(source, operation), rng,
                               OperationName(kind).toStdString() + " " + size);

        // Inside, reaching past every edge, and the whole picture.
        for (const TRect rect : {TRect{1, 1, w - 2, h - 2}, TRect{-4, -2, w / 2, h / 2},
                                 TRect{w / 3, h / 3, w + 5, h + 9}, TRect{0, 0, w - 1, h - 1}}) {
            if (std::min(rect.Right, w - 1) <= std::max(rect.Left, 0) ||
                std::min(rect.Bottom, h - 1) <= std::max(rect.Top, 0))
                continue;  // a single row or column is not cut out
            const QImage cut =
                byArrays(source, [&](const TImgTabBGR& s, TImgTabBGR& t) { SelectedToImgTab(s, rect, t); });
            TOperationRecord crop = recordOf(K::Crop, source);
            crop.Rect = rect;
            expectAllExplained(crop, cut, rng,
                               "crop " + size + " from " + std::to_string(rect.Left) + "," + std::to_string(rect.Top));
        }
    }
}

TEST(ExplainGeometry, RotationByAnAngleArrivesAtThePixelsWritten)
{
    std::mt19937 rng(77);
    struct Case {
        int w, h;
        long double degrees;
        int row, col;
        TColor fill;
    };
    const Case cases[] = {
        {5, 5, 45, 2, 2, RGBToColor(200, 100, 50)},
        {40, 31, -30, 15, 20, clBlack},
        {33, 3, 89.9L, 1, 0, clWhite},  // three rows, the fewest turned
        {64, 48, -89.9L, 0, 63, RGBToColor(1, 2, 3)},
        {29, 37, 12.345L, -50, 400, clLime},  // a centre far outside
        {31, 31, 90.0L / 7, 15, 15, clYellow},
        {31, 31, 30, 15, 15, clBlack},  // sines of a half: coordinates on and near halves
        {31, 31, -60, 0, 30, clBlack},
        {520, 513, 33.3L, 256, 260, clWhite},  // large enough for the routine's two threads
    };
    for (const Case& c : cases) {
        const QImage source = randomPicture(c.w, c.h, rng);
        const QImage turned = byArrays(source, [&](const TImgTabBGR& s, TImgTabBGR& t) {
            RotateForTabBGR(s, c.row, c.col, nullptr, t, c.fill, c.degrees);
        });
        expectAllExplained(rotation(source, c.degrees, c.row, c.col, c.fill), turned, rng,
                           std::to_string(double(c.degrees)) + " degrees on " + std::to_string(c.w) + "x" +
                               std::to_string(c.h));
    }
    // Two rows are not turned at all: nothing to work out.
    const QImage flat = randomPicture(6, 2, rng);
    const TExplanation e = Explain(rotation(flat, 30, 1, 3, clWhite), flat, 3, 1);
    EXPECT_FALSE(e.Result);
    EXPECT_FALSE(e.Unavailable.isEmpty());
}

TEST(ExplainGeometry, FortyFiveDegreesOnFiveByFiveByHand)
{
    std::mt19937 rng(5);
    const QImage source = randomPicture(5, 5, rng);
    const TColor fill = RGBToColor(200, 100, 50);
    const QImage turned = byArrays(
        source, [&](const TImgTabBGR& s, TImgTabBGR& t) { RotateForTabBGR(s, 2, 2, nullptr, t, fill, 45.0L); });
    const TOperationRecord record = rotation(source, 45, 2, 2, fill);

    // Centre (2, 2), W = 5: dY = y − 2, dX = (5 − x) − 3; r and φ worked out
    // from them by hand, ψ = φ − π/4; row = round(2 + r sin ψ),
    // column = 5 − round(3 + r cos ψ).
    constexpr long double pi = std::numbers::pi_v<long double>;
    struct Hand {
        int x, y;
        long double r, psi;
    };
    const Hand hand[] = {
        {2, 2, 0, 0},                         // the centre stays
        {2, 0, 2, 5 * pi / 4},                // dY = −2, dX = 0: φ = π + π/2
        {4, 2, 2, 3 * pi / 4},                // dY = 0, dX = −2: φ = π
        {3, 1, std::sqrt(2.0L), pi},          // dY = −1, dX = −1: φ = π + π/4
        {1, 3, std::sqrt(2.0L), 0},           // dY = 1, dX = 1: φ = π/4
        {0, 0, std::sqrt(8.0L), 3 * pi / 2},  // dY = −2, dX = 2: φ = 2π − π/4; row −1, the fill
        {0, 4, std::sqrt(8.0L), 0},           // dY = 2, dX = 2: φ = π/4; column −1, the fill
        {4, 4, std::sqrt(8.0L), pi / 2},      // dY = 2, dX = −2: φ = π − π/4; row 5, the fill
    };
    for (const Hand& p : hand) {
        const long long row = std::llround(2 + p.r * std::sin(p.psi));
        const long long col = 5 - std::llround(3 + p.r * std::cos(p.psi));
        const bool outside = row < 0 || row > 4 || col < 0 || col > 4;
        const TBGRTriple expected = outside ? ColorToBGRTriple(fill) : pixel(source, int(col), int(row));
        const TExplanation e = Explain(record, turned, p.x, p.y);
        ASSERT_TRUE(e.Result) << p.x << "," << p.y;
        EXPECT_EQ(*e.Result, expected) << p.x << "," << p.y << "\n" << ExplanationText(e).toStdString();
        EXPECT_TRUE(e.Matches()) << p.x << "," << p.y;
        EXPECT_EQ(e.Steps.back().Label == QStringLiteral("Цвет заливки"), outside) << p.x << "," << p.y;
    }
}

TEST(ExplainScale, EveryRegimeOfTheResamplerArrivesAtThePixelsWritten)
{
    std::mt19937 rng(4242);
    struct Case {
        int sw, sh, dw, dh;
    };
    const Case cases[] = {
        {13, 7, 13, 7},    // equal sizes copy
        {40, 22, 20, 11},  // halving
        {41, 22, 20, 11},  // nearly halving: the general path
        {10, 10, 7, 6},    // mild reduction, rounded weights
        {5, 4, 13, 11},    // enlargement: two taps a pixel
        {30, 7, 11, 20},   // one side shrinks, the other grows
        {90, 72, 10, 8},   // 9 + 9 − 2 = 16 taps beyond the first: still rounded
        {100, 72, 10, 8},  // 10 + 9 − 2 = 17: exact
        {300, 200, 7, 5},  // strong reduction, height shrinking
        {400, 5, 3, 9},    // strong reduction of the width only
        {250, 170, 1, 1},  // the whole picture into one pixel
    };
    for (const Case& c : cases) {
        const QImage source = randomPicture(c.sw, c.sh, rng);
        QImage scaled(c.dw, c.dh, QImage::Format_BGR888);
        AreaResample(source, scaled);
        expectAllExplained(recordOf(K::Scale, source), scaled, rng,
                           std::to_string(c.sw) + "x" + std::to_string(c.sh) + " to " + std::to_string(c.dw) + "x" +
                               std::to_string(c.dh));
    }
}

TEST(ExplainScale, ThreeToOneIsTheMeanOfEachBlock)
{
    std::mt19937 rng(9);
    const QImage source = randomPicture(9, 9, rng);
    QImage scaled(3, 3, QImage::Format_BGR888);
    AreaResample(source, scaled);
    const TOperationRecord record = recordOf(K::Scale, source);
    // Rounded to 1/4096, the weights 1365, 1366, 1365 move a mean by less
    // than 0.0554, and no ninth lies within 1/18 of a half: every pixel is
    // its block's exact mean, rounded.
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            int sum[3] = {0, 0, 0};
            for (int j = 3 * y; j < 3 * y + 3; ++j)
                for (int i = 3 * x; i < 3 * x + 3; ++i) {
                    const TBGRTriple p = pixel(source, i, j);
                    sum[0] += p.b;
                    sum[1] += p.g;
                    sum[2] += p.r;
                }
            const auto mean = [&](int c) { return std::uint8_t(std::nearbyint(sum[c] / 9.0)); };
            const TExplanation e = Explain(record, scaled, x, y);
            ASSERT_TRUE(e.Result);
            EXPECT_EQ(*e.Result, (TBGRTriple{mean(0), mean(1), mean(2)})) << x << "," << y << "\n"
                                                                          << ExplanationText(e).toStdString();
            EXPECT_TRUE(e.Matches()) << x << "," << y;
        }
}
