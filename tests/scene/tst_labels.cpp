#include "ItemsHarness.h"

#include "scene/TextLabelLayout.h"

#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The item alone, selected or not, painted by the scene into a picture of
// its own size, at a fractional offset so that antialiasing shows.
QImage picture(QGraphicsScene &scene, DiagramTextItem *text)
{
    const QRectF area = text->sceneBoundingRect().adjusted(-2.3, -2.6, 2, 2);
    QImage image(area.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(image.rect()), QRectF(area.topLeft(), image.size()));
    return image;
}

bool hasTextControl(const QObject *text)
{
    for (const QObject *child : text->children()) {
        if (qstrcmp(child->metaObject()->className(), "QWidgetTextControl") == 0)
            return true;
    }
    return false;
}

QString lineSeparated(const char *first, const char *second)
{
    return QLatin1String(first) + QChar(QChar::LineSeparator) + QLatin1String(second);
}

} // namespace

// Texts that are not being edited lay out and paint without a document;
// they must look, measure, edit, link and fit exactly as while edited.
class tst_Labels : public QObject
{
    Q_OBJECT

private slots:
    void looksAsWhileEdited_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QFont>("font");
        QTest::addColumn<int>("alignment");
        QFont plain(QStringLiteral("DejaVu Sans"));
        plain.setPointSize(12);
        QFont decorated(QStringLiteral("DejaVu Serif"));
        decorated.setPointSize(20);
        decorated.setBold(true);
        decorated.setItalic(true);
        decorated.setUnderline(true);
        decorated.setStrikeOut(true);
        QFont small = plain;
        small.setPointSize(7);
        const int left = Qt::AlignLeft, right = Qt::AlignRight, centre = Qt::AlignCenter;
        QTest::newRow("label") << QStringLiteral("Box 1234") << plain << left;
        QTest::newRow("default font") << QStringLiteral("Texte") << QFont() << left;
        QTest::newRow("paragraphs right") << QStringLiteral("a\nlonger line\n") << plain << right;
        QTest::newRow("paragraphs centred") << QStringLiteral("a\nlonger line") << small << centre;
        QTest::newRow("justified") << QStringLiteral("a b\nlonger line") << plain << int(Qt::AlignJustify);
        QTest::newRow("line separator") << lineSeparated("x", "y  z") << plain << right;
        QTest::newRow("spaces and tabs") << QStringLiteral("  a\tb  ") << decorated << left;
        QTest::newRow("decorated") << QStringLiteral("Ünïcødé — ﬁ") << decorated << centre;
        QTest::newRow("right to left") << QStringLiteral("שלום abc") << plain << left;
        QTest::newRow("empty") << QString() << plain << left;
    }
    void looksAsWhileEdited()
    {
        QFETCH(QString, text);
        QFETCH(QFont, font);
        QFETCH(int, alignment);
        QGraphicsScene scene;
        auto *item = new DiagramTextItem;
        scene.addItem(item);
        item->setPos(10.25, 20.5);
        item->setFont(font);
        item->setDefaultTextColor(QColor(200, 30, 40));
        item->setAlignment(alignment);
        item->setPlainText(text);
        const QRectF shown = item->boundingRect();
        const QPointF position = item->pos(); // right-aligned text grew to the left
        const QImage plainPicture = picture(scene, item);
        item->setSelected(true);
        const QImage selectedPicture = picture(scene, item);

        item->setTextInteractionFlags(Qt::TextEditorInteraction);
        QVERIFY(item->isEditing());
        QCOMPARE(item->boundingRect(), shown);
        QCOMPARE(item->pos(), position);
        QCOMPARE(picture(scene, item), selectedPicture);
        item->setSelected(false);
        QCOMPARE(picture(scene, item), plainPicture);

        item->setTextInteractionFlags(Qt::NoTextInteraction);
        QCOMPARE(item->boundingRect(), shown);
        QCOMPARE(picture(scene, item), plainPicture);
    }

    // What QTextDocument keeps of a plain text and gives back, which is
    // what a save writes.
    void plainTextAsTheDocumentKeepsIt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("lines") << QStringLiteral("a\nb\n");
        QTest::newRow("carriage returns") << QStringLiteral("a\r\nb\rc");
        QTest::newRow("no-break space") << QStringLiteral("a") + QChar(QChar::Nbsp) + QStringLiteral("b");
        QTest::newRow("line separator") << lineSeparated("a", "b");
        QTest::newRow("paragraph separator") << QStringLiteral("a") + QChar(QChar::ParagraphSeparator) + QStringLiteral("b");
    }
    void plainTextAsTheDocumentKeepsIt()
    {
        QFETCH(QString, text);
        QTextDocument document;
        document.setPlainText(text);
        DiagramTextItem item;
        item.setPlainText(text);
        QCOMPARE(item.toPlainText(), document.toPlainText());
        QCOMPARE(TextLabelLayout::rawFromPlain(text), document.toRawText());
        // An editing starts from what was kept.
        item.setTextInteractionFlags(Qt::TextEditorInteraction);
        QCOMPARE(item.document()->toRawText(), document.toRawText());
    }

    // The text control and its document exist only once an editing starts,
    // and the document is emptied when it ends.
    void documentOnlyWhileEditing()
    {
        ItemsHarness h;
        DiagramTextItem *text = h.addText(QPointF(0, 0), QStringLiteral("Étiquette"));
        text->setSelected(true);
        h.hover(text->sceneBoundingRect().center());
        h.drag(text->sceneBoundingRect().center(), QPointF(40, 30));
        h.paint();
        QVERIFY(!hasTextControl(text));
        QVERIFY(!text->document());
        QVERIFY(text->textCursor().isNull());
        QCOMPARE(text->textInteractionFlags(), Qt::NoTextInteraction);

        const QPointF centre = text->sceneBoundingRect().center();
        h.hover(centre);
        QTest::mouseDClick(h.view.viewport(), Qt::LeftButton, Qt::NoModifier,
                           h.view.mapFromScene(centre));
        QVERIFY(text->isEditing());
        QVERIFY(hasTextControl(text));
        QCOMPARE(text->document()->toPlainText(), QStringLiteral("Étiquette"));
        h.view.setFocus();
        text->setFocus();
        QTest::keyClick(&h.view, Qt::Key_End);
        QTest::keyClicks(&h.view, QStringLiteral(" 2"));
        QTest::keyClick(&h.view, Qt::Key_Return, Qt::ShiftModifier); // a line separator
        QTest::keyClicks(&h.view, QStringLiteral("bas"));
        const QRectF edited = text->boundingRect();

        text->clearFocus(); // the editing ends
        QVERIFY(!text->isEditing());
        QVERIFY(!text->document());
        QCOMPARE(text->toPlainText(), QStringLiteral("Étiquette 2\nbas"));
        QCOMPARE(text->boundingRect(), edited); // the separator kept as a line, not a paragraph
        QVERIFY(!text->isSelected());
    }

    // Programs change texts too (undo, the toolbar, files): the right edge
    // of right-aligned text and the left edge of other text stay put.
    void changesKeepTheAlignedEdge_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<bool>("editing");
        QTest::newRow("left") << int(Qt::AlignLeft) << false;
        QTest::newRow("right") << int(Qt::AlignRight) << false;
        QTest::newRow("centre") << int(Qt::AlignCenter) << false;
        QTest::newRow("right, edited") << int(Qt::AlignRight) << true;
    }
    void changesKeepTheAlignedEdge()
    {
        QFETCH(int, alignment);
        QFETCH(bool, editing);
        ItemsHarness h;
        DiagramTextItem *text = h.addText(QPointF(100, 100), QString());
        text->setAlignment(alignment);
        if (editing)
            text->setTextInteractionFlags(Qt::TextEditorInteraction);
        const bool right = alignment & Qt::AlignRight;
        const auto edge = [&] {
            const QRectF r = text->sceneBoundingRect();
            return right ? r.right() : r.left();
        };
        const double kept = edge();
        text->setPlainText(QStringLiteral("abcdefgh"));
        QCOMPARE(edge(), kept);
        QFont bigger = text->font();
        bigger.setPointSize(30);
        text->setFont(bigger);
        QCOMPARE(edge(), kept);
        text->setPlainText(QStringLiteral("x"));
        QCOMPARE(edge(), kept);
        QCOMPARE(text->font(), bigger);
    }

    // A linked shape fits around its text and stays centred on it, whatever
    // changes the text.
    void linkedShapeFitsEveryChange_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("text") << QStringLiteral("text");
        QTest::newRow("font") << QStringLiteral("font");
        QTest::newRow("undone typing") << QStringLiteral("history");
    }
    void linkedShapeFitsEveryChange()
    {
        QFETCH(QString, change);
        ItemsHarness h;
        DiagramItem *shape = h.addShape(QPointF(0, 0), DiagramItem::Rectangle);
        DiagramTextItem *text = h.addLinkedText(shape, QStringLiteral("Box 1"));
        const QRectF before = text->boundingRect();
        if (change == QLatin1String("text")) {
            text->setPlainText(QStringLiteral("Box 1\nwith a longer second line"));
        } else if (change == QLatin1String("font")) {
            QFont font = text->font();
            font.setPointSize(font.pointSize() * 3);
            text->setFont(font);
        } else {
            text->setPlainTextFromHistory(QStringLiteral("Box 1 grown"));
        }
        const QRectF t = text->boundingRect();
        QVERIFY(t.width() > before.width());
        const QRectF s = shape->sceneBoundingRect();
        QCOMPARE(qRound(s.width()), qRound(t.width() + 20));
        QCOMPARE(qRound(s.height()), qRound(t.height() + 20));
        QVERIFY(nearlyEqual(shape->pos(), text->scenePos() + t.center()));
    }
};

QTEST_MAIN(tst_Labels)
#include "tst_labels.moc"
