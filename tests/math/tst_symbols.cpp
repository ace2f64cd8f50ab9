#include "math/MTsymbolNode.h"
#include "math/MTsymbolTables.h"
#include "tests/math/MathTestSupport.h"

#include <QtTest>

Q_DECLARE_METATYPE(MTencoding)
Q_DECLARE_METATYPE(MTsymbolRole)

class tst_symbols : public QObject
{
    Q_OBJECT

private slots:
    void resolution_data()
    {
        QTest::addColumn<MTencoding>("encoding");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<MTsymbolRole>("role");
        QTest::addColumn<double>("sizeFactor");

        const MTencoding u = EncodingUnicode, w = EncodingWinSymbol;
        QTest::newRow("unicode Greek") << u << "alpha" << QString(QChar(0x03B1)) << SymbolRoleDefault << 1.0;
        QTest::newRow("unicode relation") << u << "leq" << QString(QChar(0x2264)) << SymbolRoleSymbol << 1.0;
        QTest::newRow("unicode integral") << u << "int" << QString(QChar(0x222B)) << SymbolRoleSymbol << 1.8;
        QTest::newRow("empty name is a space") << u << "" << " " << SymbolRoleDefault << 1.0;
        QTest::newRow("unknown") << u << "foo" << "" << SymbolRoleDefault << 1.0;

        QTest::newRow("win big operator") << w << "sum" << "S" << SymbolRoleGreek << 1.8;
        QTest::newRow("win Upsilon is empty") << w << "Upsilon" << "" << SymbolRoleGreek << 1.0;
        QTest::newRow("win triple integral") << w << "iiint" << QString(3, QChar(0xF2)) << SymbolRoleSymbol << 1.8;
        QTest::newRow("win table before characters") << w << "cent" << "c" << SymbolRoleSymbol << 1.0;
        QTest::newRow("win barred h") << w << "hbar" << "h" << SymbolRoleDefault << 1.0;
        // TeX positions below 33 are moved up, as in the TrueType TeX fonts.
        QTest::newRow("tex Gamma") << EncodingTex << "Gamma" << QString(QChar(161)) << SymbolRoleGreek << 1.0;
    }

    void resolution()
    {
        QFETCH(MTencoding, encoding);
        QFETCH(QString, name);
        QFETCH(QString, symbol);
        QFETCH(MTsymbolRole, role);
        QFETCH(double, sizeFactor);
        VelQTmathText engine;
        engine.setFontEncoding(encoding);
        MTsymbolNode node(&engine, name);
        QCOMPARE(node.getSymbol(), symbol);
        QCOMPARE(node.getSymbolRole(), role);
        QCOMPARE(node.getSizeFactor(), sizeFactor);
        QCOMPARE(MTsymbolNode(&engine, name, true).getSymbol(), name == "foo" ? " " : symbol + " ");
    }

    void styleInMath_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<double>("size");
        QTest::addColumn<bool>("widens"); // by the operator width factor, in math only

        // The environment is bold italic math at 20 points.
        QTest::newRow("Greek is upright") << "alpha" << false << true << 20.0 << false;
        QTest::newRow("relation is widened") << "leq" << false << true << 20.0 << true;
        QTest::newRow("escaped character is upright and normal") << "%" << false << false << 20.0 << false;
        QTest::newRow("backslash keeps the environment") << "backslash" << true << true << 20.0 << false;
        QTest::newRow("integral is larger") << "int" << false << true << 36.0 << false;
        QTest::newRow("sum keeps the size") << "sum" << false << true << 20.0 << false;
    }

    void styleInMath()
    {
        QFETCH(QString, name);
        QFETCH(bool, italic);
        QFETCH(bool, bold);
        QFETCH(double, size);
        QFETCH(bool, widens);
        XitsEngine engine;
        MTsymbolNode node(&engine, name);
        MTstyle math = mathEnv(), text = mathEnv(false);
        math.bold = text.bold = true;
        const QFont font = node.symbolFont(math);
        QCOMPARE(font.italic(), italic);
        QCOMPARE(font.weight() == QFont::Bold, bold);
        QCOMPARE(font.pointSizeF(), size);

        engine.setMathoperatorWidthFactor(1.0);
        const double plainInMath = measure(&node, math).width, plainInText = measure(&node, text).width;
        engine.setMathoperatorWidthFactor(1.5);
        QCOMPARE(measure(&node, math).width, widens ? 1.5 * plainInMath : plainInMath);
        QCOMPARE(measure(&node, text).width, plainInText);
    }

    void standInsStayInsideTheirBox_data()
    {
        QTest::addColumn<MTencoding>("encoding");
        QTest::addColumn<QString>("name");
        QTest::newRow("long arrow") << EncodingUnicode << "longrightarrow";
        QTest::newRow("double bar") << EncodingUnicode << "|";
        QTest::newRow("rotated eight") << EncodingWinSymbol << "infty";
    }

    // Names without a glyph that still draw something are measured by what
    // they draw, so that the picture of a formula does not cut them off.
    void standInsStayInsideTheirBox()
    {
        QFETCH(MTencoding, encoding);
        QFETCH(QString, name);
        XitsEngine engine;
        engine.setFontEncoding(encoding);
        MTsymbolNode node(&engine, name);
        const MTstyle env = mathEnv();
        const Box s = measure(&node, env);
        QVERIFY(s.overall > 0);

        const int margin = 20;
        QImage image = blankImage(int(s.width) + 2 * margin, int(s.overall) + 2 * margin, Qt::transparent);
        QPainter painter(&image);
        node.draw(painter, margin, margin + s.baseline, env);
        painter.end();
        const QRect ink = inkBounds(image, opaque);
        QVERIFY(!ink.isNull());
        QVERIFY2(ink.left() >= margin - 1 && ink.right() <= margin + s.width + 1,
                 qPrintable(QString("ink %1..%2, box width %3").arg(ink.left()).arg(ink.right()).arg(s.width)));
    }
};

QTEST_MAIN(tst_symbols)
#include "tst_symbols.moc"
