// Commands on text images: a picture written as text and a text read back
// as a picture, as the two text dialogs do it with the source image.
#include "cli/cli.h"

#include "core/engine/img_service.h"
#include "core/engine/text_image.h"

#include <QFileInfo>

namespace ormica::cli {

namespace {

// The separator of --sep: a name, or the sign itself as the dialogs' edit
// takes it (blanks only mean no separator at all). The dialogs start at ";".
QString separatorOf(const Invocation& call)
{
    if (!call.isSet("sep"))
        return TextSeparator(kSeparatorSemicolon, QString());
    const QString value = call.values("sep").first();
    if (value == QLatin1String("tab"))
        return TextSeparator(kSeparatorTab, QString());
    if (value == QLatin1String("semicolon"))
        return TextSeparator(kSeparatorSemicolon, QString());
    if (value.trimmed().size() > 1)
        call.usageError(QCoreApplication::translate("CliText", "--sep принимает tab, semicolon или один символ"));
    return TextSeparator(kSeparatorOther, value);
}

CommandOption separatorOption()
{
    return {"sep", "tab|semicolon|CHAR",
            QT_TRANSLATE_NOOP("CliHelp", "Разделитель: tab, semicolon или один символ (по умолчанию точка с "
                                         "запятой; пустой или из пробелов означает отсутствие разделителя). "
                                         "export-text не принимает цифру: значения потом нельзя было бы разделить.")};
}

int exportText(const Invocation& call)
{
    const QString separator = separatorOf(call);
    // The core refuses it as well, but only once the picture has been read.
    if (separator.size() == 1 && separator.front() >= QLatin1Char('0') && separator.front() <= QLatin1Char('9'))
        call.usageError(QCoreApplication::translate(
            "CliText", "--sep команды export-text не может быть цифрой: значения нельзя было бы разделить"));
    PictureFiles files(call);
    TImgTabBGR source;
    {
        TImageControl loaded;
        files.load(call.arg(0), loaded);
        ImageToImgTab(loaded, source, files.progress());
    }
    if (source.empty())
        throw Failure{
            QCoreApplication::translate("CliText", "изображение не удалось поместить в массив: %1").arg(call.arg(0))};
    // A failure has been reported by the core; no file is left behind.
    return WriteImgTabText(source, separator, TextImageFileName(call.arg(1)), files.progress()) ? kSuccess : kFailed;
}

int importText(const Invocation& call)
{
    const QString separator = separatorOf(call);
    PictureFiles files(call);
    const QString& out = call.arg(1);
    files.checkOutputName(out);
    TImgTabBGR source;
    if (!ReadImgTabText(source, separator, call.arg(0), files.progress())) {
        if (source.empty() && QFileInfo(call.arg(0)).isFile() && QFileInfo(call.arg(0)).size() == 0)
            throw Failure{QCoreApplication::translate("CliText", "в файле нет строк: %1").arg(call.arg(0))};
        return kFailed;
    }
    if (source.width() == 0)
        throw Failure{
            QCoreApplication::translate("CliText", "первая строка %1 не дала ни одного пикселя").arg(call.arg(0))};
    return saveArray(files, source, out);
}

}  // namespace

std::span<const Command> textCommands()
{
    static const std::vector<Command> commands{
        {"export-text",
         nullptr,
         QT_TRANSLATE_NOOP("CliHelp",
                           "Записывает изображение как текстовое: по строке текста на строку пикселей, синий, "
                           "зелёный и красный каждого пикселя в десятичном виде, за каждым значением — разделитель. "
                           "К OUT добавляется \".txt\", если имя так не кончается (в любом регистре); существующий "
                           "файл заменяется."),
         {kPictureIn, {"OUT", QT_TRANSLATE_NOOP("CliHelp", "Записываемый текстовый файл.")}},
         {separatorOption()},
         exportText},
        {"import-text",
         nullptr,
         QT_TRANSLATE_NOOP("CliHelp", "Читает текстовое изображение, как диалог импорта (значения, которые не "
                                      "являются числом 0..255 или не имеют разделителя, пропускаются), и записывает "
                                      "его как изображение; ширина берётся по первой строке."),
         {{"IN", QT_TRANSLATE_NOOP("CliHelp", "Читаемый текстовый файл.")},
          {"OUT", QT_TRANSLATE_NOOP("CliHelp", "Записываемое изображение.")}},
         {separatorOption(), qualityOption()},
         importText},
    };
    return commands;
}

}  // namespace ormica::cli
