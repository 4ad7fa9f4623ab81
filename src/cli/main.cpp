// ormica-cli: the core's operations for batch work and measurements.
#include "cli/cli.h"

#include "core/app/language.h"

#include "core/engine/bmp_file.h"
#include "core/engine/file_errors.h"
#include "core/engine/image_error.h"
#include "core/engine/message_sink.h"

#include <QCoreApplication>
#include <QLocale>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>

using namespace ormica;
using namespace ormica::cli;

namespace {

// Each group is one file of commands. Built on first use: the tables live in other files.
std::span<const CommandGroup> groups()
{
    static const CommandGroup table[] = {
        {QT_TRANSLATE_NOOP("CliHelp", "Изображения"), pictureCommands()},
        {QT_TRANSLATE_NOOP("CliHelp", "Гистограммы"), histogramCommands()},
        {QT_TRANSLATE_NOOP("CliHelp", "Функции преобразования яркости"), transferCommands()},
        {QT_TRANSLATE_NOOP("CliHelp", "Цифровой фильтр"), filterCommands()},
        {QT_TRANSLATE_NOOP("CliHelp", "База фильтров"), fdbCommands()},
        {QT_TRANSLATE_NOOP("CliHelp", "Текстовые изображения"), textCommands()},
        {QT_TRANSLATE_NOOP("CliHelp", "Пояснение пикселя"), explainCommands()},
    };
    return table;
}

// A command is named by its first word, or by two for a family of commands
// ("fdb list"); `used` tells how many words the name took.
const Command* findCommand(const QStringList& words, qsizetype& used)
{
    for (const CommandGroup& group : groups())
        for (const Command& command : group.commands) {
            const QStringList name = QString::fromLatin1(command.name).split(QLatin1Char(' '));
            if (name.size() <= words.size() && words.mid(0, name.size()) == name) {
                used = name.size();
                return &command;
            }
        }
    return nullptr;
}

const Command* commandNamed(const QString& name)
{
    qsizetype used = 0;
    const Command* command = findCommand({name}, used);
    return command && used == 1 ? command : nullptr;
}

QString commandList()
{
    QString text = QCoreApplication::translate("CliHelp", "вызов: ormica-cli COMMAND ARGUMENTS...\n"
                                                          "       ormica-cli help [COMMAND]    (или ormica-cli "
                                                          "COMMAND --help)\n");
    for (const CommandGroup& group : groups()) {
        text += QStringLiteral("\n%1:\n").arg(QCoreApplication::translate("CliHelp", group.title));
        for (const Command& command : group.commands)
            text += QStringLiteral("  %1 %2\n").arg(QLatin1String(command.name), synopsis(command));
    }
    text += QCoreApplication::translate("CliHelp",
                                        "\nOUT записывается в формате, который задаёт его расширение: %1. Дробные "
                                        "числа пишутся с десятичной точкой.\n"
                                        "Код выхода: 0 — выполнено, 1 — файл нельзя использовать или операция не "
                                        "удалась, 2 — неверная командная строка.\n")
                .arg(outputExtensions());
    return text;
}

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toUtf8().constData(), stream);
}

// The core's messages, on one line each, marked as the tool's.
class PrefixedMessageSink : public TMessageSink {
public:
    void warning(const QString& text) override
    {
        printMessage(QCoreApplication::translate("Cli", "предупреждение: %1").arg(text.trimmed()));
    }
    void error(const QString& text) override
    {
        printMessage(QCoreApplication::translate("Cli", "ошибка: %1").arg(text.trimmed()));
    }
    bool question(const QString& text, TQuestionKind) override
    {
        printMessage(QCoreApplication::translate("Cli", "вопрос, ответ «Нет»: %1").arg(text.trimmed()));
        return false;
    }
    void information(const QString& text) override { printMessage(text); }
};

// Qt's own warnings (the picture reader's, for one) are the tool's too.
void qtMessage(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type != QtDebugMsg)
        printMessage(text);
}

// A listing or a .fcc file that never reached its reader is a failure, not a
// success: what is still buffered goes out now, and any write that failed
// on the way shows.
int checkedOutput(int code)
{
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int reason = errno;
    if ((flushed && !std::ferror(stdout)) || code != kSuccess)
        return code;
    printMessage(reason != 0 ? QCoreApplication::translate("Cli", "не удаётся записать стандартный вывод: %1")
                                   .arg(QString::fromLocal8Bit(std::strerror(reason)))
                             : QCoreApplication::translate("Cli", "не удаётся записать стандартный вывод"));
    return kFailed;
}

int run(const QStringList& args)
{
    if (args.isEmpty()) {
        print(stderr, commandList());
        return kUsage;
    }
    const QString name = args.first();
    if (name == QLatin1String("help") || name == QLatin1String("--help") || name == QLatin1String("-h")) {
        if (args.size() == 1) {
            print(stdout, commandList());
            return kSuccess;
        }
        qsizetype used = 0;
        const Command* command = findCommand(args.mid(1), used);
        if (!command || used != args.size() - 1)
            throw UsageError{QCoreApplication::translate(
                "Cli", "help принимает одно имя команды; их список выводит ormica-cli help")};
        print(stdout, commandHelp(*command));
        return kSuccess;
    }
    qsizetype used = 0;
    const Command* command = findCommand(args, used);
    if (!command)
        throw UsageError{
            QCoreApplication::translate("Cli", "неизвестная команда \"%1\"; список команд выводит ormica-cli help")
                .arg(name)};
    if (command->run == explainCommands().front().run)
        return runExplain(*command, args.mid(used), commandNamed);
    QCommandLineParser parser;
    if (!parseCommandLine(*command, args.mid(used), parser)) {
        print(stdout, commandHelp(*command));
        return kSuccess;
    }
    return command->run(Invocation(*command, parser));
}

// A standard stream closed at start would be given to the first file opened,
// and output meant for the screen would land in it. A read-only stand-in
// makes every write to it fail instead, and the failure shows.
void holdClosedStandardStreams()
{
    for (int fd = 0; fd <= 2; ++fd)
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF)
            ::open("/dev/null", O_RDONLY);
}

}  // namespace

int main(int argc, char* argv[])
{
    holdClosedStandardStreams();
    IgnoreFileSizeSignal();
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());  // batch files read the same everywhere
    qInstallMessageHandler(qtMessage);
    RaiseImageAllocationLimit();
    PrefixedMessageSink sink;
    setMessageSink(&sink);
    QStringList args = app.arguments().mid(1);
    // One run speaks one language: Russian unless --lang or ORMICA_LANG asks for English.
    const TLanguageChoice language = ChooseLanguage(args);
    InstallLanguage(language.language, true);
    if (!language.error.isEmpty()) {
        printMessage(language.error);
        return kUsage;
    }
    int code = kFailed;
    try {
        code = run(args);
    } catch (const UsageError& e) {
        printMessage(e.text);
        code = kUsage;
    } catch (const Failure& e) {
        printMessage(e.text);
    } catch (const TImageError& e) {
        printMessage(e.text());
    } catch (const std::bad_alloc&) {
        printMessage(QCoreApplication::translate("Cli", "недостаточно памяти"));
    } catch (const std::exception& e) {
        printMessage(QString::fromLocal8Bit(e.what()));
    }
    return checkedOutput(code);
}
