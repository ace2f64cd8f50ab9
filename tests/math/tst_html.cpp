#include "math/VelQTmathText.h"

#include <QtTest>

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

private slots:
    void openingSpan_data()
    {
        QTest::addColumn<MTstyle>("env");
        QTest::addColumn<MTstyle>("defaults");
        QTest::addColumn<QString>("style");

        QTest::newRow("math italic, italic default") << style(true, true) << style(true)
                                                     << "font-size: 10pt; font-style: normal; ";
        QTest::newRow("math upright") << style(false, true) << style() << "font-size: 10pt; font-style: italic; ";
        MTstyle lines;
        lines.underlined = lines.strike = lines.overline = true;
        MTstyle underlinedDefault;
        underlinedDefault.underlined = true;
        QTest::newRow("decorations beyond the default") << lines << underlinedDefault
                                                        << "font-size: 10pt; text-decoration: overline, line-through";
    }

    void openingSpan()
    {
        QFETCH(MTstyle, env);
        QFETCH(MTstyle, defaults);
        QFETCH(QString, style);
        QCOMPARE(env.htmlOpen(defaults), "<span style=\"" + style + "\">");
        QCOMPARE(env.htmlClose(defaults), QStringLiteral("</span>"));
    }

    void formulas_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("html"); // between the thin spaces that every parsed formula has
        QTest::addColumn<bool>("ok");
        const QString a = span("a");
        QTest::newRow("text is escaped") << "a<b" << span("a&lt;b") << true;
        QTest::newRow("symbol and space") << "\\alpha b" << "&alpha;&nbsp;" + span("b") << true;
        QTest::newRow("indices") << "a^2b_i" << a + "<sup>" + span("2") + "</sup>" + span("b") + "<sub>" + span("i") + "</sub>"
                                 << true;
        QTest::newRow("bold") << "\\mathbf{a}" << span("a", "font-size: 10pt; font-weight: bold") << true;
        QTest::newRow("root") << "\\sqrt{a}" << "&radic;<span style=\"text-decoration:overline\">" + a + "&nbsp;</span>"
                              << true;
        QTest::newRow("angle brackets, double bars") << "\\left<a\\right>\\left\\|a\\right\\|" << "&lang;" + a + "&rang;||" + a + "||"
                                                  << true;
        // A part without an HTML form fails the whole; what came before it is written.
        QTest::newRow("fraction") << "a\\frac{1}{2}b" << a << false;
        QTest::newRow("bracket around a fraction") << "\\left(\\frac{1}{2}\\right)" << "()" << false;
        QTest::newRow("matrix") << "\\begin{matrix}a\\end{matrix}" << "" << false;
        QTest::newRow("unknown symbol") << "\\foo" << "" << false;
    }

    void formulas()
    {
        QFETCH(QString, text);
        QFETCH(QString, html);
        QFETCH(bool, ok);
        VelQTmathText engine;
        QVERIFY(engine.parse(text));
        bool succeeded = !ok;
        QCOMPARE(engine.toHtml(&succeeded), "&thinsp;" + html + (ok ? "&thinsp;" : ""));
        QCOMPARE(succeeded, ok);
    }

    void withoutTreeOrRaw()
    {
        VelQTmathText engine;
        bool ok = true;
        QCOMPARE(engine.toHtml(&ok), QString());
        QVERIFY(!ok);
        // The raw view is one plain text: the HTML of the text as given, at the given size.
        engine.setFontSize(30);
        engine.parse(QStringLiteral("x^2"));
        engine.setDrawRawText(true);
        QCOMPARE(engine.toHtml(&ok, 14), span("x^2", "font-size: 14pt; "));
        QVERIFY(ok);
    }
};

QTEST_MAIN(tst_html)
#include "tst_html.moc"
