#include "core/app/undo_history.h"

#include "core/engine/gray.h"
#include "core/engine/img_service.h"
#include "recorders.h"

#include <gtest/gtest.h>

using namespace ormica;

namespace {

struct Images : ::testing::Test {
    TImageControl src, trg;
    TImgTabBGR srcArr, trgArr;
    TUndoHistory history{{&src, &srcArr}, {&trg, &trgArr}};

    // A command that loads a new picture into an image, as the load command does.
    void load(TImageControl& image, TImgTabBGR& arr, const QImage& picture, const char* name)
    {
        image.setPicture(picture);
        TImageDesc& d = image.ensureImageDesc();
        d.FileName = QLatin1String(name);
        d.SourceKind = skBmpFile;
        d.PixelFormat = pf8bit;
        ImageToImgTab(image, arr, nullptr);
    }
    void expectState(const TImageControl& image, const TImgTabBGR& arr, const QImage& picture, const char* name)
    {
        EXPECT_EQ(image.picture(), picture);
        ASSERT_NE(image.imageDesc(), nullptr);
        EXPECT_EQ(image.imageDesc()->FileName, QLatin1String(name));
        EXPECT_TRUE(test::arrayHoldsPicture(arr, image.picture()));
    }
};

}  // namespace

TEST_F(Images, AChainOnBothImagesUndoesAndRedoesInOrder)
{
    const QImage a = test::patternImage(30, 20, 1), b = test::patternImage(7, 45, 2), c = test::patternImage(12, 12, 3);
    load(src, srcArr, a, "a.bmp");
    trg.ensureImageDesc().FileName = QStringLiteral("NoName");  // as the window starts

    history.Begin(1, 0);  // a command on the source tab writes the target and shows it
    load(trg, trgArr, b, "b.bmp");
    EXPECT_EQ(history.Commit(1), TUndoHistory::TOutcome::Recorded);

    history.Begin(0, 1);  // a load of a different size into the source, which is then shown
    load(src, srcArr, c, "c.bmp");
    src.ensureImageDesc().PixelFormat = pf24bit;
    EXPECT_EQ(history.Commit(0), TUndoHistory::TOutcome::Recorded);

    history.Begin(1, 1);  // grey in place on the target tab
    BitMapToGrayBitMap(trg.picture(), trg.canvas());
    trg.pictureChanged();
    ImageToImgTab(trg, trgArr, nullptr);
    const QImage greyB = trg.picture();
    EXPECT_EQ(history.Commit(1), TUndoHistory::TOutcome::Recorded);
    EXPECT_EQ(history.UndoCount(), 3);

    auto m = history.Undo(nullptr);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->which, 1);
    EXPECT_EQ(m->tab, 1);
    expectState(trg, trgArr, b, "b.bmp");

    m = history.Undo(nullptr);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->which, 0);
    EXPECT_EQ(m->tab, 1);
    expectState(src, srcArr, a, "a.bmp");
    EXPECT_EQ(src.width(), 30);
    EXPECT_EQ(src.imageDesc()->PixelFormat, pf8bit);

    m = history.Undo(nullptr);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->tab, 0);
    EXPECT_TRUE(trg.picture().isNull());
    EXPECT_EQ(trg.imageDesc()->FileName, QStringLiteral("NoName"));
    EXPECT_TRUE(trgArr.empty());
    EXPECT_FALSE(history.Undo(nullptr));
    EXPECT_EQ(history.RedoCount(), 3);

    // Redo goes forward with the page that was shown after each command.
    m = history.Redo(nullptr);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->tab, 1);
    expectState(trg, trgArr, b, "b.bmp");
    m = history.Redo(nullptr);
    expectState(src, srcArr, c, "c.bmp");
    EXPECT_EQ(src.imageDesc()->PixelFormat, pf24bit);
    EXPECT_EQ(m->tab, 0);
    m = history.Redo(nullptr);
    EXPECT_EQ(m->tab, 1);
    expectState(trg, trgArr, greyB, "b.bmp");
    EXPECT_FALSE(history.CanRedo());

    // A new command after an undo forgets what could be redone.
    history.Undo(nullptr);
    history.Begin(0, 0);
    load(src, srcArr, a, "again.bmp");
    history.Commit(0);
    EXPECT_FALSE(history.CanRedo());
}

TEST_F(Images, CommandsThatChangeNothingLeaveNoStep)
{
    load(src, srcArr, test::patternImage(10, 10), "a.bmp");
    history.Begin(0, 0);  // a cancelled dialog
    EXPECT_EQ(history.Commit(0), TUndoHistory::TOutcome::Unchanged);
    history.Begin(0, 0);  // only the description changes: a save under a new name
    src.ensureImageDesc().FileName = QStringLiteral("b.bmp");
    EXPECT_EQ(history.Commit(0), TUndoHistory::TOutcome::Recorded);
    history.Begin(0, 0);  // the array emptied, the picture kept
    srcArr.clear();
    EXPECT_EQ(history.Commit(0), TUndoHistory::TOutcome::Recorded);
    history.Undo(nullptr);
    EXPECT_TRUE(test::arrayHoldsPicture(srcArr, src.picture()));
    // A tool window's word decides for it.
    history.Begin(1, 0);
    EXPECT_EQ(history.Commit(0, false), TUndoHistory::TOutcome::Unchanged);
    history.Begin(1, 0);
    EXPECT_EQ(history.Commit(0, true), TUndoHistory::TOutcome::Recorded);
    EXPECT_FALSE(history.Pending());
}

TEST_F(Images, AnArrayThatIsNotThePictureIsKeptAsItWas)
{
    load(src, srcArr, test::patternImage(6, 4), "a.bmp");
    TImgTabBGR odd = srcArr;
    odd.row(1)[4] = std::uint8_t(odd.row(1)[4] + 1);  // as a text import might leave it
    srcArr = odd;
    history.Begin(0, 0);
    EXPECT_EQ(history.Commit(0), TUndoHistory::TOutcome::Unchanged);
    history.Begin(0, 0);
    load(src, srcArr, test::patternImage(3, 3), "b.bmp");
    history.Commit(0);
    history.Undo(nullptr);
    EXPECT_TRUE(test::sameArrays(srcArr, odd));
}

TEST_F(Images, TheCapDropsTheOldestStepsFirst)
{
    history.MaxSteps = 20;
    const QImage first = test::patternImage(8, 8, 100);
    load(src, srcArr, first, "0");
    for (int i = 1; i <= 25; ++i) {
        history.Begin(0, 0);
        load(src, srcArr, test::patternImage(8, 8, unsigned(100 + i)), "n");
        history.Commit(0);
    }
    EXPECT_EQ(history.UndoCount(), 20);
    int undone = 0;
    while (history.Undo(nullptr))
        ++undone;
    EXPECT_EQ(undone, 20);
    EXPECT_EQ(src.picture(), test::patternImage(8, 8, 105));  // the state before command 6

    // By bytes: a 100 x 100 picture takes 30,000 bytes (rows of 300).
    history.Clear();
    history.MaxBytes = 100000;
    for (int i = 0; i < 5; ++i) {
        history.Begin(1, 1);
        load(trg, trgArr, test::patternImage(100, 100, unsigned(i)), "t");
        history.Commit(0);
    }
    // The first step kept an empty picture; three 30,000-byte steps fit beside it.
    EXPECT_LE(history.Bytes(), history.MaxBytes);
    EXPECT_EQ(history.UndoCount(), 3);
    // The redo list keeps its newest entries within the cap, too.
    while (history.Undo(nullptr)) {
    }
    EXPECT_LE(history.Bytes(), history.MaxBytes);
    EXPECT_EQ(history.RedoCount(), 3);
    EXPECT_EQ(trg.picture(), test::patternImage(100, 100, 1));

    // A picture beyond the cap cannot be kept: the command stands, no step.
    history.Clear();
    history.MaxBytes = 20000;
    history.Begin(1, 1);
    load(trg, trgArr, test::patternImage(10, 10), "small");
    EXPECT_EQ(history.Commit(0), TUndoHistory::TOutcome::TooLarge);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(trg.imageDesc()->FileName, QStringLiteral("small"));
    history.Begin(1, 1);
    load(trg, trgArr, test::patternImage(20, 20), "mid");
    EXPECT_EQ(history.Commit(0), TUndoHistory::TOutcome::Recorded);
    history.MaxBytes = 400;
    EXPECT_FALSE(history.Undo(nullptr));  // the present 20 x 20 cannot be kept for the redo
    EXPECT_TRUE(history.LastMoveTooLarge());
    EXPECT_EQ(trg.imageDesc()->FileName, QStringLiteral("mid"));
}
