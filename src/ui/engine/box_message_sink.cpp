#include "ui/engine/box_message_sink.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace ormica {

namespace {
QString lines(const QString& text)
{
    QString t = text;
    return t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}
}  // namespace

void TBoxMessageSink::warning(const QString& text)
{
    QMessageBox::warning(parent_, QCoreApplication::translate("MessageBox", "Внимание"), lines(text), QMessageBox::Ok);
}

void TBoxMessageSink::warningYes(const QString& text)
{
    QMessageBox::warning(parent_, QCoreApplication::translate("MessageBox", "Внимание"), lines(text), QMessageBox::Yes);
}

void TBoxMessageSink::error(const QString& text)
{
    QMessageBox::critical(parent_, QCoreApplication::translate("MessageBox", "Ошибка"), lines(text), QMessageBox::Ok);
}

bool TBoxMessageSink::question(const QString& text, TQuestionKind kind)
{
    const auto buttons = QMessageBox::Yes | QMessageBox::No;
    if (kind == TQuestionKind::Information)
        return QMessageBox::information(parent_, QCoreApplication::translate("MessageBox", "Информация"), lines(text),
                                        buttons) == QMessageBox::Yes;
    // A confirmation replaces or deletes something: Enter alone must not say Yes.
    return QMessageBox::question(parent_, QCoreApplication::translate("MessageBox", "Подтверждение"), lines(text),
                                 buttons, QMessageBox::No) == QMessageBox::Yes;
}

void TBoxMessageSink::information(const QString& text)
{
    QMessageBox::information(parent_, QCoreApplication::translate("MessageBox", "Информация"), lines(text),
                             QMessageBox::Ok);
}

}  // namespace ormica
