// The .fdb reader: any bytes open as a base of size / 453 records; every
// record reads back as it is on disk, decodes to texts of at most 80
// characters that encode to their bytes again, and writes back byte for byte;
// the save-as copy holds exactly the working records, numbered from 0.
#include "core/engine/cp1251.h"
#include "core/engine/image_error.h"  // fuzz_input.h needs it first
#include "core/microbase/filter_rec.h"
#include "core/microbase/mb_file_tools.h"
#include "fuzz_input.h"

#include <QFile>
#include <QtEndian>
#include <cstring>

namespace {

void checkText(const ormica::TShortString81& s)
{
    const QString text = s.text();
    if (text.size() > ormica::TShortString81::kCapacity || text.size() != s.usedLength())
        __builtin_trap();
    const std::optional<QByteArray> bytes = ormica::ToCp1251(text);
    if (!bytes || *bytes != QByteArray(s.Chars.data(), s.usedLength()))
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ormica;
    static fuzz::QuietSink sink;
    setMessageSink(&sink);
    const QString file = fuzz::writeInput(data, size, ".fdb");
    if (file.isEmpty())
        return 0;
    TMicroBase base(kFilterDataSize);
    if (!base.Open(file, TOpenMode::ReadOnly) || base.RecordCount() != std::int32_t(size / kFilterRecordSize))
        __builtin_trap();
    const std::int32_t count = base.RecordCount();
    QByteArray working;
    for (std::int32_t k = 0; k < count; ++k) {
        const std::uint8_t* record = data + std::size_t(k) * kFilterRecordSize;
        const std::optional<TFilterRec> rec = ReadFilterRec(base, k);
        if (!rec || std::memcmp(base.buffer(), record, kFilterRecordSize) != 0 || base.CurrentIndex() != k)
            __builtin_trap();
        const TFilterRecBytes back = FilterRecToBytes(*rec);
        if (std::memcmp(back.data(), record + TRecBuf::kHeaderSize, back.size()) != 0)
            __builtin_trap();
        checkText(rec->Name);
        checkText(rec->Comment1);
        checkText(rec->Comment2);
        if (base.HeaderStatus() == 1)
            working += QByteArray(reinterpret_cast<const char*>(record), kFilterRecordSize);
    }
    if (base.Read(count) || base.Read(-1))
        __builtin_trap();

    static const QString copy = file + QStringLiteral(".copy.fdb");
    if (!CopyWorkingRecords(base, copy))
        __builtin_trap();
    QFile copied(copy);
    if (!copied.open(QIODevice::ReadOnly))
        __builtin_trap();
    const QByteArray bytes = copied.readAll();
    copied.close();
    QFile::remove(copy);
    if (bytes.size() != working.size())
        __builtin_trap();
    for (qsizetype at = 0, n = 0; at < bytes.size(); at += kFilterRecordSize, ++n) {
        QByteArray expected = working.mid(at, kFilterRecordSize);
        expected[0] = 'R';
        qToLittleEndian<std::int32_t>(std::int32_t(n), expected.data() + 2);
        if (bytes.mid(at, kFilterRecordSize) != expected)
            __builtin_trap();
    }
    return 0;
}
