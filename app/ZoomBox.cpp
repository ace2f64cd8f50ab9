#include "app/ZoomBox.h"

#include "app/DiagramView.h"

#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace {

const QChar noBreakSpace(0x00a0);
const QChar narrowNoBreakSpace(0x202f);

} // namespace

ZoomBox::ZoomBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    // Typed zooms are requested, not added to the list.
    setInsertPolicy(QComboBox::NoInsert);
    // Completing "15" to "150 %" would zoom to what was not typed.
    setCompleter(nullptr);
    setToolTip(tr("Zoom de la vue"));
    for (const qreal step : DiagramView::zoomSteps())
        addItem(zoomText(step), step);
    // Digits with a decimal comma or point, spaces and a percent sign.
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[\\s\\x{00a0}\\x{202f}]*\\d{0,4}([,.]\\d{0,2})?"
                                          "[\\s\\x{00a0}\\x{202f}]*%?[\\s\\x{00a0}\\x{202f}]*")),
        this));
    // The widest text the box shows, so that "800 %" is never cut.
    setMinimumContentsLength(zoomText(DiagramView::maximumZoom).size() + 1);
    setZoom(1.0);

    connect(this, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { emit zoomRequested(itemData(index).toReal()); });
    connect(lineEdit(), &QLineEdit::returnPressed, this, &ZoomBox::requestTypedZoom);
}

QString ZoomBox::zoomText(qreal zoom)
{
    return QString::number(qRound(zoom * 100)) + noBreakSpace + QLatin1Char('%');
}

qreal ZoomBox::zoomFromText(const QString &text)
{
    QString number = text;
    number.remove(QLatin1Char('%')).remove(noBreakSpace).remove(narrowNoBreakSpace);
    number = number.trimmed();
    // A decimal comma as French writes it, or a point as keyboards offer.
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double percent = QLocale::c().toDouble(number, &ok);
    return ok && percent > 0 ? percent / 100 : 0;
}

void ZoomBox::setZoom(qreal zoom)
{
    shownZoom = zoom;
    // The list's arrow keys go on from the entry shown, if it is one.
    int index = -1;
    for (int i = 0; i < count() && index < 0; ++i) {
        if (qFuzzyCompare(itemData(i).toReal(), zoom))
            index = i;
    }
    setCurrentIndex(index);
    setEditText(zoomText(zoom));
}

void ZoomBox::requestTypedZoom()
{
    // The zoom shown is rounded: read again, it would move the view.
    if (currentText() == zoomText(shownZoom))
        return;
    const qreal zoom = zoomFromText(currentText());
    if (zoom > 0)
        emit zoomRequested(zoom);
    // What the view settled on: a clamped zoom, the same zoom, or the old
    // one after text that was no zoom.
    setZoom(shownZoom);
}
