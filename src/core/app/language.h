#pragma once
// Which language the programs speak: Russian unless asked otherwise.
#include <QString>
#include <QStringList>
#include <optional>

namespace ormica {

enum class TLanguage { Russian, English };

// "ru" or "en" (any case); nothing for anything else.
std::optional<TLanguage> LanguageNamed(const QString& code);
QString LanguageCode(TLanguage language);

// What the command line, the environment and the stored choice ask for,
// strongest first: --lang X (or --lang=X), then ORMICA_LANG, then `stored`.
struct TLanguageChoice {
    TLanguage language = TLanguage::Russian;
    QString error;  // a value that names no language; the choice goes on without it
};
// Takes --lang and its value out of `args` (before a "--", if any).
TLanguageChoice ChooseLanguage(QStringList& args, const QString& stored = {});

// Puts the program's texts (and Qt's own, when `qtTexts`) into `language`
// from now on; an earlier choice is replaced. Needs a QCoreApplication.
void InstallLanguage(TLanguage language, bool qtTexts);
TLanguage CurrentLanguage();

// The choice made in the program's "Язык / Language" menu, kept in the
// user's settings ("ru", "en" or empty when none was made).
QString StoredLanguage();
void StoreLanguage(TLanguage language);

}  // namespace ormica
