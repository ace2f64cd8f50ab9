#ifndef VELQTMATHTEXT_H
#define VELQTMATHTEXT_H

#include "math/MTencoding.h"
#include "math/MTstyle.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

class MTlistNode;
class MTnode;
class MTplainTextNode;
class QPaintDevice;
class QPainter;
class QPointF;
class QSettings;

// The formula typesetting engine: holds the typesetting settings, turns a
// LaTeX-like text into a node tree, measures and draws it.
//
// Usual order: construct, setFontSize(), selectXitsFonts(), parse(),
// getSize() with an inactive painter, then draw() on the target device.
class VelQTmathText : public QObject
{
    Q_OBJECT
public:
    explicit VelQTmathText(QObject* parent = nullptr);
    ~VelQTmathText() override;

    virtual void setFontColor(const QColor& value) { fontColor = value; settingsChanged(); }
    virtual QColor getFontColor() const { return fontColor; }
    virtual void setFontSize(const double& value) { fontSize = value; settingsChanged(); }
    virtual double getFontSize() const { return fontSize; }
    virtual void setFontRoman(const QString& value) { fontRoman = value; settingsChanged(); }
    virtual QString getFontRoman() const { return fontRoman; }
    virtual void setFontSans(const QString& value) { fontSans = value; settingsChanged(); }
    virtual QString getFontSans() const { return fontSans; }
    virtual void setFontTypewriter(const QString& value) { fontTypewriter = value; settingsChanged(); }
    virtual QString getFontTypewriter() const { return fontTypewriter; }
    virtual void setFontScript(const QString& value) { fontScript = value; settingsChanged(); }
    virtual QString getFontScript() const { return fontScript; }
    virtual void setFontGreek(const QString& value) { fontGreek = value; settingsChanged(); }
    virtual QString getFontGreek() const { return fontGreek; }
    virtual void setFontSymbol(const QString& value) { fontSymbol = value; settingsChanged(); }
    virtual QString getFontSymbol() const { return fontSymbol; }
    virtual void setFontBraces(const QString& value) { fontBraces = value; settingsChanged(); }
    virtual QString getFontBraces() const { return fontBraces; }
    virtual void setFontIntegrals(const QString& value) { fontIntegrals = value; settingsChanged(); }
    virtual QString getFontIntegrals() const { return fontIntegrals; }
    virtual void setFontCaligraphic(const QString& value) { fontCaligraphic = value; settingsChanged(); }
    virtual QString getFontCaligraphic() const { return fontCaligraphic; }
    virtual void setFontBlackboard(const QString& value) { fontBlackboard = value; settingsChanged(); }
    virtual QString getFontBlackboard() const { return fontBlackboard; }
    virtual void setFontMathRoman(const QString& value) { fontMathRoman = value; settingsChanged(); }
    virtual QString getFontMathRoman() const { return fontMathRoman; }
    virtual void setFontMathSans(const QString& value) { fontMathSans = value; settingsChanged(); }
    virtual QString getFontMathSans() const { return fontMathSans; }
    virtual void setTexFontPrefix(const QString& value) { texFontPrefix = value; settingsChanged(); }
    virtual QString getTexFontPrefix() const { return texFontPrefix; }
    virtual void setTexFontSuffix(const QString& value) { texFontSuffix = value; settingsChanged(); }
    virtual QString getTexFontSuffix() const { return texFontSuffix; }
    virtual void setFontEncoding(const MTencoding& value) { fontEncoding = value; settingsChanged(); }
    virtual MTencoding getFontEncoding() const { return fontEncoding; }
    virtual bool getUseStixFonts() const { return useStixFonts; }
    virtual bool getUseXitsFonts() const { return useXitsFonts; }
    // The layout factors below are kept, read and written as settings, but
    // the layout follows TeX's rules (MTtexParameters.h) and reads only two
    // of them: subsuperSizeFactor, the size of script style (squared for
    // scriptscript), and braceShrinkFactor, the room of a drawn bracket.
    virtual void setBraceFactor(const double& value) { braceFactor = value; settingsChanged(); }
    virtual double getBraceFactor() const { return braceFactor; }
    virtual void setSubsuperSizeFactor(const double& value) { subsuperSizeFactor = value; settingsChanged(); }
    virtual double getSubsuperSizeFactor() const { return subsuperSizeFactor; }
    virtual void setItalicCorrectionFactor(const double& value) { italicCorrectionFactor = value; settingsChanged(); }
    virtual double getItalicCorrectionFactor() const { return italicCorrectionFactor; }
    virtual void setOperatorsubsuperSizeFactor(const double& value) { operatorsubsuperSizeFactor = value; settingsChanged(); }
    virtual double getOperatorsubsuperSizeFactor() const { return operatorsubsuperSizeFactor; }
    virtual void setMathoperatorWidthFactor(const double& value) { mathoperatorWidthFactor = value; settingsChanged(); }
    virtual double getMathoperatorWidthFactor() const { return mathoperatorWidthFactor; }
    virtual void setSuperShiftFactor(const double& value) { superShiftFactor = value; settingsChanged(); }
    virtual double getSuperShiftFactor() const { return superShiftFactor; }
    virtual void setSubShiftFactor(const double& value) { subShiftFactor = value; settingsChanged(); }
    virtual double getSubShiftFactor() const { return subShiftFactor; }
    virtual void setBraceShrinkFactor(const double& value) { braceShrinkFactor = value; settingsChanged(); }
    virtual double getBraceShrinkFactor() const { return braceShrinkFactor; }
    virtual void setUnderbraceFactor(const double& value) { underbraceFactor = value; settingsChanged(); }
    virtual double getUnderbraceFactor() const { return underbraceFactor; }
    virtual void setUndersetFactor(const double& value) { undersetFactor = value; settingsChanged(); }
    virtual double getUndersetFactor() const { return undersetFactor; }
    virtual void setFracFactor(const double& value) { fracFactor = value; settingsChanged(); }
    virtual double getFracFactor() const { return fracFactor; }
    virtual void setFracShiftFactor(const double& value) { fracShiftFactor = value; settingsChanged(); }
    virtual double getFracShiftFactor() const { return fracShiftFactor; }
    virtual void setBraceYShiftFactor(const double& value) { braceYShiftFactor = value; settingsChanged(); }
    virtual double getBraceYShiftFactor() const { return braceYShiftFactor; }
    virtual void setDecorationHeightFactor(const double& value) { decorationHeightFactor = value; settingsChanged(); }
    virtual double getDecorationHeightFactor() const { return decorationHeightFactor; }
    virtual void setDrawRawText(const bool& value) { drawRawText = value; settingsChanged(); }
    virtual bool getDrawRawText() const { return drawRawText; }
    virtual QStringList getErrors() const { return errors; }
    // Still owned by the engine; null before a successful parse.
    virtual MTnode* getTree() const { return tree; }

    // Reads `text` into the tree (see VelQTmathText_parser.cpp). Errors do
    // not make it fail: they are collected in getErrors().
    bool parse(QString text);

    // The size of a picture of the formula: its ink and an even margin on
    // all four sides (draw() aligns that picture in a rectangle).
    void measureDetail(QPainter& painter, double& width, double& ascent, double& descent, double& strikeoutPos);
    QSizeF getSize(QPainter& painter);
    double getAscent(QPainter& painter);
    double getDescent(QPainter& painter);
    // Draws with the left end of the baseline at (x, y).
    void draw(QPainter& painter, double x, double y, bool debugBoxes = false);
    // Draws aligned in rect by Qt::Alignment flags.
    void draw(QPainter& painter, unsigned int flags, QRectF rect, bool debugBoxes = false);
    QString toHtml(bool* ok = nullptr, double fontSize = 10);

    // Keys are group + key ("font_size", ...). Only values that differ from
    // the construction defaults are written.
    void loadSettings(QSettings& settings, QString group);
    void saveSettings(QSettings& settings, QString group);

    void selectStixFonts();
    void selectXitsFonts();
    void selectAsanaFonts();
    void selectUnicodeFonts(QString timesFamily, QString sansFamily);
    void selectTexFonts(QString prefix, QString postfix);
    void selectTexFonts() { selectTexFonts(texFontPrefix, texFontSuffix); }

    // Text metrics of QFontMetricsF on the device (null: the default one):
    // tightBoundingRect, boundingRect and horizontalAdvance. Each shapes
    // the text, which is most of a formula's cost; the results depend on
    // nothing of the formula and are kept for the whole process
    // (VelQTmathText_metrics.cpp).
    QRectF tightBounds(const QFont& font, const QString& text, QPaintDevice* device) const;
    QRectF textBounds(const QFont& font, const QString& text, QPaintDevice* device) const;
    double textAdvance(const QFont& font, const QString& text, QPaintDevice* device) const;
    // QFontMetricsF's xHeight, strikeOutPos and lineWidth, and the em (the
    // point size in pixels), kept likewise: metrics on a device cost a font
    // lookup each time they are made.
    double xHeight(const QFont& font, QPaintDevice* device) const;
    double strikeOutPos(const QFont& font, QPaintDevice* device) const;
    double lineWidth(const QFont& font, QPaintDevice* device) const;
    // The em of a font of that point size on the device: its size in pixels.
    double em(double pointSize, QPaintDevice* device) const;
    // The math axis of a family in ems: the middle of its "+", measured
    // once at a large size (small sizes round the glyph's bounds).
    double mathAxis(const QString& family) const;

    // Draws text in font with the start of its baseline at origin, in the
    // painter's pen, as QPainter::drawText() does, from glyphs shaped once
    // per process: shaping is most of the cost of drawing a formula.
    void drawText(QPainter& painter, const QPointF& origin, const QFont& font, const QString& text) const;

    // The font of `family` (none when empty) in env's size and style flags.
    // One shared QFont per style keeps Qt's lookup of the glyph engine
    // cached: a fresh QFont for every node costs a font database query.
    QFont font(const QString& family, const MTstyle& env) const;

    // The installed math companion of a family ("XITS Math" for "XITS"),
    // which holds the mathematical alphanumeric letters; empty if none.
    QString mathCompanionFamily(const QString& family) const;

    // Changes whenever a setting changes: nodes keep their sizes while it
    // stays the same (the tree itself never changes after parsing).
    int settingsGeneration() const { return generation; }

private:
    void settingsChanged() { ++generation; }
    // The tree that measuring and drawing use (rawTree with drawRawText).
    MTnode* activeTree() const;
    // The picture of a tree: where it starts and ends across the tree's
    // box, its height above and below the baseline.
    struct Picture
    {
        double left = 0, right = 0, ascent = 0, descent = 0, strikeoutPos = 0;
    };
    Picture picture(QPainter& painter, MTnode* node) const;
    // The environment at the root of the tree: colour and size of the settings.
    MTstyle baseStyle() const;
    // The families of the construction defaults (installed fonts looked up once).
    void initFontFamilies();
    // Registers the given resource files unless `family` is installed, then
    // returns the family to use for the whole formula.
    static QString registeredFamily(const QStringList& resources, const QString& family,
                                    const QString& passOver, const QString& fallback);
    // Drops the shared fonts and metrics: registering fonts may change what
    // a family name resolves to.
    static void forgetFontMetrics();
    // Shared tail of the font selections: the nine math roles.
    void useMathFamily(const QString& family);

    QColor fontColor, defaultFontColor;
    double fontSize, defaultFontSize;
    QString fontRoman, defaultFontRoman;
    QString fontSans, defaultFontSans;
    QString fontTypewriter, defaultFontTypewriter;
    QString fontScript, defaultFontScript;
    QString fontGreek, defaultFontGreek;
    QString fontSymbol, defaultFontSymbol;
    QString fontBraces, defaultFontBraces;
    QString fontIntegrals, defaultFontIntegrals;
    QString fontCaligraphic, defaultFontCaligraphic;
    QString fontBlackboard, defaultFontBlackboard;
    QString fontMathRoman, defaultFontMathRoman;
    QString fontMathSans, defaultFontMathSans;
    QString texFontPrefix, defaultTexFontPrefix;
    QString texFontSuffix, defaultTexFontSuffix;
    MTencoding fontEncoding, defaultFontEncoding;
    double braceFactor, defaultBraceFactor;
    double braceShrinkFactor, defaultBraceShrinkFactor;
    double subsuperSizeFactor, defaultSubsuperSizeFactor;
    double italicCorrectionFactor, defaultItalicCorrectionFactor;
    double operatorsubsuperSizeFactor, defaultOperatorsubsuperSizeFactor;
    double mathoperatorWidthFactor, defaultMathoperatorWidthFactor;
    double superShiftFactor, defaultSuperShiftFactor;
    double subShiftFactor, defaultSubShiftFactor;
    bool useStixFonts, defaultUseStixFonts;
    bool useXitsFonts, defaultUseXitsFonts;
    bool useAsanaFonts, defaultUseAsanaFonts;
    double fracFactor, defaultFracFactor;
    double fracShiftFactor, defaultFracShiftFactor;
    double underbraceFactor, defaultUnderbraceFactor;
    double undersetFactor, defaultUndersetFactor;
    double braceYShiftFactor, defaultBraceYShiftFactor;
    double decorationHeightFactor, defaultDecorationHeightFactor;

    QStringList errors;
    MTnode* tree = nullptr;
    MTplainTextNode* rawTree = nullptr;
    bool drawRawText = false;


    int generation = 1;

    // ------------------------------------------------------------------
    // Parser (VelQTmathText_parser.cpp)
    // Tokenizer and recursive-descent reader; they share this state.
    // ------------------------------------------------------------------
public:
    enum TokenKind {
        TokenEnd = 0,
        TokenText = 1,
        TokenCommand = 2,
        TokenUnderscore = 3,
        TokenCaret = 4,
        TokenDollar = 5,
        TokenOpenBrace = 6,
        TokenCloseBrace = 7,
        TokenSpace = 8,
        TokenAmpersand = 9
    };

    // Deepest nesting of lists that is read; deeper input is cut off with
    // an error, so that no input can exhaust the stack.
    static constexpr int maxParseDepth = 100;

private:
    // What a list reader does after one element.
    enum ReadStep { ReadNext, KeepToken, EndList };

    // Reads the next token into tokenKind / tokenText.
    TokenKind nextToken();
    // Reads nodes into a new list until the end, "}", "&", a matching
    // "\right" (stopBracket, or "any") or "\end{stopEnvironment}".
    // Never returns null; the caller owns the result.
    MTnode* readList(bool get, QString stopBracket = QString(), QString stopEnvironment = QString());
    ReadStep readElement(MTlistNode* list, const QString& stopBracket, const QString& stopEnvironment);
    ReadStep readIndex(MTlistNode* list);
    // What follows "^" or "_": null when nothing can be an index. `rest`
    // gets the rest of a text run after its first character, `step` what
    // the reader does next.
    MTnode* readIndexBody(MTnode*& rest, ReadStep& step);
    ReadStep readCommand(MTlistNode* list, const QString& stopBracket, const QString& stopEnvironment);
    ReadStep readCommandWithoutArgument(MTlistNode* list, const QString& name, const QString& stopBracket);
    ReadStep readCommandArgument(MTlistNode* list, const QString& name, const QString& stopEnvironment);
    ReadStep readLeft(MTlistNode* list);
    ReadStep readRight(const QString& stopBracket);
    ReadStep readTwoArguments(MTlistNode* list, const QString& name);
    ReadStep readColor(MTlistNode* list, const QString& name);
    ReadStep readEnd(const QString& stopEnvironment);
    MTnode* readEnvironment();
    void readVerb(MTlistNode* list);
    void skipGroup();
    // Appends message (a "%1" for the position, then args) to errors.
    void addError(const char* message, const QString& arg1 = QString(), const QString& arg2 = QString());

    QString sourceText;
    int tokenPos = -1;
    TokenKind tokenKind = TokenEnd;
    QString tokenText;
    bool inMathMode = false;
    bool rightBraceSeen = false;
    // The closing bracket code of the "\right" that ended the last list.
    QString rightBracket;
    int parseDepth = 0;
};

#endif // VELQTMATHTEXT_H
