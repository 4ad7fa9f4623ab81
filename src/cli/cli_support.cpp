#include "cli/cli.h"

#include "core/engine/file_errors.h"
#include "core/engine/img_service.h"
#include "core/filter/popular_filters.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace ormica::cli {

void printMessage(const QString& text)
{
    QString flat = text;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" "));
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
    flat.replace(QLatin1Char('\r'), QLatin1Char(' '));
    std::fprintf(stderr, "ormica-cli: %s\n", flat.trimmed().toUtf8().constData());
}

namespace {

[[noreturn]] void commandUsageError(const Command& command, const QString& text)
{
    throw UsageError{
        QCoreApplication::translate("Cli", "%1: %2 (см. ormica-cli help %1)").arg(QLatin1String(command.name), text)};
}

int valueCount(const CommandOption& option)
{
    return int(QString::fromLatin1(option.valueNames).split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
}

const CommandOption* findOption(const Command& command, const QString& name)
{
    for (const CommandOption& option : command.options)
        if (name == QLatin1String(option.name))
            return &option;
    return nullptr;
}

// "-30", "-.5", "-inf": a value, never an option.
bool isNegativeNumber(const QString& token)
{
    if (token.size() < 2 || token.at(0) != QLatin1Char('-'))
        return false;
    const QChar second = token.at(1);
    const QString rest = token.mid(1).toLower();
    return second.isDigit() || second == QLatin1Char('.') || rest.startsWith(QLatin1String("inf")) ||
           rest.startsWith(QLatin1String("nan"));
}

void setUpParser(const Command& command, QCommandLineParser& parser)
{
    parser.setApplicationDescription(QCoreApplication::translate("CliHelp", command.summary));
    parser.addOption(
        QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                           QCoreApplication::translate("CliHelp", "Показывает эту справку и завершает работу.")));
    for (const CommandOption& option : command.options)
        parser.addOption(
            QCommandLineOption(QLatin1String(option.name), describe(option), QLatin1String(option.valueNames)));
    for (const CommandArgument& argument : command.arguments)
        parser.addPositionalArgument(QLatin1String(argument.name), describe(argument));
}

// Reads the whole text as a number of type T with std::from_chars (decimal
// point, no locale); false for anything else.
template <class T> bool readNumber(const QString& text, T& value)
{
    QByteArray bytes = text.trimmed().toLatin1();
    if (bytes.startsWith('+') && bytes.size() > 1 && bytes.at(1) != '-')
        bytes.remove(0, 1);
    if (bytes.isEmpty())
        return false;
    const char* end = bytes.constData() + bytes.size();
    const auto result = std::from_chars(bytes.constData(), end, value);
    if (result.ec != std::errc() || result.ptr != end)
        return false;
    if constexpr (std::is_floating_point_v<T>)
        return std::isfinite(value);
    return true;
}

}  // namespace

bool parseCommandLine(const Command& command, const QStringList& args, QCommandLineParser& parser)
{
    setUpParser(command, parser);
    // The parser takes one value per option and reads "-30" as options; so
    // every option value is written as --name=value, and positional values
    // follow "--".
    QStringList options, positional;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& token = args.at(i);
        if (token == QLatin1String("--")) {
            positional += args.mid(i + 1);
            break;
        }
        if (token == QLatin1String("-h") || token == QLatin1String("--help"))
            return false;
        if (token.startsWith(QLatin1String("--"))) {
            const qsizetype equals = token.indexOf(QLatin1Char('='));
            const CommandOption* option = findOption(command, token.mid(2, equals < 0 ? -1 : equals - 2));
            const int count = option ? valueCount(*option) : 0;
            if (count == 0 || equals >= 0) {
                options << token;  // a flag, --name=value, or unknown to the parser
                continue;
            }
            if (i + count >= args.size())
                commandUsageError(command, QCoreApplication::translate("Cli", "--%1 требует %2")
                                               .arg(QLatin1String(option->name), QLatin1String(option->valueNames)));
            for (int k = 1; k <= count; ++k)
                options << QStringLiteral("--%1=%2").arg(QLatin1String(option->name), args.at(i + k));
            i += count;
            continue;
        }
        if (token.startsWith(QLatin1Char('-')) && token.size() > 1 && !isNegativeNumber(token))
            options << token;
        else
            positional << token;
    }
    if (!parser.parse(QStringList{QStringLiteral("ormica-cli")} + options + QStringList{QStringLiteral("--")} +
                      positional))
        commandUsageError(command, parser.errorText());
    for (const CommandOption& option : command.options) {
        const int count = valueCount(option);
        const QString name = QLatin1String(option.name);
        if (count > 0 && parser.isSet(name) && parser.values(name).size() != count)
            commandUsageError(command, QCoreApplication::translate("Cli", "--%1 требует %2, один раз")
                                           .arg(name, QLatin1String(option.valueNames)));
    }
    if (parser.positionalArguments().size() != qsizetype(command.arguments.size()))
        commandUsageError(command,
                          QCoreApplication::translate("Cli", "неверное число аргументов; вызов: ormica-cli %1 %2")
                              .arg(QLatin1String(command.name), synopsis(command)));
    return true;
}

QString commandHelp(const Command& command)
{
    QCommandLineParser parser;
    setUpParser(command, parser);
    // The parser's own usage line cannot show options with several values.
    QString text = parser.helpText();
    text.remove(0, text.indexOf(QLatin1Char('\n')));
    return QCoreApplication::translate("Cli", "вызов: ormica-cli %1 %2")
               .arg(QLatin1String(command.name), synopsis(command)) +
           text;
}

QString synopsis(const Command& command)
{
    QString layout = QLatin1String(command.layout);
    if (!command.layout) {
        QStringList words;
        for (const CommandArgument& argument : command.arguments)
            words << QLatin1String(argument.name);
        for (const CommandOption& option : command.options)
            words << QStringLiteral("[--%1]").arg(QLatin1String(option.name));
        layout = words.join(QLatin1Char(' '));
    }
    static const QRegularExpression named(QStringLiteral("--([a-z0-9-]+)"));
    QString text;
    qsizetype at = 0;
    for (auto it = named.globalMatch(layout); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        text += layout.mid(at, m.capturedEnd() - at);
        at = m.capturedEnd();
        for (const CommandOption& option : command.options)
            if (m.captured(1) == QLatin1String(option.name) && *option.valueNames)
                text += QLatin1Char(' ') + QLatin1String(option.valueNames);
    }
    return text + layout.mid(at);
}

QString describe(const CommandOption& option)
{
    return option.describe ? option.describe() : QCoreApplication::translate("CliHelp", option.description);
}

QString describe(const CommandArgument& argument)
{
    return argument.describe ? argument.describe() : QCoreApplication::translate("CliHelp", argument.description);
}

QString orList(const QStringList& items)
{
    if (items.size() < 2)
        return items.join(QString());
    return QCoreApplication::translate("Cli", "%1 или %2")
        .arg(items.mid(0, items.size() - 1).join(QStringLiteral(", ")), items.last());
}

CommandOption qualityOption()
{
    return {"quality", "N",
            QT_TRANSLATE_NOOP("CliHelp", "Качество JPEG или WebP 1..100 для OUT с расширением .jpg, .jpeg или .webp "
                                         "(по умолчанию 100; WebP при 100 — без потерь).")};
}

namespace {

// The word for a ready-made kernel's width, by the table's own key for it.
QString widthWord(const TReadyFilter& f)
{
    const QLatin1String key(f.english);
    if (key == QLatin1String("wide"))
        return QCoreApplication::translate("CliHelp", "широкое");
    if (key == QLatin1String("normal"))
        return QCoreApplication::translate("CliHelp", "нормальное");
    if (key == QLatin1String("narrow"))
        return QCoreApplication::translate("CliHelp", "узкое");
    return key;
}

QString readyDescription()
{
    QStringList names[2], widths[2];
    for (const TReadyFilter& f : ReadyFilters())
        if (f.type == 2 || f.type == 1) {
            const int i = f.type == 2 ? 0 : 1;
            names[i] << QLatin1String(f.name);
            widths[i] << widthWord(f);
        }
    const QString comma = QStringLiteral(", ");
    return QCoreApplication::translate("CliHelp", "Готовое ядро: %1 (повышение резкости: %2) или %3 (сглаживание: %4).")
        .arg(names[0].join(comma), widths[0].join(comma), names[1].join(comma), widths[1].join(comma));
}

}  // namespace

CommandOption readyOption()
{
    return {"ready", "NAME", nullptr, readyDescription};
}

TFilterKernel readyKernel(const Invocation& call)
{
    if (const std::optional<TFilterKernel> kernel = PopularFilter(call.values("ready").first()))
        return *kernel;
    QStringList names;
    for (const TReadyFilter& f : ReadyFilters())
        names << QLatin1String(f.name);
    call.usageError(
        QCoreApplication::translate("Cli", "--ready принимает одно из значений %1").arg(names.join(QLatin1Char('|'))));
}

Invocation::Invocation(const Command& command, const QCommandLineParser& parser)
    : command_(command), parser_(parser), positional_(parser.positionalArguments())
{
}

TOperationRecord* Invocation::describe(TOperationRecord::TKind kind) const
{
    if (!capture_)
        return nullptr;
    capture_->record.Kind = kind;
    capture_->described = true;
    return &capture_->record;
}

bool Invocation::isSet(const char* option) const
{
    return parser_.isSet(QLatin1String(option));
}

QStringList Invocation::values(const char* option) const
{
    return parser_.values(QLatin1String(option));
}

void Invocation::usageError(const QString& text) const
{
    commandUsageError(command_, text);
}

int Invocation::wholeNumber(const QString& text, const QString& what) const
{
    int value = 0;
    if (!readNumber(text, value))
        usageError(QCoreApplication::translate("Cli", "%1: нужно целое число, а не \"%2\"").arg(what, text));
    return value;
}

double Invocation::realNumber(const QString& text, const QString& what) const
{
    double value = 0;
    if (!readNumber(text, value))
        usageError(QCoreApplication::translate("Cli", "%1: нужно конечное число с десятичной точкой, а не \"%2\"")
                       .arg(what, text));
    return value;
}

long double Invocation::extendedNumber(const QString& text, const QString& what) const
{
    long double value = 0;
    if (!readNumber(text, value))
        usageError(QCoreApplication::translate("Cli", "%1: нужно конечное число с десятичной точкой, а не \"%2\"")
                       .arg(what, text));
    return value;
}

namespace {

bool startsLikeBmp(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) && f.read(2) == "BM";
}

// libpng and libtiff print their own complaints straight to stderr; the tool
// gives the one line of the reason instead.
class QuietStderr {
public:
    QuietStderr()
    {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0)
            ::dup2(null, STDERR_FILENO);
        if (null >= 0)
            ::close(null);
    }
    ~QuietStderr()
    {
        std::fflush(stderr);
        if (saved_ >= 0) {
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_ = -1;
};

}  // namespace

QString outputExtensions()
{
    QStringList names{QStringLiteral(".jpg"), QStringLiteral(".jpeg"), QStringLiteral(".bmp")};
    for (const TPluginFormat& f : PluginFormats())
        for (const QString& ext : f.extensions)
            names << QLatin1Char('.') + ext;
    return orList(names);
}

PictureFiles::PictureFiles(const Invocation& invocation)
    : capture_(invocation.capture()), service_(&progress_, &panel_, nullptr)
{
    const bool takesQuality = findOption(invocation.command(), QStringLiteral("quality")) != nullptr;
    if (takesQuality && invocation.isSet("quality")) {
        const int quality = invocation.wholeNumber(invocation.values("quality").first(), QStringLiteral("--quality"));
        if (quality < 1 || quality > 100)
            invocation.usageError(QCoreApplication::translate("Cli", "--quality принимает целое число от 1 до 100"));
        service_.JpegQuality = std::uint8_t(quality);
    }
}

void PictureFiles::load(const QString& file, TImageControl& image)
{
    if (!QFileInfo(file).isFile())
        throw Failure{QFileInfo::exists(file) ? QCoreApplication::translate("Cli", "не файл: %1").arg(file)
                                              : QCoreApplication::translate("Cli", "нет такого файла: %1").arg(file)};
    if (const QString why = ReadFailureReason(file); !why.isEmpty())
        throw Failure{CannotOpenText(file, why)};
    panel_.setText(QString());
    bool loaded = false;
    if (startsLikeBmp(file)) {
        loaded = service_.LoadBmp(file, image);
    } else if (const TPluginFormat* format = PluginFormatOfName(file)) {
        QuietStderr quiet;
        loaded = service_.LoadPlugin(file, *format, image);
    } else {
        loaded = service_.LoadJpeg(file, image);
    }
    if (!loaded)
        throw Failure{
            panel_.text().isEmpty()
                ? QCoreApplication::translate("Cli", "не изображение в формате, который читает программа: %1").arg(file)
                : panel_.text()};
    if (capture_)
        capture_->record.Source = image.picture();
}

void PictureFiles::checkOutputName(const QString& file) const
{
    if (TLoadSaveImage::FilterIndexOfName(file) == 0)
        throw UsageError{
            QCoreApplication::translate("Cli", "по имени нельзя определить тип выходного файла (используйте %1): %2")
                .arg(outputExtensions(), file)};
}

void PictureFiles::save(const QString& file, TImageControl& image)
{
    if (capture_) {
        capture_->written = image.picture();
        return;
    }
    checkOutputName(file);
    panel_.setText(QString());
    const int kind = TLoadSaveImage::FilterIndexOfName(file);
    bool saved = false;
    if (const TPluginFormat* format = TLoadSaveImage::PluginFormatOfFilter(kind)) {
        QuietStderr quiet;
        saved = service_.SavePlugin(file, *format, image);
    } else {
        saved = kind == 2 ? service_.SaveBmp(file, image) : service_.SaveJpeg(file, image);
    }
    if (!saved)
        throw Failure{panel_.text().isEmpty() ? QCoreApplication::translate("Cli", "нечего записывать в %1").arg(file)
                                              : QStringLiteral("%1: %2").arg(panel_.text().trimmed(), file)};
}

int arrayOperation(PictureFiles& files, const QString& in, const QString& out, const ArrayOperation& operation)
{
    files.checkOutputName(out);
    TImgTabBGR source, target;
    {
        TImageControl loaded;
        files.load(in, loaded);
        ImageToImgTab(loaded, source, files.progress());
    }
    if (source.empty())
        throw Failure{QCoreApplication::translate("Cli", "изображение не удалось поместить в массив: %1").arg(in)};
    operation(source, target);
    source.clear();
    return saveArray(files, target, out);
}

int saveArray(PictureFiles& files, TImgTabBGR& target, const QString& out)
{
    if (target.empty())
        throw Failure{QCoreApplication::translate("Cli", "операция не дала изображения")};
    TImageControl result;
    ImgTabToImage(target, result, files.progress());
    target.clear();
    if (result.picture().isNull())
        throw Failure{QCoreApplication::translate("Cli", "из результата не удалось сделать изображение")};
    files.save(out, result);
    return kSuccess;
}

}  // namespace ormica::cli
