#include "core/app/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>
#include <memory>

namespace ormica {

namespace {

TLanguage current = TLanguage::Russian;

// The translators stay installed for the rest of the run.
std::unique_ptr<QTranslator>& programTexts()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

std::unique_ptr<QTranslator>& qtOwnTexts()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

void replace(std::unique_ptr<QTranslator>& slot, std::unique_ptr<QTranslator> next)
{
    if (slot)
        QCoreApplication::removeTranslator(slot.get());
    slot = std::move(next);
    if (slot)
        QCoreApplication::installTranslator(slot.get());
}

std::unique_ptr<QTranslator> loaded(const QString& name, const QString& folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, folder))
        return nullptr;
    return translator;
}

}  // namespace

std::optional<TLanguage> LanguageNamed(const QString& code)
{
    const QString c = code.trimmed().toLower();
    if (c == QLatin1String("ru"))
        return TLanguage::Russian;
    if (c == QLatin1String("en"))
        return TLanguage::English;
    return std::nullopt;
}

QString LanguageCode(TLanguage language)
{
    return language == TLanguage::English ? QStringLiteral("en") : QStringLiteral("ru");
}

TLanguageChoice ChooseLanguage(QStringList& args, const QString& stored)
{
    TLanguageChoice choice;
    std::optional<QString> asked;
    for (qsizetype i = 0; i < args.size();) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--"))
            break;
        if (a == QLatin1String("--lang")) {
            asked = i + 1 < args.size() ? args.at(i + 1) : QString();
            args.remove(i, std::min<qsizetype>(2, args.size() - i));
        } else if (a.startsWith(QLatin1String("--lang="))) {
            asked = a.mid(7);
            args.remove(i);
        } else {
            ++i;
        }
    }
    const QString environment = qEnvironmentVariable("ORMICA_LANG");
    for (const std::optional<QString>& wish :
         {asked, environment.isEmpty() ? std::nullopt : std::optional<QString>(environment),
          stored.isEmpty() ? std::nullopt : std::optional<QString>(stored)}) {
        if (!wish)
            continue;
        if (const std::optional<TLanguage> language = LanguageNamed(*wish)) {
            choice.language = *language;
            return choice;
        }
        if (choice.error.isEmpty())
            choice.error = QStringLiteral("--lang / ORMICA_LANG: \"%1\" - en | ru").arg(*wish);
    }
    return choice;
}

void InstallLanguage(TLanguage language, bool qtTexts)
{
    current = language;
    if (language == TLanguage::English) {
        replace(programTexts(), loaded(QStringLiteral("ormica_en"), QStringLiteral(":/i18n")));
        replace(qtOwnTexts(), nullptr);  // Qt's own texts are English already
        return;
    }
    replace(programTexts(), nullptr);
    // The standard buttons and dialogs speak Russian too ("Да", "Нет",
    // "Отмена"), whatever the desktop's language.
    replace(qtOwnTexts(), qtTexts ? loaded(QStringLiteral("qtbase_ru"),
                                           QLibraryInfo::path(QLibraryInfo::TranslationsPath))
                                  : nullptr);
}

TLanguage CurrentLanguage()
{
    return current;
}

namespace {
QSettings userSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ormica"), QStringLiteral("ormica"));
}
const QString kLanguageKey = QStringLiteral("language");
}  // namespace

QString StoredLanguage()
{
    return userSettings().value(kLanguageKey).toString();
}

void StoreLanguage(TLanguage language)
{
    QSettings settings = userSettings();
    settings.setValue(kLanguageKey, LanguageCode(language));
    settings.sync();
}

}  // namespace ormica
