#include "ui/app/main_window.h"

#include "core/app/auto_fill.h"
#include "core/app/undo_history.h"
#include "core/engine/image_error.h"
#include "core/engine/img_service.h"
#include "core/engine/message_sink.h"
#include "core/histogram/fragment_stats.h"
#include "ui/compare/compare_window.h"
#include "ui/engine/color_dialog.h"
#include "ui/engine/image_widget.h"
#include "ui/engine/progress_bar.h"
#include "ui/engine/qt_color.h"
#include "ui/engine/region_selector.h"
#include "ui/filter/filter_window.h"
#include "ui/help/help_window.h"
#include "ui/histogram/histogram_window.h"
#include "ui/scale/scale_dialog.h"
#include "ui/workspace/workspace.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace ormica {

namespace {
// Made before any translator is installed: only marked here, translated where shown.
const char kCaptionText[] = QT_TRANSLATE_NOOP("ormica::TFormOrmica", "  Ormica Ver 3.5.3.1. (ДЛЯ УЧЕБНОГО ПРОЦЕССА)");
}  // namespace

const QString TFormOrmica::kCaption = QString::fromUtf8(kCaptionText);

QString TFormOrmica::Caption()
{
    return tr(kCaptionText);
}

// Pop-up hints follow the menu's check mark: while it is off the
// application's tool-tip events are swallowed.
class TFormOrmica::THintFilter : public QObject {
public:
    bool enabled = true;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!enabled && event->type() == QEvent::ToolTip)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

class TFormOrmica::TPanelText : public TTextPanel {
public:
    explicit TPanelText(QLabel* label) : label_(label) {}
    void setText(const QString& text) override { label_->setText(text); }
    QString text() const override { return label_->text(); }

private:
    QLabel* label_;
};

namespace {

QScrollArea* makeScrollBox(TImageWidget* image, QWidget* parent)
{
    auto* box = new QScrollArea(parent);
    box->setWidgetResizable(false);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setFocusPolicy(Qt::StrongFocus);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Window, ToQColor(clBtnFace));
    box->viewport()->setPalette(pal);
    box->viewport()->setAutoFillBackground(true);
    box->setWidget(image);
    return box;
}

}  // namespace

TFormOrmica::TFormOrmica(TWorkspace& workspace, TFileDialogs* dialogs, TColorQuestion* colors, QWidget* parent)
    : QMainWindow(parent), ws_(workspace), dialogs_(dialogs), colors_(colors)
{
    createControls();
    createRotatePanel();
    createMenus();
    FormCreate();
    hintFilter_ = std::make_unique<THintFilter>();
    qApp->installEventFilter(hintFilter_.get());
    // The wheel and the focus of both image panels.
    for (QScrollArea* box : {ScrollBoxSrcImg, ScrollBoxTrgImg}) {
        box->viewport()->installEventFilter(this);
        box->viewport()->setMouseTracking(true);
        box->widget()->setMouseTracking(true);
        box->widget()->installEventFilter(this);
    }
}

TFormOrmica::~TFormOrmica()
{
    if (hintFilter_)
        qApp->removeEventFilter(hintFilter_.get());
    if (ws_.SrcImageRef == ImageMain)
        ws_.SrcImageRef = nullptr;
    if (ws_.TrgImageRef == TargetImage)
        ws_.TrgImageRef = nullptr;
}

void TFormOrmica::createControls()
{
    resize(871, 697);
    setMinimumSize(480, 350);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(871 / 2, 697 / 2));
    }

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The rotation bar wraps onto further rows in a narrow window, so the
    // panel is as high as its rows (one row of 33 pixels when wide enough).
    PanelRotate = new QWidget(central);
    PanelRotate->setObjectName(QStringLiteral("PanelRotate"));
    PanelRotate->hide();
    layout->addWidget(PanelRotate);
    ToolBarRotate = new QWidget(PanelRotate);
    auto* rotateLayout = new QVBoxLayout(PanelRotate);
    rotateLayout->setContentsMargins(0, 0, 0, 0);
    rotateLayout->addWidget(ToolBarRotate);

    layout->addWidget(createPages(central), 1);
    layout->addWidget(createStatusPanel(central));
    setCentralWidget(central);

    progress_ = std::make_unique<TProgressBarAdapter>(ProgressBar1);
    panel3_ = std::make_unique<TPanelText>(panels_[3]);

    TimerAttention = new QTimer(this);
    TimerAttention->setInterval(100);
    connect(TimerAttention, &QTimer::timeout, this, &TFormOrmica::TimerAttentionTimer);
    connect(PageControl1, &QTabWidget::tabBarClicked, this, [this](int index) {
        if (index >= 0)
            QTimer::singleShot(0, this, [this, index] { ShowPage(index); });
    });
}

// The source and target tabs, each a scroll box around its image.
QWidget* TFormOrmica::createPages(QWidget* parent)
{
    PageControl1 = new QTabWidget(parent);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget;
    TabSheet3 = new QWidget;
    PageControl1->addTab(TabSheet1, tr("Основное изображение", "tab"));
    PageControl1->addTab(TabSheet3, tr("Финишное изображение", "tab"));

    auto makePage = [](QWidget* sheet, QWidget*& panel, QScrollArea*& box, TImageWidget*& image, QSize design) {
        auto* sheetLayout = new QVBoxLayout(sheet);
        sheetLayout->setContentsMargins(0, 0, 0, 0);
        panel = new QWidget(sheet);
        auto* panelLayout = new QVBoxLayout(panel);
        panelLayout->setContentsMargins(0, 0, 0, 0);
        image = new TImageWidget(design);
        box = makeScrollBox(image, panel);
        panelLayout->addWidget(box);
        sheetLayout->addWidget(panel);
    };
    makePage(TabSheet1, PanelSrcImg, ScrollBoxSrcImg, ImageMain, QSize(161, 145));
    makePage(TabSheet3, PanelTrgImg, ScrollBoxTrgImg, TargetImage, QSize(145, 129));
    ImageMain->setObjectName(QStringLiteral("ImageMain"));
    TargetImage->setObjectName(QStringLiteral("TargetImage"));
    return PageControl1;
}

void TFormOrmica::createMenus()
{
    auto item = [this](QMenu* menu, const QString& caption, void (TFormOrmica::*slot)()) {
        return menu->addAction(caption, this, slot);
    };
    auto check = [](QAction* action, bool on) {
        action->setCheckable(true);
        action->setChecked(on);
        return action;
    };

    QMenu* files = menuBar()->addMenu(tr("Файлы"));
    QMenu* load = files->addMenu(tr("Загрузить"));
    MMLoadToSrc = item(load, tr("Основное изображение"), &TFormOrmica::MMLoadToSrcClick);
    MMLoadToDest = item(load, tr("Финишное изображение"), &TFormOrmica::MMLoadToDestClick);
    MMImportToSrc = item(load, tr("Импорт из  *.TXT файлов"), &TFormOrmica::MMImportToSrcClick);
    QMenu* save = files->addMenu(tr("Сохранить"));
    MMSaveFromSrc = item(save, tr("Основное изображение"), &TFormOrmica::MMSaveFromSrcClick);
    MMSaveFromDest = item(save, tr("Финишное изображение"), &TFormOrmica::MMSaveFromDestClick);
    MMExportFromSrc = item(save, tr("Экспорт в *.TXT файл"), &TFormOrmica::MMExportFromSrcClick);
    files->addSeparator();
    MMExit = item(files, tr("Выход"), &TFormOrmica::MMExitClick);

    QMenu* view = menuBar()->addMenu(tr("Вид"));
    // The check mark itself is the setting the wheel reads.
    MMWheelV = check(view->addAction(tr("Вертикальная прокрутка")), true);
    MMRulerSmoothly = check(item(view, tr("Плавная прокрутка"), &TFormOrmica::MMRulerSmoothlyClick), true);
    MMShowHint = check(item(view, tr("Показывать подсказки"), &TFormOrmica::MMShowHintClick), true);
    MMPRotate = check(item(view, tr("Панель вращения и масштаба"), &TFormOrmica::MMPRotateClick), false);
    createExplainDock();
    view->addAction(MMExplain);

    QMenu* edit = menuBar()->addMenu(tr("Редактирование"));
    MMUndo = item(edit, tr("Отменить"), &TFormOrmica::MMUndoClick);
    MMRedo = item(edit, tr("Повторить"), &TFormOrmica::MMRedoClick);
    edit->addSeparator();
    QMenu* clip = edit->addMenu(tr("Clipboard"));
    MMClipCopySRC = item(clip, tr("Копировать в Clipboard"), &TFormOrmica::MMClipCopySRCClick);
    MMClipPasteSRC = item(clip, tr("Вставить из Clipboard"), &TFormOrmica::MMClipPasteSRCClick);
    QMenu* copy = edit->addMenu(tr("Копировать"));
    MMCopySrcToDest = item(copy, tr("Основное в финишное"), &TFormOrmica::MMCopySrcToDestClick);
    MMCopyDestToSrc = item(copy, tr("Финишное в основное"), &TFormOrmica::MMCopyDestToSrcClick);
    QMenu* clear = edit->addMenu(tr("Очистить"));
    MMMinSrc = item(clear, tr("Основное изображение"), &TFormOrmica::MMMinSrcClick);
    MMMinDest = item(clear, tr("Финишное изображение"), &TFormOrmica::MMMinDestClick);
    edit->addSeparator();
    MMCropping = item(edit, tr("Обрезка краев"), &TFormOrmica::MMCroppingClick);
    MMScale = item(edit, tr("Масштабирование"), &TFormOrmica::MMScaleClick);
    MMScale->setToolTip(tr("Вызов подсистемы расширенного управления масштабированием"));
    MMToGray = item(edit, tr("Обесцветить"), &TFormOrmica::MMToGrayClick);

    QMenu* operations = menuBar()->addMenu(tr("Операции"));
    QMenu* histograms = operations->addMenu(tr("Гистограммы"));
    MMGistogramFull = item(histograms, tr(" Только гистограммы"), &TFormOrmica::MMGistogramFullClick);
    MMAutoCorr = item(histograms, tr("Гистограммы и фрагмент"), &TFormOrmica::MMAutoCorrClick);
    MMDFilter = item(operations, tr("Фильтры"), &TFormOrmica::MMDFilterClick);

    QMenu* picture = menuBar()->addMenu(tr("Изображение"));
    MMCompare = picture->addAction(tr("Сравнить изображения"), this, [this] {
        if (const std::unique_ptr<TFormCompare> form = TFormCompare::Create(ws_, this)) {
            if (HelpWindow)
                HelpWindow->attach(form.get(), [] { return QStringLiteral("main#compare"); });
            showModal(form.get());
        }
    });

    createLearningMenus(files);
    MMAbout = menuBar()->addAction(tr("О программе"), this, &TFormOrmica::MMAboutClick);
    assignKeys();
    setAcceptDrops(true);
    updateActions();
}

void TFormOrmica::assignKeys()
{
    // The desktop's own keys for the everyday commands, shown in the menus.
    MMLoadToSrc->setShortcut(QKeySequence::Open);
    MMSaveFromSrc->setShortcut(QKeySequence::Save);
    MMClipCopySRC->setShortcut(QKeySequence::Copy);
    MMClipPasteSRC->setShortcut(QKeySequence::Paste);
    MMExit->setShortcut(QKeySequence::Quit);
    MMUndo->setShortcut(QKeySequence::Undo);
    QList<QKeySequence> redoKeys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)};
    for (const QKeySequence& k : QKeySequence::keyBindings(QKeySequence::Redo))
        if (!redoKeys.contains(k))
            redoKeys << k;
    MMRedo->setShortcuts(redoKeys);
    MMUndo->setEnabled(false);
    MMRedo->setEnabled(false);
}

void TFormOrmica::updateActions()
{
    // A command whose window is not part of the program yet stays greyed.
    MMImportToSrc->setEnabled(ImportTxtDialog != nullptr);
    MMExportFromSrc->setEnabled(ExportTxtDialog != nullptr);
    MMScale->setEnabled(FormScaleDialog != nullptr);
    TBRZoomForm->setEnabled(FormScaleDialog != nullptr);
    MMGistogramFull->setEnabled(FormGistogram != nullptr);
    MMAutoCorr->setEnabled(FormGistogram != nullptr);
    MMDFilter->setEnabled(FormDFilter != nullptr);
    MMAbout->setEnabled(FormAbout != nullptr);
}

void TFormOrmica::setToolWindows(const TToolWindows& windows)
{
    FormScaleDialog = windows.scale;
    ImportTxtDialog = windows.importText;
    ExportTxtDialog = windows.exportText;
    FormDFilter = windows.filter;
    FormAbout = windows.about;
    FormGistogram = windows.histogram;
    FormMicroBase = windows.microBase;
    HelpWindow = windows.help;
    attachHelp();
    updateActions();
}

int TFormOrmica::showModal(QDialog* window)
{
    if (!window)
        return 0;
    return ShowModal ? ShowModal(*window) : window->exec();
}

// Only a report from this showing counts.
template <class TWindow> bool TFormOrmica::showWriter(TWindow* window)
{
    bool written = false;
    const QMetaObject::Connection report =
        connect(window, &TWindow::targetWritten, this, [&written] { written = true; });
    showModal(window);
    disconnect(report);
    return written;
}

bool TFormOrmica::eventFilter(QObject* watched, QEvent* event)
{
    const bool release =
        event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    if (release && watched == sttxtZoomValue) {
        sttxtZoomValueClick();
        return true;
    }
    if (release && watched == sttxtTBRotColor) {
        sttxtTBRotColorClick();
        return true;
    }
    // With the panel open a click also explains the pixel; whatever else the
    // click does (a selection on the source) goes on as ever.
    if (event->type() == QEvent::MouseButtonPress && explaining() &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        (watched == ImageMain || watched == TargetImage)) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        explainAt(watched == TargetImage ? 1 : 0, at.x(), at.y());
    }
    QScrollArea* box = nullptr;
    if (watched == ScrollBoxSrcImg->viewport() || watched == ImageMain)
        box = ScrollBoxSrcImg;
    else if (watched == ScrollBoxTrgImg->viewport() || watched == TargetImage)
        box = ScrollBoxTrgImg;
    if (box && (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) && !box->hasFocus())
        box->setFocus();  // so that the wheel goes to the picture under the mouse
    if (box && event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int delta = wheel->angleDelta().y() != 0 ? wheel->angleDelta().y() : wheel->angleDelta().x();
        if (delta != 0) {
            const int s = delta > 0 ? 1 : -1;  // +1: turned away from the user
            QScrollBar* bar = MMWheelV->isChecked() ? box->verticalScrollBar() : box->horizontalScrollBar();
            bar->setValue(bar->value() - 3 * s * bar->singleStep());
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormOrmica::MMRulerSmoothlyClick()
{
    for (QScrollArea* box : {ScrollBoxSrcImg, ScrollBoxTrgImg}) {
        box->verticalScrollBar()->setTracking(MMRulerSmoothly->isChecked());
        box->horizontalScrollBar()->setTracking(MMRulerSmoothly->isChecked());
    }
}

void TFormOrmica::MMShowHintClick()
{
    hintFilter_->enabled = MMShowHint->isChecked();
    panels_[3]->setText(MMShowHint->isChecked() ? tr(" Всплывающие подсказки включены")
                                                : tr(" Всплывающие подсказки отключены"));
}

void TFormOrmica::MMAboutClick()
{
    showModal(FormAbout);
}

// The scale dialog, the histogram window and the filter window are opened by
// these commands from the day they are part of the program.
void TFormOrmica::MMScaleClick()
{
    if (!FormScaleDialog)
        return;
    ResetIndicators();
    TStep step(*this, 1);
    if (PageControl1->currentIndex() == 0)
        FormScaleDialog->SetScaleImages(ImageMain, TargetImage);
    else
        FormScaleDialog->SetScaleImages(TargetImage, TargetImage);
    hideFrame();
    const qint64 before = TargetImage->picture().cacheKey();
    auto record = std::make_shared<TOperationRecord>();
    record->Kind = TOperationRecord::TKind::Scale;
    record->Source = (PageControl1->currentIndex() == 0 ? ImageMain : TargetImage)->picture();
    showModal(FormScaleDialog);
    // Cancelled, or run with a reserve method: the target and its array stay
    // as they were, and there is nothing to ask about.
    const bool scaled = TargetImage->picture().cacheKey() != before;
    if (scaled) {
        MarkNoName(*TargetImage);
        ws_.Records[1] = std::move(record);
    }
    ShowPage(1);
    if (scaled)
        AutoFillImgTab(*TargetImage, ws_.TrgArr, progress_.get());
}

void TFormOrmica::MMGistogramFullClick()
{
    if (!FormGistogram)
        return;
    ResetIndicators();
    TStep step(*this, 1);
    FormGistogram->GistogramMode = 1;
    const bool written = showWriter(FormGistogram);
    step.decide(written);
    afterGistogram(written);
}

void TFormOrmica::afterGistogram(bool written)
{
    if (written) {
        MarkNoName(*TargetImage);
        ShowPage(1);
    } else {
        ShowPage(0);
    }
}

// The fragment commands need a selection first; without one the yellow lamp says so.
bool TFormOrmica::fragmentSelected()
{
    if (FragRect.selected())
        return true;
    SetAttention(true, clYellow, tr(" ВНАЧЛЕ ВЕДЕЛИТЕ МЫШКОЙ НЕБОЛЬШОЙ ФРАГМЕНТ ИЗОБРАЖЕНИЯ"));
    return false;
}

void TFormOrmica::MMAutoCorrClick()
{
    if (!FormGistogram || !fragmentSelected())
        return;
    ResetIndicators();
    // A single row or column (also once the part off the picture is cut
    // away) cannot be copied as a fragment, and would give no sample to study.
    const TRect onPicture =
        ClipRectToBitmap(ImageMain->picture(), TRect{FragRect.StartX, FragRect.StartY, FragRect.EndX, FragRect.EndY});
    if (onPicture.Right <= onPicture.Left || onPicture.Bottom <= onPicture.Top) {
        messages().warning(TooSmallFragmentMessage());
        return;
    }
    hideFrame();
    // The selection keeps the part the window could take.
    const TRect taken = FormGistogram->TakeFragment(
        ImageMain->picture(), TRect{FragRect.StartX, FragRect.StartY, FragRect.EndX, FragRect.EndY});
    FragRect.EndX = taken.Right;
    FragRect.EndY = taken.Bottom;
    TStep step(*this, 1);
    FormGistogram->GistogramMode = 2;
    const bool written = showWriter(FormGistogram);
    step.decide(written);
    FormGistogram->ReleaseFragment();
    FragRect.StartX = FragRect.EndX;
    FragRect.StartY = FragRect.EndY;
    ResetIndicators();
    afterGistogram(written);
}

void TFormOrmica::MMDFilterClick()
{
    if (!FormDFilter || !fragmentSelected())
        return;
    ResetIndicators();
    hideFrame();
    FormDFilter->TakeFragment(TRect{FragRect.StartX, FragRect.StartY, FragRect.EndX, FragRect.EndY}, progress_.get());
    TStep step(*this, 1);
    const bool written = showWriter(FormDFilter);
    step.decide(written);
    FragRect.StartX = FragRect.EndX;
    FragRect.StartY = FragRect.EndY;
    ResetIndicators();
    if (written)
        MarkNoName(*TargetImage);
    ShowPage(1);
}

void TFormOrmica::FormCreate()
{
    setWindowTitle(Caption());
    ws_.ProgramDir = QCoreApplication::applicationDirPath();
    if (!loadSave_) {
        loadSave_ = std::make_unique<TLoadSaveImage>(progress_.get(), panel3_.get(), dialogs_);
        loadSave_->OwnerForm = this;
        loadSave_->SetImageDesc(*ImageMain, QStringLiteral("NoName"), skStartUp, pfCustom);
        loadSave_->SetImageDesc(*TargetImage, QStringLiteral("NoName"), skStartUp, pfCustom);
    }
    if (!selector_) {
        selector_ = std::make_unique<TRegionSelector>(ImageMain);
        selector_->SetFrameMode(0);
        selector_->Figure = fgRectangle;
        selector_->OnStart = [this](TRegionSelector&, TShiftState, TPoint start, TPoint) { selectionStart(start); };
        selector_->OnMove = [this](TRegionSelector&, TShiftState, TPoint, TPoint end) { selectionMove(end); };
        selector_->OnEnd = [this](TRegionSelector&, TShiftState, TPoint, TPoint end) { selectionEnd(end); };
        selector_->ShowFrame(false);
    }
    PaintImage(*ImageMain, clBtnFace);
    PaintImage(*TargetImage, clBtnFace);
    if (!history_)
        history_ = std::make_unique<TUndoHistory>(TUndoHistory::TImageRef{ImageMain, &ws_.SrcArr, &ws_.Records[0]},
                                                  TUndoHistory::TImageRef{TargetImage, &ws_.TrgArr, &ws_.Records[1]});
    ws_.SrcImageRef = ImageMain;
    ws_.TrgImageRef = TargetImage;
    showLamp(statusBarColor());
}

void TFormOrmica::closeEvent(QCloseEvent* event)
{
    loadSave_.reset();
    history_.reset();
    updateUndoActions();
    selector_.reset();  // the source image gets its own mouse handlers back
    QMainWindow::closeEvent(event);
}

void TFormOrmica::setBusy(bool busy)
{
    if (busy) {
        ++busyDepth_;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0) {
        --busyDepth_;
        QApplication::restoreOverrideCursor();
    }
}

void TFormOrmica::repaintNow()
{
    repaint();
}

void TFormOrmica::MMExitClick()
{
    close();
}

}  // namespace ormica
