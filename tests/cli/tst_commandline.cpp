// The command line as a user meets it: the real program started as a child
// process on scene files written here, its exit status, its one-line
// messages and the files it writes (compared with what the export window
// writes for the same scene); and a scene given on the command line open
// in the window, driven in-process and seen from outside on a virtual
// X display.

#include "io/FileSizeLimit.h"
#include "support/MainWindowFixture.h"
#include "support/RunTool.h"

#include "export/ConvertToIMG.h"
#include "export/SceneExport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

namespace {

const QString program = QStringLiteral(PENSATO_PROGRAM);

struct Run {
    int status = -1;
    QString out;
    QString err;
};

// Runs the program to its end; a crash or a hang is a failed run.
Run pensato(const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        run.err = QStringLiteral("the program crashed or hung: ")
            + QString::fromLocal8Bit(process.readAllStandardError());
        return run;
    }
    run.status = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QJsonObject rgb(const QColor &c)
{
    return {{"r", c.red()}, {"g", c.green()}, {"b", c.blue()}};
}

QJsonObject position(double x, double y)
{
    return {{"x", x}, {"y", y}, {"z", 0}};
}

QJsonObject shape(int id, int diagram, QPointF at, double scale, const QColor &fill)
{
    return {{"type", 65551}, {"diagram", diagram}, {"id", id}, {"name", QStringLiteral("Forme %1").arg(id)},
            {"position", position(at.x(), at.y())}, {"rotation", 0},
            {"scale", QJsonObject{{"x", scale}, {"y", scale}}},
            {"border", QJsonObject{{"width", 1}, {"color", rgb(Qt::black)}}}, {"color", rgb(fill)}};
}

QJsonObject text(int id, const QString &plain, QPointF at)
{
    return {{"type", 65539}, {"id", id}, {"name", "Texte"}, {"text", plain},
            {"position", position(at.x(), at.y())},
            {"font", QJsonObject{{"family", "DejaVu Sans"}, {"size", 14}}},
            {"color", rgb(Qt::black)}, {"linked", false}};
}

QJsonObject arrow(int id, int from, int to)
{
    return {{"type", 65540}, {"id", id}, {"name", "Flèche"},
            {"startItem", QJsonObject{{"type", 65551}, {"id", from}}},
            {"endItem", QJsonObject{{"type", 65551}, {"id", to}}},
            {"isPointed", false}, {"color", rgb(Qt::black)}, {"width", 12}};
}

enum Background { None, Transparent, Blue, GrayGrid };

QJsonObject background(int kind)
{
    switch (kind) {
    case Transparent: return {{"type", "transparent"}};
    case Blue: return {{"type", "color"}, {"color", rgb(Qt::blue)}};
    case GrayGrid: return {{"type", "pixmap"}, {"path", ":/images/background3.png"}};
    }
    return {};
}

// A white rectangle 100 x 70 centred on (100, 100), whose 1-pixel border is
// the only ink across its left edge; a red triangle with slanted sides at
// (300, 120); an arrow between them and a text below.
const QPointF whiteBoxCentre(100, 100);
const QPointF redTriangleCentre(300, 120);

QJsonObject sceneDocument(int kind = None, const QJsonArray &extra = {})
{
    QJsonArray items{shape(0, 5, whiteBoxCentre, 0.5, Qt::white),
                     shape(1, 2, redTriangleCentre, 0.4, Qt::red),
                     arrow(2, 0, 1), text(3, "Bonjour", {60, 160})};
    for (const QJsonValue &item : extra)
        items.append(item);
    return {{"items", items}, {"background", background(kind)}, {"nbItems", 4 + extra.size()}};
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString writeScene(const QString &path, const QJsonObject &document)
{
    return writeFile(path, QJsonDocument(document).toJson()) ? path : QString();
}

// The window of a scene file, loaded as "Charger" loads it, whose export
// window writes pictures.
struct WindowExport : MainWindowFixture
{
    explicit WindowExport(const QString &sceneFile) { window->openFile(sceneFile); }

    // "Convertir en image", then "Convertir" with its default choices.
    QImage picture(const QString &name)
    {
        QMetaObject::invokeMethod(window.get(), "toImage");
        auto *exporter = window->findChild<ConvertToIMG *>();
        dialogs.fileNames << path(name);
        QTest::mouseClick(exporter->findChild<QPushButton *>("pushButton_convert"), Qt::LeftButton);
        return QImage(path(name));
    }

    // Where a scene point lands in a picture of the export area at `scale`.
    QPoint pixelOf(QPointF scenePoint, int scale = 1)
    {
        return ((scenePoint - exportArea(*scene()).topLeft()) * scale).toPoint();
    }
};

// Ink across a row of the picture: the sum of darkness, in pixels, of the
// pixels from x0 to x1 on row y. A line of width w on white gives about w.
double inkAcross(const QImage &image, int y, int x0, int x1)
{
    double ink = 0;
    for (int x = x0; x <= x1; ++x)
        ink += (255 - qGray(image.pixel(x, y))) / 255.0;
    return ink;
}

int countPixels(const QImage &image, const std::function<bool(QRgb)> &test)
{
    int count = 0;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            count += test(argb.pixel(x, y));
    return count;
}

bool isBlue(QRgb c) { return qBlue(c) > 200 && qRed(c) < 60 && qGreen(c) < 60; }
bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }


// An X server of its own, on the first free display, for the program's
// real window; it listens on no network port.
struct VirtualDisplay
{
    QProcess server;
    QString display;

    VirtualDisplay()
    {
        server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-nolisten", "tcp", "-screen",
                                              "0", "1280x1024x24"});
        if (server.waitForReadyRead(20000))
            display = QLatin1Char(':') + QString::fromLatin1(server.readLine().trimmed());
    }
    ~VirtualDisplay()
    {
        server.terminate();
        server.waitForFinished();
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        return environment;
    }

    // The titles of every window on the display, as the X server has them.
    // xwininfo converts titles to its locale's character set, and under the
    // C locale a title with an em dash comes out as a conversion error.
    QString windowTitles() const
    {
        QProcess list;
        QProcessEnvironment utf8 = environment();
        utf8.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        list.setProcessEnvironment(utf8);
        list.start(QStringLiteral("xwininfo"), {"-root", "-tree"});
        list.waitForFinished(10000);
        return QString::fromUtf8(list.readAllStandardOutput());
    }
};

} // namespace

class tst_CommandLine : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    QString path(const QString &name) const { return folder.filePath(name); }

private slots:
    void initTestCase() { QVERIFY(QFileInfo(program).isExecutable()); }

    void helpAndVersion_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("expected");
        const QStringList help{"Utilisation", "-e, --export <SORTIE>", "--fond <blanc|transparent|scene>",
                               "--echelle <N>", "[FICHIER]", "Affiche la version."};
        QTest::newRow("--help") << "--help" << help;
        QTest::newRow("-h") << "-h" << help;
        const QStringList version{QStringLiteral("pensato %1\n").arg(PENSATO_VERSION)};
        QTest::newRow("--version") << "--version" << version;
        QTest::newRow("-v") << "-v" << version;
    }

    void helpAndVersion()
    {
        QFETCH(QString, option);
        QFETCH(QStringList, expected);
        const Run run = pensato({option});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString());
        if (expected.size() == 1)
            QCOMPARE(run.out, expected.first());
        for (const QString &text : expected)
            QVERIFY2(run.out.contains(text), qPrintable(text));
    }

    // Every mistake: status 1, one line on standard error saying what is
    // wrong, nothing on standard output, and no file written or changed.
    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        const QString scene = writeScene(path("refused.pensascene"), sceneDocument());
        const QString out = path("out.png");
        const QString pdf = path("out.pdf");
        writeFile(path("notjson.pensascene"), "bonjour");
        const QJsonObject unknownItems{{"items", QJsonArray{QJsonObject{{"type", 7}}}}};
        writeScene(path("unknown.pensascene"), unknownItems);
        QDir(folder.path()).mkdir("dossier.png");
        // About 2200 units wide: at 8 pixels a unit, over 16000 pixels.
        const QJsonArray farShape{shape(9, 0, {2200, 100}, 0.1, Qt::green)};
        const QString wide = writeScene(path("wide.pensascene"), sceneDocument(None, farShape));

        QTest::newRow("unknown option") << QStringList{"--couleur", "rouge", scene} << "couleur";
        QTest::newRow("--export without a value") << QStringList{"--export"} << "export";
        QTest::newRow("no scene to export") << QStringList{"-e", out} << "--export demande aussi la scène";
        QTest::newRow("two scenes") << QStringList{"-e", out, scene, scene} << "une seule scène est attendue";
        QTest::newRow("unknown suffix") << QStringList{"-e", path("out.gif"), scene} << ".png, .jpg, .pdf ou .svg";
        QTest::newRow("no suffix") << QStringList{"-e", path("sortie"), scene} << ".png, .jpg, .pdf ou .svg";
        QTest::newRow("--fond rouge") << QStringList{"--fond", "rouge", "-e", out, scene} << "« rouge »";
        QTest::newRow("--echelle 0") << QStringList{"--echelle", "0", "-e", out, scene} << "de 1 à 8, et non « 0 »";
        QTest::newRow("--echelle 9") << QStringList{"--echelle", "9", "-e", out, scene} << "de 1 à 8, et non « 9 »";
        QTest::newRow("--echelle 2.5") << QStringList{"--echelle", "2.5", "-e", out, scene} << "et non « 2.5 »";
        QTest::newRow("--echelle for a PDF") << QStringList{"--echelle", "2", "-e", pdf, scene} << "PNG et JPG";
        QTest::newRow("--echelle for an SVG") << QStringList{"--echelle", "2", "-e", path("out.svg"), scene}
                                              << "un SVG est un dessin sans résolution";
        QTest::newRow("--fond without --export") << QStringList{"--fond", "blanc", scene} << "qu'avec --export";
        QTest::newRow("missing scene") << QStringList{"-e", out, path("absente.pensascene")}
                                       << "ne peut pas être ouverte : le fichier n'existe pas";
        QTest::newRow("not JSON") << QStringList{"-e", out, path("notjson.pensascene")}
                                  << "n'est pas une scène : le fichier n'est pas du JSON valide";
        QTest::newRow("nothing readable") << QStringList{"-e", out, path("unknown.pensascene")}
                                          << "aucun de ses objets n'a pu être lu";
        QTest::newRow("missing folder") << QStringList{"-e", path("absent/out.png"), scene}
                                        << "n'a pas pu être écrit : le dossier n'existe pas";
        QTest::newRow("output is a folder") << QStringList{"-e", path("dossier.png"), scene}
                                            << "n'a pas pu être écrit";
        QTest::newRow("picture over 16000 pixels") << QStringList{"--echelle", "8", "-e", path("big.png"), wide}
                                                   << "plus que les 16000 permis";
    }

    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const QStringList before = QDir(folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        const Run run = pensato(arguments);
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, QString());
        QVERIFY2(run.err.startsWith("pensato : ") && run.err.endsWith('\n') && run.err.count('\n') == 1,
                 qPrintable(run.err));
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), before);
    }

    // A write that fails midway, as on a full disk: status 1, and the file
    // of that name is the old one, whole, with no temporary file left.
    void failedWriteKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("PNG") << "full.png";
        QTest::newRow("JPG") << "full.jpg";
        QTest::newRow("PDF") << "full.pdf";
        QTest::newRow("SVG") << "full.svg";
    }

    void failedWriteKeepsTheOldFile()
    {
        QFETCH(QString, name);
        QTemporaryDir target;
        const QString scene = writeScene(path("full.pensascene"), sceneDocument(GrayGrid));
        const QString out = target.filePath(name);
        QVERIFY(writeFile(out, "ancien"));
        Run run;
        {
            const FileSizeLimit limit(1024); // the child inherits it
            run = pensato({"-e", out, scene});
        }
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("n'a pas pu être écrit : l'écriture a échoué"), qPrintable(run.err));
        QCOMPARE(fileContents(out), QByteArray("ancien"));
        QCOMPARE(QDir(target.path()).entryList(QDir::Files), QStringList{name});
    }

    // With the default choices, the picture is the export window's, pixel
    // for pixel, the size of the area of all items grown by 10.
    void pictureIsTheExportWindows_data()
    {
        QTest::addColumn<int>("background");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("no background, PNG") << int(None) << "png";
        QTest::newRow("transparent, PNG") << int(Transparent) << "png";
        QTest::newRow("colour, PNG") << int(Blue) << "png";
        QTest::newRow("gray grid, PNG") << int(GrayGrid) << "png";
        QTest::newRow("gray grid, JPG") << int(GrayGrid) << "jpg";
        QTest::newRow("transparent, JPG") << int(Transparent) << "jpg";
    }

    void pictureIsTheExportWindows()
    {
        QFETCH(int, background);
        QFETCH(QString, suffix);
        const QString scene = writeScene(path("same.pensascene"), sceneDocument(background));
        const QString out = path("same." + suffix);
        const Run run = pensato({"--export", out, scene});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 0);

        WindowExport reference(scene);
        const QImage expected = reference.picture("window." + suffix);
        const QImage written(out);
        QVERIFY(!expected.isNull());
        QCOMPARE(written.size(), pictureSize(exportArea(*reference.scene())));
        QCOMPARE(written.convertToFormat(QImage::Format_ARGB32), expected.convertToFormat(QImage::Format_ARGB32));
        QVERIFY(isRed(written.pixel(reference.pixelOf(redTriangleCentre))));
    }

    // --fond replaces what the scene has behind the items; the items stay.
    void backgroundOption_data()
    {
        QTest::addColumn<int>("background");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("corner"); // #aarrggbb
        QTest::newRow("grid, blanc") << int(GrayGrid) << "blanc" << "png" << "#ffffffff";
        QTest::newRow("colour, transparent") << int(Blue) << "transparent" << "png" << "#00000000";
        QTest::newRow("colour, transparent JPG") << int(Blue) << "transparent" << "jpg" << "#ffffffff";
        QTest::newRow("transparent, blanc") << int(Transparent) << "blanc" << "png" << "#ffffffff";
        QTest::newRow("colour, scene") << int(Blue) << "scene" << "png" << "#ff0000ff";
        QTest::newRow("colour, scène") << int(Blue) << "scène" << "png" << "#ff0000ff";
    }

    void backgroundOption()
    {
        QFETCH(int, background);
        QFETCH(QString, option);
        QFETCH(QString, suffix);
        const QString scene = writeScene(path("fond.pensascene"), sceneDocument(background));
        const QString out = path("fond." + suffix);
        const Run run = pensato({"--fond", option, "-e", out, scene});
        QCOMPARE(run.status, 0);
        const QImage written(out);
        QTEST(written.pixelColor(0, 0).name(QColor::HexArgb), "corner");
        WindowExport reference(scene);
        QVERIFY(isRed(written.pixel(reference.pixelOf(redTriangleCentre))));
    }

    // --echelle N renders at N pixels per unit: N times the size, borders N
    // pixels wide, and detail finer than blocks of N x N equal pixels.
    void scaleRendersAtResolution_data()
    {
        QTest::addColumn<int>("scale");
        QTest::newRow("1") << 1;
        QTest::newRow("3") << 3;
        QTest::newRow("8") << 8;
    }

    void scaleRendersAtResolution()
    {
        QFETCH(int, scale);
        const QString scene = writeScene(path("echelle.pensascene"), sceneDocument());
        const QString out = path("echelle.png");
        const Run run = pensato({"--echelle", QString::number(scale), "-e", out, scene});
        QCOMPARE(run.status, 0);
        const QImage written(out);
        WindowExport reference(scene);
        QCOMPARE(written.size(), pictureSize(exportArea(*reference.scene()), scale));

        // Across the white box's left border, 50 units left of its centre.
        const QPoint centre = reference.pixelOf(whiteBoxCentre, scale);
        const double ink = inkAcross(written, centre.y(), centre.x() - 60 * scale, centre.x() - 40 * scale);
        QVERIFY2(qAbs(ink - scale) < 0.35 * scale, qPrintable(QString::number(ink)));

        int unevenBlocks = 0;
        for (int y = 0; y + scale <= written.height(); y += scale)
            for (int x = 0; x + scale <= written.width(); x += scale)
                for (int i = 0; i < scale * scale; ++i)
                    if (written.pixel(x + i % scale, y + i / scale) != written.pixel(x, y)) {
                        ++unevenBlocks;
                        break;
                    }
        if (scale > 1)
            QVERIFY2(unevenBlocks > 50, "an enlarged picture has only even blocks");
    }

    // A one-page A4 landscape document that poppler reads, with the items
    // and, unless told otherwise, the scene's background.
    void pdf_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("blueBackground");
        QTest::newRow("default") << QStringList() << true;
        QTest::newRow("--fond blanc") << QStringList{"--fond", "blanc"} << false;
        QTest::newRow("--fond transparent") << QStringList{"--fond", "transparent"} << false;
    }

    void pdf()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, blueBackground);
        const QString scene = writeScene(path("page.pensascene"), sceneDocument(Blue));
        const QString out = path("page.pdf");
        const Run run = pensato(options + QStringList{"-e", out, scene});
        QCOMPARE(run.status, 0);
        QString info;
        QVERIFY(runTool("pdfinfo", {out}, &info));
        QVERIFY2(info.contains(QRegularExpression("Pages: +1\\b")), qPrintable(info));
        QVERIFY2(info.contains("(A4)"), qPrintable(info));
        QVERIFY(runTool("pdftoppm", {"-png", "-r", "30", "-singlefile", out, path("page")}));
        const QImage page(path("page.png"));
        QVERIFY(countPixels(page, isRed) > 0);
        QCOMPARE(countPixels(page, isBlue) > page.width() * page.height() / 10, blueBackground);
    }

    // An SVG drawing of the export window's area that librsvg renders, with
    // the scene's background unless told otherwise; transparent stays so.
    void svg_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("corner"); // #aarrggbb
        QTest::newRow("default") << QStringList() << "#ff0000ff";
        QTest::newRow("--fond blanc") << QStringList{"--fond", "blanc"} << "#ffffffff";
        QTest::newRow("--fond transparent") << QStringList{"--fond", "transparent"} << "#00000000";
    }

    void svg()
    {
        QFETCH(QStringList, options);
        if (QStandardPaths::findExecutable("rsvg-convert").isEmpty())
            QSKIP("rsvg-convert is not installed (scripts/install-deps.sh installs it)");
        const QString scene = writeScene(path("dessin.pensascene"), sceneDocument(Blue));
        const QString out = path("dessin.svg");
        const Run run = pensato(options + QStringList{"-e", out, scene});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 0);
        QVERIFY(runTool("rsvg-convert", {"-o", path("dessin.png"), out}));
        const QImage drawn(path("dessin.png"));
        WindowExport reference(scene);
        QCOMPARE(drawn.size(), pictureSize(exportArea(*reference.scene())));
        QTEST(drawn.pixelColor(0, 0).name(QColor::HexArgb), "corner");
        QVERIFY(isRed(drawn.pixel(reference.pixelOf(redTriangleCentre))));
    }

    // A file with an item that cannot be read is exported without it; the
    // reading's report is one line on standard error.
    void partlyReadableScene()
    {
        const QJsonArray unknown{QJsonObject{{"type", 7}}};
        const QString scene = writeScene(path("partly.pensascene"), sceneDocument(None, unknown));
        const QString out = path("partly.png");
        const Run run = pensato({"-e", out, scene});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.err.startsWith("pensato : ") && run.err.count('\n') == 1, qPrintable(run.err));
        QVERIFY2(run.err.contains("1 objet"), qPrintable(run.err));
        QVERIFY(!QImage(out).isNull());
    }

    // What main() does with a file named on the command line: the window
    // loads it as "Charger" does (items, background, title), or says why
    // not in a box over the empty scene.
    void windowOpensTheFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("items");
        QTest::addColumn<QString>("message");
        const QString scene = writeScene(path("ouvrir.pensascene"), sceneDocument(GrayGrid));
        QTest::newRow("readable") << scene << QString::fromUtf8("ouvrir.pensascene[*] — Pensato") << 4
                                  << QString();
        QTest::newRow("missing") << path("absente.pensascene") << QString::fromUtf8("Sans titre[*] — Pensato") << 0
                                 << "Scène non chargée|||Le fichier « " + path("absente.pensascene");
    }

    void windowOpensTheFile()
    {
        QFETCH(QString, file);
        QFETCH(QString, message);
        MainWindowFixture f;
        f.window->openFile(file);
        QTEST(f.window->windowTitle(), "title");
        int items = 0;
        for (const QGraphicsItem *item : f.scene()->items())
            items += item->type() > QGraphicsItem::UserType; // not the shapes' handles
        QTEST(items, "items");
        const QStringList messages = f.calls("message");
        QCOMPARE(messages.size(), int(!message.isEmpty()));
        if (!message.isEmpty())
            QVERIFY2(messages.first().startsWith(message), qPrintable(messages.first()));
        else
            QCOMPARE(f.scene()->backgroundPath(), QString(":/images/background3.png"));
    }

    // The real program on a display: the window of a readable file shows
    // its name in the title; an unreadable one brings the warning box.
    void programOpensTheFileInItsWindow_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("window");
        const QString scene = writeScene(path("fenetre.pensascene"), sceneDocument());
        QTest::newRow("readable") << scene << QString::fromUtf8("\"fenetre.pensascene — Pensato\"");
        QTest::newRow("missing") << path("absente.pensascene") << "\"Scène non chargée\"";
    }

    void programOpensTheFileInItsWindow()
    {
        QFETCH(QString, file);
        QFETCH(QString, window);
        VirtualDisplay display;
        QVERIFY2(!display.display.isEmpty(), "Xvfb did not start");
        QProcess editor;
        editor.setProcessChannelMode(QProcess::MergedChannels);
        editor.setProcessEnvironment(display.environment());
        editor.start(program, {file});
        QVERIFY(editor.waitForStarted());
        // A plain loop, not QTRY: on failure that waits twice as long again,
        // and here each try runs a program.
        QString titles;
        QDeadlineTimer deadline(60000);
        while (!(titles = display.windowTitles()).contains(window) && !deadline.hasExpired())
            QTest::qWait(200);
        // On failure, what the program said tells a slow start from a crash.
        QVERIFY2(titles.contains(window),
                 qPrintable(titles + QStringLiteral("\nprogram %1, exit %2, output:\n")
                                         .arg(editor.state() == QProcess::Running ? "running" : "ended")
                                         .arg(editor.exitCode())
                            + QString::fromLocal8Bit(editor.readAll())));
        QCOMPARE(editor.state(), QProcess::Running);
        editor.terminate();
        editor.waitForFinished();
    }
};

QTEST_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
