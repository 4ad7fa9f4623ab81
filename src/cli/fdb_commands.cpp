// The filter database: .fdb files listed, shown, added to, records deleted
// and restored in place, and copied without the deleted records, as the
// database window does these things.
#include "cli/cli.h"

#include "core/filter/kernel_file.h"
#include "core/filter/popular_filters.h"
#include "core/microbase/mb_file_tools.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace ormica::cli {

namespace {

void printOut(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
}

// A text of a record on one output line: control characters (tabs, line
// breaks, the zero bytes of a damaged field) become blanks.
QString oneLine(QString text)
{
    for (QChar& c : text)
        if (c.unicode() < 0x20)
            c = QLatin1Char(' ');
    return text;
}

void openBase(const QString& file, TMicroBase& base, TOpenMode mode)
{
    if (!QFileInfo::exists(file))
        throw Failure{QStringLiteral("no such filter base: %1").arg(file)};
    if (!base.Open(file, mode))
        throw Failure{base.ErrorText.isEmpty() ? QStringLiteral("cannot open the filter base %1").arg(file)
                                               : base.ErrorText};
}

// A damaged or hand-edited base can store another number in a record than
// its position, by which every command addresses it. Only such a record
// gets the extra field, so the lines of a sound base stay as they were.
QString storedNumberField(std::int32_t position, std::int32_t stored)
{
    return stored == position ? QString() : QStringLiteral("\tstored number %1").arg(stored);
}

std::int32_t recordIndex(const Invocation& call, const QString& number, const TMicroBase& base)
{
    const int k = call.wholeNumber(number, QStringLiteral("the record number"));
    const std::int32_t count = base.RecordCount();
    if (k < 0 || k >= count)
        throw Failure{QStringLiteral("%1 has no record %2: it holds %3 (0 .. %4)")
                          .arg(base.FileName())
                          .arg(k)
                          .arg(count)
                          .arg(count - 1)};
    return k;
}

int list(const Invocation& call)
{
    TMicroBase base(kFilterDataSize);
    openBase(call.arg(0), base, TOpenMode::ReadOnly);
    const std::int32_t count = base.RecordCount();
    QString text;
    for (std::int32_t k = 0; k < count; ++k) {
        const std::optional<TFilterRec> rec = ReadFilterRec(base, k);
        if (!rec)
            throw Failure{QStringLiteral("cannot read record %1 of %2").arg(k).arg(call.arg(0))};
        text += QStringLiteral("%1\t%2\t%3\t%4\t%5")
                    .arg(k)
                    .arg(base.HeaderStatus())
                    .arg(rec->Type)
                    .arg(rec->Scale)
                    .arg(oneLine(rec->Name.text()));
        text += storedNumberField(k, base.HeaderNumber()) + QLatin1Char('\n');
    }
    printOut(text);
    return kSuccess;
}

// Record N of the base, with the number it stores.
TFilterRec readRecord(const Invocation& call, const QString& file, const QString& number, std::int32_t& stored,
                      std::int32_t& position)
{
    TMicroBase base(kFilterDataSize);
    openBase(file, base, TOpenMode::ReadOnly);
    position = recordIndex(call, number, base);
    const std::optional<TFilterRec> rec = ReadFilterRec(base, position);
    if (!rec)
        throw Failure{QStringLiteral("cannot read record %1 of %2").arg(position).arg(file)};
    stored = base.HeaderNumber();
    return *rec;
}

int show(const Invocation& call)
{
    std::int32_t stored = 0, position = 0;
    const TFilterRec rec = readRecord(call, call.arg(0), call.arg(1), stored, position);
    QString text =
        QStringLiteral("name\t%1\ntype\t%2\nscale\t%3\n").arg(oneLine(rec.Name.text())).arg(rec.Type).arg(rec.Scale);
    for (int r = 0; r < TFilterKernel::kSide; ++r) {
        text += QStringLiteral("row");
        for (int c = 0; c < TFilterKernel::kSide; ++c)
            text += QStringLiteral("\t%1").arg(rec.Kernel.at(r, c));
        text += QLatin1Char('\n');
    }
    text +=
        QStringLiteral("comment1\t%1\ncomment2\t%2\n").arg(oneLine(rec.Comment1.text()), oneLine(rec.Comment2.text()));
    if (stored != position)
        text += QStringLiteral("stored number\t%1\n").arg(stored);
    printOut(text);
    return kSuccess;
}

// The text of an option put into a record field, or a usage error saying why it does not fit.
void putText(const Invocation& call, const char* option, TShortString81& field)
{
    if (!call.isSet(option))
        return;
    const QString text = call.values(option).first();
    if (!field.setText(text))
        call.usageError(QStringLiteral("--%1: %2").arg(QLatin1String(option), ShortStringRefusal(text)));
}

int add(const Invocation& call)
{
    if (!call.isSet("name"))
        call.usageError(QStringLiteral("--name is required"));
    if (call.isSet("ready") == call.isSet("kernel"))
        call.usageError(QStringLiteral("give exactly one of --ready and --kernel"));
    TFilterRec rec;
    putText(call, "name", rec.Name);
    putText(call, "comment1", rec.Comment1);
    putText(call, "comment2", rec.Comment2);
    if (call.isSet("type")) {
        rec.Type = call.wholeNumber(call.values("type").first(), QStringLiteral("--type"));
        if (rec.Type < 0 || rec.Type > 3)
            call.usageError(QStringLiteral("--type is 0 .. 3 (%1)").arg(FilterTypeNames().join(QStringLiteral(", "))));
    }
    std::int32_t scale = 0;
    if (call.isSet("scale")) {
        scale = call.wholeNumber(call.values("scale").first(), QStringLiteral("--scale"));
        if (scale < 1)
            call.usageError(QStringLiteral("--scale must be at least 1"));
    }
    if (call.isSet("ready")) {
        rec.Kernel = readyKernel(call);
    } else if (!ReadKernelFile(call.values("kernel").first(), rec.Kernel)) {
        return kFailed;  // the core has said why
    }
    // A record the filter would refuse could never be used.
    if (!CheckKernel(rec.Kernel, QStringLiteral("LoadFilter")))
        return kFailed;  // the core has said why
    const std::optional<std::int32_t> sum = KernelSum(rec.Kernel);
    // As the window recomputes a scale: the weight sum, or 1 when that is not positive.
    rec.Scale = call.isSet("scale") ? scale : (*sum > 0 ? *sum : 1);

    const QString& file = call.arg(0);
    const bool created = !QFileInfo::exists(file) && !QFileInfo(file).isSymLink();
    if (created && !CreateEmptyBase(file))
        return kFailed;  // the core has said why
    TMicroBase base(kFilterDataSize);
    std::int32_t before = -1, after = -1;
    if (base.Open(file)) {
        before = base.RecordCount();
        if (PutFilterRec(base, rec))
            after = base.Append();
    }
    const QString why = base.ErrorText;
    base.Close();
    if (after != before + 1 || before < 0) {
        if (created)
            QFile::remove(file);
        if (before < 0)
            throw Failure{why.isEmpty() ? QStringLiteral("cannot open the filter base %1").arg(file) : why};
        return kFailed;  // the append has been reported
    }
    printOut(QStringLiteral("%1\n").arg(after - 1));
    return kSuccess;
}

int setStatus(const Invocation& call, std::uint8_t status)
{
    TMicroBase base(kFilterDataSize);
    openBase(call.arg(0), base, TOpenMode::ReadWrite);
    const std::int32_t k = recordIndex(call, call.arg(1), base);
    if (!base.Read(k))
        throw Failure{QStringLiteral("cannot read record %1 of %2").arg(k).arg(call.arg(0))};
    return base.Write(status, k) ? kSuccess : kFailed;  // a failed write has been reported
}

int remove(const Invocation& call)
{
    return setStatus(call, 0);
}

int restore(const Invocation& call)
{
    return setStatus(call, 1);
}

// The save dialog of the window, answered with the name given.
class NamedDialog : public TFileDialogs {
public:
    explicit NamedDialog(QString name) : name_(std::move(name)) {}
    std::optional<TFileChoice> askOpen(const QString&, const QStringList&, int) override { return std::nullopt; }
    std::optional<TFileChoice> askSave(const QString&, const QStringList&, int) override
    {
        return TFileChoice{name_, 1};
    }

private:
    QString name_;
};

int copy(const Invocation& call)
{
    const QString& file = call.arg(0);
    TMicroBase base(kFilterDataSize);
    openBase(file, base, TOpenMode::ReadOnly);
    // The base being copied is the current one, which SaveAs never writes over.
    NamedDialog dialog(call.arg(1));
    const QString written = SaveAs(&base, dialog, QFileInfo(file).absolutePath(), QString(), file);
    if (written.isEmpty())
        return kFailed;  // the core has said why
    printOut(written + QLatin1Char('\n'));
    return kSuccess;
}

const CommandArgument kFile{"FILE", "The filter base: a .fdb file of 453-byte records."};
const CommandArgument kNumber{"N", "The record's number, its position in the file from 0."};

}  // namespace

TFilterRec fdbRecord(const Invocation& call, const QString& file, const QString& number)
{
    std::int32_t stored = 0, position = 0;
    return readRecord(call, file, number, stored, position);
}

std::span<const Command> fdbCommands()
{
    static const std::vector<Command> commands{
        {"fdb list",
         nullptr,
         "Lists the records of a filter base, one line each, tab-separated: number, status (1 working, 0 deleted), "
         "type, scale, name. Control characters in texts (tabs, line breaks) are shown as blanks. A record that "
         "stores another number than its position (a damaged base) gets a sixth field, \"stored number\" and that "
         "number.",
         {kFile},
         {},
         list},
        {"fdb show",
         nullptr,
         "Shows one record: lines name, type, scale, seven row lines of 7 weights, comment1, comment2, each "
         "beginning with its key and a tab; a last line \"stored number\" when the record stores another number "
         "than its position N.",
         {kFile, kNumber},
         {},
         show},
        {"fdb add",
         "FILE --name (--kernel | --ready) [--scale] [--type] [--comment1] [--comment2]",
         "Appends a working record, making an empty base first when FILE does not exist, and prints its number. "
         "Texts are kept in Windows-1251, 80 characters at most.",
         {kFile},
         {{"name", "TEXT", "The filter's name."},
          {"kernel", "KFILE", "A text file of 49 whole numbers: 7 rows of 7, row 0 first."},
          readyOption(),
          {"scale", "S", "The scale, at least 1 (default: the weight sum, or 1 when that is not positive)."},
          {"type", "T", "The filter type: 0 undefined (default), 1 smoothing, 2 sharpening, 3 special."},
          {"comment1", "TEXT", "The first comment line."},
          {"comment2", "TEXT", "The second comment line."}},
         add},
        {"fdb delete",
         nullptr,
         "Marks record N deleted, in place; the file keeps its length. The record is written with N as its number.",
         {kFile, kNumber},
         {},
         remove},
        {"fdb restore",
         nullptr,
         "Marks record N working again, in place. The record is written with N as its number.",
         {kFile, kNumber},
         {},
         restore},
        {"fdb copy",
         nullptr,
         "Copies the working records into NEWFILE (\".fdb\" appended unless it ends so), numbered anew from 0, as "
         "the database window's save-as does; prints the name written. Never writes over FILE or over another "
         "existing file.",
         {kFile, {"NEWFILE", "The copy to make."}},
         {},
         copy},
    };
    return commands;
}

}  // namespace ormica::cli
