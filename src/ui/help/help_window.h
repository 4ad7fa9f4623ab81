#pragma once

#include <QWidget>
#include <functional>

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QLabel;

namespace ormica {

// The program's own help: one page per tool in the chosen language, a
// contents list and a search across the pages. Any window can open it on
// its own page with F1 (attach); it stays usable beside a modal tool window.
class THelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // The pages, in the contents' order: "index", "main", "geometry", ...
    static QStringList PageKeys();
    // The resource folder of the pages of the language in use.
    static QString PageFolder();
    // The page's title, as its <title> gives it.
    static QString PageTitle(const QString& key);

    // Shows page `key` ("filter", or "filter#scale" for a place on it) in
    // front of `over`, the window the user is in (null: the main window).
    void showPage(const QString& key, QWidget* over = nullptr);
    QString currentPage() const;
    // F1 in `window` opens the page `page()` names.
    void attach(QWidget* window, std::function<QString()> page);
    // The pages whose text holds every word of `words`, in contents order.
    static QStringList Find(const QString& words);

    QLineEdit* SearchEdit = nullptr;
    QListWidget* PageList = nullptr;
    QTextBrowser* Browser = nullptr;
    QLabel* NoteLabel = nullptr;

signals:
    // A page's "open the sample" link: load it into the source image.
    void sampleRequested(const QString& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Makes `owner` the window the help belongs to, where and as it was.
    void moveTo(QWidget* owner);
    void openLink(const QUrl& url);
    void search(const QString& words);
    void markPage(const QUrl& source);
    QWidget* home_ = nullptr;
};

}  // namespace ormica
