#pragma once

#include <QWidget>

class QLineEdit;

// A pair of arrow buttons that steps the number in an associated edit within a range.
class TUpDown : public QWidget
{
    Q_OBJECT
public:
    TUpDown(QWidget *parent, QLineEdit *associate, qint32 minimum, qint32 maximum);

    qint32 Min() const { return iMin; }
    qint32 Max() const { return iMax; }
    void SetMax(qint32 maximum);
    qint32 Position() const { return iPosition; }
    // Clamps to the range and writes the number into the edit.
    void SetPosition(qint32 position);

private:
    void Step(qint32 delta);

    QLineEdit *edtAssociate;
    qint32 iMin;
    qint32 iMax;
    qint32 iPosition;
};
