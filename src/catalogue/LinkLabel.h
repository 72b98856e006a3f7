#pragma once

#include <QLabel>

// A text link of the paging bar: blue, underlined, hand cursor. A disabled link does not
// react to clicks (Qt does not deliver mouse events to disabled widgets).
class TLinkLabel : public QLabel
{
    Q_OBJECT
public:
    TLinkLabel(const QString &text, QWidget *parent);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
