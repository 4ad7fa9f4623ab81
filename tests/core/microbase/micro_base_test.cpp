#include "core/filter/popular_filters.h"
#include "core/microbase/filter_rec.h"
#include "core/microbase/mb_file_tools.h"
#include "core/microbase/micro_base.h"
#include "recorders.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace ormica;
using test::fileBytes;
using test::RecordingSink;
using test::writeFile;

namespace {

TFilterRec namedRec(const QString& name, const TFilterKernel& kernel, std::int32_t type)
{
    TFilterRec rec;
    EXPECT_TRUE(rec.Name.setText(name));
    rec.Kernel = kernel;
    rec.Scale = *KernelSum(kernel);
    rec.Type = type;
    return rec;
}

bool put(TMicroBase& base, const TFilterRec& rec)
{
    const TFilterRecBytes bytes = FilterRecToBytes(rec);
    return base.SetData(bytes.data());
}

QByteArray handRecord(std::uint8_t status, std::int32_t number, const QByteArray& name, char fill = '\x11')
{
    return test::handRecord(status, number, name, fill);
}

std::int32_t numberAt(const QByteArray& file, int record)
{
    return qFromLittleEndian<std::int32_t>(file.constData() + 453 * record + 2);
}

}  // namespace

TEST(RecBuf, HoldsAHeaderAndAPayload)
{
    RecordingSink sink;
    TRecBuf buf(447);
    EXPECT_TRUE(buf.BufferReady());
    EXPECT_FALSE(buf.ShowErrors);
    EXPECT_EQ(buf.DataSize(), 447);
    EXPECT_EQ(buf.BufSize(), 453);
    EXPECT_EQ(buf.data(), buf.buffer() + 6);

    std::array<std::uint8_t, 447> in{}, out{};
    for (std::size_t i = 0; i < in.size(); ++i)
        in[i] = std::uint8_t(i * 7 + 3);
    EXPECT_TRUE(buf.SetData(in.data()));
    EXPECT_TRUE(buf.GetData(out.data()));
    EXPECT_EQ(in, out);
    EXPECT_FALSE(buf.SetData(nullptr));
    EXPECT_FALSE(buf.GetData(nullptr));

    buf.SetHeader(1, -2);
    EXPECT_EQ(buf.buffer()[0], 0x52);
    EXPECT_EQ(buf.buffer()[1], 1);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buf.buffer() + 2), 4), QByteArray("\xFE\xFF\xFF\xFF", 4));
    EXPECT_EQ(buf.HeaderStatus(), 1);
    EXPECT_EQ(buf.HeaderNumber(), -2);
    buf.SetHeader(0, 0x01020304);
    EXPECT_EQ(buf.HeaderStatus(), 0);
    EXPECT_EQ(buf.HeaderNumber(), 0x01020304);
    EXPECT_EQ(buf.buffer()[2], 0x04);
    // The payload is not touched by the header.
    EXPECT_TRUE(buf.GetData(out.data()));
    EXPECT_EQ(in, out);

    TRecBuf empty(0);
    EXPECT_TRUE(empty.BufferReady());
    EXPECT_FALSE(empty.SetData(in.data()));
    EXPECT_FALSE(empty.GetData(out.data()));
    EXPECT_TRUE(sink.silent());
}

TEST(RecBuf, WithoutABufferNothingWorksAndTheReasonIsKept)
{
    RecordingSink sink;
    TMicroBase none(-1);
    EXPECT_FALSE(none.BufferReady());
    EXPECT_EQ(none.ErrorText, QStringLiteral("Не могу получить память для буфера записей"));
    EXPECT_EQ(none.HeaderStatus(), 0);
    EXPECT_EQ(none.HeaderNumber(), -1);
    std::uint8_t b[8]{};
    EXPECT_FALSE(none.SetData(b));
    EXPECT_TRUE(sink.silent());  // errors are not shown after creation

    QTemporaryDir dir;
    const QString f = dir.filePath("a.fdb");
    ASSERT_TRUE(writeFile(f, {}));
    EXPECT_FALSE(none.Open(f));
    EXPECT_EQ(none.ErrorText, QStringLiteral("База недоступна (буфер записи отсутствует): \r\n") + f);
    none.ShowErrors = true;
    EXPECT_FALSE(none.Open(f));
    EXPECT_EQ(sink.errors, QStringList{none.ErrorText});
}

TEST(MicroBase, OpenRefusesWhatIsNotABaseAndCloseResets)
{
    RecordingSink sink;
    QTemporaryDir dir;
    TMicroBase base(kFilterDataSize);
    EXPECT_FALSE(base.Opened());
    EXPECT_EQ(base.FilePosition(), -1);
    EXPECT_EQ(base.CurrentIndex(), -1);
    EXPECT_TRUE(base.FileName().isEmpty());

    // No such file: false without a word, even with errors shown.
    base.ShowErrors = true;
    EXPECT_FALSE(base.Open(dir.filePath("none.fdb")));
    EXPECT_FALSE(base.Open(QString()));
    EXPECT_TRUE(sink.silent());
    EXPECT_TRUE(base.ErrorText.isEmpty());

    // A folder and a pipe cannot be bases; the pipe must not hang the open.
    EXPECT_FALSE(base.Open(dir.path()));
    ASSERT_EQ(sink.errors.size(), 1);
    // The reason in the program's words, not the system's English.
    EXPECT_EQ(sink.errors[0],
              QStringLiteral("Не могу открыть файл : \r\n") + dir.path() + QStringLiteral("\r\nЭто папка, а не файл."));
    EXPECT_NE(base.IoCode(), 0);
    const QString fifo = dir.filePath("pipe.fdb");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(base.Open(fifo));
    EXPECT_FALSE(base.Opened());
    ASSERT_EQ(sink.errors.size(), 2);
    EXPECT_TRUE(sink.errors[1].contains(fifo));

    const QString f = dir.filePath("a.fdb");
    ASSERT_TRUE(writeFile(f, handRecord(1, 0, "x")));
    ASSERT_TRUE(base.Open(f));
    EXPECT_EQ(base.IoCode(), 0);
    EXPECT_EQ(base.FilePosition(), 0);
    EXPECT_EQ(base.FileName(), f);
    EXPECT_EQ(base.RecordCount(), 1);
    // A second open needs a Close first.
    EXPECT_FALSE(base.Open(f));
    EXPECT_TRUE(base.Opened());
    ASSERT_NE(base.Read(0), nullptr);
    EXPECT_EQ(base.CurrentIndex(), 0);
    EXPECT_EQ(base.FilePosition(), 1);
    base.Close();
    EXPECT_FALSE(base.Opened());
    EXPECT_EQ(base.FilePosition(), -1);
    EXPECT_EQ(base.CurrentIndex(), -1);
    EXPECT_EQ(base.RecordCount(), 0);
    EXPECT_EQ(base.Read(0), nullptr);
    EXPECT_EQ(sink.errors.size(), 2);
}

TEST(MicroBase, AFreshAppendIsOneRecordStartingWithTheMarkerStatusAndNumberZero)
{
    RecordingSink sink;
    QTemporaryDir dir;
    const QString f = dir.filePath("fresh.fdb");
    ASSERT_TRUE(writeFile(f, {}));
    TMicroBase base(kFilterDataSize);
    ASSERT_TRUE(base.Open(f));
    EXPECT_EQ(base.RecordCount(), 0);
    EXPECT_EQ(base.Read(0), nullptr);
    const TFilterRec rec = namedRec(QStringLiteral("Сглаживание"), PopFilterL3, 1);
    ASSERT_TRUE(put(base, rec));
    EXPECT_EQ(base.Append(), 1);
    EXPECT_EQ(base.FilePosition(), 1);

    const QByteArray bytes = fileBytes(f);
    ASSERT_EQ(bytes.size(), 453);
    EXPECT_EQ(bytes.left(6), QByteArray("\x52\x01\x00\x00\x00\x00", 6));
    EXPECT_EQ(std::uint8_t(bytes[6]), 11);                                               // the name's length
    EXPECT_EQ(bytes.mid(7, 2), QByteArray("\xD1\xE3"));                                  // "Сг"
    EXPECT_EQ(qFromLittleEndian<std::int32_t>(bytes.constData() + 6 + 81 + 4 * 24), 2);  // L3's centre
    EXPECT_EQ(qFromLittleEndian<std::int32_t>(bytes.constData() + 283), 6);              // scale
    EXPECT_EQ(qFromLittleEndian<std::int32_t>(bytes.constData() + 287), 1);              // type

    // Read gives back what was written, header and all.
    const std::uint8_t* payload = base.Read(0);
    ASSERT_NE(payload, nullptr);
    EXPECT_EQ(FilterRecFromBytes(payload), rec);
    EXPECT_EQ(base.HeaderStatus(), 1);
    EXPECT_EQ(base.HeaderNumber(), 0);
    EXPECT_EQ(base.Append(), 2);
    EXPECT_EQ(numberAt(fileBytes(f), 1), 1);
    EXPECT_TRUE(sink.silent());
}

TEST(MicroBase, DeletingRewritesTheRecordInPlace)
{
    QTemporaryDir dir;
    const QString f = dir.filePath("three.fdb");
    const QByteArray original = handRecord(1, 0, "one") + handRecord(1, 1, "two", '\x22') + handRecord(1, 2, "three");
    ASSERT_TRUE(writeFile(f, original));
    TMicroBase base(kFilterDataSize);
    ASSERT_TRUE(base.Open(f));
    ASSERT_EQ(base.RecordCount(), 3);
    ASSERT_NE(base.Read(1), nullptr);
    EXPECT_EQ(FilterRecFromBytes(base.data()).Name.text(), QStringLiteral("two"));
    ASSERT_TRUE(base.Write(0, 1));
    EXPECT_EQ(base.FilePosition(), 2);

    QByteArray expected = original;
    expected[453 + 1] = 0;
    const QByteArray now = fileBytes(f);
    EXPECT_EQ(now.size(), 1359);
    EXPECT_EQ(now, expected);  // only the status changed; remnants stay
    ASSERT_NE(base.Read(1), nullptr);
    EXPECT_EQ(base.HeaderStatus(), 0);
    EXPECT_EQ(base.HeaderNumber(), 1);

    // Restoring brings status 1 back, still in place.
    ASSERT_TRUE(base.Write(1, 1));
    EXPECT_EQ(fileBytes(f), original);

    // Positions outside the file change nothing.
    EXPECT_FALSE(base.Write(1, 3));
    EXPECT_FALSE(base.Write(1, -1));
    EXPECT_EQ(base.Read(3), nullptr);
    EXPECT_EQ(base.Read(-1), nullptr);
    EXPECT_EQ(fileBytes(f), original);
}

TEST(MicroBase, WriteAndAppendRestoreTheNumberInvariant)
{
    QTemporaryDir dir;
    const QString f = dir.filePath("odd.fdb");
    // Numbers that do not match the positions, and a marker that is not 'R'.
    QByteArray bytes = handRecord(1, 5, "a") + handRecord(0, -9, "b");
    bytes[453] = 'X';
    ASSERT_TRUE(writeFile(f, bytes));
    TMicroBase base(kFilterDataSize);
    ASSERT_TRUE(base.Open(f));
    ASSERT_NE(base.Read(1), nullptr);  // the marker is not looked at
    EXPECT_EQ(base.HeaderNumber(), -9);
    ASSERT_TRUE(base.Write(0, 1));
    const QByteArray now = fileBytes(f);
    EXPECT_EQ(now[453], 'R');
    EXPECT_EQ(numberAt(now, 1), 1);
    EXPECT_EQ(numberAt(now, 0), 5);  // untouched
}

TEST(MicroBase, ATrailingPartialRecordDoesNotCount)
{
    QTemporaryDir dir;
    const QString f = dir.filePath("partial.fdb");
    ASSERT_TRUE(writeFile(f, handRecord(1, 0, "a") + handRecord(0, 1, "b") + QByteArray(94, '\x7F')));
    ASSERT_EQ(QFileInfo(f).size(), 1000);
    TMicroBase base(kFilterDataSize);
    ASSERT_TRUE(base.Open(f));
    EXPECT_EQ(base.RecordCount(), 2);
    EXPECT_NE(base.Read(1), nullptr);
    EXPECT_EQ(base.Read(2), nullptr);
    EXPECT_FALSE(base.Write(1, 2));
    EXPECT_EQ(QFileInfo(f).size(), 1000);
    // A new record goes where the third one would begin.
    ASSERT_TRUE(put(base, namedRec(QStringLiteral("c"), PopFilterH2, 2)));
    EXPECT_EQ(base.Append(), 3);
    const QByteArray now = fileBytes(f);
    EXPECT_EQ(now.size(), 1359);
    EXPECT_EQ(now.mid(906, 6), QByteArray("R\x01\x02\x00\x00\x00", 6));
}

TEST(MicroBase, AWriteOrAppendThatDoesNotCompleteIsReported)
{
    RecordingSink sink;
    QTemporaryDir dir;
    const QString f = dir.filePath("limited.fdb");
    const QByteArray original = handRecord(1, 0, "a") + handRecord(1, 1, "b");
    ASSERT_TRUE(writeFile(f, original));

    // A base held only for reading cannot take a write: reported even with errors not shown.
    TMicroBase reader(kFilterDataSize);
    ASSERT_TRUE(reader.Open(f, TOpenMode::ReadOnly));
    ASSERT_NE(reader.Read(0), nullptr);
    EXPECT_FALSE(reader.Write(0, 0));
    ASSERT_EQ(sink.errors.size(), 1);
    EXPECT_TRUE(sink.errors[0].startsWith(QStringLiteral("TMicroBase.Write : Не могу записать запись 0 в файл : \r\n") +
                                          f + "\r\n"))
        << sink.errors[0].toStdString();
    EXPECT_EQ(reader.Append(), 2);
    ASSERT_EQ(sink.errors.size(), 2);
    EXPECT_TRUE(
        sink.errors[1].startsWith(QStringLiteral("TMicroBase.Append : Не могу добавить запись в файл : \r\n") + f));
    EXPECT_EQ(fileBytes(f), original);

    // A full disk, as a file-size limit that lets only part of a record through.
    TMicroBase base(kFilterDataSize);
    ASSERT_TRUE(base.Open(f));
    ASSERT_TRUE(put(base, namedRec(QStringLiteral("c"), PopFilterL1, 1)));
    std::int32_t count = -1;
    ASSERT_TRUE(test::underFileSizeLimit(std::uint64_t(original.size() + 100), [&] { count = base.Append(); }));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(fileBytes(f), original);  // the part that got through is cut again
    ASSERT_EQ(sink.errors.size(), 3);
    EXPECT_EQ(sink.errors[2], QStringLiteral("TMicroBase.Append : Не могу добавить запись в файл : \r\n") + f +
                                  QStringLiteral("\r\nФайл превысил допустимый размер."));
    EXPECT_EQ(base.ErrorText, sink.errors[2]);
    // Without the limit the same append goes through.
    EXPECT_EQ(base.Append(), 3);
}
