// The "Пояснение" panel: the worked arithmetic behind a clicked pixel.
#include "ui/app/main_window.h"

#include "core/explain/explanation.h"
#include "ui/engine/image_widget.h"
#include "ui/explain/explain_panel.h"
#include "ui/workspace/workspace.h"

#include <QAction>
#include <QDockWidget>

namespace ormica {

void TFormOrmica::createExplainDock()
{
    DockExplain = new QDockWidget(tr("Пояснение"), this);
    DockExplain->setObjectName(QStringLiteral("DockExplain"));
    PanelExplain = new TExplainPanel(DockExplain);
    DockExplain->setWidget(PanelExplain);
    // Below the images the steps have the window's width.
    addDockWidget(Qt::BottomDockWidgetArea, DockExplain);
    DockExplain->hide();
    MMExplain = DockExplain->toggleViewAction();
    MMExplain->setText(tr("Пояснение", "menu"));
    MMExplain->setToolTip(tr("Щелчок по точке изображения показывает, как она вычислена"));
    MMExplain->setShortcut(QKeySequence(Qt::Key_F2));
    connect(MMExplain, &QAction::toggled, this, [this](bool on) {
        if (on)
            explainAgain();
    });
}

bool TFormOrmica::explaining() const
{
    return DockExplain && !DockExplain->isHidden();
}

void TFormOrmica::explainAt(int which, int x, int y)
{
    explained_ = TExplainedPixel{which, x, y};
    explainAgain();
}

void TFormOrmica::explainAgain()
{
    if (!explaining() || !explained_)
        return;
    const int which = explained_->which;
    const TOperationRecordPtr& record = ws_.Records[which];
    if (!record) {
        PanelExplain->showNothing(which == 1 ? tr("Финишное изображение не вычислено операцией: пояснять нечего.")
                                             : tr("Основное изображение не вычислено операцией: пояснять нечего."));
        return;
    }
    const TImageWidget* image = which == 1 ? TargetImage : ImageMain;
    PanelExplain->showExplanation(Explain(*record, image->picture(), explained_->x, explained_->y));
}

}  // namespace ormica
