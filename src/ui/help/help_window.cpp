#include "ui/help/help_window.h"

#include "core/app/language.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace ormica {

namespace {

QString pageText(const QString& key)
{
    QFile file(THelpWindow::PageFolder() + QLatin1Char('/') + key + QStringLiteral(".html"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString pageKeyOf(const QUrl& source)
{
    QString key = source.path();
    if (key.endsWith(QLatin1String(".html")))
        key.chop(5);
    return key.section(QLatin1Char('/'), -1);
}

QString plainText(const QString& html)
{
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText();
}

}  // namespace

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), home_(parent)
{
    setWindowTitle(tr("Справка Ormica"));
    resize(900, 640);
    auto* splitter = new QSplitter(this);
    auto* side = new QWidget(splitter);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    SearchEdit = new QLineEdit(side);
    SearchEdit->setPlaceholderText(tr("Поиск по справке"));
    SearchEdit->setClearButtonEnabled(true);
    PageList = new QListWidget(side);
    NoteLabel = new QLabel(side);
    NoteLabel->setWordWrap(true);
    NoteLabel->hide();
    sideLayout->addWidget(SearchEdit);
    sideLayout->addWidget(PageList);
    sideLayout->addWidget(NoteLabel);
    Browser = new QTextBrowser(splitter);
    Browser->setOpenLinks(false);
    splitter->addWidget(side);
    splitter->addWidget(Browser);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);

    connect(Browser, &QTextBrowser::anchorClicked, this, &THelpWindow::openLink);
    // The new source, not Browser->source(): on the first page that is not yet set when this comes.
    connect(Browser, &QTextBrowser::sourceChanged, this, &THelpWindow::markPage);
    connect(SearchEdit, &QLineEdit::textChanged, this, &THelpWindow::search);
    connect(PageList, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        showPage(item->data(Qt::UserRole).toString(), window() == this ? nullptr : window());
        // Found words are marked where they first occur on the page.
        const QStringList words = SearchEdit->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (!words.isEmpty())
            Browser->find(words.first());
    });
    connect(PageList, &QListWidget::itemClicked, PageList, &QListWidget::itemActivated);
    auto* back = new QShortcut(QKeySequence::Back, this);
    connect(back, &QShortcut::activated, Browser, &QTextBrowser::backward);
    search(QString());
    // The contents as wide as their longest title, with room for a scroll bar.
    const int listW = PageList->sizeHintForColumn(0) + 2 * PageList->frameWidth() +
                      PageList->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, PageList) + 4;
    const int sideW = std::max(220, listW);
    splitter->setSizes({sideW, 900 - sideW});
}

QStringList THelpWindow::PageKeys()
{
    return {QStringLiteral("index"),    QStringLiteral("main"),       QStringLiteral("geometry"),
            QStringLiteral("scaling"),  QStringLiteral("histograms"), QStringLiteral("fragment"),
            QStringLiteral("transfer"), QStringLiteral("filter"),     QStringLiteral("database"),
            QStringLiteral("text")};
}

QString THelpWindow::PageFolder()
{
    return QStringLiteral(":/help/") + LanguageCode(CurrentLanguage());
}

QString THelpWindow::PageTitle(const QString& key)
{
    static const QRegularExpression title(QStringLiteral("<title>(.*)</title>"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption |
                                              QRegularExpression::InvertedGreedinessOption);
    const QRegularExpressionMatch m = title.match(pageText(key));
    return m.hasMatch() ? m.captured(1).trimmed() : key;
}

QStringList THelpWindow::Find(const QString& words)
{
    // A long word is looked for without its last two letters, so that
    // "гистограмма" also finds "гистограммы" and "histograms" "histogram".
    QStringList wanted = words.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QString& w : wanted)
        if (w.size() > 6)
            w.chop(2);
    // Read once a run: the search runs at every key typed.
    static QHash<QString, QString> texts;
    QStringList found;
    for (const QString& key : PageKeys()) {
        const QString page = PageFolder() + key;
        if (!texts.contains(page))
            texts.insert(page, plainText(pageText(key)));
        const QString& text = texts[page];
        if (std::all_of(wanted.begin(), wanted.end(),
                        [&](const QString& w) { return text.contains(w, Qt::CaseInsensitive); }))
            found << key;
    }
    return found;
}

// The contents when nothing is typed, else the pages found.
void THelpWindow::search(const QString& words)
{
    PageList->clear();
    const QStringList found = words.trimmed().isEmpty() ? PageKeys() : Find(words);
    for (const QString& key : found) {
        auto* item = new QListWidgetItem(PageTitle(key), PageList);
        item->setData(Qt::UserRole, key);
    }
    if (found.isEmpty())
        new QListWidgetItem(tr("Ничего не найдено"), PageList);
    markPage(Browser->source());
}

// The list shows which of its pages is open, whichever way it was opened.
void THelpWindow::markPage(const QUrl& source)
{
    const QString shown = pageKeyOf(source);
    PageList->clearSelection();
    for (int i = 0; i < PageList->count(); ++i) {
        QListWidgetItem* item = PageList->item(i);
        if (!shown.isEmpty() && item->data(Qt::UserRole).toString() == shown) {
            PageList->setCurrentItem(item);
            return;
        }
    }
}

void THelpWindow::showPage(const QString& key, QWidget* over)
{
    // A window that belongs to the modal tool window is not blocked by it.
    QWidget* owner = over ? over : home_;
    if (parentWidget() != owner) {
        moveTo(owner);
        // A tool window made for one showing (the compare window) takes its
        // children with it: the help goes home when that window closes.
        if (owner != home_)
            owner->installEventFilter(this);
    }
    const qsizetype hash = key.indexOf(QLatin1Char('#'));
    QUrl url(QStringLiteral("qrc") + PageFolder() + QLatin1Char('/') + key.left(hash < 0 ? key.size() : hash) +
             QStringLiteral(".html"));
    if (hash >= 0)
        url.setFragment(key.mid(hash + 1));
    Browser->setSource(url);
    NoteLabel->hide();
    show();
    raise();
    activateWindow();
}

void THelpWindow::moveTo(QWidget* owner)
{
    const QRect place = geometry();
    const bool wasShown = isVisible();
    if (QWidget* before = parentWidget(); before && before != home_)
        before->removeEventFilter(this);
    setParent(owner, Qt::Window);
    setGeometry(place);
    // A note about the tool window that was open says nothing any more.
    NoteLabel->hide();
    if (wasShown)
        show();
}

bool THelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && watched != home_ &&
        (event->type() == QEvent::Hide || event->type() == QEvent::DeferredDelete))
        moveTo(home_);
    return QWidget::eventFilter(watched, event);
}

QString THelpWindow::currentPage() const
{
    return pageKeyOf(Browser->source());
}

void THelpWindow::openLink(const QUrl& url)
{
    if (url.scheme() == QLatin1String("sample")) {
        // A picture loaded under an open tool window would pull its image
        // away from under it.
        if (QApplication::activeModalWidget()) {
            NoteLabel->setText(tr("Закройте окно инструмента, чтобы открыть пример."));
            NoteLabel->show();
            return;
        }
        emit sampleRequested(url.path());
        return;
    }
    // The pages link only to each other; anything else stays unopened.
    const QUrl target = Browser->source().resolved(url);
    if (target.scheme() == QLatin1String("qrc"))
        Browser->setSource(target);
}

void THelpWindow::attach(QWidget* window, std::function<QString()> page)
{
    auto* key = new QShortcut(QKeySequence::HelpContents, window);
    key->setContext(Qt::WindowShortcut);
    connect(key, &QShortcut::activated, this, [this, window, page = std::move(page)] { showPage(page(), window); });
}

}  // namespace ormica
