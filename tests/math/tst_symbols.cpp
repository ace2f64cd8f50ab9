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

        const MTencoding u = EncodingUnicode, w = EncodingWinSymbol;
        QTest::newRow("unicode Greek") << u << "alpha" << QString(QChar(0x03B1)) << SymbolRoleDefault;
        QTest::newRow("unicode relation") << u << "leq" << QString(QChar(0x2264)) << SymbolRoleSymbol;
        QTest::newRow("LaTeX's short spelling") << u << "le" << QString(QChar(0x2264)) << SymbolRoleSymbol;
        QTest::newRow("LaTeX's double bar") << u << "|" << QString(QChar(0x2016)) << SymbolRoleSymbol;
        QTest::newRow("unicode integral") << u << "int" << QString(QChar(0x222B)) << SymbolRoleSymbol;
        QTest::newRow("empty name is a space") << u << "" << " " << SymbolRoleDefault;
        QTest::newRow("unknown") << u << "foo" << "" << SymbolRoleDefault;

        QTest::newRow("win big operator") << w << "sum" << "S" << SymbolRoleGreek;
        QTest::newRow("win Upsilon is empty") << w << "Upsilon" << "" << SymbolRoleGreek;
        QTest::newRow("win triple integral") << w << "iiint" << QString(3, QChar(0xF2)) << SymbolRoleSymbol;
        QTest::newRow("win table before characters") << w << "cent" << "c" << SymbolRoleSymbol;
        QTest::newRow("win barred h") << w << "hbar" << "h" << SymbolRoleDefault;
        // TeX positions below 33 are moved up, as in the TrueType TeX fonts.
        QTest::newRow("tex Gamma") << EncodingTex << "Gamma" << QString(QChar(161)) << SymbolRoleGreek;
    }

    void resolution()
    {
        QFETCH(MTencoding, encoding);
        QFETCH(QString, name);
        QFETCH(QString, symbol);
        QFETCH(MTsymbolRole, role);
        VelQTmathText engine;
        engine.setFontEncoding(encoding);
        MTsymbolNode node(&engine, name);
        QCOMPARE(node.getSymbol(), symbol);
        QCOMPARE(node.getSymbolRole(), role);
        QCOMPARE(MTsymbolNode(&engine, name, true).getSymbol(), name == "foo" ? " " : symbol + " ");
    }

    void styleInMath_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("bold");

        // The environment is bold italic math at 20 points.
        QTest::newRow("Greek is upright") << "alpha" << false << true;
        QTest::newRow("relation is upright") << "leq" << false << true;
        QTest::newRow("escaped character is upright and normal") << "%" << false << false;
        QTest::newRow("backslash keeps the environment") << "backslash" << true << true;
    }

    void styleInMath()
    {
        QFETCH(QString, name);
        QFETCH(bool, italic);
        QFETCH(bool, bold);
        XitsEngine engine;
        MTsymbolNode node(&engine, name);
        MTstyle math = mathEnv();
        math.bold = true;
        const QFont font = node.symbolFont(math);
        QCOMPARE(font.italic(), italic);
        QCOMPARE(font.weight() == QFont::Bold, bold);
        QCOMPARE(font.pointSizeF(), 20.0);
    }

    void bigOperatorsAfterTeX_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("display");
        QTest::addColumn<double>("height"); // of the ink, in ems: TeX's glyphs of cmex10

        QTest::newRow("integral in running text") << "int" << false << 1.11;
        QTest::newRow("integral in display style") << "int" << true << 2.22;
        QTest::newRow("sum in running text") << "sum" << false << 1.0;
        QTest::newRow("sum in display style") << "sum" << true << 1.4;
        QTest::newRow("contour integral") << "oint" << false << 1.11;
    }

    // As tall as TeX's, whatever the proportions of the font's glyph, and
    // centred on the math axis (the middle of "+").
    void bigOperatorsAfterTeX()
    {
        QFETCH(QString, name);
        QFETCH(bool, display);
        QFETCH(double, height);
        XitsEngine engine;
        MTsymbolNode node(&engine, name);
        MTstyle env = mathEnv();
        env.mathStyle = display ? MathDisplay : MathText;
        const Box box = measure(&node, env);
        MTstyle roman = mathEnv();
        roman.italic = false;
        const QFontMetricsF upright(roman.getFont(&engine));
        const double em = 20 * upright.fontDpi() / 72;
        QVERIFY2(std::abs(box.overall / em - height) < 0.05, qPrintable(QString::number(box.overall / em)));
        const QRectF plus = upright.tightBoundingRect(QStringLiteral("+"));
        QVERIFY2(std::abs((box.baseline - box.depth()) / 2 + plus.center().y()) <= 1,
                 qPrintable(QStringLiteral("middle %1, axis %2")
                                .arg((box.baseline - box.depth()) / 2)
                                .arg(-plus.center().y())));
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
