#include "core/transfer/point_list.h"

#include "recorders.h"

#include <gtest/gtest.h>
#include <random>

namespace ormica {
namespace {

using test::RecordingSink;

std::vector<int> xsOf(const TQueue2L& q)
{
    std::vector<int> xs;
    for (const TQueueElem* e : q.Elements())
        xs.push_back(e->Box.Left);
    return xs;
}

std::vector<std::uint32_t> numbersOf(const TQueue2L& q)
{
    std::vector<std::uint32_t> ns;
    for (const TQueueElem* e : q.Elements())
        ns.push_back(e->Number);
    return ns;
}

std::vector<TRect> boxesOf(const TQueue2L& q)
{
    std::vector<TRect> boxes;
    for (const TQueueElem* e : q.Elements())
        boxes.push_back(e->Box);
    return boxes;
}

bool orderedByX(const TQueue2L& q)
{
    const auto xs = xsOf(q);
    return std::is_sorted(xs.begin(), xs.end());
}

TEST(Queue2L, LinksByModeNumbersAndTracksCurrent)
{
    TQueue2L q;
    TQueueElem* first = q.AddLE('N', nullptr, {});  // an empty list takes it whatever the mode
    EXPECT_EQ(first, q.Head());
    EXPECT_EQ(q.Count(), 1u);
    q.FreeQueue();
    TQueueElem* a = q.AddLE('t', nullptr, {10, 0, 10, 0});
    TQueueElem* b = q.AddLE('H', nullptr, {5, 0, 5, 0});
    TQueueElem* c = q.AddLE('n', b, {7, 0, 7, 0});
    TQueueElem* d = q.AddLE('P', b, {1, 0, 1, 0});
    EXPECT_EQ(q.AddLE('X', a, {}), nullptr);
    EXPECT_EQ(xsOf(q), (std::vector<int>{1, 5, 7, 10}));
    EXPECT_EQ(numbersOf(q), (std::vector<std::uint32_t>{4, 2, 3, 1}));
    EXPECT_EQ(q.Count(), 4u);
    EXPECT_EQ(q.LastNum(), 4);
    EXPECT_EQ(q.Curr(), d);
    EXPECT_EQ(q.PrevLE(c), b);
    EXPECT_EQ(q.NextLE(c), a);
    EXPECT_EQ(q.PrevLE(d), nullptr);
    EXPECT_EQ(q.NextLE(a), nullptr);

    // Deleting the current middle element clears it; deleting an end moves it to the new end.
    q.AddLE('N', b, {6, 0, 6, 0});
    EXPECT_TRUE(q.DelLE('C', q.Curr()));
    EXPECT_EQ(q.Curr(), nullptr);
    EXPECT_TRUE(q.DelLE('h', nullptr));
    EXPECT_EQ(q.Curr(), b);
    EXPECT_TRUE(q.DelLE('T', nullptr));
    EXPECT_EQ(q.Curr(), c);
    EXPECT_EQ(xsOf(q), (std::vector<int>{5, 7}));

    q.FreeQueue();
    EXPECT_EQ(q.Count(), 0u);
    EXPECT_EQ(q.Head(), nullptr);
    EXPECT_FALSE(q.DelLE('C', b));  // no longer a member
    EXPECT_EQ(q.GetLERect(b), TRect{});
    q.AddLE('T', nullptr, {});
    EXPECT_EQ(q.Head()->Number, 1u);  // numbering restarts
}

TEST(Queue2L, SearchesUseInclusiveBoxesAndStrictRightOf)
{
    TQueue2L q;
    TQueueElem* a = q.AddLE('T', nullptr, {10, 10, 16, 16});
    TQueueElem* b = q.AddLE('T', nullptr, {20, 10, 26, 16});
    EXPECT_EQ(q.FindLEAtPoint(10, 10), a);
    EXPECT_EQ(q.FindLEAtPoint(16, 16), a);
    EXPECT_EQ(q.FindLEAtPoint(17, 16), nullptr);
    EXPECT_EQ(q.FindLEAtPoint(26, 9), nullptr);
    EXPECT_EQ(q.FindLERightOf(9), a);
    EXPECT_EQ(q.FindLERightOf(10), b);
    EXPECT_EQ(q.FindLERightOf(20), nullptr);
    EXPECT_EQ(q.GetLEX(b), 20);
    EXPECT_EQ(q.GetLEY(b), 10);
    EXPECT_EQ(q.GetLEX(nullptr), 0);
}

TEST(Queue2L, BusyElementIsNotDeleted)
{
    RecordingSink sink;
    TQueue2L q;
    TQueueElem* a = q.AddLE('T', nullptr, {});
    a->Busy = true;
    EXPECT_FALSE(q.DelLE('C', a));
    EXPECT_EQ(q.Count(), 1u);
    ASSERT_EQ(sink.warnings.size(), 1);
    EXPECT_EQ(sink.warnings[0], QStringLiteral("TQueue2L.DelLE : Элемент занят.Удаление элемента отменено."));
}

TEST(PointEditorModel, ConversionsRoundHalvesToEvenAndGuardEmptySize)
{
    const TPointEditorModel e(512, 512);
    EXPECT_EQ(e.BrightToX(0), 0);
    EXPECT_EQ(e.BrightToX(255), 512);
    EXPECT_EQ(e.BrightToY(0), 512);
    EXPECT_EQ(e.BrightToY(255), 0);
    EXPECT_EQ(e.XToBright(512), 255);
    EXPECT_EQ(e.YToBright(0), 255);
    EXPECT_EQ(e.YToBright(512), 0);
    for (int b = 0; b <= 255; ++b) {
        EXPECT_EQ(e.XToBright(e.BrightToX(b)), b);
        EXPECT_EQ(e.YToBright(e.BrightToY(b)), b);
    }

    const TPointEditorModel small(4, 4);
    EXPECT_EQ(small.XToBright(2), 128);  // 127.5 -> 128
    EXPECT_EQ(small.BrightToX(51), 1);   // 0.8
    const TPointEditorModel w510(510, 510);
    EXPECT_EQ(w510.XToBright(1), 0);    // 0.5 -> 0
    EXPECT_EQ(w510.XToBright(3), 2);    // 1.5 -> 2
    EXPECT_EQ(w510.YToBright(5), 253);  // 255 - round(2.5)

    const TPointEditorModel empty(0, -3);
    EXPECT_EQ(empty.XToBright(100), 0);
    EXPECT_EQ(empty.YToBright(100), 0);
}

TEST(PointEditorModel, NewEditorHoldsTheTwoCorners)
{
    TPointEditorModel e;
    EXPECT_EQ(e.GetPoints(), (TBrightPointArray{{0, 0}, {255, 255}}));
    EXPECT_EQ(e.Head()->Box, (TRect{0, 512, 0, 512}));
    EXPECT_EQ(e.Tail()->Box, (TRect{512, 0, 512, 0}));

    e.Reset(true);
    EXPECT_EQ(e.GetPoints(), (TBrightPointArray{{0, 255}, {255, 0}}));
    EXPECT_EQ(numbersOf(e), (std::vector<std::uint32_t>{1, 2}));
}

TEST(PointEditorModel, DoubleClickAddsAfterPointsOfTheSameX)
{
    TPointEditorModel e;
    std::vector<TEditAction> changes;
    e.OnChange = [&](TPointEditorModel&, TEditAction a) { changes.push_back(a); };

    ASSERT_TRUE(e.MouseDown(TEditClick::LeftDouble, 100, 300));
    e.MouseUp(100, 300);
    ASSERT_TRUE(e.MouseDown(TEditClick::LeftDouble, 100, 200));
    e.MouseUp(100, 200);
    ASSERT_TRUE(e.MouseDown(TEditClick::LeftDouble, 50, 400));
    e.MouseUp(50, 400);
    EXPECT_EQ(changes, (std::vector<TEditAction>{TEditAction::Added, TEditAction::Added, TEditAction::Added}));
    EXPECT_EQ(xsOf(e), (std::vector<int>{0, 50, 100, 100, 512}));
    EXPECT_EQ(numbersOf(e), (std::vector<std::uint32_t>{1, 5, 3, 4, 2}));
    EXPECT_EQ(e.Elements()[2]->Box, (TRect{100, 300, 106, 306}));
    const auto pts = e.GetPoints();
    ASSERT_EQ(pts.size(), 5u);
    EXPECT_EQ(pts[2].X, pts[3].X);
    EXPECT_EQ(pts[2].Y, e.YToBright(300));
    EXPECT_EQ(pts[3].Y, e.YToBright(200));

    // At or right of the tail's X there is nothing to insert before.
    EXPECT_FALSE(e.MouseDown(TEditClick::LeftDouble, 512, 10));
    EXPECT_EQ(e.LastAction(), TEditAction::None);
    EXPECT_EQ(e.Count(), 5u);
}

TEST(PointEditorModel, RightDoubleClickDeletesOnlyWhatItHits)
{
    TPointEditorModel e;
    int calls = 0;
    e.OnChange = [&](TPointEditorModel&, TEditAction) { ++calls; };
    e.MouseDown(TEditClick::LeftDouble, 100, 100);
    e.MouseUp(100, 100);
    calls = 0;

    EXPECT_FALSE(e.MouseDown(TEditClick::RightDouble, 300, 300));
    e.MouseUp(300, 300);
    EXPECT_EQ(e.LastAction(), TEditAction::None);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(e.Count(), 3u);

    EXPECT_TRUE(e.MouseDown(TEditClick::RightDouble, 106, 106));  // hit box corner
    e.MouseUp(106, 106);
    EXPECT_EQ(e.LastAction(), TEditAction::Deleted);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(e.GetPoints(), (TBrightPointArray{{0, 0}, {255, 255}}));

    // The descending head sits at pixel (0, 0) and can be deleted.
    e.Reset(true);
    EXPECT_TRUE(e.MouseDown(TEditClick::RightDouble, 0, 0));
    EXPECT_EQ(e.Count(), 1u);
}

TEST(PointEditorModel, DragStaysBetweenNeighboursAndInsideVertically)
{
    TPointEditorModel e;
    e.SetPoints({{0, 0}, {50, 100}, {100, 150}, {150, 200}, {255, 255}});
    const int x0 = e.BrightToX(50), x1 = e.BrightToX(100), x2 = e.BrightToX(150);
    const int y1 = e.BrightToY(150);

    // End points cannot be dragged.
    EXPECT_FALSE(e.MouseDown(TEditClick::Left, 0, 512));
    EXPECT_FALSE(e.Dragging());
    EXPECT_FALSE(e.MouseDown(TEditClick::Left, 512, 0));
    EXPECT_FALSE(e.MouseMove(300, 300));

    ASSERT_TRUE(e.MouseDown(TEditClick::Left, x1 + 3, y1 + 3));
    EXPECT_TRUE(e.Dragging());
    EXPECT_EQ(e.PrevPos(), (TPoint{x0, e.BrightToY(100)}));
    EXPECT_EQ(e.NextPos(), (TPoint{x2, e.BrightToY(200)}));
    EXPECT_FALSE(e.MouseMove(x0, 100));  // onto the left neighbour's X
    EXPECT_FALSE(e.MouseMove(x2, 100));  // onto the right neighbour's X
    EXPECT_FALSE(e.MouseMove(x1, -1));
    EXPECT_FALSE(e.MouseMove(x1, 512));
    EXPECT_TRUE(e.MouseMove(x2 - 1, 511));
    EXPECT_FALSE(e.MouseMove(x2 + 40, 10));  // ignored: keeps the last accepted place
    EXPECT_EQ(e.DragPos(), (TPoint{x2 - 1, 511}));
    int calls = 0;
    e.OnChange = [&](TPointEditorModel&, TEditAction a) {
        ++calls;
        EXPECT_EQ(a, TEditAction::Moved);
    };
    e.MouseUp(x2 - 2, 300);
    EXPECT_FALSE(e.Dragging());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(e.Elements()[2]->Box, (TRect{x2 - 1, 511, x2 + 5, 517}));
    EXPECT_TRUE(orderedByX(e));
}

TEST(PointEditorModel, FarReleaseKeepsTheListOrdered)
{
    TPointEditorModel e;
    e.SetPoints({{0, 0}, {100, 100}, {150, 150}, {255, 255}});
    const int left = e.BrightToX(100), right = e.BrightToX(150);
    ASSERT_TRUE(e.MouseDown(TEditClick::Left, left, e.BrightToY(100)));
    ASSERT_TRUE(e.MouseMove(left + 10, 250));
    e.MouseUp(5000, 250);  // far right of the field
    EXPECT_EQ(e.GetLEX(e.Elements()[1]), left + 10);
    EXPECT_LT(e.GetLEX(e.Elements()[1]), right);
    EXPECT_TRUE(orderedByX(e));

    // Far left and far below: the point stays where the drag left it.
    ASSERT_TRUE(e.MouseDown(TEditClick::Left, right, e.BrightToY(150)));
    e.MouseUp(-5000, 9000);
    EXPECT_EQ(e.Elements()[2]->Box.Left, right);
    EXPECT_TRUE(orderedByX(e));

    // Two points on the last column: pulling the second in from the border
    // must not take it left of the first.
    TPointEditorModel f;
    f.MouseDown(TEditClick::LeftDouble, 511, 100);
    f.MouseDown(TEditClick::LeftDouble, 511, 300);
    ASSERT_EQ(xsOf(f), (std::vector<int>{0, 511, 511, 512}));
    ASSERT_TRUE(f.MouseDown(TEditClick::Left, 511, 300));
    ASSERT_EQ(f.DragElem(), f.Elements()[2]);
    f.MouseUp(5000, 300);
    EXPECT_EQ(xsOf(f), (std::vector<int>{0, 511, 511, 512}));

    // A lone point near the right border is pulled in to W - 2.
    TPointEditorModel g;
    g.MouseDown(TEditClick::LeftDouble, 511, 100);
    ASSERT_TRUE(g.MouseDown(TEditClick::Left, 511, 100));
    g.MouseUp(5000, 5000);
    EXPECT_EQ(g.Elements()[1]->Box.Left, 510);
    EXPECT_EQ(g.Elements()[1]->Box.Top, 100);
    EXPECT_TRUE(orderedByX(g));
}

TEST(PointEditorModel, SetPointsRoundTripAndDirection)
{
    TPointEditorModel e;
    const TBrightPointArray f{{0, 0}, {1, 254}, {64, 10}, {64, 200}, {128, 128}, {254, 1}, {255, 255}};
    e.SetPoints(f);
    EXPECT_EQ(e.GetPoints(), f);

    // The first pair chooses the direction; the ends are always corners.
    e.SetPoints({{0, 128}, {128, 64}, {7, 7}});
    EXPECT_EQ(e.GetPoints(), (TBrightPointArray{{0, 255}, {128, 64}, {255, 0}}));

    // One pair: nothing changes.
    e.SetPoints({{10, 10}});
    EXPECT_EQ(e.GetPoints(), (TBrightPointArray{{0, 255}, {128, 64}, {255, 0}}));

    // Out-of-order input is sorted by the insertion rule; equal X keep their order.
    e.SetPoints({{0, 0}, {200, 1}, {50, 2}, {50, 3}, {255, 255}});
    EXPECT_EQ(e.GetPoints(), (TBrightPointArray{{0, 0}, {50, 2}, {50, 3}, {200, 1}, {255, 255}}));

    // A narrow editor loses precision on the way through pixels.
    TPointEditorModel narrow(100, 100);
    narrow.SetPoints({{0, 0}, {3, 3}, {255, 255}});
    EXPECT_EQ(narrow.GetPoints(), (TBrightPointArray{{0, 0}, {3, 3}, {255, 255}}));
    narrow.SetPoints({{0, 0}, {1, 1}, {255, 255}});
    EXPECT_EQ(narrow.GetPoints(), (TBrightPointArray{{0, 0}, {0, 0}, {255, 255}}));
}

TEST(PointEditorModel, SetPointsSkipsOutOfRangePairsWithAWarning)
{
    RecordingSink sink;
    TPointEditorModel e;
    e.SetPoints({{0, 0}, {300, 10}, {20, 30}, {40, -1}, {255, 255}, {255, 255}});
    EXPECT_EQ(sink.warnings,
              (QStringList{QStringLiteral("Пропуск точки X : 300"), QStringLiteral("Пропуск точки X : 40")}));
    // 255 maps to X = W, which finds nothing to its right: dropped silently.
    EXPECT_EQ(e.GetPoints(), (TBrightPointArray{{0, 0}, {20, 30}, {255, 255}}));
    EXPECT_TRUE(sink.errors.empty());
}

// SetPoints as the rule reads, on a plain array: corners numbered 1 and 2, then
// each inner pair in range goes before the first element whose X is larger.
struct RefList {
    std::vector<TRect> boxes;
    std::vector<std::uint32_t> numbers;
    std::uint32_t curr = 2;
    QStringList warnings;
};

RefList referenceSetPoints(const TPointEditorModel& conv, const TBrightPointArray& a)
{
    const int w = conv.Width(), h = conv.Height();
    const bool descending = a[0].X != 0 || a[0].Y != 0;
    const int headY = descending ? 0 : h, tailY = descending ? h : 0;
    RefList r;
    r.boxes = {{0, headY, 0, headY}, {w, tailY, w, tailY}};
    r.numbers = {1, 2};
    for (std::size_t i = 1; i + 1 < a.size(); ++i) {
        if (a[i].X < 0 || a[i].X > 255 || a[i].Y < 0 || a[i].Y > 255) {
            r.warnings << QStringLiteral("Пропуск точки X : ") + QString::number(a[i].X);
            continue;
        }
        const int px = conv.BrightToX(a[i].X), py = conv.BrightToY(a[i].Y);
        std::size_t at = 0;
        while (at < r.boxes.size() && r.boxes[at].Left <= px)
            ++at;
        if (at == r.boxes.size())
            continue;
        r.boxes.insert(r.boxes.begin() + std::ptrdiff_t(at), TRect{px, py, px + 6, py + 6});
        r.numbers.insert(r.numbers.begin() + std::ptrdiff_t(at), ++r.curr);
    }
    return r;
}

TEST(PointEditorModel, SetPointsFollowsTheInsertionRuleWithoutWalkingPerPoint)
{
    struct Case {
        const char* name;
        int size;
        TBrightPointArray points;
    };
    std::mt19937 rng(7);
    const auto randomPoints = [&](std::size_t n, int lo, int hi) {
        std::uniform_int_distribution<int> v(lo, hi);
        TBrightPointArray a(n);
        for (TBrightPoint& p : a)
            p = {v(rng), v(rng)};
        return a;
    };
    const auto clustered = [&](std::size_t n) {
        // Few distinct X, so that many points share one.
        std::uniform_int_distribution<int> pick(0, 5), y(0, 255);
        const int xs[] = {0, 1, 128, 128, 254, 255};
        TBrightPointArray a(n);
        for (TBrightPoint& p : a)
            p = {xs[pick(rng)], y(rng)};
        return a;
    };
    // The shapes of a large function file: "128 TAB 0" .. "128 TAB 255" over
    // and over, and an ever rising X.
    constexpr std::size_t kLarge = 10000;
    TBrightPointArray sameX(kLarge), risingX(kLarge);
    for (std::size_t i = 0; i < kLarge; ++i) {
        sameX[i] = {128, int(i % 256)};
        risingX[i] = {int(i * 256 / kLarge), int(i % 256)};
    }
    std::vector<Case> cases{
        {"out of range and unordered", 512, randomPoints(300, -20, 280)},
        {"descending", 512,
         [&] {
             auto a = randomPoints(200, 0, 255);
             a[0] = {0, 9};
             return a;
         }()},
        {"clustered", 512, clustered(400)},
        {"narrow", 100, clustered(300)},
        {"tiny", 4, randomPoints(200, 0, 255)},
        {"empty field", 0, randomPoints(50, 0, 255)},
        {"negative width", -7, randomPoints(200, -5, 255)},
        {"two pairs", 512, randomPoints(2, 0, 255)},
        {"large, one X", 512, sameX},
        {"large, rising X", 512, risingX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSink sink;
        TPointEditorModel e(c.size, c.size);
        const RefList ref = referenceSetPoints(e, c.points);
        const std::uint64_t before = e.SearchSteps();
        e.SetPoints(c.points);
        EXPECT_EQ(boxesOf(e), ref.boxes);
        EXPECT_EQ(numbersOf(e), ref.numbers);
        EXPECT_EQ(e.LastNum(), std::int32_t(ref.boxes.size()));
        ASSERT_NE(e.Curr(), nullptr);
        EXPECT_EQ(e.Curr()->Number, ref.curr);
        EXPECT_EQ(sink.warnings, ref.warnings);

        e.InvertY();
        std::vector<TRect> mirrored = ref.boxes;
        for (TRect& r : mirrored) {
            r.Top = c.size - r.Top;
            r.Bottom = r.Top + 6;
        }
        EXPECT_EQ(boxesOf(e), mirrored);
        // A negative width puts the tail left of the head; only such a list is searched.
        if (c.size >= 0) {
            EXPECT_LE(e.SearchSteps() - before, c.points.size());
        }
    }
}

TEST(PointEditorModel, InvertYMirrorsEveryPoint)
{
    TPointEditorModel e;
    e.SetPoints({{0, 0}, {30, 40}, {200, 255}, {255, 255}});
    const auto before = boxesOf(e);
    e.InvertY();
    EXPECT_EQ(e.GetPoints(), (TBrightPointArray{{0, 255}, {30, 215}, {200, 0}, {255, 0}}));
    EXPECT_EQ(e.Head()->Box, (TRect{0, 0, 0, 6}));
    e.InvertY();
    const auto after = boxesOf(e);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 1; i + 1 < after.size(); ++i)
        EXPECT_EQ(after[i], before[i]);
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].Left, before[i].Left);
        EXPECT_EQ(after[i].Top, before[i].Top);
    }
}

}  // namespace
}  // namespace ormica
