#include "core/filter/popular_filters.h"
#include "core/microbase/filter_rec.h"
#include "core/microbase/mb_file_tools.h"
#include "recorders.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace ormica;
using test::fileBytes;
using test::RecordingSink;
using test::ScriptedDialogs;
using test::writeFile;

namespace {

using test::handRecord;

void choose(ScriptedDialogs& d, const QString& name)
{
    d.choices.push_back(TFileChoice{name, 1});
}

}  // namespace

TEST(ForceFdbExt, AppendsTheExtensionUnlessItIsFdbInAnyCase)
{
    EXPECT_EQ(ForceFdbExt("/b/base.FDB"), "/b/base.FDB");
    EXPECT_EQ(ForceFdbExt("/b/base.fdb"), "/b/base.fdb");
    EXPECT_EQ(ForceFdbExt("/b/base.FdB"), "/b/base.FdB");
    EXPECT_EQ(ForceFdbExt("/b/base.fdb.bak"), "/b/base.fdb.bak.fdb");
    EXPECT_EQ(ForceFdbExt("/b/base.txt"), "/b/base.txt.fdb");
    EXPECT_EQ(ForceFdbExt("/b/base"), "/b/base.fdb");
    EXPECT_EQ(ForceFdbExt("/b/base."), "/b/base..fdb");
    EXPECT_EQ(ForceFdbExt("/b/x.fdb/base"), "/b/x.fdb/base.fdb");  // a dot in a folder is no extension
    EXPECT_EQ(ForceFdbExt("/b/.fdb"), "/b/.fdb");
    EXPECT_EQ(ForceFdbExt("/b/base.fdbx"), "/b/base.fdbx.fdb");
}

TEST(FdbFiles, FolderAndEmptyBaseAreMadeOrRefusedWithTheirMessages)
{
    RecordingSink sink;
    QTemporaryDir dir;
    const QString plain = dir.filePath("plain");
    ASSERT_TRUE(writeFile(plain, "x"));

    EXPECT_TRUE(EnsureFiltersDir(dir.path()));
    EXPECT_TRUE(EnsureFiltersDir(dir.filePath("a/Filters")));
    EXPECT_TRUE(QFileInfo(dir.filePath("a/Filters")).isDir());
    EXPECT_TRUE(sink.silent());
    EXPECT_FALSE(EnsureFiltersDir(plain + "/Filters"));
    EXPECT_FALSE(EnsureFiltersDir(plain));  // a file where the folder should be
    ASSERT_EQ(sink.errors.size(), 2);
    EXPECT_EQ(sink.errors[0],
              QStringLiteral("MicroBase : НЕ могу СОЗДАТЬ ДИРЕКТОРИЮ для файлов *.fdb : \r\n") + plain + "/Filters");

    const QString base = dir.filePath("new.fdb");
    EXPECT_TRUE(CreateEmptyBase(base));
    EXPECT_TRUE(QFileInfo(base).isFile());
    EXPECT_EQ(QFileInfo(base).size(), 0);
    // An existing file is left alone, without a word.
    EXPECT_FALSE(CreateEmptyBase(plain));
    EXPECT_EQ(fileBytes(plain), "x");
    EXPECT_EQ(sink.errors.size(), 2);
    EXPECT_FALSE(CreateEmptyBase(dir.filePath("no/such/x.fdb")));
    ASSERT_EQ(sink.errors.size(), 3);
    EXPECT_EQ(sink.errors[2],
              QStringLiteral("MicroBase : НЕ могу СОЗДАТЬ ФАЙЛ новой базы : \r\n") + dir.filePath("no/such/x.fdb"));
    EXPECT_TRUE(sink.warnings.isEmpty());
}

TEST(FdbFiles, TheDefaultBaseIsMadeBesideTheProgramOrInTheUsersFolder)
{
    // The names start empty, as at program start.
    QString defaultBase, currentBase;
    RecordingSink sink;
    QTemporaryDir dir;
    const QString program = dir.filePath("bin");
    const QString appData = dir.filePath("data");
    ASSERT_TRUE(QDir().mkpath(program));

    // A fresh installation: the folder and an empty base beside the program.
    EXPECT_TRUE(PrepareDefaultBase(program, defaultBase, currentBase, appData));
    const QString base = program + "/Filters/FilterBase.fdb";
    EXPECT_EQ(defaultBase, base);
    EXPECT_EQ(currentBase, base);
    EXPECT_EQ(QFileInfo(base).size(), 0);
    EXPECT_FALSE(QFileInfo::exists(appData));
    EXPECT_EQ(FiltersDirIn(program, appData), program + "/Filters");

    // An existing base is kept as it is.
    ASSERT_TRUE(writeFile(base, handRecord(1, 0, "keep", 0)));
    currentBase = "/elsewhere.fdb";
    EXPECT_TRUE(PrepareDefaultBase(program, defaultBase, currentBase, appData));
    EXPECT_EQ(fileBytes(base).size(), 453);
    EXPECT_EQ(currentBase, base);

    // A program folder where nothing can be made (under a regular file, even for root).
    const QString plain = dir.filePath("plain");
    ASSERT_TRUE(writeFile(plain, "x"));
    EXPECT_TRUE(PrepareDefaultBase(plain + "/bin", defaultBase, currentBase, appData));
    EXPECT_EQ(defaultBase, appData + "/Filters/FilterBase.fdb");
    EXPECT_TRUE(QFileInfo(defaultBase).isFile());
    EXPECT_TRUE(sink.silent());

    // Neither: no default base, and the folder is named.
    EXPECT_FALSE(PrepareDefaultBase(plain + "/bin", defaultBase, currentBase, plain + "/data"));
    EXPECT_TRUE(defaultBase.isEmpty());
    EXPECT_TRUE(currentBase.isEmpty());
    ASSERT_EQ(sink.errors.size(), 1);
    EXPECT_EQ(sink.errors[0], QStringLiteral("MicroBase : НЕ могу СОЗДАТЬ ДИРЕКТОРИЮ для файлов *.fdb : \r\n") + plain +
                                  "/data/Filters");

    // A folder whose base name is taken by a folder: no default base.
    const QString odd = dir.filePath("odd");
    ASSERT_TRUE(QDir().mkpath(odd + "/Filters/FilterBase.fdb/x"));
    EXPECT_TRUE(
        PrepareDefaultBase(odd, defaultBase, currentBase, appData));  // it exists, so it is named; opening it will fail
    TMicroBase engine(kFilterDataSize);
    EXPECT_FALSE(engine.Open(defaultBase));
}

class SaveAsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(program + "/Filters"));
        ASSERT_TRUE(writeFile(current, records));
        ASSERT_TRUE(engine.Open(current));
    }

    RecordingSink sink;
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    const QString program = dir.filePath("bin");
    const QString appData = dir.filePath("data");
    const QString current = program + "/Filters/current.fdb";
    // Working, deleted, working; distinct fill bytes stand for distinct remnants.
    const QByteArray records = handRecord(1, 0, "zero", '\x10') + handRecord(0, 1, "one", '\x20') +
                               handRecord(1, 2, "\xC4\xE2\xE0", '\x30') + QByteArray(17, '\x44');
    TMicroBase engine{kFilterDataSize};
};

TEST_F(SaveAsTest, CopiesTheWorkingRecordsNumberedAnew)
{
    choose(dialogs, dir.filePath("copy"));
    const QString name = SaveAs(&engine, dialogs, program, appData, current);
    EXPECT_EQ(name, dir.filePath("copy.fdb"));
    EXPECT_EQ(dialogs.askedDirs, QStringList{program + "/Filters"});
    const QByteArray copy = fileBytes(name);
    ASSERT_EQ(copy.size(), 906);
    EXPECT_EQ(copy.left(453), records.left(453));
    QByteArray second = records.mid(906, 453);
    second[2] = 1;  // number 2 becomes 1
    EXPECT_EQ(copy.mid(453), second);
    EXPECT_TRUE(sink.silent());
    // The open base is as it was and still open.
    EXPECT_TRUE(engine.Opened());
    EXPECT_EQ(fileBytes(current), records);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).contains("copy.fdb"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);

    // Nothing happens on a closed base or a cancelled dialog.
    EXPECT_TRUE(SaveAs(&engine, dialogs, program, appData, current).isEmpty());  // no choice queued: cancelled
    engine.Close();
    choose(dialogs, dir.filePath("never"));
    EXPECT_TRUE(SaveAs(&engine, dialogs, program, appData, current).isEmpty());
    EXPECT_TRUE(SaveAs(nullptr, dialogs, program, appData, current).isEmpty());
    EXPECT_EQ(dialogs.askedDirs.size(), 2);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("never.fdb")));
}

TEST_F(SaveAsTest, AsksBeforeReplacingAnotherBase)
{
    const QString other = dir.filePath("other.FDB");
    ASSERT_TRUE(writeFile(other, "old"));
    choose(dialogs, other);
    sink.answers = {false};
    EXPECT_TRUE(SaveAs(&engine, dialogs, program, appData, current).isEmpty());
    ASSERT_EQ(sink.questions.size(), 1);
    EXPECT_EQ(sink.questions[0], QStringLiteral("База с именем : other.FDB\r\n уже существует! ПЕРЕЗАПИСАТЬ?"));
    EXPECT_EQ(sink.questionKinds[0], TQuestionKind::Confirmation);
    EXPECT_EQ(fileBytes(other), "old");

    choose(dialogs, other);
    sink.answers = {true};
    EXPECT_EQ(SaveAs(&engine, dialogs, program, appData, current), other);
    EXPECT_EQ(fileBytes(other).size(), 906);
    EXPECT_TRUE(sink.errors.isEmpty());
}

TEST_F(SaveAsTest, RefusesTheCurrentBaseUnderAnySpelling)
{
    const QString refusal =
        QStringLiteral("Сохранение в текущую базу данных ЗАПРЕЩЕНО\r\nВыберите другое имя для сохраняемой базы");
    for (const QString& name : {current, program + "/Filters/./current", program + "/../bin/Filters/current.fdb"}) {
        choose(dialogs, name);
        EXPECT_TRUE(SaveAs(&engine, dialogs, program, appData, current).isEmpty()) << name.toStdString();
    }
    EXPECT_EQ(sink.errors, QStringList(3, refusal));
    EXPECT_TRUE(sink.questions.isEmpty());
    EXPECT_EQ(fileBytes(current), records);
    EXPECT_TRUE(engine.Opened());
}

TEST_F(SaveAsTest, AFailedCopyIsReportedAndKeepsTheFileItWouldReplace)
{
    // A folder that does not exist.
    const QString lost = dir.filePath("no/such/copy.fdb");
    choose(dialogs, lost);
    EXPECT_TRUE(SaveAs(&engine, dialogs, program, appData, current).isEmpty());
    ASSERT_EQ(sink.errors.size(), 1);
    // The reasons in the program's words, not the system's English.
    EXPECT_EQ(sink.errors[0], QStringLiteral("SaveAs : Не могу сохранить базу в файл : \r\n") + lost +
                                  QStringLiteral("\r\nФайл или папка не найдены."));

    // A full disk half-way through: the old file stays whole, no temporary is left.
    const QString old = dir.filePath("old.fdb");
    const QByteArray oldBytes = handRecord(1, 0, "old", '\x55');
    ASSERT_TRUE(writeFile(old, oldBytes));
    choose(dialogs, old);
    sink.answers = {true};
    QString written = "?";
    ASSERT_TRUE(test::underFileSizeLimit(600, [&] { written = SaveAs(&engine, dialogs, program, appData, current); }));
    EXPECT_TRUE(written.isEmpty());
    ASSERT_EQ(sink.errors.size(), 2);
    EXPECT_EQ(sink.errors[1], QStringLiteral("SaveAs : Не могу сохранить базу в файл : \r\n") + old +
                                  QStringLiteral("\r\nФайл превысил допустимый размер."));
    EXPECT_EQ(fileBytes(old), oldBytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.fdb"});
    EXPECT_TRUE(engine.Opened());
    EXPECT_EQ(fileBytes(current), records);

    // A pipe is not a file to replace, even when the user says yes.
    const QString pipe = dir.filePath("pipe.fdb");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    choose(dialogs, pipe);
    sink.answers = {true};
    EXPECT_TRUE(SaveAs(&engine, dialogs, program, appData, current).isEmpty());
    ASSERT_EQ(sink.errors.size(), 3);
    EXPECT_TRUE(sink.errors[2].contains(pipe));
    struct stat st {};
    ASSERT_EQ(lstat(QFile::encodeName(pipe).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(SaveAsTest, NewBaseDialogMakesAnEmptyBaseAndRefusesTheCurrentOne)
{
    choose(dialogs, dir.filePath("fresh"));
    EXPECT_EQ(NewBaseDialog(dialogs, program, appData, current), dir.filePath("fresh.fdb"));
    EXPECT_EQ(QFileInfo(dir.filePath("fresh.fdb")).size(), 0);
    EXPECT_EQ(dialogs.askedDirs, QStringList{program + "/Filters"});
    EXPECT_TRUE(sink.silent());

    const QString other = dir.filePath("other.fdb");
    ASSERT_TRUE(writeFile(other, records));
    choose(dialogs, other);
    EXPECT_TRUE(NewBaseDialog(dialogs, program, appData, current).isEmpty());  // No
    ASSERT_EQ(sink.questions.size(), 1);
    EXPECT_EQ(sink.questions[0], QStringLiteral("База с именем : other.fdb\r\n уже существует! ПЕРЕСОЗДАТЬ?"));
    EXPECT_EQ(fileBytes(other), records);
    choose(dialogs, other);
    sink.answers = {true};
    EXPECT_EQ(NewBaseDialog(dialogs, program, appData, current), other);
    EXPECT_EQ(QFileInfo(other).size(), 0);

    // The current base, even written another way, is never re-created.
    for (const QString& name : {current, program + "/Filters/./current"}) {
        choose(dialogs, name);
        EXPECT_TRUE(NewBaseDialog(dialogs, program, appData, current).isEmpty());
    }
    EXPECT_EQ(sink.errors, QStringList(2, QStringLiteral("Пересоздание текущей базы ЗАПРЕЩЕНО\r\n"
                                                         "Выберите другое имя для новой базы")));
    EXPECT_EQ(sink.questions.size(), 2);
    EXPECT_EQ(fileBytes(current), records);

    // A name taken by a folder cannot be re-created: said, not left to a silent failure.
    ASSERT_TRUE(QDir().mkpath(dir.filePath("taken.fdb")));
    choose(dialogs, dir.filePath("taken.fdb"));
    sink.answers = {true};
    EXPECT_TRUE(NewBaseDialog(dialogs, program, appData, current).isEmpty());
    ASSERT_EQ(sink.errors.size(), 3);
    EXPECT_TRUE(sink.errors[2].startsWith(QStringLiteral("NewBaseDialog : Не могу удалить файл : \r\n") +
                                          dir.filePath("taken.fdb")));
    EXPECT_TRUE(QFileInfo(dir.filePath("taken.fdb")).isDir());

    // Cancelled.
    EXPECT_TRUE(NewBaseDialog(dialogs, program, appData, current).isEmpty());
}
