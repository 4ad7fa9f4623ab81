// The worked arithmetic behind one pixel of what an operation writes.
#include "cli/cli.h"

#include "core/explain/explanation.h"

#include <cstdio>

namespace ormica::cli {

namespace {

// The operations that can be explained, as their commands are named.
const char* const kExplained[] = {"grey", "mirror", "rot90", "rotate", "crop", "scale", "filter", "transfer"};

QString explainedList()
{
    QStringList names;
    for (const char* name : kExplained)
        names << QLatin1String(name);
    return names.join(QStringLiteral(", "));
}

bool explained(const QString& name)
{
    for (const char* n : kExplained)
        if (name == QLatin1String(n))
            return true;
    return false;
}

// The tokens of `explain` itself (up to the operation's name) and the rest;
// --json may also stand among the operation's own.
struct Split {
    QStringList own;
    QString operation;
    QStringList rest;
};

Split split(const QStringList& args)
{
    Split s;
    qsizetype i = 0;
    for (; i < args.size(); ++i) {
        const QString& t = args.at(i);
        if (t == QLatin1String("--pixel")) {
            s.own += args.mid(i, 3);
            i += 2;
        } else if (t.startsWith(QLatin1Char('-'))) {
            s.own << t;
        } else {
            break;
        }
    }
    if (i < args.size())
        s.operation = args.at(i);
    for (const QString& t : args.mid(i + 1)) {
        if (t == QLatin1String("--json"))
            s.own << t;
        else
            s.rest << t;
    }
    return s;
}

int unused(const Invocation&)
{
    return kUsage;  // runExplain takes the command line itself
}

}  // namespace

std::span<const Command> explainCommands()
{
    static const std::vector<Command> commands{
        {"explain",
         "--pixel [--json] OPERATION [ITS ARGUMENTS AND OPTIONS] IN",
         QT_TRANSLATE_NOOP("CliHelp",
                           "Выполняет операцию над IN, как её собственная команда, но вместо записи OUT выводит, как "
                           "получился пиксель X, Y результата: по шагу в строке (метка: формула = числа), в конце "
                           "строка \"result<TAB>B<TAB>G<TAB>R\". Код выхода 1, если шаги не приводят к записанному "
                           "пикселю."),
         {{"OPERATION", QT_TRANSLATE_NOOP("CliHelp", "grey, mirror, rot90, rotate, crop, scale, filter или transfer, "
                                                     "а за ней её собственные аргументы и параметры без OUT.")}},
         {{"pixel", "X Y", QT_TRANSLATE_NOOP("CliHelp", "Пиксель результата: столбец X и строка Y от 0 (обязателен).")},
          {"json", "", QT_TRANSLATE_NOOP("CliHelp", "Вывести пояснение в JSON вместо текста.")}},
         unused},
    };
    return commands;
}

int runExplain(const Command& explain, const QStringList& args, const Command* (*find)(const QString& name))
{
    const Split s = split(args);
    QCommandLineParser parser;
    if (!parseCommandLine(explain, s.own + QStringList{QStringLiteral("--"), s.operation}, parser)) {
        std::fputs(commandHelp(explain).toUtf8().constData(), stdout);
        return kSuccess;
    }
    const Invocation call(explain, parser);
    if (s.operation.isEmpty())
        call.usageError(
            QCoreApplication::translate("CliExplain", "назовите операцию для пояснения: %1").arg(explainedList()));
    if (!call.isSet("pixel"))
        call.usageError(QCoreApplication::translate("CliExplain", "нужен параметр --pixel X Y"));
    const int x = call.wholeNumber(call.values("pixel").at(0), QStringLiteral("X"));
    const int y = call.wholeNumber(call.values("pixel").at(1), QStringLiteral("Y"));
    const Command* operation = explained(s.operation) ? find(s.operation) : nullptr;
    if (!operation)
        call.usageError(QCoreApplication::translate("CliExplain", "\"%1\" не поясняется; поясняются операции %2")
                            .arg(s.operation, explainedList()));

    // The operation's own command line, with an OUT it never writes.
    QCommandLineParser operationParser;
    if (!parseCommandLine(*operation, s.rest + QStringList{QStringLiteral("explained.bmp")}, operationParser)) {
        std::fputs(commandHelp(*operation).toUtf8().constData(), stdout);
        return kSuccess;
    }
    ExplainCapture capture;
    Invocation operationCall(*operation, operationParser);
    operationCall.setCapture(&capture);
    if (const int code = operation->run(operationCall); code != kSuccess)
        return code;
    if (!capture.described || capture.written.isNull())
        throw Failure{QCoreApplication::translate("CliExplain", "операция не дала изображения для пояснения")};

    const TExplanation e = Explain(capture.record, capture.written, x, y);
    if (!e.Unavailable.isEmpty())
        throw Failure{e.Unavailable};
    const QByteArray text = call.isSet("json") ? ExplanationJson(e) : ExplanationText(e).toUtf8();
    std::fwrite(text.constData(), 1, std::size_t(text.size()), stdout);
    if (!e.Matches()) {
        printMessage(QCoreApplication::translate("CliExplain", "шаги не приводят к записанному пикселю"));
        return kFailed;
    }
    return kSuccess;
}

}  // namespace ormica::cli
