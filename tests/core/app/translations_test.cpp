// The English translation is complete and made from the sources as they are.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <set>

namespace {

const QString kTsFile = QStringLiteral(ORMICA_SOURCE_DIR "/translations/ormica_en.ts");

struct Message {
    QString context, source, translation, type;
};

// A text element's contents; lupdate writes a carriage return as <byte value="xd"/>.
QString readText(QXmlStreamReader& xml)
{
    QString text;
    for (xml.readNext(); !xml.isEndElement() && !xml.atEnd(); xml.readNext()) {
        if (xml.isCharacters())
            text += xml.text();
        else if (xml.isStartElement() && xml.name() == QLatin1String("byte"))
            text += QChar(xml.attributes().value(QLatin1String("value")).mid(1).toUShort(nullptr, 16));
    }
    return text;
}

std::vector<Message> readTs(const QString& fileName)
{
    QFile file(fileName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << fileName.toStdString();
    QXmlStreamReader xml(&file);
    std::vector<Message> messages;
    QString context;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("message"))
            messages.push_back({context, {}, {}, {}});
        else if (xml.name() == QLatin1String("source"))
            messages.back().source = readText(xml);
        else if (xml.name() == QLatin1String("translation")) {
            messages.back().type = xml.attributes().value(QLatin1String("type")).toString();
            messages.back().translation = readText(xml);
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return messages;
}

std::multiset<QString> placeholders(const QString& text)
{
    static const QRegularExpression marker(QStringLiteral("%L?\\d+"));
    std::multiset<QString> found;
    for (const QRegularExpressionMatch& m : marker.globalMatch(text))
        found.insert(m.captured());
    return found;
}

QString edges(const QString& text)
{
    static const QRegularExpression outer(QStringLiteral("^(\\s*).*?(\\s*)$"),
                                          QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = outer.match(text);
    return m.captured(1) + QLatin1Char('|') + m.captured(2);
}

TEST(Translations, EveryTextHasAFinishedEnglishTranslation)
{
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    const std::vector<Message> messages = readTs(kTsFile);
    EXPECT_GT(messages.size(), 100u);
    for (const Message& m : messages) {
        const std::string where = (m.context + QStringLiteral(": ") + m.source).toStdString();
        EXPECT_TRUE(m.type.isEmpty()) << m.type.toStdString() << " — " << where;
        EXPECT_FALSE(m.translation.isEmpty()) << where;
        EXPECT_FALSE(m.translation.contains(cyrillic)) << where << " → " << m.translation.toStdString();
        EXPECT_EQ(placeholders(m.translation), placeholders(m.source)) << where;
        EXPECT_EQ(m.translation.count(QLatin1Char('\n')), m.source.count(QLatin1Char('\n'))) << where;
        EXPECT_EQ(edges(m.translation), edges(m.source)) << where;
    }
}

// lupdate over the sources must leave the file as it is: no text added,
// changed or dropped since it was last refreshed.
TEST(Translations, FileIsUpToDateWithTheSources)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString copy = dir.filePath(QStringLiteral("ormica_en.ts"));
    ASSERT_TRUE(QFile::copy(kTsFile, copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    QProcess lupdate;
    lupdate.setWorkingDirectory(QStringLiteral(ORMICA_SOURCE_DIR));
    lupdate.start(QStringLiteral(ORMICA_LUPDATE),
                  {QStringLiteral("-silent"), QStringLiteral("-I"), QStringLiteral("src"), QStringLiteral("-locations"), QStringLiteral("none"),
                   QStringLiteral("-no-obsolete"), QStringLiteral("-source-language"), QStringLiteral("ru"),
                   QStringLiteral("-target-language"), QStringLiteral("en"), QStringLiteral("src"),
                   QStringLiteral("-ts"), copy});
    ASSERT_TRUE(lupdate.waitForFinished(120000));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    QFile before(kTsFile), after(copy);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly) && after.open(QIODevice::ReadOnly));
    EXPECT_TRUE(before.readAll() == after.readAll())
        << "translations/ormica_en.ts is out of date: run scripts/update-translations.sh and translate what is new";
}

}  // namespace
