#include "math/MTinstruction1Node.h"
#include "math/MTbraceNode.h"
#include "math/MTlistNode.h"
#include "math/MTplainTextNode.h"
#include "math/MTsubscriptNode.h"
#include "math/MTtextNode.h"
#include "tests/math/MathTestSupport.h"

#include <QtTest>

#include <functional>
#include <memory>

namespace {

using EnvChange = std::function<void(MTstyle&)>;

// The editor's picture of "$" + formula, on white.
QImage editorPicture(const QString& formula)
{
    XitsEngine engine;
    engine.parse(QLatin1Char('$') + formula);
    QPainter painter;
    const QSizeF size = engine.getSize(painter);
    QImage image = blankImage(int(size.width()) + 1, int(size.height()) + 1);
    painter.begin(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    engine.draw(painter, Qt::AlignCenter, QRectF(image.rect()));
    return image;
}

// The runs of rows (Qt::Vertical) or columns (Qt::Horizontal) that hold ink,
// from the top or the left; `text` lists them for failure messages.
QVector<QPair<int, int>> inkRuns(const QImage& image, Qt::Orientation direction, QString* text)
{
    const bool rows = direction == Qt::Vertical;
    QVector<QPair<int, int>> runs;
    bool inRun = false;
    for (int i = 0; i < (rows ? image.height() : image.width()); ++i) {
        bool ink = false;
        for (int j = 0; j < (rows ? image.width() : image.height()) && !ink; ++j)
            ink = dark(rows ? image.pixel(j, i) : image.pixel(i, j));
        if (ink && !inRun)
            runs.append({i, i});
        if (ink)
            runs.last().second = i;
        inRun = ink;
    }
    for (const auto& run : runs)
        *text += QStringLiteral("%1-%2 ").arg(run.first).arg(run.second);
    return runs;
}

} // namespace

Q_DECLARE_METATYPE(EnvChange)

class tst_layout : public QObject
{
    Q_OBJECT

    std::unique_ptr<VelQTmathText> engine;

    MTnode* text(const QString& t) { return new MTtextNode(engine.get(), t, false, true); }
    // The size of "$" + formula at 20 points, as the engine's tree measures it.
    Box parsed(const QString& formula)
    {
        engine->parse(QLatin1Char('$') + formula);
        return measure(engine->getTree(), mathEnv(false));
    }

private slots:
    void init()
    {
        engine = std::make_unique<XitsEngine>();
    }

    void sizesEnlargedByATenth_data()
    {
        QTest::addColumn<QString>("formula"); // empty: nothing parsed
        QTest::addColumn<bool>("raw");
        QTest::newRow("nothing parsed") << "" << false;
        QTest::newRow("letter without depth: descent a tenth of the ascent") << "x" << false;
        QTest::newRow("descender and index") << "y_i^2" << false;
        QTest::newRow("raw text") << "\\frac{a}{b}" << true;
    }

    void sizesEnlargedByATenth()
    {
        QFETCH(QString, formula);
        QFETCH(bool, raw);
        const Box tree = formula.isEmpty() ? Box() : parsed(formula);
        MTplainTextNode rawNode(engine.get(), "$" + formula, false, false);
        const Box box = raw ? measure(&rawNode, mathEnv(false)) : tree;
        engine->setDrawRawText(raw);
        QPainter painter;
        double width = 0, ascent = 0, descent = 0, strikeout = 0;
        engine->measureDetail(painter, width, ascent, descent, strikeout);
        QCOMPARE(width, box.width);
        QCOMPARE(ascent, box.baseline * 1.1);
        QCOMPARE(descent, std::max(box.depth() * 1.1, ascent * 0.1));
        QCOMPARE(strikeout, box.strikeout * 1.1);
        QCOMPARE(engine->getSize(painter), QSizeF(width, ascent + descent));
        QCOMPARE(engine->getAscent(painter), ascent);
        QCOMPARE(engine->getDescent(painter), descent);
    }

    void alignedInRectangle_data()
    {
        QTest::addColumn<uint>("flags");
        QTest::addColumn<double>("xShare"); // share of the free width left of the formula
        QTest::addColumn<double>("yShare");
        QTest::newRow("top left") << uint(Qt::AlignLeft | Qt::AlignTop) << 0.0 << 0.0;
        QTest::newRow("right, centred vertically") << uint(Qt::AlignRight | Qt::AlignVCenter) << 1.0 << 0.5;
        QTest::newRow("bottom, centred horizontally") << uint(Qt::AlignHCenter | Qt::AlignBottom) << 0.5 << 1.0;
    }

    void alignedInRectangle()
    {
        QFETCH(uint, flags);
        QFETCH(double, xShare);
        QFETCH(double, yShare);
        // Alignment uses the sizes without the tenth.
        const Box box = parsed("\\frac{a}{b}+y^2 \\alpha\\infty \\left(x\\right) \\textcolor{red}{b}");
        const QRectF rect(20, 10, 260, 120);
        // Nodes set fonts and pens while they draw; the caller gets its own back
        // (else the picture is null).
        const auto drawn = [](const std::function<void(QPainter&)>& draw) {
            QImage image = blankImage();
            QPainter painter(&image);
            const QPen pen(Qt::green, 3);
            painter.setFont(QFont(QStringLiteral("Courier"), 7));
            painter.setPen(pen);
            painter.setBrush(Qt::blue);
            const QFont font = painter.font();
            draw(painter);
            return painter.font() == font && painter.pen() == pen && painter.brush() == QBrush(Qt::blue) ? image : QImage();
        };
        const QImage aligned = drawn([&](QPainter& p) { engine->draw(p, flags, rect); });
        QVERIFY(!inkBounds(aligned).isNull());
        QCOMPARE(aligned, drawn([&](QPainter& p) {
                     engine->draw(p, rect.left() + (rect.width() - box.width) * xShare,
                                  rect.top() + box.baseline + (rect.height() - box.overall) * yShare);
                 }));
    }

    // Operators are spaced and letters mapped only with the Unicode encoding;
    // a plain text node (the raw view) is never changed.
    void textTransformed()
    {
        MTtextNode node(engine.get(), QString(), false, false);
        MTplainTextNode plain(engine.get(), QString(), false, false);
        MTstyle blackboard = mathEnv(false);
        blackboard.font = StyleBlackboard;
        QCOMPARE(node.transformText("a/b;c:d", mathEnv()), QStringLiteral("a / b; c : d"));
        QCOMPARE(plain.transformText("a/b;c:d", mathEnv()), QStringLiteral("a/b;c:d"));
        QCOMPARE(node.transformText("a-b", mathEnv(false)), QStringLiteral("a-b"));
        QCOMPARE(node.transformText("NZdx", blackboard), QString::fromUtf8("\u2115\u2124\u2146x"));
        engine->setFontEncoding(EncodingWinSymbol);
        QCOMPARE(node.transformText("a-b", mathEnv()), QStringLiteral("a-b"));
        QCOMPARE(node.transformText("R", blackboard), QStringLiteral("R"));
    }

    void glyphsDrawn_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("runs"); // drawn one after the other
        QTest::addColumn<QString>("fonts"); // per run: i italic, u upright, c upright from the math companion

        // In italic math.
        const int roman = int(StyleRoman), bb = int(StyleBlackboard);
        QTest::newRow("digit first, letters in one italic run") << roman << "2ab1c" << QStringList{"2", "ab", "1", "c"} << "uiui";
        QTest::newRow("letterlike double-struck, then one only among the math letters") << bb << "RD"
            << QStringList{QString(QChar(0x211D)), QString::fromUcs4(U"\U0001D53B")} << "uc";
        QTest::newRow("script only among the math letters") << int(StyleCaligraphic) << "A"
            << QStringList{QString::fromUcs4(U"\U0001D49C")} << "c";
    }

    void glyphsDrawn()
    {
        QFETCH(int, role);
        QFETCH(QString, text);
        QFETCH(QStringList, runs);
        QFETCH(QString, fonts);
        MTstyle env = mathEnv();
        env.font = MTstyleFont(role);
        MTtextNode node(engine.get(), text, false, true);
        QImage drawn = blankImage(), expected = blankImage();
        QPainter painter(&drawn);
        node.draw(painter, 10, 60, env);
        painter.end();
        painter.begin(&expected); // drawn here without the engine
        double x = 10;
        for (int i = 0; i < runs.size(); ++i) {
            QFont font = env.getFont(engine.get());
            font.setItalic(fonts.at(i) == 'i');
            if (fonts.at(i) == 'c')
                font.setFamily(engine->mathCompanionFamily(font.family()));
            painter.setFont(font);
            painter.drawText(QPointF(x, 60), runs.at(i));
            x += QFontMetricsF(font, &expected).horizontalAdvance(runs.at(i));
        }
        painter.end();
        QVERIFY(!inkBounds(expected).isNull()); // the font does hold the glyphs
        QCOMPARE(drawn, expected);
    }

    void instructionsChangeEnvironment_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<EnvChange>("change");

        // Of italic math; as in TeX, "\mathbf{v}" is an upright bold v.
        QTest::newRow("mathbf") << "mathbf" << EnvChange([](MTstyle& e) { e.bold = true, e.italic = false; });
        QTest::newRow("mathsf") << "mathsf" << EnvChange([](MTstyle& e) { e.font = StyleSans, e.italic = false; });
        QTest::newRow("bf keeps the slant") << "bf" << EnvChange([](MTstyle& e) { e.bold = true; });
        QTest::newRow("scriptstyle") << "scriptstyle" << EnvChange([](MTstyle& e) { e.fontSize *= 0.8; });
        QTest::newRow("unknown") << "nosuchcommand" << EnvChange([](MTstyle&) {});
    }

    void instructionsChangeEnvironment()
    {
        QFETCH(QString, command);
        QFETCH(EnvChange, change);
        MTinstruction1Node node(engine.get(), command, text("Wavy"));
        MTstyle expected = mathEnv();
        change(expected);
        MTstyle slantChanged = expected;
        slantChanged.italic = !expected.italic;
        const double width = measure(&node, mathEnv()).width;
        QCOMPARE(width, measure(text("Wavy"), expected).width);
        QVERIFY(width != measure(text("Wavy"), slantChanged).width);
    }

    void boxWidensByAnX()
    {
        const MTstyle env = mathEnv(false);
        const Box inner = measure(text("x"), env);
        const double p = QFontMetricsF(env.getFont(engine.get())).horizontalAdvance(QLatin1Char('x'));
        for (const QStringList& call : {QStringList{"fbox"}, QStringList{"colorbox", "red"}}) {
            MTinstruction1Node box(engine.get(), call.first(), text("x"), call.mid(1));
            const Box outer = measure(&box, env);
            QCOMPARE(outer.width, inner.width + p);
            QCOMPARE(outer.overall, inner.overall + p);
            QCOMPARE(outer.baseline, inner.baseline + p / 2);
            QImage image = blankImage();
            QPainter painter(&image);
            QCOMPARE(box.draw(painter, 10, 60, env), 10 + outer.width); // what follows starts after the frame
        }
    }

    void indices()
    {
        const Box base = parsed("x"), raised = parsed("x^2"), lowered = parsed("x_2"), both = parsed("x_i^2");
        QVERIFY(raised.baseline > base.baseline);
        QVERIFY(lowered.depth() > base.depth());
        // A pair is set one above the other: narrower than the two side by side.
        QVERIFY(both.width < raised.width + lowered.width - base.width);
        QVERIFY(both.baseline >= raised.baseline && both.depth() >= lowered.depth());
        // A raised index ends above the baseline, however nested: no blank band underneath.
        for (const auto& pair : {std::make_pair("x_i", "x_i^{2^{3}}"), std::make_pair("\\left(x\\right)", "\\left(x\\right)^{n^2}")}) {
            const Box plain = parsed(pair.first), indexed = parsed(pair.second);
            QVERIFY2(indexed.baseline > plain.baseline && qFuzzyCompare(indexed.depth(), plain.depth()), pair.second);
        }

        // Nested lower indices at the end of a formula stay inside its width.
        const auto indexed = [this](const QString& base, MTnode* index) {
            auto* list = new MTlistNode(engine.get());
            list->addNode(text(base));
            list->addNode(new MTsubscriptNode(engine.get(), index));
            return list;
        };
        std::unique_ptr<MTnode> nested(indexed("a", indexed("i", indexed("j", text("k")))));
        QImage image = blankImage();
        QPainter painter(&image);
        nested->draw(painter, 10, 60, mathEnv());
        painter.end();
        QVERIFY(inkBounds(image).right() <= 10 + measure(nested.get(), mathEnv()).width + 1);
    }

    void partsSetApart_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<bool>("stacked"); // runs of ink rows, else of ink columns
        QTest::addColumn<int>("count"); // stacked: limits and operator; else: the operator's run

        // Each limit is set apart from the operator's ink by clear rows, as TeX
        // sets them at least a tenth of an em off (2 to 4 pixels here).
        QTest::newRow("sum") << "\\sum_{i=1}^{n}" << true << 3;
        QTest::newRow("integral") << "\\int_0^{10}" << true << 3;
        QTest::newRow("limit") << "\\lim_{x\\to0}" << true << 2;
        QTest::newRow("no big operator: an ordinary index") << "\\alpha_{k}" << true << 1;
        // A binary operator stands alone with about the same room on both sides.
        QTest::newRow("minus") << "a-b" << false << 1;
        QTest::newRow("plus after an index") << "a^2+b" << false << 2;
        QTest::newRow("equals before a fraction") << "a=\\frac{1}{2}" << false << 1;
    }

    void partsSetApart()
    {
        QFETCH(QString, formula);
        QFETCH(bool, stacked);
        QFETCH(int, count);
        QString text;
        const auto runs = inkRuns(editorPicture(formula), stacked ? Qt::Vertical : Qt::Horizontal, &text);
        if (stacked) {
            QVERIFY2(runs.size() == count, qPrintable(text));
            for (int i = 1; i < runs.size(); ++i)
                QVERIFY2(runs.at(i).first - runs.at(i - 1).second > 3, qPrintable(text));
            return;
        }
        QVERIFY2(runs.size() > count + 1 && runs.at(count).second - runs.at(count).first > 8, qPrintable(text));
        const int before = runs.at(count).first - runs.at(count - 1).second;
        const int after = runs.at(count + 1).first - runs.at(count).second;
        QVERIFY2(before > 3 && after > 3 && std::abs(before - after) <= 4, qPrintable(text));
    }

    void fractionSizes()
    {
        const Box f = parsed("\\frac{1}{2}"), t = parsed("\\tfrac{1}{2}"), d = parsed("\\dfrac{1}{2}");
        QVERIFY(t.width < f.width && t.overall < f.overall);
        QVERIFY(f.width < d.width && f.overall < d.overall);
        // A deep denominator deepens the box below the bar only.
        const Box deep = parsed("\\frac{1}{\\frac{1}{\\frac{1}{x}}}");
        QCOMPARE(deep.baseline, f.baseline);
        QVERIFY(deep.depth() > 2 * f.depth());
    }

    void ruleWidth_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<double>("fontSize");
        QTest::addColumn<int>("thickness");
        QTest::newRow("fraction bar at 20 points") << "\\frac{a}{b}" << 20.0 << 2;
        QTest::newRow("root sign at 20 points") << "\\sqrt{M}" << 20.0 << 2;
        QTest::newRow("fraction bar at 40 points") << "\\frac{a}{b}" << 40.0 << 3;
    }

    void ruleWidth()
    {
        QFETCH(QString, formula);
        QFETCH(double, fontSize);
        QFETCH(int, thickness);
        engine->setFontSize(fontSize);
        parsed(formula);
        QImage image = blankImage();
        QPainter painter(&image); // no antialiasing: only the rule's own pixels
        engine->draw(painter, Qt::AlignCenter, QRectF(image.rect()));
        painter.end();
        // The bar at the fraction's left edge, the root's roof above its middle.
        const QRect ink = inkBounds(image);
        const int column = formula.contains("frac") ? ink.left() + 1 : ink.center().x();
        QString runs;
        const auto rule = inkRuns(image.copy(column, 0, 1, image.height()), Qt::Vertical, &runs).value(0);
        QCOMPARE(rule.second - rule.first + 1, thickness);
    }

    void bracePairAroundEmptyList()
    {
        // Two slots, each with its bracket drawn in it ("#": double bars).
        for (const QString pair : {"()", "{}", "<>", "##"}) {
            MTbraceNode brace(engine.get(), pair.left(1), pair.mid(1), new MTlistNode(engine.get()));
            const Box box = measure(&brace, mathEnv());
            QImage image = blankImage();
            QPainter painter(&image);
            QCOMPARE(brace.draw(painter, 10, 80, mathEnv()), 10 + box.width);
            painter.end();
            const int middle = int(10 + box.width / 2);
            QVERIFY2(box.width > 0 && !inkBounds(image.copy(0, 0, middle, 150)).isNull(), qPrintable(pair));
            QVERIFY2(!inkBounds(image.copy(middle, 0, 300 - middle, 150)).isNull(), qPrintable(pair));
        }
    }

    void bracketsGrowWithContent()
    {
        const Box x = parsed("x"), small = parsed("\\left(x\\right)");
        const Box fraction = parsed("\\frac{a}{\\frac{b}{c}}"), tall = parsed("\\left(\\frac{a}{\\frac{b}{c}}\\right)");
        QVERIFY(tall.overall > small.overall * 1.5);
        QVERIFY(tall.width - fraction.width > small.width - x.width);
        // The brace keeps its room even when its closing bracket is not drawn.
        QCOMPARE(parsed("\\left(x\\right.").width, small.width);
        // Around a short letter the brackets keep the size of the font's "(".
        const QRectF paren = QFontMetricsF(mathEnv().getFont(engine.get())).tightBoundingRect(QStringLiteral("("));
        QVERIFY(small.baseline >= -paren.top() && small.overall >= paren.height());
    }
};

QTEST_MAIN(tst_layout)
#include "tst_layout.moc"
