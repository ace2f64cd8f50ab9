// pensato_typeset: typesets formulas into PNG files exactly as the scene
// rebuilds a stored formula (20 points, XITS, margins), so that anyone can
// look at the engine's output.
//
//   pensato_typeset [-o folder] [--white] [--zoom n] [--sheet file]
//                   [--reference folder] [-f file] [formula...]
//
// Each formula is read as the editor hands it over: "$" + the text typed.
// --sheet also writes one page with every picture beside its text, each
// framed so that a glyph cut off by the picture's edge shows; with
// --reference, the pictures of that folder (formula-001.png, ... as
// tex-reference.sh makes them) stand beside them, for comparison.

#include "math/VelQTmathText.h"
#include "scene/DiagramScene.h"
#include "tools/typeset/FormulaSet.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QTextStream>

#include <algorithm>

namespace {

// The picture for viewing: on white and enlarged when asked.
QImage forViewing(const QPixmap& pixmap, bool white, int zoom)
{
    QImage image = pixmap.toImage();
    if (white) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter painter(&flat);
        painter.drawImage(0, 0, image);
        painter.end();
        image = flat;
    }
    if (zoom > 1)
        image = image.scaled(image.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return image;
}

// One page: per formula its text, then its picture in a grey frame, then
// the reference picture, if any, in the same frame.
QImage contactSheet(const QStringList& formulas, const QList<QImage>& pictures, const QList<QImage>& references)
{
    const int gap = 10;
    QFont labelFont;
    labelFont.setPixelSize(13);
    const QFontMetrics fm(labelFont);
    int labelWidth = 0, pictureWidth = 0, referenceWidth = 0, height = gap;
    for (int i = 0; i < formulas.size(); ++i) {
        labelWidth = qMax(labelWidth, fm.horizontalAdvance(formulas.at(i)));
        pictureWidth = qMax(pictureWidth, pictures.at(i).width());
        referenceWidth = qMax(referenceWidth, references.value(i).width());
        height += std::max({fm.height(), pictures.at(i).height(), references.value(i).height()}) + 2 * gap;
    }
    QImage sheet(labelWidth + pictureWidth + referenceWidth + 6 * gap, height, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setFont(labelFont);
    const auto framed = [&painter](const QPoint& at, const QImage& picture) {
        painter.drawImage(at, picture);
        painter.setPen(QColor(200, 200, 200));
        painter.drawRect(QRect(at - QPoint(1, 1), picture.size() + QSize(1, 1)));
    };
    int y = gap;
    for (int i = 0; i < formulas.size(); ++i) {
        const QImage& picture = pictures.at(i);
        const int rowHeight = std::max({fm.height(), picture.height(), references.value(i).height()});
        painter.setPen(Qt::black);
        painter.drawText(QRect(gap, y, labelWidth, rowHeight), Qt::AlignVCenter, formulas.at(i));
        framed(QPoint(labelWidth + 3 * gap, y), picture);
        if (!references.value(i).isNull())
            framed(QPoint(labelWidth + pictureWidth + 5 * gap, y), references.at(i));
        y += rowHeight + 2 * gap;
    }
    return sheet;
}

QStringList engineErrors(const QString& formula)
{
    VelQTmathText engine;
    engine.selectXitsFonts();
    engine.parse(formula);
    return engine.getErrors();
}

} // namespace

int main(int argc, char* argv[])
{
    // A command-line tool: no window system needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription("Typesets formulas into PNG files as the scene does.");
    parser.addHelpOption();
    const QCommandLineOption fileOption({"f", "file"}, "Read formulas from <file>, one per line.", "file");
    const QCommandLineOption outputOption({"o", "output"}, "Write the pictures into <folder>.", "folder", ".");
    const QCommandLineOption whiteOption("white", "Paint on white instead of transparency.");
    const QCommandLineOption zoomOption("zoom", "Enlarge the pictures <n> times.", "n", "1");
    const QCommandLineOption sheetOption("sheet", "Also write every picture on one page <file>.", "file");
    const QCommandLineOption referenceOption(
        "reference", "On the sheet, show beside each picture the one of <folder> with the same number.", "folder");
    parser.addOptions({fileOption, outputOption, whiteOption, zoomOption, sheetOption, referenceOption});
    parser.addPositionalArgument("formula", "Formula text as typed in the editor.", "[formula...]");
    parser.process(app);

    QStringList formulas = parser.positionalArguments();
    if (parser.isSet(fileOption)) {
        bool ok = false;
        formulas += readFormulaSet(parser.value(fileOption), &ok);
        if (!ok) {
            QTextStream(stderr) << "cannot read " << parser.value(fileOption) << "\n";
            return 1;
        }
    }
    if (formulas.isEmpty())
        parser.showHelp(1);

    const QDir folder(parser.value(outputOption));
    if (!folder.mkpath(".")) {
        QTextStream(stderr) << "cannot create " << folder.path() << "\n";
        return 1;
    }
    const int zoom = qBound(1, parser.value(zoomOption).toInt(), 16);
    QTextStream out(stdout);
    int failures = 0;
    QList<QImage> pictures, references;
    for (int i = 0; i < formulas.size(); ++i) {
        const QString formula = "$" + formulas.at(i);
        const QPixmap pixmap = DiagramScene::renderFormula(formula);
        const QString fileName = QString("formula-%1.png").arg(i + 1, 3, 10, QLatin1Char('0'));
        const QString name = folder.filePath(fileName);
        if (parser.isSet(referenceOption))
            references << QImage(QDir(parser.value(referenceOption)).filePath(fileName));
        pictures << (pixmap.isNull() ? QImage() : forViewing(pixmap, parser.isSet(whiteOption), zoom));
        const bool saved = !pictures.last().isNull() && pictures.last().save(name);
        if (!saved)
            ++failures;
        out << (saved ? name : QString("(nothing drawn)")) << "\t" << pixmap.width() << "x" << pixmap.height()
            << "\t" << formulas.at(i) << "\n";
        for (const QString& error : engineErrors(formula))
            out << "\t" << error << "\n";
    }
    if (parser.isSet(sheetOption) && !contactSheet(formulas, pictures, references).save(parser.value(sheetOption))) {
        QTextStream(stderr) << "cannot write " << parser.value(sheetOption) << "\n";
        return 1;
    }
    return failures == 0 ? 0 : 2;
}
