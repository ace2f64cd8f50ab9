#include "math/MTbraceNode.h"
#include "math/MTdecoratedNode.h"
#include "math/MTfracNode.h"
#include "math/MTinstruction1Node.h"
#include "math/MTlistNode.h"
#include "math/MTmatrixNode.h"
#include "math/MTsqrtNode.h"
#include "math/MTsubscriptNode.h"
#include "math/MTsuperscriptNode.h"
#include "math/MTsymbolNode.h"
#include "math/MTtextNode.h"
#include "math/MTwhitespaceNode.h"
#include "math/VelQTmathText.h"

#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(MTstyle)

namespace {

MTstyle style(bool italic = false, bool insideMath = false)
{
    MTstyle env;
    env.italic = italic;
    env.insideMath = insideMath;
    return env;
}

QString span(const QString& inner, const QString& style = QStringLiteral("font-size: 10pt; "))
{
    return "<span style=\"" + style + "\">" + inner + "</span>";
}

} // namespace

class tst_html : public QObject
{
    Q_OBJECT

    std::unique_ptr<VelQTmathText> engine;

    MTnode* text(const QString& t) { return new MTtextNode(engine.get(), t, false, false); }
    MTnode* list(std::initializer_list<MTnode*> nodes)
    {
        auto* l = new MTlistNode(engine.get());
        for (MTnode* node : nodes)
            l->addNode(node);
        return l;
    }

private slots:
    void init() { engine = std::make_unique<VelQTmathText>(); }
    void openingSpan_data();
    void openingSpan();
    void nodes_data();
    void nodes();
    void listStopsAtFirstFailure();
    void engineWithoutTree();
    void engineUsesTheGivenSize();
};

void tst_html::openingSpan_data()
{
    QTest::addColumn<MTstyle>("env");
    QTest::addColumn<MTstyle>("defaults");
    QTest::addColumn<QString>("style");

    MTstyle sized;
    sized.fontSize = 12.5;
    QTest::newRow("size only") << sized << style() << "font-size: 12.5pt; ";
    QTest::newRow("italic text") << style(true) << style() << "font-size: 10pt; font-style: italic; ";
    QTest::newRow("italic on italic text") << style(true) << style(true) << "font-size: 10pt; ";
    QTest::newRow("math italic, italic default") << style(true, true) << style(true)
                                                 << "font-size: 10pt; font-style: normal; ";
    QTest::newRow("math upright, italic default") << style(false, true) << style(true)
                                                  << "font-size: 10pt; font-style: italic; ";
    QTest::newRow("math upright, upright default") << style(false, true) << style()
                                                   << "font-size: 10pt; font-style: italic; ";
    QTest::newRow("math italic, upright default") << style(true, true) << style() << "font-size: 10pt; ";
    MTstyle bold;
    bold.bold = true;
    QTest::newRow("bold") << bold << style() << "font-size: 10pt; font-weight: bold";
    QTest::newRow("bold default") << bold << bold << "font-size: 10pt; ";
    MTstyle lines;
    lines.underlined = true;
    lines.strike = true;
    QTest::newRow("decorations") << lines << style() << "font-size: 10pt; text-decoration: underline, line-through";
    lines.overline = true;
    MTstyle underlinedDefault;
    underlinedDefault.underlined = true;
    QTest::newRow("decorations beyond the default") << lines << underlinedDefault
                                                    << "font-size: 10pt; text-decoration: overline, line-through";
}

void tst_html::openingSpan()
{
    QFETCH(MTstyle, env);
    QFETCH(MTstyle, defaults);
    QFETCH(QString, style);
    QCOMPARE(env.htmlOpen(defaults), "<span style=\"" + style + "\">");
    QCOMPARE(env.htmlClose(defaults), QStringLiteral("</span>"));
}

void tst_html::nodes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("html");
    QTest::addColumn<bool>("ok");
    const QString a = span("a");
    QTest::newRow("text") << "text" << a << true;
    QTest::newRow("text is escaped") << "less" << span("a&lt;b") << true;
    QTest::newRow("whitespace") << "space" << "&nbsp;" << true;
    QTest::newRow("empty list") << "empty" << "" << true;
    QTest::newRow("a^2") << "power" << a + "<sup>" + span("2") + "</sup>" << true;
    QTest::newRow("subscript") << "index" << a + "<sub>" + span("i") + "</sub>" << true;
    QTest::newRow("bold instruction") << "bold" << span("a", "font-size: 10pt; font-weight: bold") << true;
    QTest::newRow("box adds nothing") << "fbox" << a << true;
    QTest::newRow("root") << "sqrt" << "&radic;<span style=\"text-decoration:overline\">" + a + "&nbsp;</span>"
                          << true;
    QTest::newRow("angle brackets") << "angle" << "&lang;" + a + "&rang;" << true;
    QTest::newRow("floor") << "floor" << "&lfloor;" + a + "&rfloor;" << true;
    QTest::newRow("ceiling") << "ceil" << "&lceil;" + a + "&rceil;" << true;
    QTest::newRow("double bars") << "norm" << "||" + a + "||" << true;
    QTest::newRow("round brackets as they are") << "round" << "(" + a + ")" << true;
    QTest::newRow("symbol entity") << "alpha" << "&alpha;" << true;
    QTest::newRow("fraction") << "frac" << "" << false;
    QTest::newRow("matrix") << "matrix" << "" << false;
    QTest::newRow("accent") << "accent" << "" << false;
    QTest::newRow("bracket around a fraction") << "bracedFrac" << "()" << false;
}

void tst_html::nodes()
{
    QFETCH(QString, name);
    QFETCH(QString, html);
    QFETCH(bool, ok);
    VelQTmathText* e = engine.get();
    const QHash<QString, std::function<MTnode*()>> make = {
        {"text", [&] { return text("a"); }},
        {"less", [&] { return text("a<b"); }},
        {"space", [&] { return new MTwhitespaceNode(e); }},
        {"empty", [&] { return list({}); }},
        {"power", [&] { return list({text("a"), new MTsuperscriptNode(e, text("2"))}); }},
        {"index", [&] { return list({text("a"), new MTsubscriptNode(e, text("i"))}); }},
        {"bold", [&] { return new MTinstruction1Node(e, "mathbf", text("a")); }},
        {"fbox", [&] { return new MTinstruction1Node(e, "fbox", text("a")); }},
        {"sqrt", [&] { return new MTsqrtNode(e, text("a")); }},
        {"angle", [&] { return new MTbraceNode(e, "<", ">", text("a")); }},
        {"floor", [&] { return new MTbraceNode(e, "_", "_", text("a")); }},
        {"ceil", [&] { return new MTbraceNode(e, "~", "~", text("a")); }},
        {"norm", [&] { return new MTbraceNode(e, "||", "||", text("a")); }},
        {"round", [&] { return new MTbraceNode(e, "(", ")", text("a")); }},
        {"alpha", [&] { return new MTsymbolNode(e, "alpha", false); }},
        {"frac", [&] { return new MTfracNode(e, text("1"), text("2"), FractionFrac); }},
        {"matrix", [&] { return new MTmatrixNode(e, {{text("a")}}); }},
        {"accent", [&] { return new MTdecoratedNode(e, AccentHat, text("a")); }},
        {"bracedFrac", [&] { return new MTbraceNode(e, "(", ")", new MTfracNode(e, text("1"), text("2"), FractionFrac)); }},
    };
    std::unique_ptr<MTnode> node(make.value(name)());
    QString out;
    QCOMPARE(node->toHtml(out, MTstyle(), MTstyle()), ok);
    QCOMPARE(out, html);
}

void tst_html::listStopsAtFirstFailure()
{
    std::unique_ptr<MTnode> node(
        list({text("a"), new MTfracNode(engine.get(), text("1"), text("2"), FractionFrac), text("b")}));
    QString out;
    QVERIFY(!node->toHtml(out, MTstyle(), MTstyle()));
    QCOMPARE(out, span("a")); // "b" after the fraction is not written
}

void tst_html::engineWithoutTree()
{
    bool ok = true;
    QCOMPARE(engine->toHtml(&ok), QString());
    QVERIFY(!ok);
}

void tst_html::engineUsesTheGivenSize()
{
    // The raw view is one plain text: the HTML of the text as given.
    engine->setFontSize(30);
    engine->parse(QStringLiteral("x"));
    engine->setDrawRawText(true);
    bool ok = false;
    QCOMPARE(engine->toHtml(&ok, 14), span("x", "font-size: 14pt; "));
    QVERIFY(ok);
}

QTEST_MAIN(tst_html)
#include "tst_html.moc"
