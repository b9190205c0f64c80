#include "platform/qtdesktop.h"

#include <QtTest>

#include <array>

class QtDesktopTest : public QObject {
  Q_OBJECT

private slots:
  // Every draw lies in [0, 1) and the draws cover it evenly: the closing
  // screen picks its appeal as int(draw * 4), and a draw of 1 would pick a
  // fifth appeal that does not exist.
  void randomDrawsFillZeroToOne()
  {
    constexpr int Draws = 1000000;
    constexpr int Appeals = 4;
    QtDesktop desktop;
    desktop.seedRandom();
    float lowest = 1.0F;
    float highest = 0.0F;
    double sum = 0.0;
    std::array<int, Appeals> appeals{};
    for (int i = 0; i < Draws; ++i) {
      const float draw = desktop.nextRandom();
      if (!(draw >= 0.0F && draw < 1.0F))
        QFAIL(qPrintable(QStringLiteral("draw %1 is %2").arg(i).arg(double(draw), 0, 'g', 9)));
      lowest = std::min(lowest, draw);
      highest = std::max(highest, draw);
      sum += draw;
      ++appeals.at(static_cast<size_t>(draw * Appeals));
    }
    // A million even draws come within a few millionths of either end, and
    // their mean within a few ten-thousandths of the middle: the bounds leave
    // so wide a margin that chance never fails the test.
    QVERIFY2(lowest < 0.001F, qPrintable(QString::number(double(lowest))));
    QVERIFY2(highest > 0.999F, qPrintable(QString::number(double(highest))));
    QVERIFY2(qAbs(sum / Draws - 0.5) < 0.005, qPrintable(QString::number(sum / Draws)));
    for (const int count : appeals)
      QVERIFY2(qAbs(count - Draws / Appeals) < Draws / 100, qPrintable(QString::number(count)));

    // The ends, which a million draws are unlikely to meet: the generator's
    // largest numbers must not round up to 1.
    QCOMPARE(QtDesktop::drawFromBits(0), 0.0F);
    for (const std::uint32_t bits : {0xFFFFFFFFU, 0xFFFFFF80U, 0xFFFFFF7FU})
      QVERIFY2(QtDesktop::drawFromBits(bits) < 1.0F, qPrintable(QString::number(bits, 16)));
  }
};

QTEST_APPLESS_MAIN(QtDesktopTest)
#include "tst_qtdesktop.moc"
