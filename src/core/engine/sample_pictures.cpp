#include "core/engine/sample_pictures.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

namespace ormica {

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

const TSampleInfo kSamples[] = {
    {TSample::Chart, "chart", QT_TRANSLATE_NOOP("SamplePictures", "Испытательная таблица")},
    {TSample::Gradients, "gradients", QT_TRANSLATE_NOOP("SamplePictures", "Плавные переходы")},
    {TSample::Noise, "noise", QT_TRANSLATE_NOOP("SamplePictures", "Ровное поле с шумом")},
    {TSample::Scene, "scene", QT_TRANSLATE_NOOP("SamplePictures", "Сцена с тенями и бликами")},
};

struct TCanvas {
    QImage image{kWidth, kHeight, QImage::Format_BGR888};
    void set(int x, int y, int r, int g, int b)
    {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
            return;
        uchar* p = image.scanLine(y) + 3 * x;
        p[0] = uchar(std::clamp(b, 0, 255));
        p[1] = uchar(std::clamp(g, 0, 255));
        p[2] = uchar(std::clamp(r, 0, 255));
    }
    void fill(int x0, int y0, int x1, int y1, int r, int g, int b)
    {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                set(x, y, r, g, b);
    }
};

// 5 x 7 capitals and digits, one byte a row, the left column in bit 4.
struct TGlyph {
    char c;
    std::array<uint8_t, 7> rows;
};
const TGlyph kFont[] = {
    {'0', {14, 17, 19, 21, 25, 17, 14}}, {'1', {4, 12, 4, 4, 4, 4, 14}},     {'2', {14, 17, 1, 2, 4, 8, 31}},
    {'3', {31, 2, 4, 2, 1, 17, 14}},     {'4', {2, 6, 10, 18, 31, 2, 2}},    {'5', {31, 16, 30, 1, 1, 17, 14}},
    {'6', {6, 8, 16, 30, 17, 17, 14}},   {'7', {31, 1, 2, 4, 8, 8, 8}},      {'8', {14, 17, 17, 14, 17, 17, 14}},
    {'9', {14, 17, 17, 15, 1, 2, 12}},   {'A', {14, 17, 17, 31, 17, 17, 17}}, {'B', {30, 17, 17, 30, 17, 17, 30}},
    {'C', {14, 17, 16, 16, 16, 17, 14}}, {'D', {28, 18, 17, 17, 17, 18, 28}}, {'E', {31, 16, 16, 30, 16, 16, 31}},
    {'F', {31, 16, 16, 30, 16, 16, 16}}, {'G', {14, 17, 16, 23, 17, 17, 15}}, {'H', {17, 17, 17, 31, 17, 17, 17}},
    {'I', {14, 4, 4, 4, 4, 4, 14}},      {'J', {7, 2, 2, 2, 2, 18, 12}},      {'K', {17, 18, 20, 24, 20, 18, 17}},
    {'L', {16, 16, 16, 16, 16, 16, 31}}, {'M', {17, 27, 21, 21, 17, 17, 17}}, {'N', {17, 17, 25, 21, 19, 17, 17}},
    {'O', {14, 17, 17, 17, 17, 17, 14}}, {'P', {30, 17, 17, 30, 16, 16, 16}}, {'Q', {14, 17, 17, 17, 21, 18, 13}},
    {'R', {30, 17, 17, 30, 20, 18, 17}}, {'S', {15, 16, 16, 14, 1, 1, 30}},   {'T', {31, 4, 4, 4, 4, 4, 4}},
    {'U', {17, 17, 17, 17, 17, 17, 14}}, {'V', {17, 17, 17, 17, 17, 10, 4}},  {'W', {17, 17, 17, 21, 21, 21, 10}},
    {'X', {17, 17, 10, 4, 10, 17, 17}},  {'Y', {17, 17, 17, 10, 4, 4, 4}},    {'Z', {31, 1, 2, 4, 8, 16, 31}},
    {'-', {0, 0, 0, 31, 0, 0, 0}},       {'.', {0, 0, 0, 0, 0, 12, 12}},      {'%', {24, 25, 2, 4, 8, 19, 3}},
};

void text(TCanvas& c, int x, int y, const char* s, int size, int grey)
{
    for (; *s; ++s, x += 6 * size) {
        const auto glyph = std::find_if(std::begin(kFont), std::end(kFont), [&](const TGlyph& g) { return g.c == *s; });
        if (glyph == std::end(kFont))
            continue;
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col)
                if (glyph->rows[size_t(row)] & (16 >> col))
                    c.fill(x + col * size, y + row * size, x + (col + 1) * size, y + (row + 1) * size, grey, grey, grey);
    }
}

// Integer square root: the largest r with r * r <= v.
int64_t isqrt(int64_t v)
{
    int64_t r = 0;
    for (int64_t bit = int64_t(1) << 40; bit > 0; bit >>= 2) {
        if (v >= r + bit) {
            v -= r + bit;
            r = (r >> 1) + bit;
        } else {
            r >>= 1;
        }
    }
    return r;
}

// Hue 0 .. 1535 to a fully saturated colour.
std::array<int, 3> hue(int h)
{
    const int part = h / 256, f = h % 256;
    switch (part) {
    case 0: return {255, f, 0};
    case 1: return {255 - f, 255, 0};
    case 2: return {0, 255, f};
    case 3: return {0, 255 - f, 255};
    case 4: return {f, 0, 255};
    default: return {255, 0, 255 - f};
    }
}

// Sharp edges, fine lines, a star of wedges, text and colour bars.
QImage chart()
{
    TCanvas c;
    c.fill(0, 0, kWidth, kHeight, 255, 255, 255);
    for (int y = 0; y < 160; ++y)  // a chequerboard of 20-pixel squares
        for (int x = 0; x < 160; ++x)
            if (((x / 20) + (y / 20)) % 2 == 0)
                c.set(x + 10, y + 10, 0, 0, 0);
    for (int k = 0; k < 4; ++k) {  // line gratings, periods 2, 3, 4 and 6
        const int period = std::array{2, 3, 4, 6}[size_t(k)];
        for (int y = 10; y < 170; ++y)
            for (int x = 0; x < 48; ++x)
                if (x % period < period / 2)
                    c.set(190 + k * 56 + x, y, 0, 0, 0);
    }
    for (int y = 10; y < 170; ++y)  // the same gratings, horizontal
        for (int x = 420; x < 630; ++x) {
            const int k = (x - 420) / 53, period = std::array{2, 3, 4, 6}[size_t(std::min(k, 3))];
            if ((y - 10) % period < period / 2)
                c.set(x, y, 0, 0, 0);
        }
    const int cx = 90, cy = 285, radius = 85;  // 24 wedges meeting at the centre
    for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x) {
            const int dx = x - cx, dy = y - cy;
            if (dx * dx + dy * dy > radius * radius)
                continue;
            // Which of 24 sectors: compare with tangents of multiples of 15 degrees, scaled by 1000.
            static const int tan15[] = {0, 268, 577, 1000, 1732, 3732};
            const int ax = std::abs(dx), ay = std::abs(dy);
            int s = 0;
            while (s < 6 && int64_t(ay) * 1000 >= int64_t(tan15[s]) * ax)
                ++s;
            const int quadrant = (dx >= 0 ? (dy >= 0 ? 0 : 1) : (dy >= 0 ? 3 : 2));
            if ((s + quadrant) % 2 == 0)
                c.set(x, y, 0, 0, 0);
        }
    for (int k = 0; k < 6; ++k)  // diagonal lines, one pixel wide
        for (int t = 0; t < 150; ++t)
            c.set(200 + k * 12 + t / (k + 1), 200 + t, 0, 0, 0);
    text(c, 300, 200, "ORMICA 0123456789", 2, 0);
    text(c, 300, 225, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 1, 0);
    text(c, 300, 240, "EDGE - LINE - TEXT", 3, 0);
    for (int k = 0; k < 8; ++k) {  // colour bars over a grey step wedge
        static const int bars[8][3] = {{255, 255, 255}, {255, 255, 0}, {0, 255, 255}, {0, 255, 0},
                                       {255, 0, 255},   {255, 0, 0},   {0, 0, 255},   {0, 0, 0}};
        c.fill(300 + k * 40, 290, 340 + k * 40, 380, bars[k][0], bars[k][1], bars[k][2]);
        const int grey = 255 - k * 255 / 7;
        c.fill(300 + k * 40, 380, 340 + k * 40, 420, grey, grey, grey);
    }
    for (int x = 0; x < kWidth; ++x)  // a frame of one black pixel
        c.set(x, 0, 0, 0, 0), c.set(x, kHeight - 1, 0, 0, 0);
    for (int y = 0; y < kHeight; ++y)
        c.set(0, y, 0, 0, 0), c.set(kWidth - 1, y, 0, 0, 0);
    return c.image;
}

// A grey ramp, ramps of each channel, a hue sweep and a two-way blend.
QImage gradients()
{
    TCanvas c;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int v = x * 255 / (kWidth - 1);
            if (y < 80) {
                c.set(x, y, v, v, v);
            } else if (y < 120) {
                c.set(x, y, v, 0, 0);
            } else if (y < 160) {
                c.set(x, y, 0, v, 0);
            } else if (y < 200) {
                c.set(x, y, 0, 0, v);
            } else if (y < 280) {
                const auto [r, g, b] = hue(x * 1535 / (kWidth - 1));
                c.set(x, y, r, g, b);
            } else {
                const int w = (y - 280) * 255 / (kHeight - 281);
                c.set(x, y, v, w, 255 - v);
            }
        }
    return c.image;
}

// Mid grey with noise of about 12 levels' deviation: the sum of twelve
// uniform numbers, from a generator of our own.
QImage noise()
{
    TCanvas c;
    uint32_t state = 2463534242u;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return int(state & 0xFFFF);
    };
    auto deviation = [&next] {
        int sum = 0;
        for (int i = 0; i < 12; ++i)
            sum += next();
        return (sum - 6 * 65536) * 12 / 65536;
    };
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int base = x < kWidth / 2 ? 128 : 96;  // two flat fields side by side
            c.set(x, y, base + deviation(), base + 16 + deviation(), base - 16 + deviation());
        }
    return c.image;
}

// Sky, floor, a lit ball with its highlight, a box and the shadows they cast.
QImage scene()
{
    TCanvas c;
    const int horizon = 300;
    const int bx = 250, by = 230, br = 110;  // the ball
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (y < horizon) {
                c.set(x, y, 90 + y * 100 / horizon, 140 + y * 80 / horizon, 230 - y * 20 / horizon);
                continue;
            }
            const int d = y - horizon;
            int r = 120 + d / 2, g = 100 + d / 3, b = 70 + d / 4;
            // The ball's shadow lies to its lower right; the box's to its left.
            const int sx = x - (bx + 60), sy = (y - 380) * 3;
            const bool ballShadow = sx * sx + sy * sy < 120 * 120;
            const bool boxShadow = x >= 430 && x < 560 && y >= 330 && y < 400 && x - 430 < (400 - y) * 2;
            if (ballShadow || boxShadow)
                r = r * 2 / 5, g = g * 2 / 5, b = b * 2 / 5;
            c.set(x, y, r, g, b);
        }
    for (int y = 250; y < 360; ++y)  // the box: a lit front and a dark side
        for (int x = 470; x < 600; ++x) {
            if (x < 560)
                c.set(x, y, 200, 60, 50);
            else if (y - 250 >= (x - 560))
                c.set(x, y, 90, 25, 20);
        }
    for (int y = by - br; y <= by + br; ++y)
        for (int x = bx - br; x <= bx + br; ++x) {
            const int dx = x - bx, dy = y - by;
            const int r2 = dx * dx + dy * dy;
            if (r2 > br * br)
                continue;
            // Surface normal times 1024; light from the upper left.
            const int64_t nz = isqrt(int64_t(br * br - r2) * 1024 * 1024) / br;
            const int64_t nx = int64_t(dx) * 1024 / br, ny = int64_t(dy) * 1024 / br;
            const int64_t lambert = std::max<int64_t>(0, (-nx * 5 - ny * 6 + nz * 6) / 10);  // |L| about 1
            int shade = int(30 + lambert * 200 / 1024);
            // A small highlight where the normal points at the light.
            const int64_t hx = dx + 40, hy = dy + 45;
            const int glint = hx * hx + hy * hy < 15 * 15 ? 255 : (hx * hx + hy * hy < 28 * 28 ? 120 : 0);
            c.set(x, y, shade + glint, shade / 2 + glint, shade / 4 + glint);
        }
    return c.image;
}

}  // namespace

std::span<const TSampleInfo> Samples()
{
    return kSamples;
}

std::optional<TSample> SampleByKey(const QString& key)
{
    for (const TSampleInfo& s : kSamples)
        if (key == QLatin1String(s.key))
            return s.id;
    return std::nullopt;
}

QString SampleName(TSample sample)
{
    for (const TSampleInfo& s : kSamples)
        if (s.id == sample)
            return QCoreApplication::translate("SamplePictures", s.name);
    return {};
}

QImage MakeSample(TSample sample)
{
    switch (sample) {
    case TSample::Chart: return chart();
    case TSample::Gradients: return gradients();
    case TSample::Noise: return noise();
    case TSample::Scene: return scene();
    }
    return {};
}

}  // namespace ormica
