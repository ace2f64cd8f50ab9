#include "WindowFixture.h"

#include "export/ConvertToIMG.h"

#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <ctime>

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

double processorSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

// Each scene holds one of the cases that once kept the view repainting.
void linkedTextBesideArrows(WindowFixture &f)
{
    DiagramItem *shape = f.insertShape(DiagramItem::Carre, QPointF(400, 300));
    DiagramItem *other = f.insertShape(DiagramItem::Cercle, QPointF(800, 300));
    QVERIFY(f.insertArrow(shape, other));
    QVERIFY(f.insertArrow(other, shape));
    DiagramTextItem *text = f.insertText(QStringLiteral("Étiquette"), QPointF(300, 600));
    f.link(shape, text);
    QCOMPARE(shape->linkedText(), text);
}

void rotatedShapes(WindowFixture &f)
{
    DiagramItem *a = f.insertShape(DiagramItem::Triangle, QPointF(400, 300));
    DiagramItem *b = f.insertShape(DiagramItem::Rectangle, QPointF(800, 300));
    a->changeTransform(45, false, 0, 0, false);
    b->changeTransform(-90, false, 0, 0, false);
    QVERIFY(f.insertArrow(a, b));
}

void picturesAndFormulas(WindowFixture &f)
{
    DiagramImage *picture = f.insertPicture(QPointF(400, 300));
    QVERIFY(picture);
    picture->changeTransform(30, false);
    // Large enough that the arrow drag, which starts beside the centre, lands on it.
    const QString text = QStringLiteral("$\\frac{a+b}{c+d} = \\sum_{k=0}^{n} x_k^2");
    f.scene()->setPixmapToAdd(text, DiagramScene::renderFormula(text));
    f.scene()->setMode(DiagramScene::InsertPixmap);
    DiagramImage *formula = f.announced(&DiagramScene::mathInserted,
                                        [&] { f.click(QPointF(800, 300)); });
    QVERIFY(formula);
    QVERIFY(f.insertArrow(picture, formula));
}

void everyKind(WindowFixture &f)
{
    f.dialogs.fileNames.enqueue(QFINDTESTDATA("../io/data/every-kind.pensascene"));
    f.invoke("load");
    QVERIFY(f.scene()->items().size() > 10);
    f.view()->centerOn(f.scene()->itemsBoundingRect().center());
}

using SceneBuilder = void (*)(WindowFixture &);

} // namespace

Q_DECLARE_METATYPE(SceneBuilder)

// An untouched window must not keep the processor busy: nothing may ask for
// a repaint from inside a repaint.
class tst_Idle : public QObject
{
    Q_OBJECT

private slots:
    void untouchedWindowUsesNoProcessor_data()
    {
        QTest::addColumn<SceneBuilder>("build");
        QTest::addColumn<bool>("selectAll");
        const struct {
            const char *name;
            SceneBuilder build;
        } scenes[] = {{"linked text beside arrows", linkedTextBesideArrows},
                      {"rotated shapes", rotatedShapes},
                      {"pictures and formulas", picturesAndFormulas},
                      {"every kind", everyKind}};
        for (const auto &scene : scenes) {
            QTest::addRow("%s, unselected", scene.name) << scene.build << false;
            QTest::addRow("%s, all selected", scene.name) << scene.build << true;
        }
    }

    void untouchedWindowUsesNoProcessor()
    {
        QFETCH(SceneBuilder, build);
        QFETCH(bool, selectAll);
        WindowFixture f;
        build(f);
        if (QTest::currentTestFailed())
            return;
        if (selectAll) {
            for (QGraphicsItem *item : f.scene()->items())
                if (ListWidget::idOf(item) >= 0)
                    item->setSelected(true);
        }
        // Let the changes above settle into one repaint.
        QTest::qWait(300);

        PaintCounter paints(f.view()->viewport());
        const double before = processorSeconds();
        QTest::qWait(2000);
        const double used = processorSeconds() - before;
        QVERIFY2(paints.count <= 3, qPrintable(QString::number(paints.count) + " paint events"));
        QVERIFY2(used < 0.1, qPrintable(QString::number(used) + " s of processor time"));
    }

    // Opening the export window over a scene that once looped left the
    // program answering nothing; its buttons must work.
    void exportWindowAnswersOverLinkedText()
    {
        WindowFixture f;
        linkedTextBesideArrows(f);
        f.invoke("toImage");
        auto *exportWindow = f.window->findChild<ConvertToIMG *>();
        QVERIFY(exportWindow);
        QVERIFY(QTest::qWaitForWindowExposed(exportWindow));

        auto *transparent = exportWindow->findChild<QRadioButton *>("radioButton");
        QTest::mouseClick(transparent, Qt::LeftButton);
        QVERIFY(transparent->isChecked());
        QVERIFY(f.scene()->isTransparent());

        const QString output = f.path(QStringLiteral("export.png"));
        f.dialogs.fileNames.enqueue(output);
        QTest::mouseClick(exportWindow->findChild<QPushButton *>("pushButton_convert"),
                          Qt::LeftButton);
        QVERIFY(QImage(output).width() > 0);
        QVERIFY(exportWindow->close());
    }
};

QTEST_MAIN(tst_Idle)
#include "tst_idle.moc"
