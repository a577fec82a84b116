#include "CellCodecTest.h"

#include "TestCells.h"
#include "transfer/AnsiText.h"
#include "transfer/CellDecode.h"
#include "transfer/CellEncode.h"
#include "transfer/CellMap.h"
#include "transfer/TextImages.h"

#include <QSet>
#include <QTest>

namespace {
QByteArray text(CellBytes b)
{
    return QByteArray() + char(b.d0) + char(b.d1);
}
template <size_t N> QByteArray asBytes(const std::array<uint8_t, N>& a)
{
    return QByteArray(reinterpret_cast<const char*>(a.data()), int(N));
}
} // namespace

void CellCodecTest::cellOrders()
{
    const QVector<uint8_t> load = loadReadOrder();
    QCOMPARE(load.size(), 56);
    QCOMPARE(QSet<uint8_t>(load.begin(), load.end()).size(), 56);
    QCOMPARE(load.mid(0, 4), (QVector<uint8_t>{0x3F, 0x3E, 0x3C, 0x30}));
    QCOMPARE(load.mid(11, 6), (QVector<uint8_t>{0x38, 0x39, 0x3A, 0x3B, 0x3D, 0x48}));
    QCOMPARE(load.last(), uint8_t(0x6F));

    const QVector<uint8_t> locked = saveWriteOrder(false);
    QCOMPARE(locked.size(), 54);
    QVERIFY(!locked.contains(0x3F) && !locked.contains(0x3E));
    QCOMPARE(locked, load.mid(2));
    QCOMPARE(saveWriteOrder(true), load);
    QCOMPARE(compareReadOrder(false), locked);
    QCOMPARE(compareReadOrder(true), load);
}

void CellCodecTest::twoDigit_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QByteArray>("cell");
    QTest::newRow("0") << 0 << QByteArray("00");
    QTest::newRow("7") << 7 << QByteArray("07");
    QTest::newRow("42") << 42 << QByteArray("42");
    QTest::newRow("99") << 99 << QByteArray("99");
}

void CellCodecTest::twoDigit()
{
    QFETCH(int, n);
    QFETCH(QByteArray, cell);
    QCOMPARE(text(CellEncode::twoDigit(n)), cell);
    QCOMPARE(CellDecode::number(CellEncode::twoDigit(n)), n);
}

void CellCodecTest::point_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QByteArray>("cells");
    QTest::newRow("largest frame") << 1079999 << QByteArray("10799990");
    QTest::newRow("12:05") << CellEncode::timePointValue(12, 5) << QByteArray("00012050");
    QTest::newRow("599:59") << CellEncode::timePointValue(599, 59) << QByteArray("00599590");
    QTest::newRow("1") << 1 << QByteArray("00000010");
    QTest::newRow("zero") << 0 << QByteArray("00000000");
    QTest::newRow("seven digits") << 9876543 << QByteArray("98765430");
}

void CellCodecTest::point()
{
    QFETCH(int, n);
    QFETCH(QByteArray, cells);
    const std::array<CellBytes, 4> p = CellEncode::point(n);
    QCOMPARE(text(p[0]) + text(p[1]) + text(p[2]) + text(p[3]), cells);
    QCOMPARE(CellDecode::point(p).frame, n);
}

void CellCodecTest::modeAndOptionCells()
{
    // Every pair of modes goes through the cell and back.
    for (int s = 0; s < 4; ++s) {
        for (int e = 0; e < 4; ++e) {
            const CellBytes cell = CellEncode::modeCell(PointMode(s), PointMode(e));
            QCOMPARE(cell.d1, uint8_t('0'));
            QCOMPARE(CellDecode::startModeCode(cell), s);
            QCOMPARE(CellDecode::endModeCode(cell), e);
        }
    }
    QCOMPARE(text(CellEncode::modeCell(PointMode::Timecode, PointMode::Frame)), QByteArray(">0"));
    QCOMPARE(text(CellEncode::optionCell(0)), QByteArray("70"));
    QCOMPARE(text(CellEncode::optionCell(4)), QByteArray("74"));
    QCOMPARE(text(CellEncode::optionCell(8)), QByteArray("78"));
    QCOMPARE(text(CellEncode::optionCell(12)), QByteArray("7<"));
}

void CellCodecTest::decodeNumber_data()
{
    QTest::addColumn<QByteArray>("cell");
    QTest::addColumn<int>("number");
    QTest::newRow("12") << QByteArray("12") << 12;
    QTest::newRow("99") << QByteArray("99") << 99;
    QTest::newRow("05") << QByteArray("05") << 5;
    QTest::newRow("space 5") << QByteArray(" 5") << 5;
    QTest::newRow("5 space") << QByteArray("5 ") << 5;
    QTest::newRow("9 space") << QByteArray("9 ") << 9;
    QTest::newRow("two spaces") << QByteArray("  ") << 0;
    QTest::newRow("5A") << QByteArray("5A") << -1;
    QTest::newRow("A5") << QByteArray("A5") << -1;
    QTest::newRow("space A") << QByteArray(" A") << -1;
    QTest::newRow("A space") << QByteArray("A ") << -1;
    QTest::newRow("-1") << QByteArray("-1") << -1;
    QTest::newRow("nul bytes") << QByteArray("\0\0", 2) << -1;
}

void CellCodecTest::decodeNumber()
{
    QFETCH(QByteArray, cell);
    QFETCH(int, number);
    QCOMPARE(CellDecode::number(TestCells::bytes(cell)), number);
}

void CellCodecTest::decodePoint_data()
{
    QTest::addColumn<QString>("point");
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("seconds");
    QTest::newRow("1205") << "0001205" << 1205 << 12 << 5;
    QTest::newRow("largest") << "1079999" << 1079999 << 799 << 99;
    QTest::newRow("2:75") << "0000275" << 275 << 2 << 75;
    QTest::newRow("spaces are zeros") << "   1 5 " << 1050 << 10 << 50;
    QTest::newRow("bad millions") << "X000001" << -1 << -1 << -1;
    QTest::newRow("bad units digit") << "000000?" << -1 << -1 << -1;
    QTest::newRow("bad middle") << "00:0000" << -1 << -1 << -1;
}

void CellCodecTest::decodePoint()
{
    QFETCH(QString, point);
    QFETCH(int, frame);
    QFETCH(int, minutes);
    QFETCH(int, seconds);
    CellSet cells;
    TestCells::apply(cells, {"start=" + point});
    const CellDecode::PointReading r =
        CellDecode::point({cells.get(0x30), cells.get(0x31), cells.get(0x32), cells.get(0x33)});
    QCOMPARE(r.frame, frame);
    QCOMPARE(r.minutes, minutes);
    QCOMPARE(r.seconds, seconds);
    QCOMPARE(r.readable(), frame >= 0);
}

void CellCodecTest::filterInitChar()
{
    // Kept: BEL, CR and the printable code page except DEL and 255.
    for (int b : {7, 13, 32, 65, 126, 128, 160, 254})
        QCOMPARE(CellDecode::filterInitChar(uint8_t(b)), uint8_t(b));
    for (int b : {0, 6, 8, 9, 10, 12, 14, 26, 31, 127, 255})
        QCOMPARE(CellDecode::filterInitChar(uint8_t(b)), uint8_t(0));
}

void CellCodecTest::ansiText()
{
    QCOMPARE(AnsiText::encode(QStringLiteral("AZaz09 ~")), QByteArray("AZaz09 ~"));
    QCOMPARE(AnsiText::encode(QString::fromUtf8("\u20ac\u00e9\u00ff\u0152")),
             QByteArray("\x80\xe9\xff\x8c"));
    // Outside the code page: one "?" per character, a surrogate pair included.
    QCOMPARE(AnsiText::encode(QString::fromUtf8("a\u0100b\u4e2d\U0001F600c")),
             QByteArray("a?b??c"));
    QCOMPARE(AnsiText::decode(QByteArray("\x80\xe9")), QString::fromUtf8("\u20ac\u00e9"));
    // Every byte a unit may keep comes back as the same byte.
    QByteArray all;
    for (int b = 32; b <= 254; ++b)
        all.append(char(b));
    QCOMPARE(AnsiText::encode(AnsiText::decode(all)), all);
}

void CellCodecTest::commentImage_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QByteArray>("image");
    QTest::newRow("empty") << QString() << QByteArray(17, '\a');
    QTest::newRow("short") << "Hall 2" << QByteArray("Hall 2").leftJustified(17, '\a');
    QTest::newRow("15 leave one BEL") << "ABCDEFGHIJKLMNO" << QByteArray("ABCDEFGHIJKLMNO\a\a");
    QTest::newRow("euro") << QString::fromUtf8("5\u20ac")
                          << QByteArray("5\x80").leftJustified(17, '\a');
    QTest::newRow("too long stays in room") << QString(30, u'x') << QByteArray(17, 'x');
}

void CellCodecTest::commentImage()
{
    QFETCH(QString, comment);
    QFETCH(QByteArray, image);
    QCOMPARE(asBytes(::commentImage(comment)), image);
}

void CellCodecTest::initImage_data()
{
    QTest::addColumn<QStringList>("strings");
    QTest::addColumn<QByteArray>("image");
    QTest::newRow("defaults") << QStringList{"0KL0DS", "", "", ""}
                              << QByteArray("0KL0DS\r").leftJustified(65, '\a');
    QTest::newRow("empty second") << QStringList{"AB", "", "CD", ""}
                                  << QByteArray("AB\rCD\r").leftJustified(65, '\a');
    QTest::newRow("all empty") << QStringList{"", "", "", ""} << QByteArray(65, '\a');
    const QString a(23, u'a'), b(23, u'b'), c(12, u'c');
    QTest::newRow("58 characters leave two BEL")
        << QStringList{a, b, c, ""}
        << (a + "\r" + b + "\r" + c + "\r").toLatin1().leftJustified(65, '\a');
    QTest::newRow("too long stays in room")
        << QStringList{QString(40, u'x'), QString(40, u'y'), "", ""}
        << (QString(40, u'x') + "\r" + QString(24, u'y')).toLatin1();
}

void CellCodecTest::initImage()
{
    QFETCH(QStringList, strings);
    QFETCH(QByteArray, image);
    QCOMPARE(asBytes(::initImage({strings[0], strings[1], strings[2], strings[3]})), image);
}

void CellCodecTest::walks_data()
{
    QTest::addColumn<QByteArray>("commentCells"); // 16 bytes at most, BEL filled
    QTest::addColumn<QByteArray>("initCells");    // 64 bytes at most, BEL filled
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QStringList>("strings");
    QTest::newRow("defaults") << QByteArray() << QByteArray("0KL0DS\r") << ""
                              << QStringList{"0KL0DS", "", "", ""};
    QTest::newRow("empty string kept by a second CR")
        << QByteArray("Stage left") << QByteArray("AB\rCD\r\rEF\a") << "Stage left"
        << QStringList{"AB", "CD", "", "EF"};
    QTest::newRow("fourth CR ends the walk")
        << QByteArray() << QByteArray("A\rB\rC\rD\rE\r") << "" << QStringList{"A", "B", "C", "D"};
    QTest::newRow("first string of 30 keeps 25")
        << QByteArray() << QByteArray(30, 'x') + "\rZZ\r"
        << "" << QStringList{QString(25, u'x'), "", "", ""};
    QTest::newRow("rejected byte ends the walks")
        << QByteArray("ABCDE\x01GH") << QByteArray("AB\rC\tD\r") << "ABCDE"
        << QStringList{"AB", "C", "", ""};
    QTest::newRow("16 characters, no BEL") << QByteArray("0123456789abcdef") << QByteArray("\a")
                                           << "0123456789abcdef" << QStringList{"", "", "", ""};
    QTest::newRow("code page characters")
        << QByteArray("\x80 5") << QByteArray("\xe9\r") << QString::fromUtf8("\u20ac 5")
        << QStringList{QString::fromUtf8("\u00e9"), "", "", ""};
    QTest::newRow("line feed rejected")
        << QByteArray("A\nB") << QByteArray("\n") << "A" << QStringList{"", "", "", ""};
}

void CellCodecTest::walks()
{
    QFETCH(QByteArray, commentCells);
    QFETCH(QByteArray, initCells);
    QFETCH(QString, comment);
    QFETCH(QStringList, strings);
    CellSet cells;
    TestCells::putText(cells, 0x48, 8, commentCells);
    TestCells::putText(cells, 0x50, 32, initCells);
    const CommentImage ci = commentImageFromCells(cells);
    const InitImage ii = initImageFromCells(cells);
    QCOMPARE(ci[16], Bel);
    QCOMPARE(ii[64], Bel);
    QCOMPARE(walkComment(ci), comment);
    const std::array<QString, 4> got = walkInitStrings(ii);
    QCOMPARE((QStringList{got[0], got[1], got[2], got[3]}), strings);
}
