#include "core/app/language.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace ormica;

namespace {

// The command line beats the environment, which beats the stored choice;
// a value naming no language is reported and passed over.
TEST(Language, ChoiceOrderAndOptionRemoval)
{
    struct Case {
        QStringList args;
        const char* environment;
        QString stored;
        TLanguage expected;
        QStringList argsLeft;
        bool error;
    };
    const TLanguage ru = TLanguage::Russian, en = TLanguage::English;
    const Case cases[] = {
        {{"a.bmp"}, "", "", ru, {"a.bmp"}, false},
        {{"--lang", "en", "a.bmp"}, "ru", "ru", en, {"a.bmp"}, false},
        {{"a.bmp", "--lang=EN"}, "", "", en, {"a.bmp"}, false},
        {{"a.bmp"}, "en", "ru", en, {"a.bmp"}, false},
        {{}, "", "en", en, {}, false},
        {{"--lang", "ru"}, "en", "en", ru, {}, false},
        {{"--lang", "de"}, "en", "", en, {}, true},
        {{"--lang"}, "", "", ru, {}, true},
        {{}, "fr", "", ru, {}, true},
        // After "--" everything is a file name.
        {{"--", "--lang", "en"}, "", "", ru, {"--", "--lang", "en"}, false},
    };
    for (const Case& c : cases) {
        qputenv("ORMICA_LANG", c.environment);
        QStringList args = c.args;
        const TLanguageChoice choice = ChooseLanguage(args, c.stored);
        EXPECT_EQ(choice.language, c.expected) << c.args.join(' ').toStdString() << " env " << c.environment;
        EXPECT_EQ(args, c.argsLeft) << c.args.join(' ').toStdString();
        EXPECT_EQ(!choice.error.isEmpty(), c.error) << c.args.join(' ').toStdString() << " env " << c.environment;
    }
    qunsetenv("ORMICA_LANG");
}

// English comes from the translation built into the program; Russian is the
// source text itself.
TEST(Language, InstalledTranslationSpeaks)
{
    const char* text = "Ошибка при сохранении файла";
    InstallLanguage(TLanguage::English, false);
    const QString english = QCoreApplication::translate("ormica::TFormOrmica", "Выход");
    InstallLanguage(TLanguage::Russian, false);
    EXPECT_EQ(QCoreApplication::translate("ormica::TFormOrmica", "Выход"), QStringLiteral("Выход"));
    EXPECT_EQ(QCoreApplication::translate("NoSuchContext", text), QString::fromUtf8(text));
    EXPECT_EQ(english, QStringLiteral("E&xit"));
    EXPECT_EQ(CurrentLanguage(), TLanguage::Russian);
}

}  // namespace
