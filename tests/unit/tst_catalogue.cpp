#include "catalogue/frmprolist.h"

#include <QLocale>
#include <QTest>

class TestCatalogue : public QObject
{
    Q_OBJECT
private slots:
    void priceText_data()
    {
        QTest::addColumn<QString>("received");
        QTest::addColumn<QString>("shown");
        QTest::newRow("trailing zero") << "2.50" << "2.5";
        QTest::newRow("whole") << "3.00" << "3";
        QTest::newRow("tie down to even") << "0.125" << "0.12";
        QTest::newRow("tie up to even") << "0.375" << "0.38";
        QTest::newRow("below a cent") << "0.004" << "0";
        QTest::newRow("binary just below half") << "1.005" << "1";
        QTest::newRow("large") << "1234567.891" << "1234567.89";
        QTest::newRow("huge") << "1e308" << "1e+308";
        QTest::newRow("zero") << "0" << "0";
        QTest::newRow("negative") << "-1" << "-1";
        QTest::newRow("negative zero") << "-0" << "-0";
        QTest::newRow("not a number") << "abc" << "abc";
        QTest::newRow("nan") << "nan" << "nan";
        QTest::newRow("infinity") << "inf" << "inf";
        QTest::newRow("trailing garbage") << "2.50abc" << "2.50abc";
        QTest::newRow("comma separator") << "2,50" << "2,50";
        QTest::newRow("leading blank") << " 2.5" << " 2.5";
        QTest::newRow("empty") << "" << "";
    }
    void priceText()
    {
        QFETCH(QString, received);
        QFETCH(QString, shown);
        QCOMPARE(Tframepro::PriceText(received), shown);
    }

    // A user locale with "," as decimal separator must not turn every price into text as received.
    void priceTextIgnoresLocale()
    {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QString shown = Tframepro::PriceText(QStringLiteral("2.50"));
        QLocale::setDefault(saved);
        QCOMPARE(shown, QStringLiteral("2.5"));
    }

    void stateText_data()
    {
        QTest::addColumn<QString>("received");
        QTest::addColumn<QString>("shown");
        QTest::newRow("normal") << "1" << "正常";
        QTest::newRow("zero") << "0" << "审核中";
        QTest::newRow("other") << "2" << "审核中";
        QTest::newRow("blank around") << " 1" << "审核中";
        QTest::newRow("empty") << "" << "审核中";
    }
    void stateText()
    {
        QFETCH(QString, received);
        QFETCH(QString, shown);
        QCOMPARE(Tframepro::StateText(received), shown);
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
