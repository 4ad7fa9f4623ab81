#pragma once

#include <QLayout>
#include <QList>

namespace ormica {

// Places its items left to right in rows, starting a new row when the next
// item would not fit, so that a bar of controls stays whole in a narrow
// window. Items keep their size hints; each row is centred vertically.
class TFlowLayout : public QLayout {
public:
    explicit TFlowLayout(QWidget* parent = nullptr, int hSpacing = 0, int vSpacing = 0);
    ~TFlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Lays the items out in rect (only measures unless apply); returns the
    // height used, margins included.
    int arrange(const QRect& rect, bool apply) const;

    QList<QLayoutItem*> items_;
    int hSpacing_;
    int vSpacing_;
};

}  // namespace ormica
