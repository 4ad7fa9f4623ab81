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
        call.usageError(QStringLiteral("--sep is tab, semicolon or one character"));
    return TextSeparator(kSeparatorOther, value);
}

CommandOption separatorOption()
{
    return {"sep", "tab|semicolon|CHAR",
            "The separator: tab, semicolon or one character (default semicolon; an empty or blank one means "
            "none). export-text refuses a digit: the values could not be told apart again."};
}

int exportText(const Invocation& call)
{
    const QString separator = separatorOf(call);
    // The core refuses it as well, but only once the picture has been read.
    if (separator.size() == 1 && separator.front() >= QLatin1Char('0') && separator.front() <= QLatin1Char('9'))
        call.usageError(QStringLiteral("--sep of export-text cannot be a digit: the values could not be told apart"));
    PictureFiles files(call);
    TImgTabBGR source;
    {
        TImageControl loaded;
        files.load(call.arg(0), loaded);
        ImageToImgTab(loaded, source, files.progress());
    }
    if (source.empty())
        throw Failure{QStringLiteral("the picture could not be put into an array: %1").arg(call.arg(0))};
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
            throw Failure{QStringLiteral("the file has no lines: %1").arg(call.arg(0))};
        return kFailed;
    }
    if (source.width() == 0)
        throw Failure{QStringLiteral("the first line of %1 gave no pixel").arg(call.arg(0))};
    return saveArray(files, source, out);
}

}  // namespace

std::span<const Command> textCommands()
{
    static const std::vector<Command> commands{
        {"export-text",
         nullptr,
         "Writes a picture as a text image: one line per row, each pixel's blue, green and red in decimal, each "
         "value followed by the separator. OUT gets \".txt\" unless it ends so in any letter case; an existing "
         "file is replaced.",
         {kPictureIn, {"OUT", "The text file to write."}},
         {separatorOption()},
         exportText},
        {"import-text",
         nullptr,
         "Reads a text image as the import dialog does (values that are no number 0..255 or lack their "
         "separator are skipped) and writes it as a picture; the width is that of the first line.",
         {{"IN", "The text file to read."}, {"OUT", "The picture to write."}},
         {separatorOption(), qualityOption()},
         importText},
    };
    return commands;
}

}  // namespace ormica::cli
