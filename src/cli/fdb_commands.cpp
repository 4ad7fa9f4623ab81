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
        throw Failure{QCoreApplication::translate("CliFdb", "нет такой базы фильтров: %1").arg(file)};
    if (!base.Open(file, mode))
        throw Failure{base.ErrorText.isEmpty()
                          ? QCoreApplication::translate("CliFdb", "не удаётся открыть базу фильтров %1").arg(file)
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
    const int k = call.wholeNumber(number, QCoreApplication::translate("CliFdb", "номер записи"));
    const std::int32_t count = base.RecordCount();
    if (k < 0 || k >= count)
        throw Failure{QCoreApplication::translate("CliFdb", "в %1 нет записи %2: записей в ней %3 (0 .. %4)")
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
            throw Failure{
                QCoreApplication::translate("CliFdb", "не удаётся прочитать запись %1 из %2").arg(k).arg(call.arg(0))};
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
        throw Failure{
            QCoreApplication::translate("CliFdb", "не удаётся прочитать запись %1 из %2").arg(position).arg(file)};
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
        call.usageError(QCoreApplication::translate("CliFdb", "нужен параметр --name"));
    if (call.isSet("ready") == call.isSet("kernel"))
        call.usageError(QCoreApplication::translate("CliFdb", "укажите ровно один из параметров --ready и --kernel"));
    TFilterRec rec;
    putText(call, "name", rec.Name);
    putText(call, "comment1", rec.Comment1);
    putText(call, "comment2", rec.Comment2);
    if (call.isSet("type")) {
        rec.Type = call.wholeNumber(call.values("type").first(), QStringLiteral("--type"));
        if (rec.Type < 0 || rec.Type > 3)
            call.usageError(QCoreApplication::translate("CliFdb", "--type принимает 0 .. 3 (%1)")
                                .arg(FilterTypeNames().join(QStringLiteral(", "))));
    }
    std::int32_t scale = 0;
    if (call.isSet("scale")) {
        scale = call.wholeNumber(call.values("scale").first(), QStringLiteral("--scale"));
        if (scale < 1)
            call.usageError(QCoreApplication::translate("CliFdb", "--scale должен быть не меньше 1"));
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
            throw Failure{why.isEmpty()
                              ? QCoreApplication::translate("CliFdb", "не удаётся открыть базу фильтров %1").arg(file)
                              : why};
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
        throw Failure{
            QCoreApplication::translate("CliFdb", "не удаётся прочитать запись %1 из %2").arg(k).arg(call.arg(0))};
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

const CommandArgument kFile{"FILE", QT_TRANSLATE_NOOP("CliHelp", "База фильтров: файл .fdb из записей по 453 байта.")};
const CommandArgument kNumber{"N", QT_TRANSLATE_NOOP("CliHelp", "Номер записи — её позиция в файле от 0.")};

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
         QT_TRANSLATE_NOOP("CliHelp",
                           "Выводит записи базы фильтров, по строке на запись, через табуляцию: номер, состояние "
                           "(1 рабочая, 0 удалённая), тип, масштаб, имя. Управляющие символы в текстах (табуляции, "
                           "переводы строк) выводятся пробелами. Запись, которая хранит не тот номер, что её позиция "
                           "(повреждённая база), получает шестое поле: \"stored number\" и этот номер."),
         {kFile},
         {},
         list},
        {"fdb show",
         nullptr,
         QT_TRANSLATE_NOOP("CliHelp",
                           "Показывает одну запись: строки name, type, scale, семь строк row по 7 весов, comment1, "
                           "comment2, каждая начинается своим ключом и табуляцией; последняя строка \"stored "
                           "number\" — если запись хранит не тот номер, что её позиция N."),
         {kFile, kNumber},
         {},
         show},
        {"fdb add",
         "FILE --name (--kernel | --ready) [--scale] [--type] [--comment1] [--comment2]",
         QT_TRANSLATE_NOOP("CliHelp", "Добавляет рабочую запись (если FILE нет, сначала создаётся пустая база) и "
                                      "выводит её номер. Тексты хранятся в Windows-1251, не длиннее 80 символов."),
         {kFile},
         {{"name", "TEXT", QT_TRANSLATE_NOOP("CliHelp", "Имя фильтра.")},
          {"kernel", "KFILE",
           QT_TRANSLATE_NOOP("CliHelp", "Текстовый файл из 49 целых чисел: 7 строк по 7, первой идёт строка 0.")},
          readyOption(),
          {"scale", "S",
           QT_TRANSLATE_NOOP("CliHelp", "Масштаб, не меньше 1 (по умолчанию — сумма весов или 1, если она не "
                                        "положительна).")},
          {"type", "T",
           QT_TRANSLATE_NOOP("CliHelp", "Тип фильтра: 0 не определён (по умолчанию), 1 сглаживание, 2 повышение "
                                        "резкости, 3 специальный.")},
          {"comment1", "TEXT", QT_TRANSLATE_NOOP("CliHelp", "Первая строка комментария.")},
          {"comment2", "TEXT", QT_TRANSLATE_NOOP("CliHelp", "Вторая строка комментария.")}},
         add},
        {"fdb delete",
         nullptr,
         QT_TRANSLATE_NOOP("CliHelp", "Помечает запись N удалённой, на месте; длина файла не меняется. В запись "
                                      "заносится номер N."),
         {kFile, kNumber},
         {},
         remove},
        {"fdb restore",
         nullptr,
         QT_TRANSLATE_NOOP("CliHelp", "Снова помечает запись N рабочей, на месте. В запись заносится номер N."),
         {kFile, kNumber},
         {},
         restore},
        {"fdb copy",
         nullptr,
         QT_TRANSLATE_NOOP("CliHelp",
                           "Копирует рабочие записи в NEWFILE (с добавлением \".fdb\", если имя так не кончается), "
                           "нумеруя их заново с 0, как \"Сохранить как\" окна базы фильтров; выводит имя "
                           "записанного файла. Никогда не пишет поверх FILE или другого существующего файла."),
         {kFile, {"NEWFILE", QT_TRANSLATE_NOOP("CliHelp", "Создаваемая копия.")}},
         {},
         copy},
    };
    return commands;
}

}  // namespace ormica::cli
