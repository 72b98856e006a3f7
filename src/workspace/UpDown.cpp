#include "workspace/UpDown.h"

#include "common/TextUtil.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

TUpDown::TUpDown(QWidget *parent, QLineEdit *associate, qint32 minimum, qint32 maximum)
    : QWidget(parent), edtAssociate(associate), iMin(minimum), iMax(maximum), iPosition(minimum)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const bool up : {true, false}) {
        auto *button = new QToolButton(this);
        button->setObjectName(up ? QStringLiteral("btnup") : QStringLiteral("btndown"));
        button->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
        button->setAutoRepeat(true);
        button->setFixedSize(16, 11);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, up] { Step(up ? 1 : -1); });
        layout->addWidget(button);
    }
    setFixedWidth(16);
}

void TUpDown::SetMax(qint32 maximum)
{
    iMax = maximum;
    if (iPosition > iMax)
        iPosition = iMax;
}

void TUpDown::SetPosition(qint32 position)
{
    iPosition = qBound(iMin, position, qMax(iMin, iMax));
    edtAssociate->setText(QString::number(iPosition));
}

void TUpDown::Step(qint32 delta)
{
    // The user may have typed into the edit since the last step.
    const int typed = ReadInt(edtAssociate->text(), -1);
    SetPosition((typed >= iMin && typed <= iMax ? typed : iPosition) + delta);
}
